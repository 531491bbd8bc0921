#include "playback/DeadAirDialog.h"

#include "platform/NumericText.h"
#include "platform/UserDialogs.h"

namespace tavlo {

DeadAirDialog::DeadAirDialog(DeadAirWatch& watch, UserDialogs& dialogs, QObject* parent)
    : Form(QStringLiteral("DeadAirDialog"), QStringLiteral("Dead Air"), parent), m_watch(watch), m_dialogs(dialogs)
{
    enabledCheck = new Button(this, QStringLiteral("chkEnabled"), QStringLiteral("Skip a song that goes silent on air"),
                            Button::Kind::Check);
    thresholdLabel = new Label(this, QStringLiteral("lblThreshold"), QStringLiteral("Silence is below (dBFS)"));
    thresholdBox = new TextBox(this, QStringLiteral("txtThreshold"));
    secondsLabel = new Label(this, QStringLiteral("lblSeconds"), QStringLiteral("for (seconds)"));
    secondsBox = new TextBox(this, QStringLiteral("txtSeconds"));
    okButton = new Button(this, QStringLiteral("cmdOk"), QStringLiteral("OK"));
    okButton->onClick = [this] { accept(); };
    cancelButton = new Button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cancelButton->onClick = [this] { hide(); };
}

void DeadAirDialog::openFrom(const Form& window)
{
    const DeadAirWatch::Settings& s = m_watch.settings();
    enabledCheck->setValue(s.enabled ? 1 : 0);
    thresholdBox->setText(QString::number(s.thresholdDb));
    secondsBox->setText(QString::number(s.seconds));
    setGeometry(window.left() + 600, window.top() + 1200, width(), height());
    show();
}

void DeadAirDialog::accept()
{
    const auto threshold = numericValue(thresholdBox->text());
    const auto seconds = numericValue(secondsBox->text());
    if (!threshold || !DeadAirWatch::acceptable(*threshold, 1)) {
        m_dialogs.inform(caption(), QStringLiteral("The silence level is a number of dBFS from -90 up to, not including, 0."));
        return;
    }
    if (!seconds || !DeadAirWatch::acceptable(*threshold, *seconds)) {
        m_dialogs.inform(caption(), QStringLiteral("The time is a whole number of seconds from 1 to 600."));
        return;
    }
    m_watch.setSettings({enabledCheck->value() == 1, *threshold, static_cast<int>(*seconds)});
    hide();
}

}  // namespace tavlo
