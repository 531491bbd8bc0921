// SchedulerWindow: the scheduler window's controls, start-up and closing, the event
// list and its files, and the settings.
#include "scheduler/SchedulerWindow.h"

#include "insert/InsertWindow.h"
#include "platform/AboutBoxLink.h"
#include "platform/AppServices.h"
#include "platform/Clock.h"
#include "platform/SettingValues.h"
#include "platform/SettingsStore.h"
#include "platform/TimerService.h"
#include "platform/UserDialogs.h"
#include "playback/PlayerWindow.h"
#include "playlist/PlaylistModel.h"
#include "scheduler/EventFile.h"
#include "scheduler/EventDialog.h"
#include "scheduler/SchedulerOptionsDialog.h"

namespace tavlo {

class SchedulerWindow::Link : public SchedulerWindowLink {
public:
    explicit Link(SchedulerWindow& window) : m_w(window) {}
    double preloadTime() const override { return m_w.preloadTime(); }
    void saveSettings() override { m_w.saveSettings(); }

private:
    SchedulerWindow& m_w;
};

namespace {

const QString kTmgFilter = QStringLiteral("TMG Timing (*.tmg)");

}  // namespace

SchedulerWindow::SchedulerWindow(AppServices& services, PlayerWindow& music, InsertWindow& insert, const QLocale& locale,
                     QObject* parent)
    : Form(QStringLiteral("SchedulerWindow"), windowCaption(), parent),
      m_services(services),
      m_music(music),
      m_insert(insert),
      m_times(locale),
      m_link(std::make_unique<Link>(*this))
{
    auto push = [this](const char* name, const char* caption, void (SchedulerWindow::*handler)()) {
        auto* b = new Button(this, QString::fromLatin1(name), QString::fromLatin1(caption));
        b->onClick = [this, handler] { (this->*handler)(); };
        return b;
    };
    auto item = [this](const char* name, const char* caption, MenuItem* menu, void (SchedulerWindow::*handler)()) {
        auto* m = new MenuItem(this, QString::fromLatin1(name), QString::fromLatin1(caption), menu);
        if (handler)
            m->onClick = [this, handler] { (this->*handler)(); };
        return m;
    };
    openButton = push("cmdOpenList", "&Open", &SchedulerWindow::chooseAndOpenList);
    saveButton = push("cmdSaveList", "&Save", &SchedulerWindow::chooseAndSaveList);
    addEventButton = push("cmdAddEvent", "&Add Event", &SchedulerWindow::showEventDialog);
    fileMenu = item("mnuFile", "&File", nullptr, nullptr);
    openMenuItem = item("mnuOpen", "&Open", fileMenu, &SchedulerWindow::chooseAndOpenList);
    saveAsMenuItem = item("mnuSaveAs", "&Save as...", fileMenu, &SchedulerWindow::chooseAndSaveList);
    exitMenuItem = item("mnuExit", "E&xit Program", fileMenu, &SchedulerWindow::exitProgram);
    listMenu = item("mnuList", "&List", nullptr, nullptr);
    addEventsMenuItem = item("mnuAddEvents", "&Add Events to List", listMenu, &SchedulerWindow::showEventDialogBeside);
    deleteSelectedMenuItem = item("mnuDeleteSelected", "&Delete Selected Items", listMenu, &SchedulerWindow::deleteSelectedEvents);
    clearListMenuItem = item("mnuClearList", "&Clear List", listMenu, &SchedulerWindow::clearEvents);
    optionsMenu = item("mnuOptions", "&Options", nullptr, &SchedulerWindow::showOptions);
    aboutMenuItem = item("mnuAbout", "About", nullptr, &SchedulerWindow::showAbout);

    eventList = new PlaylistModel(this, QStringLiteral("lstEvents"),
                                  {{QStringLiteral("Time"), 1200},
                                   {QStringLiteral("Playlist"), 3400},
                                   {QStringLiteral("Window"), 1300},
                                   {TimeOfDayText::h24Option(), 0}});
    eventList->setProperty("toolTip", QString());
    clockLabel = new Label(this, QStringLiteral("lblTimeNow"));
    clockLabel->setBold(true);

    m_secondTimer = services.timers.createTimer();
    m_secondTimer->setHandler([this] { onSecondTick(); });

    optionsDialog = new SchedulerOptionsDialog(*this, this);
    eventDialog = new EventDialog(*this, services.dialogs, this);
}

SchedulerWindow::~SchedulerWindow() { m_secondTimer.reset(); }

SchedulerWindowLink& SchedulerWindow::link() { return *m_link; }

TimeOfDayText::Format SchedulerWindow::timeFormat() const { return TimeOfDayText::formatOf(optionsDialog->timeFormatLabel->text()); }

void SchedulerWindow::showClock() { clockLabel->setText(m_times.format(m_services.clock.now().time(), timeFormat())); }

void SchedulerWindow::convertList(TimeOfDayText::Format f)
{
    for (int n = 1; n <= eventList->count(); ++n) {
        if (const auto t = m_times.convert(eventList->text(n, EvTime), f))
            eventList->setText(n, EvTime, *t);
    }
}

void SchedulerWindow::load()
{
    m_loaded = true;
    readSettings();
    // Puts the (empty) list and the clock in the loaded format and saves.
    optionsDialog->okButton->press();
    alignToNextSecond();
    m_secondTimer->setEnabled(true);
}

bool SchedulerWindow::mayClose()
{
    // Saved whatever the answer.
    m_music.saveSettings();
    m_insert.saveSettings();
    saveSettings();
    if (!m_services.dialogs.askYesNo(PlayerWindow::productName(), QStringLiteral("Exit Program ?")))
        return false;
    Q_EMIT programEndRequested();
    return true;
}

bool SchedulerWindow::addEvent(QString& eventTime, const QString& playlist, const QString& window)
{
    const TimeOfDayText::Format f = timeFormat();
    showClock();
    const auto time = m_times.parse(eventTime);
    if (!time)
        return false;
    eventTime = m_times.format(*time, f);
    PlaylistRow row;
    row.fields[EvTime] = eventTime;
    row.fields[EvPlaylist] = playlist;
    row.fields[EvWindow] = window;
    row.fields[Ev24hs] = m_times.format(*time, TimeOfDayText::Format::H24);
    // In its place at once: the sort is stable, so among events of one time
    // the one added first stays first, and it is the one that fires.
    int pos = eventList->count() + 1;
    while (pos > 1 && eventList->text(pos - 1, Ev24hs) > row.fields[Ev24hs])
        --pos;
    eventList->insert(pos, std::move(row));
    return true;
}

bool SchedulerWindow::saveEventList(const QString& fileName)
{
    std::vector<EventFields> events;
    events.reserve(static_cast<size_t>(eventList->count()));
    for (int n = 1; n <= eventList->count(); ++n)
        events.push_back({eventList->text(n, EvTime), eventList->text(n, EvPlaylist), eventList->text(n, EvWindow)});
    QString error;
    if (EventFile::write(fileName, events, &error))
        return true;
    m_services.dialogs.inform(PlayerWindow::productName(),
                              QStringLiteral("The event list could not be saved to %1: %2").arg(fileName, error));
    return false;
}

bool SchedulerWindow::openEventList(const QString& fileName)
{
    eventList->clear();
    const auto events = EventFile::read(fileName);
    if (!events)
        return false;
    for (EventFields e : *events)
        addEvent(e.time, e.playlist, e.window);  // a line whose time is no time is skipped
    return true;
}

ScheduleState SchedulerWindow::scheduleState() const
{
    ScheduleState state;
    state.events.reserve(static_cast<size_t>(eventList->count()));
    for (int n = 1; n <= eventList->count(); ++n) {
        QStringList row;
        for (int c = 0; c < EventColumnCount; ++c)
            row << eventList->text(n, c);
        state.events.push_back(row);
    }
    state.timeFormat = optionsDialog->timeFormatLabel->text();
    state.preloadTime = optionsDialog->preloadBox->text();
    state.lastExamined = m_lastExamined;
    return state;
}

void SchedulerWindow::resumeSchedule(const ScheduleState& state)
{
    if (!state.timeFormat.isEmpty())
        optionsDialog->timeFormatLabel->setText(state.timeFormat);
    optionsDialog->preloadBox->setText(state.preloadTime);
    eventList->clear();
    optionsDialog->okButton->press();  // applies both, as the dialog's OK does
    eventDialog->amPmLabel->setVisible(optionsDialog->timeFormatLabel->text() == TimeOfDayText::amPmOption());
    for (const QStringList& texts : state.events) {
        PlaylistRow row;
        for (int c = 0; c < EventColumnCount && c < texts.size(); ++c)
            row.fields[static_cast<size_t>(c)] = texts[c];
        eventList->insert(eventList->count() + 1, std::move(row));
    }
    catchUpFrom(state.lastExamined);
}

void SchedulerWindow::catchUpFrom(std::optional<std::int64_t> lastExamined)
{
    if (lastExamined)
        m_lastExamined = lastExamined;
}

void SchedulerWindow::readSettings()
{
    SettingsStore& store = m_services.settings;
    const QString app = settingsAppName();
    auto number = [&](const char* key, int fallback) {
        const auto v = SettingValues::toInt32(store.get(app, caption(), QString::fromLatin1(key), QString::number(fallback)));
        return v ? *v : fallback;
    };
    setGeometry(number("Left", 100), number("Top", 100), number("Width", 6615), number("Height", 3060));
    optionsDialog->timeFormatLabel->setText(
        store.get(app, QStringLiteral("Options"), QStringLiteral("TimeFormat"), TimeOfDayText::amPmOption()));
    optionsDialog->preloadBox->setText(store.get(app, QStringLiteral("Options"), QStringLiteral("PreloadTime"), QStringLiteral("0")));
    eventDialog->amPmLabel->setVisible(optionsDialog->timeFormatLabel->text() == TimeOfDayText::amPmOption());
}

void SchedulerWindow::saveSettings()
{
    // A window never placed (or pushed off the top) keeps the stored place.
    if (top() <= 1)
        return;
    SettingsStore& store = m_services.settings;
    const QString app = settingsAppName();
    store.save(app, caption(), QStringLiteral("Top"), SettingValues::fromInt(top()));
    store.save(app, caption(), QStringLiteral("Left"), SettingValues::fromInt(left()));
    store.save(app, caption(), QStringLiteral("Height"), SettingValues::fromInt(height()));
    store.save(app, caption(), QStringLiteral("Width"), SettingValues::fromInt(width()));
    store.save(app, QStringLiteral("Options"), QStringLiteral("TimeFormat"), optionsDialog->timeFormatLabel->text());
    store.save(app, QStringLiteral("Options"), QStringLiteral("PreloadTime"), optionsDialog->preloadBox->text());
}

void SchedulerWindow::chooseAndOpenList()
{
    const QStringList chosen = m_services.dialogs.chooseFilesToOpen(QStringLiteral("Open"), QString(), kTmgFilter);
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return;
    if (!openEventList(chosen.first()))
        m_services.dialogs.inform(PlayerWindow::productName(),
                                  QStringLiteral("The event file %1 could not be read.").arg(chosen.first()));
}

void SchedulerWindow::chooseAndSaveList()
{
    const QString name = m_services.dialogs.chooseFileToSave(QStringLiteral("Save as"), QString(), kTmgFilter);
    if (!name.isEmpty())
        saveEventList(name);
}

void SchedulerWindow::showEventDialog() { eventDialog->show(); }

void SchedulerWindow::exitProgram() { mayClose(); }

void SchedulerWindow::showEventDialogBeside()
{
    eventDialog->setGeometry(left() + 100, top() + 1000, eventDialog->width(), eventDialog->height());
    eventDialog->show();
}

void SchedulerWindow::deleteSelectedEvents() { eventList->removeSelected(); }

void SchedulerWindow::clearEvents() { eventList->clear(); }

void SchedulerWindow::showOptions()
{
    optionsDialog->setGeometry(left() + 300, top() + 200, optionsDialog->width(), optionsDialog->height());
    optionsDialog->show();
}

void SchedulerWindow::showAbout()
{
    if (m_aboutWindow)
        m_aboutWindow->open();
}

}  // namespace tavlo
