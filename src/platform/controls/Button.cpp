#include "platform/controls/Button.h"

namespace tavlo {

Button::Button(QObject* form, const QString& name, const QString& caption, Kind kind)
    : Control(form, name), m_kind(kind), m_caption(caption)
{
}

void Button::setCaption(const QString& caption)
{
    if (m_caption != caption) {
        m_caption = caption;
        notify();
    }
}

void Button::setValue(int v)
{
    switch (m_kind) {
    case Kind::Push:
        if (v && onClick)
            onClick();
        return;
    case Kind::Check:
        if (v == m_value)
            return;
        m_value = v;
        break;
    case Kind::Option:
        if ((v != 0) == (m_value != 0))
            return;
        m_value = v ? 1 : 0;
        if (!m_value) {
            // Clearing an option button is not a click.
            notify();
            return;
        }
        if (m_group && parent()) {
            for (auto* other : parent()->findChildren<Button*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (other != this && other->m_group == m_group && other->m_value) {
                    other->m_value = 0;
                    other->notify();
                }
            }
        }
        break;
    }
    notify();
    if (onClick)
        onClick();
}

void Button::setForeColour(Colour c)
{
    m_fore = c;
    notify();
}

void Button::setBackColour(Colour c)
{
    m_back = c;
    notify();
}

}  // namespace tavlo
