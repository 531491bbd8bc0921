#pragma once

#include "insert/InsertWindowLink.h"
#include "insert/SchedulerWindowLink.h"
#include "playback/PlayerWindow.h"

#include <QSet>

#include <memory>
#include <optional>

namespace tavlo {

class AboutBoxLink;

// The insert window, "TAVLO Broadcast - Time Priority": a player window for
// ads, jingles and station calls that breaks into the music. Its deck, list
// and song-to-song changes are PlayerWindow's with the insert DeckVariant; it
// adds the insert workflow (prepare, count down or wait for the music's song
// to end, insert now, back to music) and the two ramps that move the sound
// between the music window and itself.
//
// It reaches the music window by that window's public members, controls and
// operations; the music window reaches it through link().
//
// Never dead air: when a break finds nothing to play (an empty list, or every
// insert unopenable) the music comes back by itself, and a return to the
// music asked for while the insert-in ramp still runs waits for that ramp's
// end, so the ramp's cue can never leave the music paused behind it.
//
// The ramps are split into InsertWindowRamps.cpp.
// UI thread only.
class InsertWindow : public PlayerWindow {
    Q_OBJECT
public:
    InsertWindow(AppServices& services, PlayerWindow& music, QObject* parent = nullptr);
    ~InsertWindow() override;

    static QString windowCaption() { return QStringLiteral("TAVLO Broadcast - Time Priority"); }

    // The scheduler: its preload time is read by every "Prepare Insert", its
    // settings saved when this window closes.
    void setSchedulerWindow(SchedulerWindowLink& scheduler) { m_scheduler = &scheduler; }
    // The about box its "&About" opens.
    void setAboutWindow(AboutBoxLink& window) { m_aboutWindow = &window; }
    // What the music window asks of this window at the end of its songs.
    InsertWindowLink& link();

    // ---- Members other windows read and write by name.
    int PlayOverMusic = 0;            // 1: the music plays on under the inserts
    int InsertReady = 0;              // 0 idle, 1 waiting for the music's song to end, 2 insert starting
    int GoingBackToMusic = 0;         // 1 while the back-to-music ramp runs
    int WaitForCurrentSongToEnd = 0;  // 1: a prepared insert waits for the music's song to end
    double DelayBeforePlay = 0;       // seconds counted down before a prepared insert starts

    // Music master volume over insert master volume, as the last "Insert Now"
    // or "Back To Music" computed it.
    double volumeRatio() const { return m_ratio; }
    int countDownSeconds() const { return m_countDown; }
    bool isLoaded() const { return m_loaded; }

    Button* cmdPrepareInsert;
    Button* cmdInsertNow;
    Button* cmdBackToMusic;
    Button* cmdAbortInsert;
    Button* chkPlayOverMusic;
    Button* chkWaitForSong;
    Label* lblReady;
    Label* lblCountDown;  // "lblCountDown(0)"
    MenuItem* mnuOnlineHelp;
    MenuItem* mnuHelp;
    MenuItem* mnuAbout;

    Timer& tmrCountDown() const { return *m_tmrCountDown; }
    Timer& tmrTransition2() const { return *m_tmrTransition2; }
    Timer& tmrTransition3() const { return *m_tmrTransition3; }

    void Form_Load();
    // Saves the settings of the music window, this one and the scheduler,
    // then asks "Exit Program ?". Cancel becomes 1 when the user keeps the
    // program running.
    void Form_Unload(int& Cancel);

    void cmdPrepareInsert_Click();
    void PrepareInsert();
    void cmdInsertNow_Click();
    void cmdBackToMusic_Click();
    void cmdAbortInsert_Click();
    void chkPlayOverMusic_Click();
    void chkWaitForSong_Click();
    void tmrCountDown_Timer();
    // The insert-in ramp and the back-to-music ramp (InsertWindowRamps.cpp).
    void tmrTransition2_Timer();
    void tmrTransition3_Timer();
    void mnuOnlineHelp_Click();
    void mnuAbout_Click();

protected:
    void songEndReached() override;
    void songLoaded(int row, int seconds, bool opened) override;
    void playListOpened(const QString& FileName) override;
    LogFolderDialog::Opener logFolderOpener() const override { return LogFolderDialog::Opener::InsertWindow; }
    void getOwnSettings(const QString& app) override;
    void saveOwnSettings(const QString& app) override;

private:
    class Link;

    // Master volumes over the insert master, and the ramp interval that lets
    // iv ticks take the transition time and a tenth. Both keep their old
    // values when the insert master is 0.
    void computeRatioAndInterval(Timer& ramp);
    // Sets a fader to a computed level, rounded halves to even; a level
    // outside 0..85 is not applied.
    static void setLevel(Slider* fader, double level);
    Slider* insertFader() const;
    Slider* musicFader() const;
    // One tick of either ramp: what the tick's fader steps are computed from.
    struct RampTick {
        int c;           // the tick, from 1
        int iv;          // the insert master
        int M;           // the masters' maximum
        double mv;       // the music master
        double r;        // mv / iv, as the ramp's start computed it
        bool music;      // the music's fader is ours to move (not played over)
        bool firstHalf;  // c <= iv / 2
    };
    // Counts the tick; on the tick past the last step runs `endActions` and
    // answers nothing.
    std::optional<RampTick> nextRampTick(void (InsertWindow::*endActions)());
    void cutMade(int iv);
    void endInsertIn();
    void endBackToMusic();
    // Nothing left to play in this break: the list is empty or every row of
    // it failed to open since the last insert that played.
    bool nothingPlayable() const;

    PlayerWindow& m_music;
    std::unique_ptr<Link> m_link;
    NullSchedulerWindowLink m_noScheduler;
    SchedulerWindowLink* m_scheduler = &m_noScheduler;
    AboutBoxLink* m_aboutWindow = nullptr;
    std::unique_ptr<Timer> m_tmrCountDown;
    std::unique_ptr<Timer> m_tmrTransition2;
    std::unique_ptr<Timer> m_tmrTransition3;
    double m_ratio = 0;
    int m_countDown = 0;
    bool m_loaded = false;
    // "Back To Music" asked for during the insert-in ramp, run at its end.
    bool m_backAfterInsertIn = false;
    // Rows that failed to open since an insert last played.
    QSet<int> m_failedRows;
};

}  // namespace tavlo
