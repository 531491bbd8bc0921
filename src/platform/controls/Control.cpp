#include "platform/controls/Control.h"

#include "platform/controls/Form.h"

namespace tavlo {

Control::Control(QObject* form, const QString& name) : QObject(form) { setObjectName(name); }

void Control::setEnabled(bool on)
{
    if (m_enabled != on) {
        m_enabled = on;
        notify();
    }
}

void Control::setVisible(bool on)
{
    if (m_visible != on) {
        m_visible = on;
        notify();
    }
}

void Control::setToolTip(const QString& text)
{
    m_toolTip = text;
    notify();
}

void Control::move(int left, int top)
{
    m_left = left;
    m_top = top;
    notify();
}

void Control::setFocus()
{
    if (auto* form = qobject_cast<Form*>(parent()))
        form->setFocusTo(this);
}

bool Control::hasFocus() const
{
    const auto* form = qobject_cast<const Form*>(parent());
    return form && form->focusedControl() == this;
}

}  // namespace tavlo
