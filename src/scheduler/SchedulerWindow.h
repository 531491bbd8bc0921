#pragma once

#include "insert/SchedulerWindowLink.h"
#include "scheduler/ScheduleState.h"
#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/MenuItem.h"
#include "scheduler/TimeOfDayText.h"

#include <QLocale>

#include <cstdint>
#include <memory>
#include <optional>

namespace tavlo {

struct AppServices;
class PlayerWindow;
class PlaylistModel;
class Timer;
class AboutBoxLink;
class EventDialog;
class SchedulerOptionsDialog;
class InsertWindow;

// The columns of the event list.
enum EventColumn : int { EvTime = 0, EvPlaylist, EvWindow, Ev24hs, EventColumnCount };

// The scheduler window, "TAVLO Timing Events": a list of events, each a time
// of day, a file and a target ("Music", "Ads" or "Timing"), and the clock
// that fires them. Every second, the event whose time is the clock's time
// plus the preload time fires: its playlist replaces the music window's list
// after the current song, or becomes the next break of the insert window,
// prepared so that its countdown ends on the event's time, or its file
// replaces this list. An event fires again every day while it stays listed.
//
// Firing is punctual beyond a plain one-second timer: secondTimer ticks at the
// start of each wall-clock second, and each tick examines, in order, every
// second since the last one examined, up to a minute of them, so a tick that
// comes late misses nothing. A second is examined at most once: when the
// clock goes back (the autumn hour, a correction) the seconds already seen
// are not seen again, so nothing fires twice. When it leaps forward by more
// than a minute (the spring hour, a machine waking up) the events in the gap
// do not fire; each is written to the music window's as-run log as
// "**MISSED**". Times of day are the desktop's local time.
//
// It owns the add-event dialog and the options dialog. The firing is in
// SchedulerWindowFiring.cpp.
// UI thread only.
class SchedulerWindow : public Form {
    Q_OBJECT
public:
    SchedulerWindow(AppServices& services, PlayerWindow& music, InsertWindow& insert,
              const QLocale& locale = QLocale::system(), QObject* parent = nullptr);
    ~SchedulerWindow() override;

    static QString windowCaption() { return QStringLiteral("TAVLO Timing Events"); }
    // The scheduler's settings use the product name alone.
    static QString settingsAppName() { return QStringLiteral("TAVLO Broadcast"); }

    // What the insert window asks of this window.
    SchedulerWindowLink& link();
    // The about box its "About" opens.
    void setAboutWindow(AboutBoxLink& window) { m_aboutWindow = &window; }
    bool isLoaded() const { return m_loaded; }

    // Seconds the events fire ahead of their time; the insert window counts them down.
    double preloadTime() const { return m_preloadTime; }
    void setPreloadTime(double seconds) { m_preloadTime = seconds; }

    EventDialog* eventDialog;      // "Add Event To List"
    SchedulerOptionsDialog* optionsDialog;  // "Options"

    Button* openButton;
    Button* saveButton;
    Button* addEventButton;
    MenuItem* fileMenu;
    MenuItem* openMenuItem;
    MenuItem* saveAsMenuItem;
    MenuItem* exitMenuItem;
    MenuItem* listMenu;
    MenuItem* addEventsMenuItem;
    MenuItem* deleteSelectedMenuItem;
    MenuItem* clearListMenuItem;
    MenuItem* optionsMenu;
    MenuItem* aboutMenuItem;
    PlaylistModel* eventList;
    Label* clockLabel;

    // The format the options dialog's label names.
    TimeOfDayText::Format timeFormat() const;
    const TimeOfDayText& times() const { return m_times; }
    // The clock label, in the current format.
    void showClock();
    // Every listed time written in format `f` (the options dialog's "OK").
    void convertList(TimeOfDayText::Format f);

    void load();
    // Saves the settings of both player windows and this one, then asks
    // "Exit Program ?". False when the user keeps the program running.
    bool mayClose();

    // Adds one event in its chronological place; the time, in either format,
    // comes back in the current one. False, with nothing added, when the text
    // is not a time of day.
    bool addEvent(QString& eventTime, const QString& playlist, const QString& window);
    // Writes the list as an event file. A failure is told to the user; the
    // list and the old file stay as they were.
    bool saveEventList(const QString& fileName);
    // Replaces the list with the file's events. A file that cannot be read
    // leaves the list empty and answers false.
    bool openEventList(const QString& fileName);
    void saveSettings();

    // The events, the options and the last second examined, as a restart needs them.
    ScheduleState scheduleState() const;
    // After load(): the options and events of `state` back, armed from the
    // second it had examined, so the next tick catches up on what fell due
    // while the program was down.
    void resumeSchedule(const ScheduleState& state);
    // Only the catch-up: the next tick examines every second since
    // `lastExamined` (an event file given at start-up keeps its own events).
    void catchUpFrom(std::optional<std::int64_t> lastExamined);

Q_SIGNALS:
    // An event fired: its row's three texts.
    void eventFired(const QString& time, const QString& playlist, const QString& window);
    // The user confirmed "Exit Program ?": the program ends now.
    void programEndRequested();

private:
    class Link;

    void readSettings();
    // What the buttons and menu items do.
    void chooseAndOpenList();
    void chooseAndSaveList();
    void showEventDialog();
    void exitProgram();
    void showEventDialogBeside();
    void deleteSelectedEvents();
    void clearEvents();
    void showOptions();
    void showAbout();

    // ---- Firing (SchedulerWindowFiring.cpp).
    void onSecondTick();
    // Wall-clock seconds as the local clock reads them, counted from a fixed
    // day: the autumn hour reads the same seconds twice.
    static std::int64_t localSecond(const QDateTime& t);
    void alignToNextSecond();
    // Fires the event due in wall-clock second `second`, if any.
    void examineSecond(std::int64_t second);
    void fire(int row);
    // Writes each event that would have fired in seconds first..last to the
    // music window's log as "**MISSED**".
    void logMissed(std::int64_t first, std::int64_t last);
    int preloadSeconds() const;

    AppServices& m_services;
    AboutBoxLink* m_aboutWindow = nullptr;
    PlayerWindow& m_music;
    InsertWindow& m_insert;
    TimeOfDayText m_times;
    std::unique_ptr<Link> m_link;
    std::unique_ptr<Timer> m_secondTimer;
    bool m_loaded = false;
    double m_preloadTime = 0;
    // The last wall-clock second examined; none before the first tick.
    std::optional<std::int64_t> m_lastExamined;
};

}  // namespace tavlo
