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
    double preloadTime() const override { return m_w.PreLoadTime; }
    void saveSettings() override { m_w.SaveSettings(); }

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
    cmdOpenList = push("cmdOpenList", "&Open", &SchedulerWindow::cmdOpenList_Click);
    cmdSaveList = push("cmdSaveList", "&Save", &SchedulerWindow::cmdSaveList_Click);
    cmdAddEvent = push("cmdAddEvent", "&Add Event", &SchedulerWindow::cmdAddEvent_Click);
    mnuFile = item("mnuFile", "&File", nullptr, nullptr);
    mnuOpen = item("mnuOpen", "&Open", mnuFile, &SchedulerWindow::cmdOpenList_Click);
    mnuSaveAs = item("mnuSaveAs", "&Save as...", mnuFile, &SchedulerWindow::cmdSaveList_Click);
    mnuExit = item("mnuExit", "E&xit Program", mnuFile, &SchedulerWindow::mnuExit_Click);
    mnuList = item("mnuList", "&List", nullptr, nullptr);
    mnuAddEvents = item("mnuAddEvents", "&Add Events to List", mnuList, &SchedulerWindow::mnuAddEvents_Click);
    mnuDeleteSelected = item("mnuDeleteSelected", "&Delete Selected Items", mnuList, &SchedulerWindow::mnuDeleteSelected_Click);
    mnuClearList = item("mnuClearList", "&Clear List", mnuList, &SchedulerWindow::mnuClearList_Click);
    mnuOptions = item("mnuOptions", "&Options", nullptr, &SchedulerWindow::mnuOptions_Click);
    mnuAbout = item("mnuAbout", "About", nullptr, &SchedulerWindow::mnuAbout_Click);

    lstEvents = new PlaylistModel(this, QStringLiteral("lstEvents"),
                                  {{QStringLiteral("Time"), 1200},
                                   {QStringLiteral("Playlist"), 3400},
                                   {QStringLiteral("Window"), 1300},
                                   {TimeOfDayText::h24Option(), 0}});
    lstEvents->setProperty("toolTip", QString());
    lblTimeNow = new Label(this, QStringLiteral("lblTimeNow"));
    lblTimeNow->setBold(true);

    m_timer1 = services.timers.createTimer();
    m_timer1->setHandler([this] { Timer1_Timer(); });

    OptionsForm = new SchedulerOptionsDialog(*this, this);
    EventForm = new EventDialog(*this, services.dialogs, this);
}

SchedulerWindow::~SchedulerWindow() { m_timer1.reset(); }

SchedulerWindowLink& SchedulerWindow::link() { return *m_link; }

TimeOfDayText::Format SchedulerWindow::timeFormat() const { return TimeOfDayText::formatOf(OptionsForm->lblTimeFormat->text()); }

void SchedulerWindow::showTimeNow() { lblTimeNow->setText(m_times.format(m_services.clock.now().time(), timeFormat())); }

void SchedulerWindow::convertList(TimeOfDayText::Format f)
{
    for (int n = 1; n <= lstEvents->count(); ++n) {
        if (const auto t = m_times.convert(lstEvents->text(n, EvTime), f))
            lstEvents->setText(n, EvTime, *t);
    }
}

void SchedulerWindow::Form_Load()
{
    m_loaded = true;
    GetSettings();
    // Puts the (empty) list and the clock in the loaded format and saves.
    OptionsForm->cmdOk->press();
    alignTimer1();
    m_timer1->setEnabled(true);
}

void SchedulerWindow::Form_Unload(int& Cancel)
{
    // Saved whatever the answer.
    m_music.saveSettings();
    m_insert.saveSettings();
    SaveSettings();
    if (m_services.dialogs.askYesNo(PlayerWindow::productName(), QStringLiteral("Exit Program ?")))
        Q_EMIT programEndRequested();
    else
        Cancel = 1;
}

