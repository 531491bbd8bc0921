#include "scheduler/SchedulerOptionsDialogView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "scheduler/TimeOfDayText.h"
#include "scheduler/SchedulerOptionsDialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace tavlo {

SchedulerOptionsDialogView::SchedulerOptionsDialogView(SchedulerOptionsDialog& form, QWidget* parent) : FormDialog(form, nullptr, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->addWidget(boundLabel(*form.preloadLabel, this), 0, 0);
    auto* preload = new QLineEdit(this);
    preload->setObjectName(form.preloadBox->name());
    preload->setFixedWidth(preload->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    WidgetBinder::bind(*form.preloadBox, *preload);
    // Leaving the box lets the form put a text that is no preload right.
    WidgetBinder::bindFocus(*form.preloadBox, *preload);
    grid->addWidget(preload, 0, 1, Qt::AlignLeft);

    grid->addWidget(boundLabel(*form.formatLabel, this), 1, 0);
    // Framed, so it reads as something to click.
    QLabel* format = boundLabel(*form.timeFormatLabel, this);
    format->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    format->setAlignment(Qt::AlignCenter);
    const QFontMetrics fm(format->font());
    const int widest =
        std::max(fm.horizontalAdvance(TimeOfDayText::amPmOption()), fm.horizontalAdvance(TimeOfDayText::h24Option()));
    format->setMinimumWidth(widest + 16);
    grid->addWidget(format, 1, 1, Qt::AlignLeft);

    // Enter presses nothing: OK would act before the box has put its text right.
    grid->setRowMinimumHeight(2, 4);
    grid->addLayout(buttonRow({dialogButton(*form.okButton, this)}), 3, 0, 1, 2);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
