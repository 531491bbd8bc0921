#pragma once

#include "insert/InsertWindowLink.h"
#include "nowplaying/SongInfoSink.h"
#include "playback/DeadAirWatch.h"
#include "playback/OutputMeter.h"
#include "playback/PlayerWindow.h"
#include "playback/DeadAirDialog.h"
#include "stream/StreamingDialog.h"

namespace tavlo {

class AboutBoxLink;
class NowPlayingReport;
class InsertWindow;
class SchedulerWindow;

// The music window, "TAVLO Broadcast Music": the program's start-up window.
// Its deck, list and song change are PlayerWindow's; it adds the mixer
// switches, its menus, start-up (which brings up the insert window and the
// scheduler) and closing, and talks to the insert window at the end of each
// song and to the song-info report on every song loaded.
//
// main makes it with the services, hands it the command line and the
// program's folder, then runs Form_Load; a view binds to its controls by name.
// UI thread only.
class MusicWindow : public PlayerWindow {
    Q_OBJECT
public:
    explicit MusicWindow(AppServices& services, QObject* parent = nullptr);
    ~MusicWindow() override;

    static QString windowCaption() { return QStringLiteral("TAVLO Broadcast Music"); }

    // The insert window: loaded and shown by cmdShowPlayer2, asked at the end
    // of each song whether an insert waits, and saved on closing.
    void setInsertWindow(InsertWindow& window);
    // The scheduler window: loaded and shown by cmdShowPlayer2 after the
    // insert window, and saved on closing.
    void setTimingWindow(SchedulerWindow& window) { m_timingWindow = &window; }
    void setSongInfoSink(SongInfoSink& sink) { m_songInfo = &sink; }
    // The playing-now report window: cmdLive365id3 shows it, and every song
    // loaded is reported to it.
    void setLive365Window(NowPlayingReport& window);
    // The about box its "&About" opens.
    void setAboutWindow(AboutBoxLink& window) { m_aboutWindow = &window; }

    Button* chkMicMute;
    Button* chkLinMute;
    Button* cmdShowPlayer2;
    Button* cmdLive365id3;
    MenuItem* mnuView;
    MenuItem* mnuLineUpWindows;
    MenuItem* mnuHelp;
    MenuItem* mnuOnlineHelp;
    MenuItem* mnuAbout;
    // The station's output level beside the channel faders, running from Form_Load.
    OutputMeter outputMeter;
    // A song silent on air for too long is skipped as "Next" does and
    // logged as "**SILENCE**"; Options > Dead Air... sets when.
    DeadAirWatch deadAir;
    DeadAirDialog deadAirDialog;
    MenuItem* mnuDeadAir;
    // Options > Streaming...: the Icecast stream's dialog; its status shows
    // in lblStreaming (the view puts it at the status bar's right end).
    MenuItem* mnuStreaming;
    Label* lblStreaming;
    StreamingDialog streaming;

    void Form_Load();
    // Saves the settings, then asks "Exit Program ?". Cancel becomes 1 when
    // the user keeps the program running.
    void Form_Unload(int& Cancel);
    void cmdShowPlayer2_Click();
    void cmdLive365id3_Click();
    void chkMicMute_Click();
    void chkLinMute_Click();
    void mnuLineUpWindows_Click();
    void mnuOnlineHelp_Click();
    void mnuAbout_Click();
    void mnuStreaming_Click();

protected:
    void timeLeftShown(const QString& text) override;
    void songEndReached() override;
    void songLoaded(int row, int seconds, bool opened) override;
    bool positionTicked() override;
    void getOwnSettings(const QString& app) override;
    void saveOwnSettings(const QString& app) override;

private:
    NullInsertWindowLink m_noInsertWindow;
    NullSongInfoSink m_noSongInfo;
    InsertWindowLink* m_insert = &m_noInsertWindow;
    InsertWindow* m_insertWindow = nullptr;
    SchedulerWindow* m_timingWindow = nullptr;
    NowPlayingReport* m_live365Window = nullptr;
    AboutBoxLink* m_aboutWindow = nullptr;
    SongInfoSink* m_songInfo = &m_noSongInfo;
    // The song last loaded, titled on the stream when it starts.
    QString m_loadedArtist;
    QString m_loadedTitle;
};

}  // namespace tavlo
