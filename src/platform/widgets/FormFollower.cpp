#include "platform/widgets/FormFollower.h"

#include "platform/controls/Form.h"

#include <QEvent>
#include <QSize>
#include <QWidget>

#include <cmath>

namespace tavlo {

FormFollower::FormFollower(Form& form, QWidget& window, Placement placement)
    : QObject(&window), m_form(&form), m_window(window), m_placement(placement)
{
    if (m_placement == Placement::PlaceAndSize)
        m_window.installEventFilter(this);
    connect(&form, &Form::changed, this, &FormFollower::apply);
    apply();
}

double FormFollower::twipsPerPixel() const
{
    const int dpi = m_window.logicalDpiY();
    return dpi > 0 ? 1440.0 / dpi : kTwipsPerPixel;
}

int FormFollower::px(int twips) const { return static_cast<int>(twips / twipsPerPixel()); }

int FormFollower::twips(int px) const { return static_cast<int>(std::lround(px * twipsPerPixel())); }

QSize FormFollower::frameExtra() const
{
    const QSize extra = m_window.frameGeometry().size() - m_window.size();
    return extra.expandedTo(QSize(0, 0));
}

void FormFollower::apply()
{
    if (!m_form)
        return;
    m_applying = true;
    m_window.setWindowTitle(m_form->caption());
    switch (m_placement) {
    case Placement::PlaceAndSize:
        if (m_form->windowState() == Form::WindowState::Normal && (m_window.isMinimized() || m_window.isMaximized()))
            m_window.setWindowState(m_window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        if (m_form->width() > 0 && m_form->height() > 0) {
            // The form's size is the outer one, frame included, as the place is.
            const QPoint at(px(m_form->left()), px(m_form->top()));
            const QSize size = QSize(px(m_form->width()), px(m_form->height())) - frameExtra();
            if (m_window.pos() != at)
                m_window.move(at);
            if (m_window.size() != size)
                m_window.resize(size);
        }
        break;
    case Placement::PlaceWhenPlaced:
        if (m_form->left() != 0 || m_form->top() != 0)
            m_window.move(px(m_form->left()), px(m_form->top()));
        break;
    case Placement::Place:
        m_window.move(px(m_form->left()), px(m_form->top()));
        break;
    }
    // Only a change of the form's own visibility shows or hides the widget.
    if (m_form->isVisible() != m_formShown) {
        m_formShown = m_form->isVisible();
        if (m_placement == Placement::PlaceAndSize) {
            m_window.setVisible(m_formShown);
        } else if (m_formShown) {
            // A dialog comes up in front, ready for the keyboard.
            m_window.show();
            m_window.raise();
            m_window.activateWindow();
        } else {
            m_window.hide();
        }
    }
    m_applying = false;
}

bool FormFollower::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        // The desktop frames a window once it shows: the form's outer size
        // then holds, the inside giving way to the frame.
        if (const QSize extra = frameExtra(); extra != m_frameExtra && m_placement == Placement::PlaceAndSize) {
            m_frameExtra = extra;
            apply();
        } else {
            writeBack();
        }
    }
    if (watched == &m_window && event->type() == QEvent::WindowStateChange && m_form && !m_applying)
        m_form->setWindowState(m_window.isMinimized()   ? Form::WindowState::Minimized
                               : m_window.isMaximized() ? Form::WindowState::Maximized
                                                        : Form::WindowState::Normal);
    return QObject::eventFilter(watched, event);
}

void FormFollower::writeBack()
{
    // A move or resize by the user (or the desktop) becomes the window's own
    // geometry, which its logic lays out and saves.
    if (m_applying || !m_form || !m_window.isVisible())
        return;
    // x() and y() are the frame's place, as move() takes it.
    const QSize extra = frameExtra();
    m_form->setFrameWidth(twips(extra.width()));
    const int x = m_window.x(), y = m_window.y();
    const int w = m_window.width() + extra.width(), h = m_window.height() + extra.height();
    if (px(m_form->left()) == x && px(m_form->top()) == y && px(m_form->width()) == w && px(m_form->height()) == h)
        return;
    m_form->setGeometry(twips(x), twips(y), twips(w), twips(h));
}

}  // namespace tavlo
