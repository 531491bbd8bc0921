#include "platform/controls/Form.h"

#include "platform/controls/Control.h"

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
    const bool sized = width != m_width || height != m_height;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    Q_EMIT changed();
    if (sized)
        Q_EMIT resized();
}

void Form::setWindowState(WindowState state)
{
    if (state == m_state)
        return;
    m_state = state;
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

Control* Form::focusedControl() const { return static_cast<Control*>(m_focus.data()); }

void Form::setFocusTo(Control* control)
{
    if (control == focusedControl())
        return;
    QPointer<Control> old = focusedControl();
    m_focus = control;
    // A lost-focus handler may move the focus on again; the last move wins.
    if (old && old->onLostFocus)
        old->onLostFocus();
    if (focusedControl() != control)
        return;
    if (control && control->onGotFocus)
        control->onGotFocus();
    // A got-focus handler that moved the focus on has told of its own move.
    if (focusedControl() == control)
        Q_EMIT focusChanged(control);
}

}  // namespace tavlo
