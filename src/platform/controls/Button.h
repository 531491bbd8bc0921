#pragma once

#include "platform/controls/Control.h"

#include <functional>

namespace tavlo {

// A push button, a check box or an option button.
// A push button's press runs onClick. A check box or option button runs
// onClick whenever its value changes, whether the user or the program set it.
class Button : public Control {
    Q_OBJECT
public:
    enum class Kind { Push, Check, Option };

    Button(QObject* form, const QString& name, const QString& caption, Kind kind = Kind::Push);

    Kind kind() const { return m_kind; }
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    // Push: setting true presses the button (the value itself stays false).
    // Check: 0 or 1. Option: true selects it; selecting one of a group clears
    // the others of that group without running their handlers.
    int value() const { return m_value; }
    void setValue(int v);
    void press() { setValue(1); }

    Colour foreColour() const { return m_fore; }
    void setForeColour(Colour c);
    Colour backColour() const { return m_back; }
    void setBackColour(Colour c);

    // Option buttons with the same group id are exclusive.
    void setGroup(QObject* group) { m_group = group; }

    std::function<void()> onClick;

private:
    Kind m_kind;
    QString m_caption;
    int m_value = 0;
    Colour m_fore;
    Colour m_back;
    QObject* m_group = nullptr;
};

}  // namespace tavlo
