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
    void pressInsertNow() override { m_w.cmdInsertNow->press(); }
    void setCountDownText(const QString& text) override { m_w.lblCountDown->setText(text); }
    bool rampRunning() const override
    {
        return m_w.tmrTransition2().isEnabled() || m_w.tmrTransition3().isEnabled();
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
    cmdPrepareInsert = addPushButton("cmdPrepareInsert", "Prepare Insert", [this] { cmdPrepareInsert_Click(); });
    cmdInsertNow = addPushButton("cmdInsertNow", "Insert Now", [this] { cmdInsertNow_Click(); });
    cmdBackToMusic = addPushButton("cmdBackToMusic", "Back To Music", [this] { cmdBackToMusic_Click(); });
    cmdAbortInsert = addPushButton("cmdAbortInsert", "ABORT", [this] { cmdAbortInsert_Click(); });
    cmdAbortInsert->setVisible(false);
    cmdAbortInsert->setBackColour(0xC80000);

    chkPlayOverMusic =
        new Button(this, QStringLiteral("chkPlayOverMusic"), QStringLiteral("Play Ads Over Music"), Button::Kind::Check);
    chkPlayOverMusic->onClick = [this] { chkPlayOverMusic_Click(); };
    chkWaitForSong = new Button(this, QStringLiteral("chkWaitForSong"), QStringLiteral("Wait for current song to end"),
                                Button::Kind::Check);
    chkWaitForSong->onClick = [this] { chkWaitForSong_Click(); };
    lblReady = new Label(this, QStringLiteral("lblReady"), QStringLiteral("READY"));
    lblReady->setVisible(false);
    lblReady->setBold(true);
    lblReady->setForeColour(0x008200);
    lblCountDown = new Label(this, QStringLiteral("lblCountDown(0)"));
    lblCountDown->setBold(true);

    buildOptionsMenu(QStringLiteral("Setup Log &Folder"));
    // The insert window's help menu carries the names the other way round.
    mnuOnlineHelp = new MenuItem(this, QStringLiteral("mnuOnlineHelp"), QStringLiteral("&Help"));
    mnuHelp = new MenuItem(this, QStringLiteral("mnuHelp"), QStringLiteral("Online &Help"), mnuOnlineHelp);
    mnuHelp->onClick = [this] { mnuOnlineHelp_Click(); };
    mnuAbout = new MenuItem(this, QStringLiteral("mnuAbout"), QStringLiteral("&About"), mnuOnlineHelp);
    mnuAbout->onClick = [this] { mnuAbout_Click(); };

    TimerService& timers = services.timers;
    m_tmrCountDown = timers.createTimer();
    m_tmrCountDown->setInterval(1000);
    m_tmrCountDown->setHandler([this] { tmrCountDown_Timer(); });
    // The ramps keep their interval when the insert master is 0; until one
    // is computed they tick every 100 ms, so such a ramp still ends.
    m_tmrTransition2 = timers.createTimer();
    m_tmrTransition2->setInterval(100);
    m_tmrTransition2->setHandler([this] { tmrTransition2_Timer(); });
    m_tmrTransition3 = timers.createTimer();
    m_tmrTransition3->setInterval(100);
    m_tmrTransition3->setHandler([this] { tmrTransition3_Timer(); });
}

InsertWindow::~InsertWindow()
{
    m_tmrCountDown.reset();
    m_tmrTransition2.reset();
    m_tmrTransition3.reset();
}

InsertWindowLink& InsertWindow::link() { return *m_link; }

void InsertWindow::Form_Load()
{
    m_loaded = true;
    Players[1] = std::make_unique<Player>(services().media);
    GetSettings();
    finishLoading();
}

void InsertWindow::Form_Unload(int& Cancel)
{
    m_music.SaveSettings();
    SaveSettings();
    m_scheduler->SaveSettings();
    confirmExit(Cancel);
}

void InsertWindow::getOwnSettings(const QString& app)
{
    const auto v = SettingValues::toInt16(services().settings.get(app, QStringLiteral("Settings"),
                                                                  QStringLiteral("WaitSong"), QStringLiteral("0")));
    if (!v)
        return;
    WaitForCurrentSongToEnd = *v;
    chkWaitForSong->setValue(*v);
}

void InsertWindow::saveOwnSettings(const QString& app)
{
    services().settings.save(app, QStringLiteral("Settings"), QStringLiteral("WaitSong"),
                             SettingValues::fromInt(WaitForCurrentSongToEnd));
}

void InsertWindow::mnuOnlineHelp_Click() { services().shell.openManual(); }

void InsertWindow::mnuAbout_Click()
{
    if (m_aboutWindow)
        m_aboutWindow->open();
}

void InsertWindow::chkPlayOverMusic_Click() { PlayOverMusic = chkPlayOverMusic->value(); }

