#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/Slider.h"
#include "platform/controls/TextBox.h"
#include "platform/Loudness.h"
#include "playback/DeckState.h"
#include "playback/DeckStatus.h"
#include "playback/DeckVariant.h"
#include "playback/FallbackList.h"
#include "log/LogFolderDialog.h"
#include "playback/Player.h"
#include "playback/TransitionType.h"
#include "playback/SearchWindowLink.h"
#include "playlist/ColumnSortMemory.h"

#include <QPointer>
#include <QSet>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tavlo {

struct AppServices;
class AsRunLog;
class PlaylistModel;
struct PlaylistRow;
class Timer;
class SongLoudness;
class AutoCue;

// The logic of a player window: the deck (transport, position timer,
// trimming, levels), the song change with its five ramps, and the list with
// its commands. The music window and the insert window are both made of it;
// each adds its own menus, start-up and the hooks below.
//
// Controls are state objects of our own, kept as public members so the
// views bind them; other windows never press them or write this window's
// state, they call its intent-named methods. Every handler runs with errors
// ignored: an empty channel slot or a player whose file did not open makes
// its step do nothing.
//
// The code is split by feature: PlayerWindow.cpp builds the controls,
// PlayerWindowDeck.cpp runs transport, position and levels,
// PlayerWindowTransitions.cpp the song change and ramps, PlayerWindowList.cpp
// the list commands, song loading and the list's total,
// PlayerWindowFiles.cpp playlists on disk and the as-run log,
// PlayerWindowDragDrop.cpp drag and drop on the list,
// PlayerWindowSettings.cpp the settings and the options panel,
// PlayerWindowFallback.cpp a list with nothing playable: the back-off and
// the fallback list.
// UI thread only.
class PlayerWindow : public Form {
    Q_OBJECT
public:
    PlayerWindow(const QString& name, const QString& caption, AppServices& services, DeckVariant variant = {},
                 QObject* parent = nullptr);
    ~PlayerWindow() override;

    // ---- State.
    DeckStatus status() const { return m_status; }
    // Row in play, from 1; 0 none; -1 after an empty list stopped the deck.
    int rowInPlay() const { return m_rowInPlay; }
    // Sets the row in play without loading it: the next song change goes on from there.
    void setRowInPlay(int row) { m_rowInPlay = row; }
    // Ticks the running ramp has made; 0 when none runs.
    int rampStep() const { return m_rampStep; }
    TransitionType transitionType() const { return m_transitionType; }
    // Seconds.
    int transitionTime() const { return m_transitionTime; }
    // The as-run log's folder.
    QString logFolder() const { return m_logFolder; }
    void setLogFolder(const QString& folder) { m_logFolder = folder; }
    // A drag from this window's list: the rows dragged (ascending, from 1),
    // and whether it is under way (from its start until it ends, a drop on
    // this list, or the pointer moving over the list with no button held).
    const std::vector<int>& dragRows() const { return m_dragRows; }
    bool dragFromList() const { return m_dragFromList; }

    // Seconds cut from the start and end of every song loaded from now on.
    // The settings may store values the spinners refuse; the member takes them.
    int cutFirst() const { return m_cutFirst; }
    void setCutFirst(int seconds) { m_cutFirst = seconds; }
    int cutLast() const { return m_cutLast; }
    void setCutLast(int seconds) { m_cutLast = seconds; }
    // The channel, and its player, of the song in play (or cued).
    int channelInPlay() const { return m_channelInPlay == 1 ? 1 : 0; }
    Player* playerInPlay() const { return m_players[static_cast<std::size_t>(channelInPlay())].get(); }
    // The player of a channel, or null when the slot is empty.
    Player* playerIn(int channel) const;
    // Trim points of the song in play, in seconds of the file.
    int songStart() const { return m_songStart; }
    int songEnd() const { return m_songEnd; }
    // Seconds the time-left displays subtract.
    // A song played by its cue points changes at its end, not a lead before it.
    int timeLeftLead() const { return m_variant.timeLeftLead && m_changeAt < 0 ? m_lead : 0; }
    // Where the song in play hands over, in exact seconds of its file, when it
    // plays by its cue points (its segue, or earlier for a cold ending);
    // negative when it plays by the cuts alone.
    double changeAt() const { return m_changeAt; }
    // The as-run log switch, mirrored by the check mark of writeLogItem.
    bool logSwitch() const { return m_logSwitch; }
    void setLogSwitch(bool on);

