#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace tavlo {

class Control;

// A window's own state: caption, placement in twips, visibility. Its controls
// are its children, found by name (`findChild<Slider*>("hscVolume")`).
// UI thread only.
class Form : public QObject {
    Q_OBJECT
public:
    explicit Form(const QString& name, const QString& caption, QObject* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    // Twips (1440 an inch); views convert at 15 twips a pixel.
    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    void setGeometry(int left, int top, int width, int height);

    bool isVisible() const { return m_visible; }
    enum class WindowState { Normal, Minimized, Maximized };
    WindowState windowState() const { return m_state; }
    void setWindowState(WindowState state);
    void show();
    void hide();

    // The control with the keyboard focus, or null.
    Control* focusedControl() const;
    // Moves the focus: the control that had it runs its onLostFocus, then
    // `control` its onGotFocus. Giving it to the control that has it does nothing.
    void setFocusTo(Control* control);

Q_SIGNALS:
    void changed();
    void focusChanged(tavlo::Control* control);

private:
    QString m_caption;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_visible = false;
    WindowState m_state = WindowState::Normal;
    QPointer<QObject> m_focus;  // a Control
};

constexpr int kTwipsPerPixel = 15;

}  // namespace tavlo
