#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace tavlo {

class Control;

// A window's own state: caption, placement in twips, visibility. Its controls
// are its children; a view binds each through the window's typed members.
// UI thread only.
class Form : public QObject {
    Q_OBJECT
public:
    explicit Form(const QString& name, const QString& caption, QObject* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    // Twips (1440 an inch); views convert at 15 twips a pixel. The outer
    // geometry: the desktop's frame, where it draws one, is inside it.
    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    void setGeometry(int left, int top, int width, int height);
    // The width inside the frame's side borders.
    int innerWidth() const { return m_width - m_frameWidth; }
    // What the desktop's frame takes of the width, as the view finds it.
    void setFrameWidth(int twips) { m_frameWidth = twips; }

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
    // The width or height changed; sent after `changed`.
    void resized();
    void focusChanged(tavlo::Control* control);

private:
    QString m_caption;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    int m_frameWidth = 0;
    bool m_visible = false;
    WindowState m_state = WindowState::Normal;
    QPointer<QObject> m_focus;  // a Control
};

constexpr int kTwipsPerPixel = 15;

}  // namespace tavlo
