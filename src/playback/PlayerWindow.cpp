// PlayerWindow: construction of the controls, timers and menus shared by both
// player windows. The handlers live in the feature files named in the header.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "log/AsRunLog.h"
#include "log/LogFolderDialog.h"
#include "platform/TimerService.h"
#include "platform/UserDialogs.h"
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
      m_loudness(std::make_unique<SongLoudness>(services.loudness))
{
    buildDeck();
    buildTransitionControls();
    buildList();
    buildMenus();

    m_tmrPosition = m_services.timers.createTimer();
    m_tmrPosition->setInterval(100);
    m_tmrPosition->setHandler([this] { tmrPosition_Timer(); });
    m_tmrTransition = m_services.timers.createTimer();
    m_tmrTransition->setHandler([this] { tmrTransition_Timer(); });

    if (QCoreApplication::instance())
        m_programFolder = QCoreApplication::applicationDirPath();
}

PlayerWindow::~PlayerWindow()
{
    // Timers first: no tick may reach a half-destroyed window.
    m_tmrPosition.reset();
    m_tmrTransition.reset();
}

Player* PlayerWindow::playerIn(int channel) const
{
    if (channel < 0 || channel > 1)
        return nullptr;
    return Players[static_cast<size_t>(channel)].get();
}

Button* PlayerWindow::addPushButton(const char* name, const char* caption, std::function<void()> onClick)
{
    auto* b = new Button(this, QLatin1String(name), QLatin1String(caption));
    b->onClick = std::move(onClick);
    return b;
}

void PlayerWindow::buildDeck()
{
    btnPlay = addPushButton("btnPlay", "&Play", [this] { btnPlay_Click(); });
    btnStop = addPushButton("btnStop", "&Stop", [this] { btnStop_Click(); });
    btnPause = addPushButton("btnPause", "Pa&use", [this] { btnPause_Click(); });
    btnBack = addPushButton("btnBack", "&Back", [this] { btnBack_Click(); });
    btnNext = addPushButton("btnNext", "&Next", [this] { btnNext_Click(); });
    lblStatus = new Label(this, QStringLiteral("lblStatus"));

    hscVolume = new Slider(this, QStringLiteral("hscVolume"), 0, 85, 0);
    hscVolume->onChange = [this] { hscVolume_Change(); };
    hscVolume->onScroll = [this] { hscVolume_Scroll(); };
    lblMasterVolume = new Label(this, QStringLiteral("lblMasterVolume"), QStringLiteral("0%"));
    prgMasterVolume = new ProgressBar(this, QStringLiteral("prgMasterVolume"));

    for (int i = 0; i < 2; ++i) {
        const auto c = static_cast<size_t>(i);
        // 0 is full level at the top, 85 silence at the bottom.
        vscVolume[c] = new Slider(this, indexed("vscVolume", i), 0, 85, 0);
        vscVolume[c]->setUpRaises(false);
        vscVolume[c]->onChange = [this, i] { vscVolume_Change(i); };
        lblVolume[c] = new Label(this, indexed("lblVolume", i));
        prgVolume[c] = new ProgressBar(this, indexed("prgVolume", i));
    }
    lblCh1 = new Label(this, QStringLiteral("lblCh1"), QStringLiteral("CH1"));
    lblCh2 = new Label(this, QStringLiteral("lblCh2"), QStringLiteral("CH2"));

    hscPosition = new Slider(this, QStringLiteral("hscPosition"), 0, 0, 0);
    hscPosition->onChange = [this] { hscPosition_Change(); };
    hscPosition->onScroll = [this] { hscPosition_Scroll(); };
    prgPosition = new ProgressBar(this, QStringLiteral("prgPosition"));
    lblPosition = new Label(this, QStringLiteral("lblPosition"), QStringLiteral("00:00"));
    lblTimeLeft = new Label(this, QStringLiteral("lblTimeLeft"), QStringLiteral("00:00"));
    lblTotal = new Label(this, QStringLiteral("lblTotal"), QStringLiteral("00:00"));

    hscPitch = new Slider(this, QStringLiteral("hscPitch"), 20, 220, 100);
    hscPitch->onChange = [this] { hscPitch_Change(); };
    hscPitch->onScroll = [this] { hscPitch_Scroll(); };
    lblPitch = new Label(this, QStringLiteral("lblPitch"), QStringLiteral("1"));
    hscBalance = new Slider(this, QStringLiteral("hscBalance"), -10, 10, 0);
    hscBalance->onChange = [this] { hscBalance_Change(); };
    hscBalance->onScroll = [this] { hscBalance_Scroll(); };
    lblBalance = new Label(this, QStringLiteral("lblBalance"), QStringLiteral("0"));

    spinCutFirst = new Slider(this, QStringLiteral("spinCutFirst"), 0, 100, 0);
    spinCutFirst->onChange = [this] { spinCutFirst_Change(); };
    spinCutLast = new Slider(this, QStringLiteral("spinCutLast"), 0, 100, 0);
    spinCutLast->onChange = [this] { spinCutLast_Change(); };
    lblCutFirst = new Label(this, QStringLiteral("lblCutFirst"), QStringLiteral("0"));
    lblCutLast = new Label(this, QStringLiteral("lblCutLast"), QStringLiteral("0"));

    chkRndPlay = new Button(this, QStringLiteral("chkRndPlay"), QStringLiteral("Shuffle Mode"), Button::Kind::Check);
    cmbOutputDevices = new ComboBox(this, QStringLiteral("cmbOutputDevices"));
}

