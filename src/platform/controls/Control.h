#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace tavlo {

// Colour as 0xRRGGBB; empty means the desktop's own colour for that part.
using Colour = std::optional<unsigned>;
constexpr unsigned kPureRed = 0xFF0000;
constexpr unsigned kDarkRed = 0x800000;

// State of one control of a window. The window logic owns it and runs its
// handlers; a widget view, when there is one, mirrors it and forwards the
// user's actions. `changed` tells the view to repaint from the state.
// UI thread only.
class Control : public QObject {
    Q_OBJECT
public:
    Control(QObject* form, const QString& name);

    QString name() const { return objectName(); }

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);
    bool isVisible() const { return m_visible; }
    void setVisible(bool on);
    QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString& text);

    // Placement in pixels inside the window, for views that lay controls out
    // where the window logic says.
    int left() const { return m_left; }
    int top() const { return m_top; }
    void move(int left, int top);

    // Keyboard focus, held by one control of a form at a time. Moving it
    // runs the old control's onLostFocus, then the new one's onGotFocus.
    void setFocus();
    bool hasFocus() const;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;

Q_SIGNALS:
    void changed();

protected:
    void notify() { Q_EMIT changed(); }

private:
    bool m_enabled = true;
    bool m_visible = true;
    QString m_toolTip;
    int m_left = 0;
    int m_top = 0;
};

}  // namespace tavlo
