#include "platform/controls/Control.h"

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

}  // namespace tavlo
