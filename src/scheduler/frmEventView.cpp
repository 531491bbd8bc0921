#include "scheduler/frmEventView.h"

#include "platform/widgets/WidgetBinder.h"
#include "scheduler/frmEvent.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tavlo {

namespace {

QLabel* label(Label& state, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(state.name());
    WidgetBinder::bind(state, *l);
    return l;
}

QLineEdit* textBox(TextBox& state, QWidget* parent)
{
    auto* t = new QLineEdit(parent);
    t->setObjectName(state.name());
    WidgetBinder::bind(state, *t);
    WidgetBinder::bindFocus(state, *t);
    return t;
}

// Enter presses nothing: a button pressed that way would act before the box
// being typed in has put its value in order.
QPushButton* pushButton(Button& state, QWidget* parent)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(state.name());
    b->setAutoDefault(false);
    WidgetBinder::bind(state, *b);
    return b;
}

}  // namespace

frmEventView::frmEventView(frmEvent& form, QWidget* parent) : QDialog(parent), m_form(&form)
{
    setObjectName(form.objectName());
    setModal(false);

    // Made in the order the Tab key visits them.
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setColumnStretch(1, 1);
    grid->addWidget(label(*form.lblEventTime, this), 0, 0);
    auto* time = new QHBoxLayout;
    time->setSpacing(3);
    int part = 0;
    for (TextBox* box : {form.txtTCHours, form.txtTCMinutes, form.txtTCSeconds}) {
        if (part++ > 0) {
            auto* colon = new QLabel(QStringLiteral(":"), this);
            colon->setObjectName(QStringLiteral("timeSeparator%1").arg(part - 1));
            time->addWidget(colon);
        }
        QLineEdit* edit = textBox(*box, this);
        edit->setAlignment(Qt::AlignCenter);
        // Two digits with room to spare.
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) +
                            2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) + 8);
        time->addWidget(edit);
    }
    QLabel* amPm = label(*form.lblAMPM, this);
    amPm->setMinimumWidth(amPm->fontMetrics().horizontalAdvance(QStringLiteral("AM PM")));
    time->addSpacing(4);
    time->addWidget(amPm);
    time->addStretch(1);
    grid->addLayout(time, 0, 1, 1, 2);

    grid->addWidget(label(*form.lblPlayList, this), 1, 0);
    QLineEdit* playList = textBox(*form.txtPlayList, this);
    playList->setMinimumWidth(220);
    grid->addWidget(playList, 1, 1);
    QPushButton* browse = pushButton(*form.cmdBrowse, this);
    WidgetBinder::bindFocus(*form.cmdBrowse, *browse);
    grid->addWidget(browse, 1, 2);

    auto* windows = new QHBoxLayout;
    windows->setSpacing(12);
    for (Button* o : form.optWindow) {
        auto* option = new QRadioButton(this);
        option->setObjectName(o->name());
        WidgetBinder::bind(*o, *option);
        windows->addWidget(option);
    }
    windows->addStretch(1);
    grid->addLayout(windows, 2, 1, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* add = pushButton(*form.cmdAddEvent, this);
    WidgetBinder::bindFocus(*form.cmdAddEvent, *add);
    buttons->addWidget(add);
    buttons->addWidget(pushButton(*form.cmdClose, this));
    grid->setRowMinimumHeight(3, 4);
    grid->addLayout(buttons, 4, 0, 1, 3);

    connect(&form, &Form::changed, this, &frmEventView::applyForm);
    applyForm();
}

frmEventView::~frmEventView() = default;

void frmEventView::applyForm()
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

void frmEventView::pressClose()
{
    if (m_form && m_form->isVisible())
        m_form->cmdClose->press();
}

void frmEventView::closeEvent(QCloseEvent* event)
{
    pressClose();
    event->accept();
}

void frmEventView::reject()
{
    if (m_form && m_form->isVisible())
        pressClose();
    else
        QDialog::reject();
}

}  // namespace tavlo
