#include "scheduler/EventDialog.h"

#include "platform/NumericText.h"
#include "platform/UserDialogs.h"
#include "scheduler/SchedulerWindow.h"

#include <cmath>

namespace tavlo {

EventDialog::EventDialog(SchedulerWindow& timing, UserDialogs& dialogs, QObject* parent)
    : Form(QStringLiteral("EventDialog"), QStringLiteral("Add Event To List"), parent), m_timing(timing), m_dialogs(dialogs)
{
    lblEventTime = new Label(this, QStringLiteral("Label1(0)"), QStringLiteral("Event Time"));
    txtTCHours = new TextBox(this, QStringLiteral("txtTCHours(0)"), QStringLiteral("01"));
    txtTCMinutes = new TextBox(this, QStringLiteral("txtTCMinutes(0)"), QStringLiteral("00"));
    txtTCSeconds = new TextBox(this, QStringLiteral("txtTCSeconds(0)"), QStringLiteral("00"));
    for (int box = 0; box < 3; ++box) {
        TextBox* t = timeBox(box);
        t->onGotFocus = [this, box] { txtTC_GotFocus(box); };
        t->onChange = [this, box] { txtTC_Change(box); };
        t->onLostFocus = [this, box] { txtTC_LostFocus(box); };
    }
    lblAMPM = new Label(this, QStringLiteral("lblAMPM"), QStringLiteral("PM"));
    lblAMPM->onClick = [this] { lblAMPM_Click(); };
    lblPlayList = new Label(this, QStringLiteral("Label1(1)"), QStringLiteral("Play List"));
    txtPlayList = new TextBox(this, QStringLiteral("txtPlayList"));
    txtPlayList->onChange = [this] { txtPlayList_Change(); };
    cmdBrowse = new Button(this, QStringLiteral("cmdBrowse"), QStringLiteral("&Browse..."));
    cmdBrowse->onClick = [this] { cmdBrowse_Click(); };
    auto* group = new QObject(this);
    optWindow[0] = new Button(this, QStringLiteral("optWindow(0)"), QStringLiteral("&Time Priority"), Button::Kind::Option);
    optWindow[1] = new Button(this, QStringLiteral("optWindow(1)"), QStringLiteral("&Music Window"), Button::Kind::Option);
    for (Button* o : optWindow)
        o->setGroup(group);
    optWindow[1]->setValue(1);
    cmdAddEvent = new Button(this, QStringLiteral("cmdAddEvent"), QStringLiteral("&Add Event"));
    cmdAddEvent->onClick = [this] { cmdAddEvent_Click(); };
    cmdClose = new Button(this, QStringLiteral("cmdClose"), QStringLiteral("X"));
    cmdClose->onClick = [this] { cmdClose_Click(); };
}

TextBox* EventDialog::timeBox(int box) const
{
    return box == 0 ? txtTCHours : box == 1 ? txtTCMinutes : txtTCSeconds;
}

void EventDialog::txtTC_GotFocus(int box) { timeBox(box)->selectAll(); }

void EventDialog::txtTC_Change(int box)
{
    TextBox* t = timeBox(box);
    if (!isNumeric(t->text())) {
        t->setText(QString());
        return;
    }
    // Two digits typed: on to the next part of the time.
    if (t->text().size() == 2) {
        if (box < 2)
            timeBox(box + 1)->setFocus();
        else
            cmdBrowse->setFocus();
    }
}

void EventDialog::txtTC_LostFocus(int box)
{
    TextBox* t = timeBox(box);
    const auto v = numericValue(t->text());
    if (!v) {
        t->setText(QStringLiteral("00"));
        return;
    }
    // Below the range is left as typed; Add Event refuses what is no time.
    if (box == 0) {
        if (lblAMPM->isVisible()) {
            if (*v > 12)
                t->setText(QStringLiteral("12"));
            else if (*v == 0)
                t->setText(QStringLiteral("1"));
        } else if (*v > 23) {
            t->setText(QStringLiteral("23"));
        }
    } else if (*v > 59) {
        t->setText(QStringLiteral("59"));
    }
}

void EventDialog::lblAMPM_Click() { lblAMPM->setText(lblAMPM->text() == QLatin1String("AM") ? QStringLiteral("PM") : QStringLiteral("AM")); }

void EventDialog::txtPlayList_Change()
{
    const QString name = txtPlayList->text();
    // An event file: the event reloads the scheduler, no window to choose.
    const bool eventFile = name.size() > 4 && name.right(3).toLower() == QLatin1String("tmg");
    for (Button* o : optWindow)
        o->setVisible(!eventFile);
}

void EventDialog::cmdBrowse_Click()
{
    const QStringList chosen = m_dialogs.chooseFilesToOpen(
        QStringLiteral("Browse"), QString(), QStringLiteral("M3U PlayList (*.M3U *.m3u);;Playlists (*.m3u *.m3u8 *.pls *.M3U *.M3U8 *.PLS);;"
                                               "Timing File (*.TMG *.tmg)"));
    if (!chosen.isEmpty() && !chosen.first().isEmpty())
        txtPlayList->setText(chosen.first());
}

void EventDialog::cmdAddEvent_Click()
{
    // Each part as a whole number of at least two digits.
    auto part = [](const TextBox* t) {
        const auto v = numericValue(t->text());
        const long long n = v ? static_cast<long long>(std::llround(*v)) : 0;
        return n < 0 ? QString::number(n) : QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    };
    QString time = part(txtTCHours) + QLatin1Char(':') + part(txtTCMinutes) + QLatin1Char(':') + part(txtTCSeconds);
    if (lblAMPM->isVisible())
        time += QLatin1Char(' ') + lblAMPM->text();
    const QString window = !optWindow[0]->isVisible() ? QStringLiteral("Timing")
                           : optWindow[0]->value()    ? QStringLiteral("Ads")
                                                      : QStringLiteral("Music");
    if (!m_timing.AddEventToList(time, txtPlayList->text(), window))
        m_dialogs.inform(QStringLiteral("Add Event To List"), QStringLiteral("%1 is not a time of day.").arg(time));
}

void EventDialog::cmdClose_Click() { hide(); }

}  // namespace tavlo
