#include "scheduler/SchedulerWindowView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "playlist/PlaylistModel.h"
#include "playlist/PlaylistTableView.h"
#include "scheduler/EventDialogView.h"
#include "scheduler/SchedulerOptionsDialogView.h"
#include "scheduler/SchedulerWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavlo {

namespace {

int px(int twips) { return twips / kTwipsPerPixel; }

}  // namespace

SchedulerWindowView::SchedulerWindowView(SchedulerWindow& window, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(window.objectName());
    WidgetBinder::bindMenuBar(window, *menuBar());

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(px(120), 2, px(120), 4);
    column->setSpacing(4);
    m_list = new PlaylistTableView(*window.eventList, central);
    column->addWidget(m_list, 1);
    // A time with its AM/PM designator never shows cut short, whatever the
    // desktop's font: the column is at least as wide as the longest one.
    const TimeOfDayText& times = window.times();
    const int timeWidth = QFontMetrics(m_list->font()).horizontalAdvance(QStringLiteral("00:00:00 ")
                                               + (times.amText().size() > times.pmText().size() ? times.amText() : times.pmText()))
                          + 16;
    m_list->setMinimumColumnWidth(EvTime, timeWidth);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    for (Button* b : {window.openButton, window.saveButton, window.addEventButton})
        bottom->addWidget(boundWidget<QPushButton>(*b, central));
    bottom->addStretch(1);
    // The clock reads from across the room; the window makes it bold.
    auto* clock = new QLabel(central);
    clock->setObjectName(window.clockLabel->name());
    clock->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont f = clock->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    clock->setFont(f);
    WidgetBinder::bind(*window.clockLabel, *clock);
    // As wide as the widest time, so the ticking never moves the buttons.
    f.setBold(true);
    const QFontMetrics fm(f);
    const QString digits = QStringLiteral("00:00:00 ");
    const int widest = std::max(fm.horizontalAdvance(digits + window.times().amText()),
                                fm.horizontalAdvance(digits + window.times().pmText()));
    clock->setMinimumWidth(widest + 4);
    bottom->addWidget(clock);
    column->addLayout(bottom);
    setCentralWidget(central);

    m_optionsView = new SchedulerOptionsDialogView(*window.optionsDialog, this);
    m_eventView = new EventDialogView(*window.eventDialog, this);

    new FormFollower(window, *this, FormFollower::Placement::PlaceAndSize);
}

SchedulerWindowView::~SchedulerWindowView() = default;

void SchedulerWindowView::closeEvent(QCloseEvent* event)
{
    if (mayClose && !mayClose())
        event->ignore();
    else
        event->accept();
}

}  // namespace tavlo
