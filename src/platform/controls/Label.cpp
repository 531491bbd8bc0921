#include "platform/controls/Label.h"

namespace tavlo {

Label::Label(QObject* form, const QString& name, const QString& text) : Control(form, name), m_text(text) {}

void Label::setText(const QString& text)
{
    if (m_text != text) {
        m_text = text;
        notify();
    }
}

void Label::setForeColour(Colour c)
{
    m_fore = c;
    notify();
}

void Label::setBackColour(Colour c)
{
    m_back = c;
    notify();
}

void Label::setBold(bool on)
{
    m_bold = on;
    notify();
}

}  // namespace tavlo
