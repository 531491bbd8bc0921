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

SchedulerOptionsDialog::SchedulerOptionsDialog(SchedulerWindow& timing, QObject* parent)
    : Form(QStringLiteral("SchedulerOptionsDialog"), QStringLiteral("Options"), parent), m_timing(timing)
{
    lblPreload = new Label(this, QStringLiteral("Label1(0)"), QStringLiteral("Pre Load Sec"));
    txtPreload = new TextBox(this, QStringLiteral("txtPreload"));
    txtPreload->onChange = [this] { txtPreload_Change(); };
    txtPreload->onLostFocus = [this] { txtPreload_LostFocus(); };
    lblFormat = new Label(this, QStringLiteral("Label1(1)"), QStringLiteral("Time Format"));
    lblTimeFormat = new Label(this, QStringLiteral("lblTimeFormat"), TimeOfDayText::amPmOption());
    lblTimeFormat->setToolTip(QStringLiteral("Click To Change"));
    lblTimeFormat->onClick = [this] { lblTimeFormat_Click(); };
    cmdOk = new Button(this, QStringLiteral("cmdOk"), QStringLiteral("OK"));
    cmdOk->onClick = [this] { cmdOk_Click(); };
}

void SchedulerOptionsDialog::lblTimeFormat_Click()
{
    // The listed times keep their format until "OK"; new events, the clock
    // and the firing follow the label at once.
    const bool toH24 = lblTimeFormat->text() == TimeOfDayText::amPmOption();
    lblTimeFormat->setText(toH24 ? TimeOfDayText::h24Option() : TimeOfDayText::amPmOption());
    m_timing.EventForm->lblAMPM->setVisible(!toH24);
}

void SchedulerOptionsDialog::txtPreload_Change()
{
    if (const auto v = preloadValue(txtPreload->text()))
        m_timing.PreLoadTime = *v;
}

void SchedulerOptionsDialog::txtPreload_LostFocus()
{
    if (!preloadValue(txtPreload->text()))
        txtPreload->setText(QStringLiteral("0"));
    m_timing.PreLoadTime = preloadValue(txtPreload->text()).value_or(0);
}

void SchedulerOptionsDialog::cmdOk_Click()
{
    m_timing.convertList(TimeOfDayText::formatOf(lblTimeFormat->text()));
    m_timing.showTimeNow();
    m_timing.SaveSettings();
    hide();
}

}  // namespace tavlo
