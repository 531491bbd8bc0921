// PlayerWindow: construction of the controls, timers and menus shared by both
// player windows. The handlers live in the feature files named in the header.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "log/AsRunLog.h"
#include "log/LogFolderDialog.h"
#include "platform/TimerService.h"
#include "platform/UserDialogs.h"
#include "playback/FaderLaw.h"
#include "playback/AutoCue.h"
#include "playback/SongLoudness.h"
#include "playlist/PlaylistModel.h"

#include <QCoreApplication>

namespace tavlo {

namespace {
QString indexed(const char* name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }
}  // namespace

PlayerWindow::PlayerWindow(const QString& name, const QString& caption, AppServices& services, DeckVariant variant,
                           QObject* parent)
    : Form(name, caption, parent),
      m_services(services),
      m_variant(variant),
      m_log(std::make_unique<AsRunLog>(services.clock)),
      m_loudness(std::make_unique<SongLoudness>(services.loudness)),
      m_autoCue(std::make_unique<AutoCue>(services.loudness, variant.autoCueByDefault))
{
    buildDeck();
    buildTransitionControls();
    buildList();
    buildMenus();

    m_positionTimer = m_services.timers.createTimer();
    m_positionTimer->setInterval(100);
    m_positionTimer->setHandler([this] { onPositionTick(); });
    m_rampTimer = m_services.timers.createTimer();
    m_rampTimer->setHandler([this] { onRampTick(); });
    m_resumeFadeTimer = m_services.timers.createTimer();
    m_resumeFadeTimer->setHandler([this] { onResumeFadeTick(); });
    m_logRetryTimer = m_services.timers.createTimer();
    m_logRetryTimer->setHandler([this] { retryLog(); });
    m_log->onNotice = [this](const QString& text) { tellOperator(text); };
    m_retryTimer = m_services.timers.createTimer();
    m_retryTimer->setHandler([this] { onRetryTimer(); });
    m_rowsAddedTimer = m_services.timers.createTimer();
    m_rowsAddedTimer->setHandler([this] { onRowsAddedTimer(); });
    connect(clipList, &QAbstractItemModel::rowsInserted, this, [this] { onRowsAdded(); });

    if (QCoreApplication::instance())
        m_programFolder = QCoreApplication::applicationDirPath();
}

PlayerWindow::~PlayerWindow()
{
    // Timers first: no tick may reach a half-destroyed window.
    m_positionTimer.reset();
    m_rampTimer.reset();
    m_resumeFadeTimer.reset();
    m_logRetryTimer.reset();
    m_retryTimer.reset();
    m_rowsAddedTimer.reset();
}

Player* PlayerWindow::playerIn(int channel) const
{
    if (channel < 0 || channel > 1)
        return nullptr;
    return m_players[static_cast<size_t>(channel)].get();
}

void PlayerWindow::makeSecondPlayer() { m_players[1] = std::make_unique<Player>(m_services.media); }

Button* PlayerWindow::addPushButton(const char* name, const char* caption, std::function<void()> onClick)
{
    auto* b = new Button(this, QLatin1String(name), QLatin1String(caption));
    b->onClick = std::move(onClick);
    return b;
}

void PlayerWindow::buildDeck()
{
    playButton = addPushButton("playButton", "&Play", [this] { play(); });
    stopButton = addPushButton("stopButton", "&Stop", [this] { stop(); });
    pauseButton = addPushButton("pauseButton", "Pa&use", [this] { pause(); });
    backButton = addPushButton("backButton", "&Back", [this] { back(); });
    nextButton = addPushButton("nextButton", "&Next", [this] { next(); });
    statusLabel = new Label(this, QStringLiteral("statusLabel"));

    masterVolume = new Slider(this, QStringLiteral("masterVolume"), 0, 85, 0);
    masterVolume->onChange = [this] { onMasterVolumeChange(); };
    masterVolume->onScroll = [this] { onMasterVolumeScroll(); };
    masterVolumeLabel = new Label(this, QStringLiteral("masterVolumeLabel"), QStringLiteral("0%"));
    masterVolumeBar = new ProgressBar(this, QStringLiteral("masterVolumeBar"));

    for (int i = 0; i < 2; ++i) {
        const auto c = static_cast<size_t>(i);
        // Full level at the top, silence at the bottom.
        channelFaders[c] = new Slider(this, indexed("channelFaders", i), FaderStep::kFull, FaderStep::kSilent, 0);
        channelFaders[c]->setUpRaises(false);
        channelFaders[c]->onChange = [this, i] { onChannelFaderChange(i); };
        channelLevelLabels[c] = new Label(this, indexed("channelLevelLabels", i));
        channelLevelBars[c] = new ProgressBar(this, indexed("channelLevelBars", i));
    }
    channel1Label = new Label(this, QStringLiteral("channel1Label"), QStringLiteral("CH1"));
    channel2Label = new Label(this, QStringLiteral("channel2Label"), QStringLiteral("CH2"));

    positionSlider = new Slider(this, QStringLiteral("positionSlider"), 0, 0, 0);
    positionSlider->onChange = [this] { onPositionChange(); };
    positionSlider->onScroll = [this] { onPositionScroll(); };
    positionBar = new ProgressBar(this, QStringLiteral("positionBar"));
    positionLabel = new Label(this, QStringLiteral("positionLabel"), QStringLiteral("00:00"));
    timeLeftLabel = new Label(this, QStringLiteral("timeLeftLabel"), QStringLiteral("00:00"));
    songLengthLabel = new Label(this, QStringLiteral("songLengthLabel"), QStringLiteral("00:00"));

    pitchSlider = new Slider(this, QStringLiteral("pitchSlider"), 20, 220, 100);
    pitchSlider->onChange = [this] { onPitchChange(); };
    pitchSlider->onScroll = [this] { onPitchScroll(); };
    pitchLabel = new Label(this, QStringLiteral("pitchLabel"), QStringLiteral("1"));
    balanceSlider = new Slider(this, QStringLiteral("balanceSlider"), -10, 10, 0);
    balanceSlider->onChange = [this] { onBalanceChange(); };
    balanceSlider->onScroll = [this] { onBalanceScroll(); };
    balanceLabel = new Label(this, QStringLiteral("balanceLabel"), QStringLiteral("0"));

    cutFirstSpinner = new Slider(this, QStringLiteral("cutFirstSpinner"), 0, 100, 0);
    cutFirstSpinner->onChange = [this] { onCutFirstChange(); };
    cutLastSpinner = new Slider(this, QStringLiteral("cutLastSpinner"), 0, 100, 0);
    cutLastSpinner->onChange = [this] { onCutLastChange(); };
    cutFirstLabel = new Label(this, QStringLiteral("cutFirstLabel"), QStringLiteral("0"));
    cutLastLabel = new Label(this, QStringLiteral("cutLastLabel"), QStringLiteral("0"));

    shuffleCheck = new Button(this, QStringLiteral("shuffleCheck"), QStringLiteral("Shuffle Mode"), Button::Kind::Check);
    outputDeviceCombo = new ComboBox(this, QStringLiteral("outputDeviceCombo"));
}

void PlayerWindow::buildTransitionControls()
{
    for (int i = 0; i < kTransitionTypeCount; ++i) {
        const auto type = static_cast<TransitionType>(i);
        auto* b = new Button(this, indexed("transitionButtons", i), QString(), Button::Kind::Option);
        b->setGroup(this);
        b->setToolTip(QLatin1String(transitionName(type)));
        b->onClick = [this, type] { chooseTransition(type); };
        transitionButtons[static_cast<size_t>(i)] = b;
    }
    transitionTypeLabel = new Label(this, QStringLiteral("transitionTypeLabel"),
                                  QStringLiteral("Select Transition Type. Current song in Red next song in Blue "));
    transitionTimeSpinner = new Slider(this, QStringLiteral("transitionTimeSpinner"),
                                    m_variant.zeroTransitionTimeMeansCut ? 0 : 1, 100, 100);
    transitionTimeSpinner->onChange = [this] { onTransitionTimeChange(); };
    transitionTimeLabel = new Label(this, QStringLiteral("transitionTimeLabel"), QStringLiteral("100"));
}

void PlayerWindow::buildList()
{
    clipList = new PlaylistModel(this, QStringLiteral("clipList"));
    clipList->setProperty("toolTip", QStringLiteral("Drag and drop mp3 files from your explorer window here"));
    clipList->onDblClick = [this] { onListDoubleClick(); };
    clipList->onKeyDown = [this](int key) { onListKeyDown(key); };
    clipList->onMouseUp = [this](int button, int x, int y) { onListMouseUp(button, x, y); };
    clipList->onColumnClick = [this](int column) { onListColumnClick(column); };
    clipList->onMouseMove = [this](int button) { onListMouseMove(button); };
    clipList->onStartDrag = [this] { return startDrag(); };
    clipList->onDragOver = [this](int row) { showDropTarget(row); };
    clipList->onDrop = [this](const QStringList& files, int row) { drop(files, row); };
    clipList->onDragEnd = [this] { endDrag(); };

    statusBar = new StatusBar(this, QStringLiteral("statusBar"));
    loadProgressBar = new ProgressBar(this, QStringLiteral("loadProgressBar"));
    showOptionsButton = new Button(this, QStringLiteral("showOptionsButton"), QStringLiteral("Hide Options"));
    showOptionsButton->onClick = [this] { toggleOptions(); };
    m_layout.listTop = m_variant.listTop;
    connect(this, &Form::resized, this, &PlayerWindow::layOut);
    calculateButton = new Button(this, QStringLiteral("calculateButton"), QStringLiteral("Calculate Total"));
    calculateButton->onClick = [this] { calculateTotal(); };
    totalLengthLabel = new Label(this, QStringLiteral("totalLengthLabel"), QStringLiteral("00:00"));
    songCountLabel = new Label(this, QStringLiteral("songCountLabel"));
    searchButton = new Button(this, QStringLiteral("searchButton"), QStringLiteral("Search &MP3"));
    searchButton->onClick = [this] { showSearch(); };
}

void PlayerWindow::buildMenus()
{
    auto item = [this](const char* n, const char* caption, MenuItem* menu, void (PlayerWindow::*handler)()) {
        auto* m = new MenuItem(this, QLatin1String(n), QLatin1String(caption), menu);
        if (handler)
            m->onClick = [this, handler] { (this->*handler)(); };
        return m;
    };
    fileMenu = item("fileMenu", "&File", nullptr, nullptr);
    openItem = item("openItem", "Open...", fileMenu, &PlayerWindow::openFromDialog);
    saveListAsItem = item("saveListAsItem", "Save List As...", fileMenu, &PlayerWindow::saveListAs);
    item("mnuBar0", "-", fileMenu, nullptr);
    scanDriveItem = item("scanDriveItem", "Scan Drive...", fileMenu, &PlayerWindow::scanDrive);

    listMenu = item("listMenu", "&List", nullptr, nullptr);
    showItemInPlayItem = item("showItemInPlayItem", "Show Item In Play", listMenu, &PlayerWindow::showItemInPlay);
    item("mnuBar1", "-", listMenu, nullptr);
    cueSelectedItem = item("cueSelectedItem", "CUE Selected Item", listMenu, &PlayerWindow::cueSelected);
    playSelectedItem =
        item("playSelectedItem", "Play Selected Item", listMenu, &PlayerWindow::playSelected);
    item("mnuBar2", "-", listMenu, nullptr);
    deleteSelectedItem =
        item("deleteSelectedItem", "Delete Selected Item", listMenu, &PlayerWindow::deleteSelected);
    item("mnuBar3", "-", listMenu, nullptr);
    randomOrderItem = item("randomOrderItem", "Random Order", listMenu, &PlayerWindow::shuffleList);
    item("mnuBar4", "-", listMenu, nullptr);
    clearListItem = item("clearListItem", "Clear List", listMenu, &PlayerWindow::clearList);
}

void PlayerWindow::buildOptionsMenu(const QString& logFolderCaption)
{
    optionsMenu = new MenuItem(this, QStringLiteral("optionsMenu"), QStringLiteral("&Options"));
    writeLogItem = new MenuItem(this, QStringLiteral("writeLogItem"), QStringLiteral("Wri&te Log File"), optionsMenu);
    writeLogItem->onClick = [this] { toggleWriteLog(); };
    logFolderItem = new MenuItem(this, QStringLiteral("logFolderItem"), logFolderCaption, optionsMenu);
    logFolderItem->onClick = [this] { chooseLogFolder(); };
    normalizeLoudnessItem =
        new MenuItem(this, QStringLiteral("normalizeLoudnessItem"), QStringLiteral("Normalize &Loudness"), optionsMenu);
    normalizeLoudnessItem->onClick = [this] { toggleNormalizeLoudness(); };
    m_loudness->setMenuItem(normalizeLoudnessItem);
    autoCueItem = new MenuItem(this, QStringLiteral("autoCueItem"), QStringLiteral("&Auto Cue"), optionsMenu);
    autoCueItem->onClick = [this] { toggleAutoCue(); };
    m_autoCue->setMenuItem(autoCueItem);
    showCueColumns();
}

void PlayerWindow::setLogFolderWindow(LogFolderDialog& form)
{
    m_logFolderWindow = &form;
    // The form outlives neither window in the program, but a test may drop a
    // window first: OK then finds nobody to tell.
    QPointer<PlayerWindow> self(this);
    auto deliver = [self](const QString& folder) {
        if (self)
            self->m_logFolder = folder;
    };
    form.setDelivery(logFolderOpener(), deliver);
}

void PlayerWindow::finishLoading()
{
    if (m_logFolder.isEmpty())
        m_logFolder = m_programFolder + QLatin1Char('/');

    statusBar->addPanel();
    statusBar->setBold(true);
    statusBar->setPanelText(2, idleText());
    for (Label* l : {songLengthLabel, positionLabel, timeLeftLabel, cutFirstLabel, cutLastLabel, transitionTimeLabel, masterVolumeLabel,
                     statusLabel})
        l->setBold(true);
    statusLabel->setText(stoppedText());
    if (showOptions() == 0)
        toggleOptions();

    if (!m_commandLine.isEmpty()) {
        QString file = m_commandLine;
        file.remove(QLatin1Char('"'));
        openFile(file, true, 0);
        play();
    }
}

bool PlayerWindow::confirmExit()
{
    if (!m_services.dialogs.askYesNo(productName(), QStringLiteral("Exit Program ?")))
        return false;
    Q_EMIT programEndRequested();
    return true;
}

void PlayerWindow::tellOperator(const QString& text)
{
    statusBar->setPanelText(1, text);
    Q_EMIT notice(text);
}

void PlayerWindow::setLogSwitch(bool on)
{
    m_logSwitch = on;
    if (writeLogItem)
        writeLogItem->setChecked(on);
}

}  // namespace tavlo