void PlayerWindow::buildTransitionControls()
{
    static const char* const kTypeNames[5] = {"Cross Dissolve", "Up Down", "Down  Up", "Mix", "Cut"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new Button(this, indexed("optTransition", i), QString(), Button::Kind::Option);
        b->setGroup(this);
        b->setToolTip(QLatin1String(kTypeNames[i]));
        b->onClick = [this, i] { optTransition_Click(i); };
        optTransition[static_cast<size_t>(i)] = b;
    }
    lblTransitionType = new Label(this, QStringLiteral("lblTransitionType"),
                                  QStringLiteral("Select Transition Type. Current song in Red next song in Blue "));
    spinTransitionTime = new Slider(this, QStringLiteral("spinTransitionTime"),
                                    m_variant.zeroTransitionTimeMeansCut ? 0 : 1, 100, 100);
    spinTransitionTime->onChange = [this] { spinTransitionTime_Change(); };
    lblTransitionTime = new Label(this, QStringLiteral("lblTransitionTime"), QStringLiteral("100"));
}

void PlayerWindow::buildList()
{
    lstClipList = new PlaylistModel(this, QStringLiteral("lstClipList"));
    lstClipList->setProperty("toolTip", QStringLiteral("Drag and drop mp3 files from your explorer window here"));
    lstClipList->onDblClick = [this] { lstClipList_DblClick(); };
    lstClipList->onKeyDown = [this](int key) { lstClipList_KeyDown(key); };
    lstClipList->onMouseUp = [this](int button, int x, int y) { lstClipList_MouseUp(button, x, y); };
    lstClipList->onColumnClick = [this](int column) { lstClipList_ColumnClick(column); };
    lstClipList->onMouseMove = [this](int button) { lstClipList_MouseMove(button); };
    lstClipList->onStartDrag = [this] { return lstClipList_OLEStartDrag(); };
    lstClipList->onDragOver = [this](int row) { lstClipList_OLEDragOver(row); };
    lstClipList->onDrop = [this](const QStringList& files, int row) { lstClipList_OLEDragDrop(files, row); };
    lstClipList->onDragEnd = [this] { lstClipList_OLECompleteDrag(); };

    StatusBar1 = new StatusBar(this, QStringLiteral("StatusBar1"));
    ProgressBar1 = new ProgressBar(this, QStringLiteral("ProgressBar1"));
    cmdShowOptions = new Button(this, QStringLiteral("cmdShowOptions"), QStringLiteral("Hide Options"));
    cmdShowOptions->onClick = [this] { cmdShowOptions_Click(); };
    m_layout.listTop = m_variant.listTop;
    connect(this, &Form::resized, this, &PlayerWindow::Form_Resize);
    cmdCalculate = new Button(this, QStringLiteral("cmdCalculate"), QStringLiteral("Calculate Total"));
    cmdCalculate->onClick = [this] { cmdCalculate_Click(); };
    lblDuracionTotal = new Label(this, QStringLiteral("lblDuracionTotal"), QStringLiteral("00:00"));
    lblCantDeTemas = new Label(this, QStringLiteral("lblCantDeTemas"));
    cmdWinSeek = new Button(this, QStringLiteral("cmdWinSeek"), QStringLiteral("Search &MP3"));
    cmdWinSeek->onClick = [this] { cmdWinSeek_Click(); };
}

