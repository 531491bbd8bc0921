// InsertWindow: the insert window's controls, start-up and closing, and the
// insert workflow (prepare, count down or wait, insert now, back to music).
#include "insert/InsertWindow.h"

#include "platform/AboutBoxLink.h"
#include "platform/AppServices.h"
#include "platform/Shell.h"
#include "platform/SettingValues.h"
#include "platform/SettingsStore.h"
#include "platform/TimerService.h"
#include "playback/FaderLaw.h"
#include "playback/Rounding.h"
#include "playlist/PlaylistModel.h"

#include <cmath>
#include <limits>

namespace tavlo {

// What the music window sees of this window.
class InsertWindow::Link : public InsertWindowLink {
public:
    explicit Link(InsertWindow& window) : m_w(window) {}
    InsertState insertState() const override { return m_w.m_insertState; }
    void startInsertAtSongEnd() override { m_w.insertNow(); }
    void showMusicTimeLeft(const QString& text) override { m_w.countDownLabel->setText(text); }
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
    v.autoCueByDefault = false;
    v.reorderWhenListRunsOut = false;
    // A break with nothing playable hands back to the music instead.
    v.retryWhenNothingPlayable = false;
    v.pausedSongChange = false;
    v.zeroRampIntervalIs100ms = true;
    v.zeroTransitionTimeMeansCut = true;
    v.listTop = 840;
    return v;
}

// The countdown is a 16-bit count of seconds.
constexpr int kLongestCountDown = std::numeric_limits<std::int16_t>::max();

}  // namespace

InsertWindow::InsertWindow(AppServices& services, MusicWindowLink& music, QObject* parent)
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
    makeSecondPlayer();
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
    m_waitForSong = *v != 0;
    waitForSongCheck->setValue(*v);
}

void InsertWindow::saveOwnSettings(const QString& app)
{
    services().settings.save(app, QStringLiteral("Settings"), QStringLiteral("WaitSong"),
                             SettingValues::fromInt(m_waitForSong ? 1 : 0));
}

void InsertWindow::openManual() { services().shell.openManual(); }

void InsertWindow::openAbout()
{
    if (m_aboutWindow)
        m_aboutWindow->open();
}

void InsertWindow::onPlayOverMusicSwitch() { m_playOverMusic = playOverMusicCheck->value() != 0; }

void InsertWindow::onWaitForSongSwitch() { m_waitForSong = waitForSongCheck->value() != 0; }

void InsertWindow::playListOpened(const QString& fileName)
{
    // A break whose playlist is named "MO-..." plays over the music.
    const qsizetype slash = std::max(fileName.lastIndexOf(QLatin1Char('\\')), fileName.lastIndexOf(QLatin1Char('/')));
    const bool over = fileName.mid(slash + 1).left(3).toLower() == QLatin1String("mo-");
    playOverMusicCheck->setValue(over ? 1 : 0);
}

void InsertWindow::prepareBreak(const QString& playlist)
{
    stop();
    clearList();
    openFile(playlist, true, 0);
    prepareInsert();
}

void InsertWindow::prepareInsert()
{
    m_delayBeforePlay = m_scheduler->preloadTime();
    readyLabel->setVisible(true);
    abortButton->setVisible(true);
    armInsert();
}

void InsertWindow::armInsert()
{
    if (m_waitForSong) {
        m_insertState = InsertState::WaitingForSong;
        return;
    }
    // A delay that rounds to no whole second, or a negative one, could only
    // count away from 0: the insert starts at once instead.
    const double seconds = std::nearbyint(m_delayBeforePlay);
    if (m_delayBeforePlay == 0 || !(seconds >= 1)) {
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
    m_insertState = InsertState::Idle;
    readyLabel->setVisible(false);
    countDownLabel->setText(QString());
    abortButton->setVisible(false);
}

void InsertWindow::insertNow()
{
    abortInsert();
    if (status() == DeckStatus::Paused) {
        // A paused insert resumes where it was; nothing is reloaded or
        // logged. Like a fresh one it enters at its ramp's first level.
        if (transitionType() != TransitionType::Mix)
            setFader(channelInPlay(), FaderStep::kSilent);
        pause();
    } else {
        stop();
        m_failedRows.clear();
        // Each break's as-run log names its own bad rows.
        forgetLoggedFailures();
        m_backAfterInsertIn = false;
        if (clipList->count() == 0) {
            // Nothing to play: the music comes back once the ramp is over.
            m_backAfterInsertIn = true;
        } else {
            const bool opened = loadSong();
            Player* p = playerIn(channelInPlay());
            if (p)
                p->play();
            // The insert enters at the level its ramp starts from: silent
            // (loadSong left it there) for every type that brings it up, so
            // nothing of it sounds over the music before the ramp lets it
            // in. "Mix" plays both at their master levels from the start.
            if (transitionType() == TransitionType::Mix)
                onMasterVolumeChange();
            // A row that failed has its "**ERROR**" line; it never started.
            if (opened) {
                const QString path = p ? p->fileName() : QString();
                writeLog(0, QString(), path);
                Q_EMIT songStarted(path);
            }
        }
    }
    m_insertState = InsertState::Starting;
    showStatus(DeckStatus::Playing);
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
    m_goingBackToMusic = true;
    computeRatioAndInterval(*m_backToMusicRampTimer);
    if (!m_playOverMusic)
        m_music.setFaderInPlay(FaderStep::kSilent);
    m_music.resumeAfterBreak();
    m_backToMusicRampTimer->setEnabled(true);
}

void InsertWindow::computeRatioAndInterval(Timer& ramp)
{
    const int iv = masterVolume->value();
    if (iv == 0)
        return;
    m_ratio = std::nearbyint(static_cast<double>(m_music.masterLevel()) / iv * 10000.0) / 10000.0;
    // iv ticks take the transition time and a tenth of a second.
    ramp.setInterval((transitionTime() * 1000 + 100) / iv);
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
    const bool playing = status() == DeckStatus::Playing;
    const bool lastItem = rowInPlay() - 1 == clipList->count();
    if (lastItem) {
        // The list is exhausted: the music comes back.
        if (playing)
            backToMusic();
        return;
    }
    const bool returning = m_goingBackToMusic || m_backAfterInsertIn;
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
