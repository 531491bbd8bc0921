#pragma once

#include "app/AboutBox.h"
#include "app/StationState.h"
#include "insert/InsertWindow.h"
#include "log/LogFolderDialog.h"
#include "music/MusicWindow.h"
#include "nowplaying/NowPlayingReport.h"
#include "scheduler/SchedulerWindow.h"
#include "search/SearchWindow.h"

#include <QLocale>
#include <QUrl>

namespace tavlo {

class FolderReader;
class HttpClient;

// The station's windows, made once on the services handed in and wired to
// each other: the music window, the insert window, the scheduler, the search
// window, the playing-now report, the about box and the log-folder dialog the
// two player windows share. The desktop puts views on them; --headless and
// --render run them as they are; tests and benchmarks make one on fakes.
// UI thread only.
class Station {
public:
    struct Options {
        // Whose AM and PM the scheduler's times are written with.
        QLocale locale = QLocale::system();
        // How many results each of the search window's lists takes.
        int searchCapacity = SearchWindow::kListCapacity;
        // Where the playing-now report is sent.
        QUrl reportAddress = NowPlayingReport::serviceAddress();
    };

    // The services, the web client and the folder reader must outlive the station.
    Station(AppServices& services, HttpClient& http, FolderReader& folders, const Options& options);
    Station(AppServices& services, HttpClient& http, FolderReader& folders);
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Where the player windows' log folder starts out and their manual is
    // found: the program's folder, without its final separator.
    void setProgramFolder(const QString& folder);
    // The rest of each player window's command line, as its start-up takes it.
    void setCommandLine(const QString& musicFile, const QString& insertFile);
    // The music window's start-up, which brings up the insert window and the
    // scheduler; then the event file, when there is one, into the scheduler.
    void start(const QString& events = QString());

    // The decks, the break, the scheduler and the stream as a restart needs
    // them (the time it was taken left for the caller to stamp).
    StationState state() const;
    // After start(): the station back where `kept` left it, `now` being the
    // restart's time. The lists come back whole; the song on air plays on
    // from its position, faded in; a break goes on from its step (a
    // console's stream is the console's to start again); the
    // scheduler's events are armed again (unless an event file was given,
    // `keepEvents` false) and catch up on what fell due meanwhile. One
    // "**RESUMED**" line goes to the as-run log. True when a song went back on air.
    bool resume(KeptStation kept, const QDateTime& now, bool keepEvents = true);

    LogFolderDialog& logFolder() { return m_logFolder; }
    MusicWindow& music() { return m_music; }
    InsertWindow& insert() { return m_insert; }
    SchedulerWindow& scheduler() { return m_scheduler; }
    SearchWindow& search() { return m_search; }
    NowPlayingReport& report() { return m_report; }
    AboutBox& about() { return m_about; }

private:
    LogFolderDialog m_logFolder;
    MusicWindow m_music;
    InsertWindow m_insert;
    SchedulerWindow m_scheduler;
    SearchWindow m_search;
    NowPlayingReport m_report;
    AboutBox m_about;
};

}  // namespace tavlo
