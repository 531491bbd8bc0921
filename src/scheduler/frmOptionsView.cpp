#include "scheduler/frmOptionsView.h"

#include "platform/widgets/WidgetBinder.h"
#include "scheduler/TimeOfDayText.h"
#include "scheduler/frmOptions.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace tavlo {

namespace {

QLabel* label(Label& state, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(state.name());
    WidgetBinder::bind(state, *l);
    return l;
}

}  // namespace

frmOptionsView::frmOptionsView(frmOptions& form, QWidget* parent) : QDialog(parent), m_form(&form)
{
    setObjectName(form.objectName());
    setModal(false);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->addWidget(label(*form.lblPreload, this), 0, 0);
    auto* preload = new QLineEdit(this);
    preload->setObjectName(form.txtPreload->name());
    preload->setFixedWidth(preload->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    WidgetBinder::bind(*form.txtPreload, *preload);
    // Leaving the box lets the form put a text that is no preload right.
    WidgetBinder::bindFocus(*form.txtPreload, *preload);
    grid->addWidget(preload, 0, 1, Qt::AlignLeft);

    grid->addWidget(label(*form.lblFormat, this), 1, 0);
    // Framed, so it reads as something to click.
    QLabel* format = label(*form.lblTimeFormat, this);
    format->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    format->setAlignment(Qt::AlignCenter);
    const QFontMetrics fm(format->font());
    const int widest =
        std::max(fm.horizontalAdvance(TimeOfDayText::amPmOption()), fm.horizontalAdvance(TimeOfDayText::h24Option()));
    format->setMinimumWidth(widest + 16);
    grid->addWidget(format, 1, 1, Qt::AlignLeft);

    // Enter presses nothing: OK would act before the box has put its text right.
    auto* ok = new QPushButton(this);
    ok->setObjectName(form.cmdOk->name());
    ok->setAutoDefault(false);
    WidgetBinder::bind(*form.cmdOk, *ok);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    grid->setRowMinimumHeight(2, 4);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(&form, &Form::changed, this, &frmOptionsView::applyForm);
    applyForm();
}

frmOptionsView::~frmOptionsView() = default;

void frmOptionsView::applyForm()
{
    if (!m_form)
        return;
    setWindowTitle(m_form->caption());
    // A form never placed opens where the desktop puts a dialog, over the scheduler.
    if (m_form->left() != 0 || m_form->top() != 0)
        move(m_form->left() / kTwipsPerPixel, m_form->top() / kTwipsPerPixel);
    // Only a change of the form's own visibility shows or hides the dialog.
    if (m_form->isVisible() != m_formShown) {
        m_formShown = m_form->isVisible();
        if (m_formShown) {
            show();
            raise();
            activateWindow();
        } else {
            hide();
        }
    }
}

void frmOptionsView::closeEvent(QCloseEvent* event)
{
    if (m_form && m_form->isVisible())
        m_form->hide();
    event->accept();
}

void frmOptionsView::reject()
{
    if (m_form && m_form->isVisible())
        m_form->hide();
    else
        QDialog::reject();
}

}  // namespace tavlo
