#include "platform/controls/Form.h"

namespace tavlo {

Form::Form(const QString& name, const QString& caption, QObject* parent) : QObject(parent), m_caption(caption)
{
    setObjectName(name);
}

void Form::setCaption(const QString& caption)
{
    m_caption = caption;
    Q_EMIT changed();
}

void Form::setGeometry(int left, int top, int width, int height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    Q_EMIT changed();
}

void Form::show()
{
    m_visible = true;
    Q_EMIT changed();
}

void Form::hide()
{
    m_visible = false;
    Q_EMIT changed();
}

}  // namespace tavlo