void PlayerWindow::buildMenus()
{
    auto item = [this](const char* n, const char* caption, MenuItem* menu, void (PlayerWindow::*handler)()) {
        auto* m = new MenuItem(this, QLatin1String(n), QLatin1String(caption), menu);
        if (handler)
            m->onClick = [this, handler] { (this->*handler)(); };
        return m;
    };
    mnuFile = item("mnuFile", "&File", nullptr, nullptr);
    mnuOpen = item("mnuOpen", "Open...", mnuFile, &PlayerWindow::mnuOpen_Click);
    mnuSaveListAs = item("mnuSaveListAs", "Save List As...", mnuFile, &PlayerWindow::mnuSaveListAs_Click);
    item("mnuBar0", "-", mnuFile, nullptr);
    mnuScanDrive = item("mnuScanDrive", "Scan Drive...", mnuFile, &PlayerWindow::mnuScanDrive_Click);

    mnuList = item("mnuList", "&List", nullptr, nullptr);
    mnuShowItemInPlay = item("mnuShowItemInPlay", "Show Item In Play", mnuList, &PlayerWindow::mnuShowItemInPlay_Click);
    item("mnuBar1", "-", mnuList, nullptr);
    mnuCueSelectedItem = item("mnuCueSelectedItem", "CUE Selected Item", mnuList, &PlayerWindow::mnuCueSelectedItem_Click);
    mnuPlaySelectedItem =
        item("mnuPlaySelectedItem", "Play Selected Item", mnuList, &PlayerWindow::mnuPlaySelectedItem_Click);
    item("mnuBar2", "-", mnuList, nullptr);
    mnuDeleteSelectedItem =
        item("mnuDeleteSelectedItem", "Delete Selected Item", mnuList, &PlayerWindow::mnuDeleteSelectedItem_Click);
    item("mnuBar3", "-", mnuList, nullptr);
    mnuRandomOrder = item("mnuRandomOrder", "Random Order", mnuList, &PlayerWindow::mnuRandomOrder_Click);
    item("mnuBar4", "-", mnuList, nullptr);
    mnuClear = item("mnuClear", "Clear List", mnuList, &PlayerWindow::mnuClear_Click);
}

void PlayerWindow::buildOptionsMenu(const QString& logFolderCaption)
{
    mnuOptions = new MenuItem(this, QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    mnuWriteLog = new MenuItem(this, QStringLiteral("mnuWriteLog"), QStringLiteral("Wri&te Log File"), mnuOptions);
    mnuWriteLog->onClick = [this] { mnuWriteLog_Click(); };
    mnuLogFolder = new MenuItem(this, QStringLiteral("mnuLogFolder"), logFolderCaption, mnuOptions);
    mnuLogFolder->onClick = [this] { mnuLogFolder_Click(); };
    mnuNormalizeLoudness =
        new MenuItem(this, QStringLiteral("mnuNormalizeLoudness"), QStringLiteral("Normalize &Loudness"), mnuOptions);
    mnuNormalizeLoudness->onClick = [this] { mnuNormalizeLoudness_Click(); };
    m_loudness->setMenuItem(mnuNormalizeLoudness);
}

void PlayerWindow::setLogFolderWindow(LogFolderDialog& form)
{
    m_logFolderWindow = &form;
    // The form outlives neither window in the program, but a test may drop a
    // window first: OK then finds nobody to tell.
    QPointer<PlayerWindow> self(this);
    auto deliver = [self](const QString& folder) {
        if (self)
            self->strLogPath = folder;
    };
    form.setDelivery(logFolderOpener(), deliver);
}

void PlayerWindow::finishLoading()
{
    if (strLogPath.isEmpty())
        strLogPath = m_programFolder + QLatin1Char('/');

    StatusBar1->addPanel();
    StatusBar1->setBold(true);
    StatusBar1->setPanelText(2, idleText());
    for (Label* l : {lblTotal, lblPosition, lblTimeLeft, lblCutFirst, lblCutLast, lblTransitionTime, lblMasterVolume,
                     lblStatus})
        l->setBold(true);
    lblStatus->setText(stoppedText());
    if (showOptions() == 0)
        cmdShowOptions_Click();

    if (!m_commandLine.isEmpty()) {
        QString file = m_commandLine;
        file.remove(QLatin1Char('"'));
        OpenFile(file, true, 0);
        btnPlay_Click();
    }
}

void PlayerWindow::confirmExit(int& Cancel)
{
    if (m_services.dialogs.askYesNo(productName(), QStringLiteral("Exit Program ?")))
        Q_EMIT programEndRequested();
    else
        Cancel = 1;
}

void PlayerWindow::setLogSwitch(bool on)
{
    m_logSwitch = on;
    if (mnuWriteLog)
        mnuWriteLog->setChecked(on);
}

}  // namespace tavlo
