#include "scheduler/frmTimingView.h"

#include "scheduler/frmTiming.h"

#include <QCloseEvent>

namespace tavlo {

frmTimingView::frmTimingView(frmTiming& window, QWidget* parent) : QMainWindow(parent), m_form(&window)
{
    setObjectName(window.objectName());
    connect(&window, &Form::changed, this, &frmTimingView::applyForm);
    applyForm();
}

frmTimingView::~frmTimingView() = default;

void frmTimingView::applyForm()
{
    if (!m_form)
        return;
    setWindowTitle(m_form->caption());
    if (m_form->isVisible() != m_formShown) {
        m_formShown = m_form->isVisible();
        setVisible(m_formShown);
    }
}

void frmTimingView::closeEvent(QCloseEvent* event)
{
    if (mayClose && !mayClose())
        event->ignore();
    else
        event->accept();
}

}  // namespace tavlo
