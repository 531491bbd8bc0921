#include "scheduler/EventDialog.h"

#include "platform/NumericText.h"
#include "platform/UserDialogs.h"
#include "scheduler/SchedulerWindow.h"

#include <cmath>

namespace tavlo {

EventDialog::EventDialog(SchedulerWindow& scheduler, UserDialogs& dialogs, QObject* parent)
    : Form(QStringLiteral("EventDialog"), QStringLiteral("Add Event To List"), parent), m_scheduler(scheduler), m_dialogs(dialogs)
{
    eventTimeLabel = new Label(this, QStringLiteral("Label1(0)"), QStringLiteral("Event Time"));
    hoursBox = new TextBox(this, QStringLiteral("txtTCHours(0)"), QStringLiteral("01"));
    minutesBox = new TextBox(this, QStringLiteral("txtTCMinutes(0)"), QStringLiteral("00"));
    secondsBox = new TextBox(this, QStringLiteral("txtTCSeconds(0)"), QStringLiteral("00"));
    for (TimePart part : {TimePart::Hours, TimePart::Minutes, TimePart::Seconds}) {
        TextBox* t = timeBox(part);
        t->onGotFocus = [this, part] { onTimeBoxEntered(part); };
        t->onChange = [this, part] { onTimeBoxEdited(part); };
        t->onLostFocus = [this, part] { onTimeBoxLeft(part); };
    }
    amPmLabel = new Label(this, QStringLiteral("lblAMPM"), QStringLiteral("PM"));
    amPmLabel->onClick = [this] { toggleAmPm(); };
    playlistLabel = new Label(this, QStringLiteral("Label1(1)"), QStringLiteral("Play List"));
    playlistBox = new TextBox(this, QStringLiteral("txtPlayList"));
    playlistBox->onChange = [this] { onPlaylistEdited(); };
    browseButton = new Button(this, QStringLiteral("cmdBrowse"), QStringLiteral("&Browse..."));
    browseButton->onClick = [this] { browse(); };
    auto* group = new QObject(this);
    insertOption = new Button(this, QStringLiteral("optWindow(0)"), QStringLiteral("&Time Priority"), Button::Kind::Option);
    musicOption = new Button(this, QStringLiteral("optWindow(1)"), QStringLiteral("&Music Window"), Button::Kind::Option);
    for (Button* o : {insertOption, musicOption})
        o->setGroup(group);
    musicOption->setValue(1);
    addEventButton = new Button(this, QStringLiteral("cmdAddEvent"), QStringLiteral("&Add Event"));
    addEventButton->onClick = [this] { addEvent(); };
    closeButton = new Button(this, QStringLiteral("cmdClose"), QStringLiteral("X"));
    closeButton->onClick = [this] { close(); };
}

TextBox* EventDialog::timeBox(TimePart part) const
{
    switch (part) {
    case TimePart::Hours:
        return hoursBox;
    case TimePart::Minutes:
        return minutesBox;
    case TimePart::Seconds:
        break;
    }
    return secondsBox;
}

void EventDialog::onTimeBoxEntered(TimePart part) { timeBox(part)->selectAll(); }

void EventDialog::onTimeBoxEdited(TimePart part)
{
    TextBox* t = timeBox(part);
    if (!isNumeric(t->text())) {
        t->setText(QString());
        return;
    }
    // Two digits typed: on to the next part of the time.
    if (t->text().size() == 2) {
        if (part == TimePart::Hours)
            minutesBox->setFocus();
        else if (part == TimePart::Minutes)
            secondsBox->setFocus();
        else
            browseButton->setFocus();
    }
}

void EventDialog::onTimeBoxLeft(TimePart part)
{
    TextBox* t = timeBox(part);
    const auto v = numericValue(t->text());
    if (!v) {
        t->setText(QStringLiteral("00"));
        return;
    }
    // Below the range is left as typed; Add Event refuses what is no time.
    if (part == TimePart::Hours) {
        if (amPmLabel->isVisible()) {
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

void EventDialog::toggleAmPm() { amPmLabel->setText(amPmLabel->text() == QLatin1String("AM") ? QStringLiteral("PM") : QStringLiteral("AM")); }

void EventDialog::onPlaylistEdited()
{
    const QString name = playlistBox->text();
    // An event file: the event reloads the scheduler, no window to choose.
    const bool eventFile = name.size() > 4 && name.right(3).toLower() == QLatin1String("tmg");
    for (Button* o : {insertOption, musicOption})
        o->setVisible(!eventFile);
}

void EventDialog::browse()
{
    const QStringList chosen = m_dialogs.chooseFilesToOpen(
        QStringLiteral("Browse"), QString(), QStringLiteral("M3U PlayList (*.M3U *.m3u);;Playlists (*.m3u *.m3u8 *.pls *.M3U *.M3U8 *.PLS);;"
                                               "Timing File (*.TMG *.tmg)"));
    if (!chosen.isEmpty() && !chosen.first().isEmpty())
        playlistBox->setText(chosen.first());
}

void EventDialog::addEvent()
{
    // Each part as a whole number of at least two digits.
    auto part = [](const TextBox* t) {
        const auto v = numericValue(t->text());
        const long long n = v ? static_cast<long long>(std::llround(*v)) : 0;
        return n < 0 ? QString::number(n) : QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    };
    QString time = part(hoursBox) + QLatin1Char(':') + part(minutesBox) + QLatin1Char(':') + part(secondsBox);
    if (amPmLabel->isVisible())
        time += QLatin1Char(' ') + amPmLabel->text();
    const QString window = !insertOption->isVisible() ? QStringLiteral("Timing")
                           : insertOption->value()    ? QStringLiteral("Ads")
                                                      : QStringLiteral("Music");
    if (!m_scheduler.addEvent(time, playlistBox->text(), window))
        m_dialogs.inform(QStringLiteral("Add Event To List"), QStringLiteral("%1 is not a time of day.").arg(time));
}

void EventDialog::close() { hide(); }

}  // namespace tavlo