void InsertWindow::chkWaitForSong_Click() { WaitForCurrentSongToEnd = chkWaitForSong->value(); }

void InsertWindow::playListOpened(const QString& FileName)
{
    // A break whose playlist is named "MO-..." plays over the music.
    const qsizetype slash = std::max(FileName.lastIndexOf(QLatin1Char('\\')), FileName.lastIndexOf(QLatin1Char('/')));
    const bool over = FileName.mid(slash + 1).left(3).toLower() == QLatin1String("mo-");
    chkPlayOverMusic->setValue(over ? 1 : 0);
}

void InsertWindow::cmdPrepareInsert_Click()
{
    DelayBeforePlay = m_scheduler->PreLoadTime();
    lblReady->setVisible(true);
    cmdAbortInsert->setVisible(true);
    PrepareInsert();
}

void InsertWindow::PrepareInsert()
{
    if (WaitForCurrentSongToEnd != 0) {
        InsertReady = 1;
        return;
    }
    // A delay that rounds to no whole second, or a negative one, could only
    // count away from 0: the insert starts at once instead.
    const double seconds = std::nearbyint(DelayBeforePlay);
    if (DelayBeforePlay == 0 || !(seconds >= 1)) {
        cmdInsertNow_Click();
        return;
    }
    m_countDown = static_cast<int>(std::min<double>(seconds, kLongestCountDown));
    m_tmrCountDown->setEnabled(true);
}

void InsertWindow::tmrCountDown_Timer()
{
    --m_countDown;
    lblCountDown->setText(QString::number(m_countDown));
    if (m_countDown == 0) {
        cmdInsertNow_Click();
        m_tmrCountDown->setEnabled(false);
    }
}

void InsertWindow::cmdAbortInsert_Click()
{
    m_tmrCountDown->setEnabled(false);
    InsertReady = 0;
    lblReady->setVisible(false);
    lblCountDown->setText(QString());
    cmdAbortInsert->setVisible(false);
}

void InsertWindow::cmdInsertNow_Click()
{
    cmdAbortInsert_Click();
    if (CurrentStatus == 2) {
        // A paused insert resumes where it was; nothing is reloaded or logged.
        btnPause_Click();
    } else {
        btnStop_Click();
        m_failedRows.clear();
        m_backAfterInsertIn = false;
        if (lstClipList->count() == 0) {
            // Nothing to play: the music comes back once the ramp is over.
            m_backAfterInsertIn = true;
        } else {
            const bool opened = LoadSong();
            Player* p = playerIn(ChannelPlaying);
            if (p)
                p->play();
            hscVolume_Change();
            // A row that failed has its "**ERROR**" line; it never started.
            if (opened) {
                const QString path = p ? p->fileName() : QString();
                WriteLog(0, QString(), path);
                Q_EMIT songStarted(path);
            }
        }
    }
    InsertReady = 2;
    CurrentStatus = 1;
    lblStatus->setText(playingText());
    computeRatioAndInterval(*m_tmrTransition2);
    m_tmrTransition2->setEnabled(true);
}

void InsertWindow::cmdBackToMusic_Click()
{
    if (m_tmrTransition2->isEnabled()) {
        // The insert-in ramp would cue the music, paused, after this ramp had
        // brought it back: go back once it is over instead.
        m_backAfterInsertIn = true;
        return;
    }
    GoingBackToMusic = 1;
    computeRatioAndInterval(*m_tmrTransition3);
    if (PlayOverMusic == 0)
        setLevel(musicFader(), 85);
    // The music's song in play is logged once the ramp is over, even one its
    // song change cued during the break.
    m_music.takeUnloggedCue();
    if (m_music.CurrentStatus != 2)
        m_music.btnPlay->press();
    else
        m_music.btnPause->press();
    m_tmrTransition3->setEnabled(true);
}

void InsertWindow::computeRatioAndInterval(Timer& ramp)
{
    const int iv = hscVolume->value();
    if (iv == 0)
        return;
    m_ratio = std::nearbyint(static_cast<double>(m_music.hscVolume->value()) / iv * 10000.0) / 10000.0;
    // iv ticks take the transition time and a tenth of a second.
    ramp.setInterval((TransitionTime * 1000 + 100) / iv);
}

bool InsertWindow::nothingPlayable() const
{
    const int count = lstClipList->count();
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
    const bool lastItem = ItemPlaying - 1 == lstClipList->count();
    if (lastItem) {
        // The list is exhausted: the music comes back.
        if (playing)
            cmdBackToMusic_Click();
        return;
    }
    const bool returning = GoingBackToMusic != 0 || m_backAfterInsertIn;
    if (nothingPlayable()) {
        // Every row failed, or the list was emptied under the break.
        if (playing && !returning)
            cmdBackToMusic_Click();
        return;
    }
    if (!returning && playing)
        DoTransition();
}

}  // namespace tavlo
