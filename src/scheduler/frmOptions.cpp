#include "scheduler/frmOptions.h"

#include "platform/NumericText.h"
#include "scheduler/TimeOfDayText.h"
#include "scheduler/frmEvent.h"
#include "scheduler/frmTiming.h"

#include <cmath>

namespace tavlo {

namespace {

// A preload the firing can shift the clock by; a larger one is refused.
std::optional<double> preloadValue(const QString& text)
{
    const auto v = numericValue(text);
    if (!v || std::fabs(*v) > frmOptions::kLongestPreload)
        return std::nullopt;
    return v;
}

}  // namespace

frmOptions::frmOptions(frmTiming& timing, QObject* parent)
    : Form(QStringLiteral("frmOptions"), QStringLiteral("Options"), parent), m_timing(timing)
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

void frmOptions::lblTimeFormat_Click()
{
    // The listed times keep their format until "OK"; new events, the clock
    // and the firing follow the label at once.
    const bool toH24 = lblTimeFormat->text() == TimeOfDayText::amPmOption();
    lblTimeFormat->setText(toH24 ? TimeOfDayText::h24Option() : TimeOfDayText::amPmOption());
    m_timing.EventForm->lblAMPM->setVisible(!toH24);
}

void frmOptions::txtPreload_Change()
{
    if (const auto v = preloadValue(txtPreload->text()))
        m_timing.PreLoadTime = *v;
}

void frmOptions::txtPreload_LostFocus()
{
    if (!preloadValue(txtPreload->text()))
        txtPreload->setText(QStringLiteral("0"));
    m_timing.PreLoadTime = preloadValue(txtPreload->text()).value_or(0);
}

void frmOptions::cmdOk_Click()
{
    m_timing.convertList(TimeOfDayText::formatOf(lblTimeFormat->text()));
    m_timing.showTimeNow();
    m_timing.SaveSettings();
    hide();
}

}  // namespace tavlo
