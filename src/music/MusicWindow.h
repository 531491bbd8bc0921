#pragma once

#include "insert/InsertWindowLink.h"
#include "insert/MusicWindowLink.h"
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
// scheduler) and closing, and the music's side of a break (MusicWindowBreak.cpp):
// the insert window reaches it as a MusicWindowLink, it reaches the insert
// window through InsertWindowLink. Every song loaded goes to the song-info report.
// Its fallback list (MusicWindowFallback.cpp) plays while its own list has
// nothing playable.
//
// The Station makes it with the services, hands it the command line and the
// program's folder, then runs load(); a view binds its controls.
// UI thread only.
class MusicWindow : public PlayerWindow, public MusicWindowLink {
    Q_OBJECT
public:
    explicit MusicWindow(AppServices& services, QObject* parent = nullptr);
    ~MusicWindow() override;

    static QString windowCaption() { return QStringLiteral("TAVLO Broadcast Music"); }

    // The insert window: loaded and shown by showInsertWindowButton, asked at the end
    // of each song whether an insert waits, and saved on closing.
    void setInsertWindow(InsertWindow& window);
    // The scheduler window: loaded and shown by showInsertWindowButton after the
    // insert window, and saved on closing.
    void setSchedulerWindow(SchedulerWindow& window) { m_schedulerWindow = &window; }
    // The playing-now report window: nowPlayingButton shows it, and every song
    // loaded is reported to it.
    void setNowPlayingReport(NowPlayingReport& window);
    // The about box its "&About" opens.
    void setAboutWindow(AboutBoxLink& window) { m_aboutWindow = &window; }

    Button* micSwitch;
    Button* lineSwitch;
    Button* showInsertWindowButton;
    Button* nowPlayingButton;
    MenuItem* viewMenu;
    MenuItem* lineUpWindowsItem;
    MenuItem* helpMenu;
    MenuItem* onlineHelpItem;
    MenuItem* aboutItem;
    // The station's output level beside the channel faders, running from load().
    OutputMeter outputMeter;
    // A song silent on air for too long is skipped as "Next" does and
    // logged as "**SILENCE**"; Options > Dead Air... sets when.
    DeadAirWatch deadAir;
    DeadAirDialog deadAirDialog;
    MenuItem* deadAirItem;
    // Options > Streaming...: the Icecast stream's dialog; its status shows
    // in streamingStatusLabel (the view puts it at the status bar's right end).
    MenuItem* streamingItem;
    // Options > Start With The Desktop: checked while the desktop starts the
    // program at login.
    MenuItem* startWithDesktopItem;
    Label* streamingStatusLabel;
    StreamingDialog streaming;
    // Options > Fallback List... (checked while there is one) and Options >
    // No Fallback List.
    MenuItem* fallbackListItem;
    MenuItem* noFallbackListItem;

    // The song last loaded as the stream titles it: "Artist - Title", else
    // the name of its file `path`.
    QString loadedSongTitle(const QString& path) const;

    void load();
    // Saves the settings, then asks "Exit Program ?"; false when the user
    // keeps the program running.
    bool mayClose();
    void showOtherWindows();
    void showNowPlayingReport();
    void onMicSwitch();
    void onLineSwitch();
    void lineUpWindows();
    void openManual();
    void openAbout();
    void openStreaming();
    void toggleStartWithDesktop();

    // ---- The fallback list (MusicWindowFallback.cpp).
    // A playlist or media file chosen in a file dialog; a cancelled dialog
    // keeps the one there was. Kept in the settings at once.
    void chooseFallbackList();
    void clearFallbackList();
    // The command line's fallback (a playlist, a folder or a media file):
    // used instead of the stored one, which stays stored.
    void forceFallbackList(const QString& source);

    // ---- The music's side of a break (MusicWindowBreak.cpp).
    int masterLevel() const override;
    void setFaderInPlay(double level) override;
    void followMasterLevel() override;
    bool musicPlaying() const override { return status() == DeckStatus::Playing; }
    void cueNextSongForBreak() override;
    void resumeAfterBreak() override;
    void logSongBackOnAir() override;
    void saveSettings() override { PlayerWindow::saveSettings(); }

protected:
    void timeLeftShown(const QString& text) override;
    void songEndReached() override;
    void songLoaded(int row, int seconds, bool opened) override;
    bool positionTicked() override;
    bool mayTryListNow() const override;
    void getOwnSettings(const QString& app) override;
    void saveOwnSettings(const QString& app) override;
    void fallbackSongLoaded(const QString& path, int seconds) override;

private:
    // The fallback in use: the command line's, else the stored one.
    void applyFallbackChoice();
    void readFallbackChoice(const QString& app);
    void saveFallbackChoice(const QString& app);
    // Title, artist, album and seconds to the song-info report and the stream.
    void reportSong(const QString& title, const QString& artist, const QString& album, int seconds,
                    const QString& location);

    NullInsertWindowLink m_noInsertWindow;
    NullSongInfoSink m_noSongInfo;
    InsertWindowLink* m_insert = &m_noInsertWindow;
    InsertWindow* m_insertWindow = nullptr;
    SchedulerWindow* m_schedulerWindow = nullptr;
    NowPlayingReport* m_nowPlayingReport = nullptr;
    AboutBoxLink* m_aboutWindow = nullptr;
    SongInfoSink* m_songInfo = &m_noSongInfo;
    // The song last loaded, titled on the stream when it starts.
    QString m_loadedArtist;
    QString m_loadedTitle;
    QString m_storedFallback;
    QString m_forcedFallback;
};

}  // namespace tavlo
