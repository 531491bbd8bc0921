#include "scheduler/EventDialogView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "scheduler/EventDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tavlo {

EventDialogView::EventDialogView(EventDialog& form, QWidget* parent) : FormDialog(form, form.closeButton, parent)
{
    // Made in the order the Tab key visits them.
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setColumnStretch(1, 1);
    grid->addWidget(boundLabel(*form.eventTimeLabel, this), 0, 0);
    auto* time = new QHBoxLayout;
    time->setSpacing(3);
    int part = 0;
    for (TextBox* box : {form.hoursBox, form.minutesBox, form.secondsBox}) {
        if (part++ > 0) {
            auto* colon = new QLabel(QStringLiteral(":"), this);
            colon->setObjectName(QStringLiteral("timeSeparator%1").arg(part - 1));
            time->addWidget(colon);
        }
        QLineEdit* edit = focusedTextBox(*box, this);
        edit->setAlignment(Qt::AlignCenter);
        // Two digits with room to spare.
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) +
                            2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) + 8);
        time->addWidget(edit);
    }
    QLabel* amPm = boundLabel(*form.amPmLabel, this);
    amPm->setMinimumWidth(amPm->fontMetrics().horizontalAdvance(QStringLiteral("AM PM")));
    time->addSpacing(4);
    time->addWidget(amPm);
    time->addStretch(1);
    grid->addLayout(time, 0, 1, 1, 2);

    grid->addWidget(boundLabel(*form.playlistLabel, this), 1, 0);
    QLineEdit* playList = focusedTextBox(*form.playlistBox, this);
    playList->setMinimumWidth(220);
    grid->addWidget(playList, 1, 1);
    QPushButton* browse = dialogButton(*form.browseButton, this);
    WidgetBinder::bindFocus(*form.browseButton, *browse);
    grid->addWidget(browse, 1, 2);

    auto* windows = new QHBoxLayout;
    windows->setSpacing(12);
    for (Button* o : {form.insertOption, form.musicOption}) {
        auto* option = new QRadioButton(this);
        option->setObjectName(o->name());
        WidgetBinder::bind(*o, *option);
        windows->addWidget(option);
    }
    windows->addStretch(1);
    grid->addLayout(windows, 2, 1, 1, 2);

    QPushButton* add = dialogButton(*form.addEventButton, this);
    WidgetBinder::bindFocus(*form.addEventButton, *add);
    grid->setRowMinimumHeight(3, 4);
    grid->addLayout(buttonRow({add, dialogButton(*form.closeButton, this)}), 4, 0, 1, 3);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
