#include "scheduler/SchedulerOptionsDialog.h"

#include "platform/NumericText.h"
#include "scheduler/TimeOfDayText.h"
#include "scheduler/EventDialog.h"
#include "scheduler/SchedulerWindow.h"

#include <cmath>

namespace tavlo {

namespace {

// A preload the firing can shift the clock by; a larger one is refused.
std::optional<double> preloadValue(const QString& text)
{
    const auto v = numericValue(text);
    if (!v || std::fabs(*v) > SchedulerOptionsDialog::kLongestPreload)
        return std::nullopt;
    return v;
}

}  // namespace

SchedulerOptionsDialog::SchedulerOptionsDialog(SchedulerWindow& scheduler, QObject* parent)
    : Form(QStringLiteral("SchedulerOptionsDialog"), QStringLiteral("Options"), parent), m_scheduler(scheduler)
{
    preloadLabel = new Label(this, QStringLiteral("Label1(0)"), QStringLiteral("Pre Load Sec"));
    preloadBox = new TextBox(this, QStringLiteral("txtPreload"));
    preloadBox->onChange = [this] { onPreloadEdited(); };
    preloadBox->onLostFocus = [this] { onPreloadLeft(); };
    formatLabel = new Label(this, QStringLiteral("Label1(1)"), QStringLiteral("Time Format"));
    timeFormatLabel = new Label(this, QStringLiteral("lblTimeFormat"), TimeOfDayText::amPmOption());
    timeFormatLabel->setToolTip(QStringLiteral("Click To Change"));
    timeFormatLabel->onClick = [this] { toggleTimeFormat(); };
    okButton = new Button(this, QStringLiteral("cmdOk"), QStringLiteral("OK"));
    okButton->onClick = [this] { accept(); };
}

void SchedulerOptionsDialog::toggleTimeFormat()
{
    // The listed times keep their format until "OK"; new events, the clock
    // and the firing follow the label at once.
    const bool toH24 = timeFormatLabel->text() == TimeOfDayText::amPmOption();
    timeFormatLabel->setText(toH24 ? TimeOfDayText::h24Option() : TimeOfDayText::amPmOption());
    m_scheduler.eventDialog->amPmLabel->setVisible(!toH24);
}

void SchedulerOptionsDialog::onPreloadEdited()
{
    if (const auto v = preloadValue(preloadBox->text()))
        m_scheduler.setPreloadTime(*v);
}

void SchedulerOptionsDialog::onPreloadLeft()
{
    if (!preloadValue(preloadBox->text()))
        preloadBox->setText(QStringLiteral("0"));
    m_scheduler.setPreloadTime(preloadValue(preloadBox->text()).value_or(0));
}

void SchedulerOptionsDialog::accept()
{
    m_scheduler.convertList(TimeOfDayText::formatOf(timeFormatLabel->text()));
    m_scheduler.showClock();
    m_scheduler.saveSettings();
    hide();
}

}  // namespace tavlo
