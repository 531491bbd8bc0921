#pragma once

#include "insert/BreakState.h"
#include "insert/InsertState.h"
#include "insert/InsertWindowLink.h"
#include "insert/MusicWindowLink.h"
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
// It reaches the music window through MusicWindowLink; the music window
// reaches it through link().
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
    InsertWindow(AppServices& services, MusicWindowLink& music, QObject* parent = nullptr);
    ~InsertWindow() override;

    static QString windowCaption() { return QStringLiteral("TAVLO Broadcast - Time Priority"); }

    // The scheduler: its preload time is read by every "Prepare Insert", its
    // settings saved when this window closes.
    void setSchedulerWindow(SchedulerWindowLink& scheduler) { m_scheduler = &scheduler; }
    // The about box its "&About" opens.
    void setAboutWindow(AboutBoxLink& window) { m_aboutWindow = &window; }
    // What the music window asks of this window at the end of its songs.
    InsertWindowLink& link();

    InsertState insertState() const { return m_insertState; }
    // "Play Ads Over Music": the music plays on under the inserts.
    bool playsOverMusic() const { return m_playOverMusic; }
    // The back-to-music ramp runs.
    bool goingBackToMusic() const { return m_goingBackToMusic; }
    // "Wait for current song to end": a prepared break waits for the music's song to end.
    bool waitsForSong() const { return m_waitForSong; }

    // Music master volume over insert master volume, as the last "Insert Now"
    // or "Back To Music" computed it.
    double volumeRatio() const { return m_ratio; }
    int countDownSeconds() const { return m_countDown; }
    bool isLoaded() const { return m_loaded; }

    Button* prepareInsertButton;
    Button* insertNowButton;
    Button* backToMusicButton;
    Button* abortButton;
    Button* playOverMusicCheck;
    Button* waitForSongCheck;
    Label* readyLabel;
    Label* countDownLabel;  // "countDownLabel(0)"
    MenuItem* helpMenu;
    MenuItem* onlineHelpItem;
    MenuItem* aboutItem;

    Timer& countDownTimer() const { return *m_countDownTimer; }
    Timer& insertInRampTimer() const { return *m_insertInRampTimer; }
    Timer& backToMusicRampTimer() const { return *m_backToMusicRampTimer; }

    void load();
    // Saves the settings of the music window, this one and the scheduler,
    // then asks "Exit Program ?"; false when the user keeps the program
    // running.
    bool mayClose();

    // A scheduled break: the deck stops, the list becomes `playlist`, and
    // the break is prepared as "Prepare Insert" prepares it.
    void prepareBreak(const QString& playlist);
    void prepareInsert();
    void insertNow();
    void backToMusic();
    void abortInsert();
    void onPlayOverMusicSwitch();
    void onWaitForSongSwitch();
    void onCountDownTick();
    // The insert-in ramp and the back-to-music ramp (InsertWindowRamps.cpp).
    void onInsertInRampTick();
    void onBackToMusicRampTick();
    void openManual();
    void openAbout();

    // ---- Resuming after a restart (InsertWindowResume.cpp).
    BreakState breakState() const;
    // Puts the break back as `state` had it, over a list and a music window
    // already restored: a countdown goes on less the `secondsAway` the
    // program was down (a break already due starts now), a wait for the
    // song is armed again, an insert on air plays on from `deck` with the
    // music's next song cued behind it. True when an insert went back on air.
    bool resumeBreak(const BreakState& state, const DeckState& deck, double secondsAway);

protected:
    void songEndReached() override;
    void songLoaded(int row, int seconds, bool opened) override;
    void playListOpened(const QString& fileName) override;
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
    // Counts down the delay, waits for the song, or starts at once.
    void armInsert();
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

    MusicWindowLink& m_music;
    InsertState m_insertState = InsertState::Idle;
    bool m_playOverMusic = false;
    bool m_goingBackToMusic = false;
    bool m_waitForSong = false;
    // Seconds counted down before a prepared insert starts.
    double m_delayBeforePlay = 0;
    std::unique_ptr<Link> m_link;
    NullSchedulerWindowLink m_noScheduler;
    SchedulerWindowLink* m_scheduler = &m_noScheduler;
    AboutBoxLink* m_aboutWindow = nullptr;
    std::unique_ptr<Timer> m_countDownTimer;
    std::unique_ptr<Timer> m_insertInRampTimer;
    std::unique_ptr<Timer> m_backToMusicRampTimer;
    double m_ratio = 0;
    int m_countDown = 0;
    bool m_loaded = false;
    // "Back To Music" asked for during the insert-in ramp, run at its end.
    bool m_backAfterInsertIn = false;
    // Rows that failed to open since an insert last played.
    QSet<int> m_failedRows;
};

}  // namespace tavlo
