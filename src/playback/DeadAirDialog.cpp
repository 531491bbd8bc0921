#include "playback/DeadAirDialog.h"

#include "platform/NumericText.h"
#include "platform/UserDialogs.h"

namespace tavlo {

DeadAirDialog::DeadAirDialog(DeadAirWatch& watch, UserDialogs& dialogs, QObject* parent)
    : Form(QStringLiteral("DeadAirDialog"), QStringLiteral("Dead Air"), parent), m_watch(watch), m_dialogs(dialogs)
{
    chkEnabled = new Button(this, QStringLiteral("chkEnabled"), QStringLiteral("Skip a song that goes silent on air"),
                            Button::Kind::Check);
    lblThreshold = new Label(this, QStringLiteral("lblThreshold"), QStringLiteral("Silence is below (dBFS)"));
    txtThreshold = new TextBox(this, QStringLiteral("txtThreshold"));
    lblSeconds = new Label(this, QStringLiteral("lblSeconds"), QStringLiteral("for (seconds)"));
    txtSeconds = new TextBox(this, QStringLiteral("txtSeconds"));
    cmdOk = new Button(this, QStringLiteral("cmdOk"), QStringLiteral("OK"));
    cmdOk->onClick = [this] { cmdOk_Click(); };
    cmdCancel = new Button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cmdCancel->onClick = [this] { hide(); };
}

void DeadAirDialog::openFrom(const Form& window)
{
    const DeadAirWatch::Settings& s = m_watch.settings();
    chkEnabled->setValue(s.enabled ? 1 : 0);
    txtThreshold->setText(QString::number(s.thresholdDb));
    txtSeconds->setText(QString::number(s.seconds));
    setGeometry(window.left() + 600, window.top() + 1200, width(), height());
    show();
}

void DeadAirDialog::cmdOk_Click()
{
    const auto threshold = numericValue(txtThreshold->text());
    const auto seconds = numericValue(txtSeconds->text());
    if (!threshold || !DeadAirWatch::acceptable(*threshold, 1)) {
        m_dialogs.inform(caption(), QStringLiteral("The silence level is a number of dBFS from -90 up to, not including, 0."));
        return;
    }
    if (!seconds || !DeadAirWatch::acceptable(*threshold, *seconds)) {
        m_dialogs.inform(caption(), QStringLiteral("The time is a whole number of seconds from 1 to 600."));
        return;
    }
    m_watch.setSettings({chkEnabled->value() == 1, *threshold, static_cast<int>(*seconds)});
    hide();
}

}  // namespace tavlo