    // The program's whole argument string, as one text, opened and played at
    // the end of start-up.
    void setCommandLine(const QString& text) { m_commandLine = text; }
    // The folder the program runs from; the log goes there until another is chosen.
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }

    // The product name, the dialogs' title and the first half of the
    // settings' application name.
    static QString productName() { return QStringLiteral("TAVLO Broadcast"); }
    // The settings of this window are kept under this name.
    QString settingsAppName() const { return productName() + caption(); }

    // The options panel: full (4335 twips high) or reduced (2415),
    // and the flag the settings keep for it (1 full, 0 reduced).
    int panelHeight() const { return m_panelHeight; }
    int showOptions() const { return m_showOptions; }
    // Top of showOptionsButton in twips; it moves when the panel folds.
    float showOptionsTop() const { return m_showOptionsTop; }
    const PlayerLayout& layout() const { return m_layout; }

    // Whether "Calculate Total" is running.
    bool calculating() const { return m_calculating; }

    // The program's one log-folder window; "Setup Log Folder..." opens it and
    // its OK sets this window's m_logFolder.
    void setLogFolderWindow(LogFolderDialog& form);
    // The program's one search window; "Search MP3" and "Scan Drive..." show
    // it at this window's place.
    void setSearchWindow(SearchWindowLink& search) { m_search = &search; }

    // Tells the operator something the station cannot mend by itself (a folder
    // that cannot be written, a list with nothing playable): in the status
    // bar's first panel, and as notice() for a console to print. Say a thing
    // once, not on every retry.
    void tellOperator(const QString& text);

    // What the status bar's second panel shows while no playlist is loading.
    static QString idleText() { return QStringLiteral("Ready"); }
    static QString playingText() { return QStringLiteral("Play"); }
    static QString stoppedText() { return QStringLiteral("Stop"); }
    static QString pausedText() { return QStringLiteral("Pause"); }

    // ---- Controls.
    Button* playButton;
    Button* stopButton;
    Button* pauseButton;
    Button* backButton;
    Button* nextButton;
    Label* statusLabel;
    Slider* masterVolume;
    Label* masterVolumeLabel;
    ProgressBar* masterVolumeBar;
    std::array<Slider*, 2> channelFaders;
    std::array<Label*, 2> channelLevelLabels;
    std::array<ProgressBar*, 2> channelLevelBars;
    Label* channel1Label;
    Label* channel2Label;
    Slider* positionSlider;
    ProgressBar* positionBar;
    Label* positionLabel;
    Label* timeLeftLabel;
    Label* songLengthLabel;
    Slider* pitchSlider;
    Label* pitchLabel;
    Slider* balanceSlider;
    Label* balanceLabel;
    Slider* cutFirstSpinner;
    Slider* cutLastSpinner;
    Label* cutFirstLabel;
    Label* cutLastLabel;
    Button* shuffleCheck;
    ComboBox* outputDeviceCombo;
    std::array<Button*, kTransitionTypeCount> transitionButtons;
    Label* transitionTypeLabel;
    Slider* transitionTimeSpinner;
    Label* transitionTimeLabel;
    PlaylistModel* clipList;
    StatusBar* statusBar;
    ProgressBar* loadProgressBar;
    Button* showOptionsButton;
    Button* calculateButton;
    Label* totalLengthLabel;
    Label* songCountLabel;
    Button* searchButton;

    MenuItem* fileMenu;
    MenuItem* openItem;
    MenuItem* saveListAsItem;
    MenuItem* scanDriveItem;
    MenuItem* listMenu;
    MenuItem* showItemInPlayItem;
    MenuItem* cueSelectedItem;
    MenuItem* playSelectedItem;
    MenuItem* deleteSelectedItem;
    MenuItem* randomOrderItem;
    MenuItem* clearListItem;
    // Made by each window with its own captions (buildOptionsMenu).
    MenuItem* optionsMenu = nullptr;
    MenuItem* writeLogItem = nullptr;
    MenuItem* logFolderItem = nullptr;
    MenuItem* normalizeLoudnessItem = nullptr;
    MenuItem* autoCueItem = nullptr;

    // Window timers: the 100 ms position tick and the ramp tick.
    Timer& positionTimer() const { return *m_positionTimer; }
    Timer& rampTimer() const { return *m_rampTimer; }

    // ---- Deck (PlayerWindowDeck.cpp).
    void play();
    void pause();
    void stop();
    void next();
    void back();
    void onPositionTick();
    void onMasterVolumeChange();
    void onMasterVolumeScroll();
    void onChannelFaderChange(int channel);
    void onPositionChange();
    void onPositionScroll();
    void onPitchChange();
    void onPitchScroll();
    void onBalanceChange();
    void onBalanceScroll();
    void onCutFirstChange();
    void onCutLastChange();

    // ---- Song change and ramps (PlayerWindowTransitions.cpp).
    void changeSong();
    void onRampTick();
    // The song a change cued while the deck was paused, not yet logged as
    // started; emptied by the call. Whoever resumes it logs it.
    QString takeUnloggedCue() { return std::exchange(m_cuedUnlogged, QString()); }
    // Loads the row in play, or the first one after it that opens, into the
    // other channel. When none does before the list's end, or in the whole
    // list, the song in play keeps its channel and its end.
    ListPass loadPlayableSong();
    void chooseTransition(TransitionType type);
    void onTransitionTimeChange();

    // ---- Nothing playable (PlayerWindowFallback.cpp).
    // A pass over the list that opened nothing starts a back-off: the list is
    // tried again after 1 s, 2 s, 4 s ... up to a minute, while the fallback
    // list plays (or the deck is silent when there is none). A row that opens
    // ends it; Play, Next, Back and rows added try at once.
    FallbackList& fallbackList() { return m_fallback; }
    const FallbackList& fallbackList() const { return m_fallback; }
    bool backingOff() const { return m_backingOff; }
    // The song in play (or cued) comes from the fallback list.
    bool onFallback() const { return m_onFallback; }
    // Fires when the list is next tried.
    Timer& retryTimer() const { return *m_retryTimer; }
    // As cueSelected does a row, cues the fallback's next song, paused, in
    // the channel in play: a break over the fallback hands back to it.
    void cueFallbackSong();
    // What tellOperator() says of it, once each.
    static QString nothingPlayableText() { return QStringLiteral("Nothing in the list can be played; trying again."); }
    static QString fallbackPlaysText()
    {
        return QStringLiteral("Nothing in the list can be played; the fallback list plays while it is tried again.");
    }
    static QString listPlaysAgainText() { return QStringLiteral("The list plays again."); }

    // ---- List and files (PlayerWindowList.cpp).
    // Adds one row; a row inserted at or before the row in play of this
    // window's own list moves m_rowInPlay down with it. Returns the position used.
    int addFileToList(const QString& fileName, int insertPos, PlaylistModel& destination);
    // A playlist (a name ending in "m3u", any case) or one media file.
    // Never empties the list, whatever clearList says.
    void openFile(const QString& fileName, bool clearList = false, int insertPos = 0);
    // Loads the row in play into the channel in play; false (and an
    // "**ERROR**" entry in the log) when its file will not open.
    bool loadSong();
    // Appends the entries of an M3U playlist to the list, letting the
    // interface repaint its progress while a long one loads.
    void loadPlaylist(const QString& fileName);
    // Writes the list as an M3U playlist, replacing fileName only once the
    // whole list is written. A failure is told to the user; the list stays.
    void savePlaylist(const QString& fileName);
    // The as-run log: 1 start line, 2 end line, anything else an entry.
    // A folder that cannot be written is told to the operator once; its
    // lines are kept and written by a retry each minute until it works.
    void writeLog(int activation = 0, const QString& error = QString(), const QString& line = QString());

    // ---- Resuming after a restart (PlayerWindowResume.cpp).
    // The deck as a restart would need it: the row in play, its file, where
    // in it and whether it plays.
    DeckState deckState() const;
    // The list becomes `rows` (a kept copy of it), nothing in play.
    void restoreList(std::vector<PlaylistRow> rows);
    // Puts the deck back as `state` had it, over a list already restored: a
    // song that played plays on from its position, faded in over half a
    // second; a paused one waits there; a stopped deck waits for Play. A
    // song that will not open any more gives way to the next that does.
    // True when a song was put back on air.
    bool resumeDeck(const DeckState& state);
    // A resumed song's fade-in gives way to whatever moves the faders next
    // (a song change, a break's ramp).
    void stopResumeFade();
    // What the as-run log's "**RESUMED**" line says after resumeDeck: the
    // file and the position resumed, or that the deck waits.
    QString resumedText() const;

    // ---- Settings (PlayerWindowSettings.cpp).
    // Reads this window's settings and applies them through the controls,
    // so their handlers run; a value that cannot be read or that a control
    // refuses is skipped.
    void loadSettings();
    void saveSettings();

    void openFromDialog();
    void saveListAs();
    void scanDrive();
    void showSearch();
    void showItemInPlay();
    void cueSelected();
    void playSelected();
    void deleteSelected();
    void shuffleList();
    void clearList();
    // The list becomes `playlist`: the song on air plays to its end and the
    // next song change takes the new list's first row.
    void switchToList(const QString& playlist);
    void toggleWriteLog();
    void chooseLogFolder();
    void toggleNormalizeLoudness();
    // "Normalize Loudness" of this window: its switch, target and counts.
    SongLoudness& loudness() const { return *m_loudness; }
    void toggleAutoCue();
    // "Auto Cue" of this window: songs from where their sound starts to where
    // the next may take over, as the loudness analysis found them.
    AutoCue& autoCue() const { return *m_autoCue; }
    void toggleOptions();
    // Lays the list, panel and progress bar out for the window's size; runs
    // on every resize and after the panel folds or unfolds.
    void layOut();
    void calculateTotal();
    void onListDoubleClick();
    void onListKeyDown(int keyCode);
    void onListMouseUp(int button, int x, int y);
    void onListColumnClick(int column);

    // ---- Drag and drop on the list (PlayerWindowDragDrop.cpp). Rows are
    // numbered from 1; 0 means no row under the pointer.
    // A drag of the selected rows starts: returns their paths, the drag's data.
    QStringList startDrag();
    // Marks the row a drop would go before by selecting it alone.
    void showDropTarget(int row);
    // Files dropped on `row`: a move when they are this list's own rows, else copies.
    void drop(const QStringList& files, int row);
    // A drag from this list is over, wherever it went.
    void endDrag();
    // `buttons`: the buttons held, 0 for none.
    void onListMouseMove(int buttons);

