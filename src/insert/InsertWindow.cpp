// InsertWindow: the insert window's controls, start-up and closing, and the
// insert workflow (prepare, count down or wait, insert now, back to music).
#include "insert/InsertWindow.h"

#include "platform/AboutBoxLink.h"
#include "platform/AppServices.h"
#include "platform/Shell.h"
#include "platform/SettingValues.h"
#include "platform/SettingsStore.h"
#include "platform/TimerService.h"
#include "playback/Rounding.h"
#include "playlist/PlaylistModel.h"

#include <cmath>
#include <limits>

namespace tavlo {

// What the music window sees of this window.
class InsertWindow::Link : public InsertWindowLink {
public:
    explicit Link(InsertWindow& window) : m_w(window) {}
    int InsertReady() const override { return m_w.InsertReady; }
    void pressInsertNow() override { m_w.insertNowButton->press(); }
    void setCountDownText(const QString& text) override { m_w.countDownLabel->setText(text); }
    bool rampRunning() const override
    {
        return m_w.insertInRampTimer().isEnabled() || m_w.backToMusicRampTimer().isEnabled();
    }

private:
    InsertWindow& m_w;
};

namespace {

DeckVariant insertDeck()
{
    DeckVariant v;
    v.timeLeftLead = false;
    v.reorderWhenListRunsOut = false;
    v.pausedSongChange = false;
    v.zeroRampIntervalIs100ms = true;
    v.zeroTransitionTimeMeansCut = true;
    v.listTop = 840;
    return v;
}

// The countdown is a 16-bit count of seconds.
constexpr int kLongestCountDown = std::numeric_limits<std::int16_t>::max();

}  // namespace

InsertWindow::InsertWindow(AppServices& services, PlayerWindow& music, QObject* parent)
    : PlayerWindow(QStringLiteral("InsertWindow"), windowCaption(), services, insertDeck(), parent),
      m_music(music),
      m_link(std::make_unique<Link>(*this))
{
    prepareInsertButton = addPushButton("prepareInsertButton", "Prepare Insert", [this] { prepareInsert(); });
    insertNowButton = addPushButton("insertNowButton", "Insert Now", [this] { insertNow(); });
    backToMusicButton = addPushButton("backToMusicButton", "Back To Music", [this] { backToMusic(); });
    abortButton = addPushButton("abortButton", "ABORT", [this] { abortInsert(); });
    abortButton->setVisible(false);
    abortButton->setBackColour(0xC80000);

    playOverMusicCheck =
        new Button(this, QStringLiteral("playOverMusicCheck"), QStringLiteral("Play Ads Over Music"), Button::Kind::Check);
    playOverMusicCheck->onClick = [this] { onPlayOverMusicSwitch(); };
    waitForSongCheck = new Button(this, QStringLiteral("waitForSongCheck"), QStringLiteral("Wait for current song to end"),
                                Button::Kind::Check);
    waitForSongCheck->onClick = [this] { onWaitForSongSwitch(); };
    readyLabel = new Label(this, QStringLiteral("readyLabel"), QStringLiteral("READY"));
    readyLabel->setVisible(false);
    readyLabel->setBold(true);
    readyLabel->setForeColour(0x008200);
    countDownLabel = new Label(this, QStringLiteral("countDownLabel(0)"));
    countDownLabel->setBold(true);

    buildOptionsMenu(QStringLiteral("Setup Log &Folder"));
    helpMenu = new MenuItem(this, QStringLiteral("helpMenu"), QStringLiteral("&Help"));
    onlineHelpItem = new MenuItem(this, QStringLiteral("onlineHelpItem"), QStringLiteral("Online &Help"), helpMenu);
    onlineHelpItem->onClick = [this] { openManual(); };
    aboutItem = new MenuItem(this, QStringLiteral("aboutItem"), QStringLiteral("&About"), helpMenu);
    aboutItem->onClick = [this] { openAbout(); };

    TimerService& timers = services.timers;
    m_countDownTimer = timers.createTimer();
    m_countDownTimer->setInterval(1000);
    m_countDownTimer->setHandler([this] { onCountDownTick(); });
    // The ramps keep their interval when the insert master is 0; until one
    // is computed they tick every 100 ms, so such a ramp still ends.
    m_insertInRampTimer = timers.createTimer();
    m_insertInRampTimer->setInterval(100);
    m_insertInRampTimer->setHandler([this] { onInsertInRampTick(); });
    m_backToMusicRampTimer = timers.createTimer();
    m_backToMusicRampTimer->setInterval(100);
    m_backToMusicRampTimer->setHandler([this] { onBackToMusicRampTick(); });
}

InsertWindow::~InsertWindow()
{
    m_countDownTimer.reset();
    m_insertInRampTimer.reset();
    m_backToMusicRampTimer.reset();
}

InsertWindowLink& InsertWindow::link() { return *m_link; }

void InsertWindow::load()
{
    m_loaded = true;
    Players[1] = std::make_unique<Player>(services().media);
    loadSettings();
    finishLoading();
}

bool InsertWindow::mayClose()
{
    m_music.saveSettings();
    saveSettings();
    m_scheduler->saveSettings();
    return confirmExit();
}

void InsertWindow::getOwnSettings(const QString& app)
{
    const auto v = SettingValues::toInt16(services().settings.get(app, QStringLiteral("Settings"),
                                                                  QStringLiteral("WaitSong"), QStringLiteral("0")));
    if (!v)
        return;
    WaitForCurrentSongToEnd = *v;
    waitForSongCheck->setValue(*v);
}

void InsertWindow::saveOwnSettings(const QString& app)
{
    services().settings.save(app, QStringLiteral("Settings"), QStringLiteral("WaitSong"),
                             SettingValues::fromInt(WaitForCurrentSongToEnd));
}

void InsertWindow::openManual() { services().shell.openManual(); }

void InsertWindow::openAbout()
{
    if (m_aboutWindow)
        m_aboutWindow->open();
}

void InsertWindow::onPlayOverMusicSwitch() { PlayOverMusic = playOverMusicCheck->value(); }

void InsertWindow::onWaitForSongSwitch() { WaitForCurrentSongToEnd = waitForSongCheck->value(); }

void InsertWindow::playListOpened(const QString& FileName)
{
    // A break whose playlist is named "MO-..." plays over the music.
    const qsizetype slash = std::max(FileName.lastIndexOf(QLatin1Char('\\')), FileName.lastIndexOf(QLatin1Char('/')));
    const bool over = FileName.mid(slash + 1).left(3).toLower() == QLatin1String("mo-");
    playOverMusicCheck->setValue(over ? 1 : 0);
}

void InsertWindow::prepareInsert()
{
    DelayBeforePlay = m_scheduler->preloadTime();
    readyLabel->setVisible(true);
    abortButton->setVisible(true);
    armInsert();
}

void InsertWindow::armInsert()
{
    if (WaitForCurrentSongToEnd != 0) {
        InsertReady = 1;
        return;
    }
    // A delay that rounds to no whole second, or a negative one, could only
    // count away from 0: the insert starts at once instead.
    const double seconds = std::nearbyint(DelayBeforePlay);
    if (DelayBeforePlay == 0 || !(seconds >= 1)) {
        insertNow();
        return;
    }
    m_countDown = static_cast<int>(std::min<double>(seconds, kLongestCountDown));
    m_countDownTimer->setEnabled(true);
}

void InsertWindow::onCountDownTick()
{
    --m_countDown;
    countDownLabel->setText(QString::number(m_countDown));
    if (m_countDown == 0) {
        insertNow();
        m_countDownTimer->setEnabled(false);
    }
}

void InsertWindow::abortInsert()
{
    m_countDownTimer->setEnabled(false);
    InsertReady = 0;
    readyLabel->setVisible(false);
    countDownLabel->setText(QString());
    abortButton->setVisible(false);
}

void InsertWindow::insertNow()
{
    abortInsert();
    if (CurrentStatus == 2) {
        // A paused insert resumes where it was; nothing is reloaded or logged.
        pause();
    } else {
        stop();
        m_failedRows.clear();
        m_backAfterInsertIn = false;
        if (clipList->count() == 0) {
            // Nothing to play: the music comes back once the ramp is over.
            m_backAfterInsertIn = true;
        } else {
            const bool opened = loadSong();
            Player* p = playerIn(ChannelPlaying);
            if (p)
                p->PlayFile();
            onMasterVolumeChange();
            // A row that failed has its "**ERROR**" line; it never started.
            if (opened) {
                const QString path = p ? p->FileName() : QString();
                writeLog(0, QString(), path);
                Q_EMIT songStarted(path);
            }
        }
    }
    InsertReady = 2;
    CurrentStatus = 1;
    statusLabel->setText(playingText());
    computeRatioAndInterval(*m_insertInRampTimer);
    m_insertInRampTimer->setEnabled(true);
}

void InsertWindow::backToMusic()
{
    if (m_insertInRampTimer->isEnabled()) {
        // The insert-in ramp would cue the music, paused, after this ramp had
        // brought it back: go back once it is over instead.
        m_backAfterInsertIn = true;
        return;
    }
    GoingBackToMusic = 1;
    computeRatioAndInterval(*m_backToMusicRampTimer);
    if (PlayOverMusic == 0)
        setLevel(musicFader(), 85);
    // The music's song in play is logged once the ramp is over, even one its
    // song change cued during the break.
    m_music.takeUnloggedCue();
    if (m_music.CurrentStatus != 2)
        m_music.playButton->press();
    else
        m_music.pauseButton->press();
    m_backToMusicRampTimer->setEnabled(true);
}

void InsertWindow::computeRatioAndInterval(Timer& ramp)
{
    const int iv = masterVolume->value();
    if (iv == 0)
        return;
    m_ratio = std::nearbyint(static_cast<double>(m_music.masterVolume->value()) / iv * 10000.0) / 10000.0;
    // iv ticks take the transition time and a tenth of a second.
    ramp.setInterval((TransitionTime * 1000 + 100) / iv);
}

bool InsertWindow::nothingPlayable() const
{
    const int count = clipList->count();
    return count == 0 || m_failedRows.size() >= count;
}

void InsertWindow::songLoaded(int row, int seconds, bool opened)
{
    Q_UNUSED(seconds);
    if (opened)
        m_failedRows.clear();
    else
        m_failedRows.insert(row);
}

void InsertWindow::songEndReached()
{
    const bool playing = CurrentStatus != 0 && CurrentStatus != 2;
    const bool lastItem = ItemPlaying - 1 == clipList->count();
    if (lastItem) {
        // The list is exhausted: the music comes back.
        if (playing)
            backToMusic();
        return;
    }
    const bool returning = GoingBackToMusic != 0 || m_backAfterInsertIn;
    if (nothingPlayable()) {
        // Every row failed, or the list was emptied under the break.
        if (playing && !returning)
            backToMusic();
        return;
    }
    if (!returning && playing)
        changeSong();
}

}  // namespace tavlo
