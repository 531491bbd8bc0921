#include "app/Station.h"

#include "platform/AppServices.h"

namespace tavlo {

Station::Station(AppServices& services, HttpClient& http, FolderReader& folders)
    : Station(services, http, folders, Options{})
{
}

Station::Station(AppServices& services, HttpClient& http, FolderReader& folders, const Options& options)
    : m_music(services),
      m_insert(services, m_music),
      m_scheduler(services, m_music, m_insert, options.locale),
      m_search(services, m_music, folders, options.searchCapacity),
      m_report(http, options.reportAddress),
      m_about(services.shell, services.screen)
{
    m_music.setInsertWindow(m_insert);
    m_music.setNowPlayingReport(m_report);
    m_music.setSchedulerWindow(m_scheduler);
    m_insert.setSchedulerWindow(m_scheduler.link());
    m_music.setLogFolderWindow(m_logFolder);
    m_insert.setLogFolderWindow(m_logFolder);
    m_music.setSearchWindow(m_search.link());
    m_insert.setSearchWindow(m_search.link());
    m_music.setAboutWindow(m_about);
    m_insert.setAboutWindow(m_about);
    m_scheduler.setAboutWindow(m_about);
}

void Station::setProgramFolder(const QString& folder)
{
    m_music.setProgramFolder(folder);
    m_insert.setProgramFolder(folder);
}

void Station::setCommandLine(const QString& musicFile, const QString& insertFile)
{
    m_music.setCommandLine(musicFile);
    m_insert.setCommandLine(insertFile);
}

void Station::start(const QString& events)
{
    m_music.load();
    if (!events.isEmpty())
        m_scheduler.openEventList(events);
}

StationState Station::state() const
{
    StationState s;
    s.music = m_music.deckState();
    s.insert = m_insert.deckState();
    s.insertBreak = m_insert.breakState();
    s.schedule = m_scheduler.scheduleState();
    s.stream = m_music.streaming.consoleTarget();
    return s;
}

bool Station::resume(KeptStation kept, const QDateTime& now, bool keepEvents)
{
    const StationState& s = kept.state;
    m_music.restoreList(std::move(kept.musicRows));
    m_insert.restoreList(std::move(kept.insertRows));
    // An event file given wins, but what fell due while down still catches up.
    if (keepEvents)
        m_scheduler.resumeSchedule(s.schedule);
    else
        m_scheduler.catchUpFrom(s.schedule.lastExamined);
    const double secondsAway = s.savedAt.isValid() ? std::max<qint64>(0, s.savedAt.msecsTo(now)) / 1000.0 : 0;
    const bool musicOnAir = m_music.resumeDeck(s.music);
    const bool insertOnAir = m_insert.resumeBreak(s.insertBreak, s.insert, secondsAway);
    // One line for the restart, from the window whose song is on air.
    PlayerWindow& told = insertOnAir && !musicOnAir ? static_cast<PlayerWindow&>(m_insert) : m_music;
    told.writeLog(0, QStringLiteral("**RESUMED**"), told.resumedText());
    return musicOnAir || insertOnAir;
}

}  // namespace tavlo