Q_SIGNALS:
    // A song change started a song (the moment its as-run line is written).
    void songStarted(const QString& path);
    // An as-run entry was written (or would have been, with the log switch
    // off): a song started (`line` its path) or failed to open (`error`).
    void logEntryWritten(const QString& error, const QString& line);
    // The user confirmed "Exit Program ?": the program ends now.
    void programEndRequested();
    // tellOperator() said `text`.
    void notice(const QString& text);
    // The list was right-clicked: the view pops `menu` up at x, y.
    void popupMenu(tavlo::MenuItem* menu, int x, int y);
    // layout() changed.
    void layoutChanged();

protected:
    AppServices& services() const { return m_services; }
    const DeckVariant& variant() const { return m_variant; }
    // Sets the deck's status and the label that shows it.
    void showStatus(DeckStatus status);
    // The ramp tick counter, which a window's own ramps share with its song changes.
    int advanceRampStep() { return ++m_rampStep; }
    void setRampStep(int step) { m_rampStep = step; }
    // The second channel's player, made at start-up so both slots hold one.
    void makeSecondPlayer();
    // Moves a fader of this window to `step`; a step outside the fader's
    // range is refused and changes nothing.
    void setFader(int channel, int step);
    // A push button of this window whose press runs `onClick`.
    Button* addPushButton(const char* name, const char* caption, std::function<void()> onClick);
    // The "&Options" menu with its two items, in the window's own wording.
    void buildOptionsMenu(const QString& logFolderCaption);
    // The end of either player window's start-up: the log folder, the status
    // bar, the bold labels, the options panel, then the command line's file
    // opened into the list and played.
    void finishLoading();
    // Asks "Exit Program ?"; Yes announces the end and answers true.
    bool confirmExit();

    // Position tick: the time-left text, just shown.
    virtual void timeLeftShown(const QString& text) { Q_UNUSED(text); }
    // Position tick, the song is in its last seconds and the next row is
    // chosen: hand over to it.
    virtual void songEndReached() { changeSong(); }
    // loadSong's last step: the row in play is loaded and plays `seconds`;
    // `opened` is false when its file could not be opened.
    virtual void songLoaded(int row, int seconds, bool opened)
    {
        Q_UNUSED(row);
        Q_UNUSED(seconds);
        Q_UNUSED(opened);
    }
    // openFile read the playlist `fileName` (the insert window looks at its name).
    virtual void playListOpened(const QString& fileName) { Q_UNUSED(fileName); }
    // The fallback's `path` is loaded to play `seconds`; as songLoaded, for a song of no row.
    virtual void fallbackSongLoaded(const QString& path, int seconds)
    {
        Q_UNUSED(path);
        Q_UNUSED(seconds);
    }
    // A fresh start for the as-run log: files that failed before are logged
    // again when they fail next.
    void forgetLoggedFailures() { m_loggedFailures.clear(); }
    // Which window the log-folder window answers when this one opens it.
    virtual LogFolderDialog::Opener logFolderOpener() const { return LogFolderDialog::Opener::MusicWindow; }
    // Each position tick, after the labels: true when the window has moved
    // on to another song, which ends the tick.
    virtual bool positionTicked() { return false; }
    // Whether a list with nothing playable may be tried again now; a try
    // that may not waits and looks again a second later.
    virtual bool mayTryListNow() const { return true; }
    // Keys only one of the windows has, read after "WriteLog" and written
    // after it ("WaitSong" in the insert window).
    virtual void getOwnSettings(const QString& app) { Q_UNUSED(app); }
    virtual void saveOwnSettings(const QString& app) { Q_UNUSED(app); }