bool SchedulerWindow::AddEventToList(QString& sEventTime, const QString& sPlayList, const QString& sWindow)
{
    const TimeOfDayText::Format f = timeFormat();
    showTimeNow();
    const auto time = m_times.parse(sEventTime);
    if (!time)
        return false;
    sEventTime = m_times.format(*time, f);
    PlaylistRow row;
    row.fields[EvTime] = sEventTime;
    row.fields[EvPlaylist] = sPlayList;
    row.fields[EvWindow] = sWindow;
    row.fields[Ev24hs] = m_times.format(*time, TimeOfDayText::Format::H24);
    // In its place at once: the sort is stable, so among events of one time
    // the one added first stays first, and it is the one that fires.
    int pos = lstEvents->count() + 1;
    while (pos > 1 && lstEvents->text(pos - 1, Ev24hs) > row.fields[Ev24hs])
        --pos;
    lstEvents->insert(pos, std::move(row));
    return true;
}

bool SchedulerWindow::SaveEventList(const QString& FileName)
{
    std::vector<EventFields> events;
    events.reserve(static_cast<size_t>(lstEvents->count()));
    for (int n = 1; n <= lstEvents->count(); ++n)
        events.push_back({lstEvents->text(n, EvTime), lstEvents->text(n, EvPlaylist), lstEvents->text(n, EvWindow)});
    QString error;
    if (EventFile::write(FileName, events, &error))
        return true;
    m_services.dialogs.inform(PlayerWindow::productName(),
                              QStringLiteral("The event list could not be saved to %1: %2").arg(FileName, error));
    return false;
}

bool SchedulerWindow::OpenEventList(const QString& FileName)
{
    lstEvents->clear();
    const auto events = EventFile::read(FileName);
    if (!events)
        return false;
    for (EventFields e : *events)
        AddEventToList(e.time, e.playlist, e.window);  // a line whose time is no time is skipped
    return true;
}

void SchedulerWindow::GetSettings()
{
    SettingsStore& store = m_services.settings;
    const QString app = settingsAppName();
    auto number = [&](const char* key, int fallback) {
        const auto v = SettingValues::toInt32(store.get(app, caption(), QString::fromLatin1(key), QString::number(fallback)));
        return v ? *v : fallback;
    };
    setGeometry(number("Left", 100), number("Top", 100), number("Width", 6615), number("Height", 3060));
    OptionsForm->lblTimeFormat->setText(
        store.get(app, QStringLiteral("Options"), QStringLiteral("TimeFormat"), TimeOfDayText::amPmOption()));
    OptionsForm->txtPreload->setText(store.get(app, QStringLiteral("Options"), QStringLiteral("PreloadTime"), QStringLiteral("0")));
    EventForm->lblAMPM->setVisible(OptionsForm->lblTimeFormat->text() == TimeOfDayText::amPmOption());
}

void SchedulerWindow::SaveSettings()
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
    store.save(app, QStringLiteral("Options"), QStringLiteral("TimeFormat"), OptionsForm->lblTimeFormat->text());
    store.save(app, QStringLiteral("Options"), QStringLiteral("PreloadTime"), OptionsForm->txtPreload->text());
}

void SchedulerWindow::cmdOpenList_Click()
{
    const QStringList chosen = m_services.dialogs.chooseFilesToOpen(QStringLiteral("Open"), QString(), kTmgFilter);
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return;
    if (!OpenEventList(chosen.first()))
        m_services.dialogs.inform(PlayerWindow::productName(),
                                  QStringLiteral("The event file %1 could not be read.").arg(chosen.first()));
}

void SchedulerWindow::cmdSaveList_Click()
{
    const QString name = m_services.dialogs.chooseFileToSave(QStringLiteral("Save as"), QString(), kTmgFilter);
    if (!name.isEmpty())
        SaveEventList(name);
}

void SchedulerWindow::cmdAddEvent_Click() { EventForm->show(); }

void SchedulerWindow::mnuExit_Click()
{
    int cancel = 0;
    Form_Unload(cancel);
}

void SchedulerWindow::mnuAddEvents_Click()
{
    EventForm->setGeometry(left() + 100, top() + 1000, EventForm->width(), EventForm->height());
    EventForm->show();
}

void SchedulerWindow::mnuDeleteSelected_Click() { lstEvents->removeSelected(); }

void SchedulerWindow::mnuClearList_Click() { lstEvents->clear(); }

void SchedulerWindow::mnuOptions_Click()
{
    OptionsForm->setGeometry(left() + 300, top() + 200, OptionsForm->width(), OptionsForm->height());
    OptionsForm->show();
}

void SchedulerWindow::mnuAbout_Click()
{
    if (m_aboutWindow)
        m_aboutWindow->open();
}

}  // namespace tavlo