private:
    void buildDeck();
    void buildTransitionControls();
    void buildList();
    void buildMenus();
    // The log's retry timer: its kept lines written, or the timer set for the next try.
    void retryLog();
    void scheduleLogRetry();
    // The channel's old player stops and goes; a new one takes its slot.
    Player& newPlayerIn(int channel);
    // A song was just opened from `row`: its loudness trim, and the rows
    // after it measured ahead (PlayerWindowLoudness.cpp).
    void loudnessForLoadedSong(Player& player, int row, bool opened);
    // A list was opened: its first rows measured ahead.
    void loudnessForOpenedList();
    // The analysis of `count` rows from `from` asked for, when a switch needs it.
    void measureAhead(int from, int count);
    // Row n's cue columns and length, for a song of `duration` seconds.
    void showCues(int n, const CuePoints& cues, double duration);
    // The cue columns shown while "Auto Cue" is on.
    void showCueColumns();
    // The row of `state`'s song in the restored list; 0 when it is gone.
    int findResumedRow(const DeckState& state) const;
    void onResumeFadeTick();
    // "Calculate Total": the seconds row n plays, opening its file when the
    // list does not know them yet.
    double playTimeForTotal(int n);

    // What a failed load must put back so the song in play goes on.
    struct DeckPlace {
        int channel, songStart, songEnd, positionMax, positionValue;
        double changeAt;
    };
    DeckPlace deckPlace() const;
    void restoreDeckPlace(const DeckPlace& place);
    // Both players stop; the status shows it.
    void stopPlayers();
    // The loaded song in the channel in play goes on air: logged, ramped in
    // (or cued, when the deck is paused).
    void startIncomingSong();
    // `path` into a new player in the channel in play; false when it will
    // not open, which is logged once until a row of the list opens.
    bool openInChannelInPlay(const QString& path);
    // Trim points, position and a silent fader for the song just opened.
    // The cue points it plays by, when it does.
    std::optional<CuePoints> prepareLoadedSong(Player& player);

    // PlayerWindowFallback.cpp.
    // Why a song change runs: the song in play reached its end, the
    // operator asked for another song, or the list is tried again while a
    // fallback song plays on.
    enum class ListTry { AtSongEnd, Now, Again };
    // A pass over the list opened nothing (or the list is empty).
    void nothingPlayable(ListTry why);
    // The next fallback song that opens goes on air; false when none does.
    bool playFallbackSong();
    // The next fallback song that opens into the channel in play.
    bool loadFallbackSong();
    void onRetryTimer();
    // Rows came into the list: while backing off, try it at once.
    void onRowsAdded();
    void onRowsAddedTimer();
    bool listTryWaits() const;
    // The retry and rows added: a whole pass from the first row.
    void tryListAgain();
    // A row of the list opened.
    void listSongOpened();
    // Ends the back-off; `listPlays` when the list's own song is why.
    void endBackOff(bool listPlays);
    void tellOnce(const QString& text);
    void logOpenFailure(const QString& path);
    // The next song change looks at the list though a back-off runs.
    void tryListNow();

    DeckStatus m_status = DeckStatus::Stopped;
    int m_rowInPlay = 0;
    int m_channelInPlay = 0;
    int m_rampStep = 0;
    TransitionType m_transitionType = TransitionType::CrossDissolve;
    int m_transitionTime = 0;
    QString m_logFolder;
    std::array<std::unique_ptr<Player>, 2> m_players;  // a slot may hold nothing
    std::vector<int> m_dragRows;
    bool m_dragFromList = false;
    // The "Location" of the row in play when the drag started; empty when none was.
    QString m_dragInPlayPath;
    AppServices& m_services;
    DeckVariant m_variant;
    std::unique_ptr<Timer> m_positionTimer;
    std::unique_ptr<Timer> m_rampTimer;
    std::unique_ptr<Timer> m_resumeFadeTimer;
    int m_resumeFadeTick = 0;
    ColumnSortMemory m_sort;
    int m_cutFirst = 0;
    int m_cutLast = 0;
    int m_songStart = 0;
    int m_songEnd = 0;
    double m_changeAt = -1;
    int m_lead = 0;
    bool m_positionUpdating = false;
    bool m_logSwitch = false;
    std::unique_ptr<AsRunLog> m_log;
    std::unique_ptr<Timer> m_logRetryTimer;  // on only while the log keeps lines
    QPointer<LogFolderDialog> m_logFolderWindow;
    int m_panelHeight = 4335;
    PlayerLayout m_layout;
    QString m_cuedUnlogged;
    int m_showOptions = 1;
    float m_showOptionsTop = 264;
    bool m_calculating = false;
    bool m_cancelCalculation = false;
    QString m_commandLine;
    QString m_programFolder;
    NullSearchWindowLink m_noSearch;
    SearchWindowLink* m_search = &m_noSearch;
    std::unique_ptr<SongLoudness> m_loudness;
    std::unique_ptr<AutoCue> m_autoCue;
    FallbackList m_fallback;
    std::unique_ptr<Timer> m_retryTimer;
    // Tries the list just after rows were added, outside the edit itself;
    // the retry's schedule goes on as it was.
    std::unique_ptr<Timer> m_rowsAddedTimer;
    // The wait the retry timer is set to after the next failed retry.
    int m_retryWaitMs = 0;
    bool m_backingOff = false;
    bool m_loadingList = false;  // loadPlaylist lets the interface catch up in between
    bool m_onFallback = false;
    ListTry m_listTry = ListTry::AtSongEnd;
    // Files whose failure to open is logged since a row of the list last opened.
    QSet<QString> m_loggedFailures;
    // What tellOperator() last said of this back-off.
    QString m_toldOperator;
};

}  // namespace tavlo
