#include "insert/InsertWindowView.h"
#include "fakes/TestText.h"
#include "music/MusicWindowView.h"
#include "playlist/PlaylistTableView.h"
#include "fakes/QtTestApp.h"
#include "fakes/ViewChecks.h"
#include "playback/WindowRig.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressBar>
#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>

namespace tavlo::test {
namespace {

using tavlo::test::s;

std::vector<int> viewSelection(const PlaylistTableView& view)
{
    std::vector<int> rows;
    for (const QModelIndex& i : view.selectionModel()->selectedRows())
        rows.push_back(i.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST(PlayerWindowView, ControlsAndListFollowTheLogicAndForwardTheUser)
{
    WindowRig rig;
    MusicWindow& w = *rig.w;
    PlaylistModel& model = *w.clipList;
    MusicWindowView view(w);
    auto* master = child<QSlider>(view, "masterVolume");
    auto* fader = child<QSlider>(view, "channelFaders(0)");

    // The master volume dragged: the channel in play follows at every step,
    // not only on release; a key press on the slider is a change too.
    master->setSliderDown(true);
    master->setSliderPosition(40);
    EXPECT_EQ(std::pair(w.masterVolume->value(), fader->value()), std::pair(40, 45));
    master->setSliderDown(false);
    master->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(fader->value(), 44);
    // The output meter: upright bars beside the faders that follow the level;
    // the insert window has none.
    auto* meter = child<QProgressBar>(view, "prgOutputPeak(1)");
    EXPECT_EQ(std::pair(meter->orientation(), meter->parentWidget()), std::pair(Qt::Vertical, fader->parentWidget()));
    EXPECT_EQ(InsertWindowView(*rig.ins).findChild<QProgressBar*>(s("prgOutputPeak(0)")), nullptr);
    rig.media.outputPeak[1] = 0.1f;
    rig.time.advance(40);
    EXPECT_EQ(meter->value(), -200);

    for (const char* title : {"Delta", "Alpha", "Echo", "Bravo", "Charlie"})
        rig.add(s(title), 200);
    child<QAbstractButton>(view, "playButton")->click();
    EXPECT_EQ(w.status(), DeckStatus::Playing);
    // Choosing a transition type clears the others; clicking it again keeps it.
    auto* cut = child<QAbstractButton>(view, "transitionButtons(4)");
    cut->click();
    cut->click();
    EXPECT_EQ(w.transitionType(), TransitionType::Cut);
    EXPECT_FALSE(child<QAbstractButton>(view, "transitionButtons(0)")->isChecked());
    // A menu entry runs its handler; its check mark follows the logic.
    auto* writeLog = child<QAction>(view, "writeLogItem");
    writeLog->trigger();
    EXPECT_TRUE(w.logSwitch() && writeLog->isChecked());
    auto* startWithDesktop = child<QAction>(view, "startWithDesktopItem");
    startWithDesktop->trigger();
    EXPECT_TRUE(rig.autostart.enabled && startWithDesktop->isCheckable() && startWithDesktop->isChecked());

    view.resize(441, 600);
    view.show();
    PlaylistTableView* list = view.list();
    ASSERT_NE(list, nullptr);
    // The window shows the row in play: the view follows; the operator adds
    // a row to the selection: the window sees it.
    w.setRowInPlay(3);
    w.showItemInPlay();
    QApplication::processEvents();
    EXPECT_EQ(viewSelection(*list), std::vector<int>{3});
    EXPECT_EQ(list->currentIndex().row(), 2);
    list->selectionModel()->select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(model.selectedRows(), (std::vector<int>{1, 3}));
    // A click on the "Title" header sorts; the same songs stay selected.
    QHeaderView* header = list->horizontalHeader();
    const QPoint title(header->sectionViewportPosition(ColTitle) + 5, header->height() / 2);
    sendMouse(header->viewport(), QEvent::MouseButtonPress, title);
    sendMouse(header->viewport(), QEvent::MouseButtonRelease, title);
    QApplication::processEvents();
    EXPECT_EQ(list->model()->index(0, ColTitle).data().toString(), s("Alpha"));
    EXPECT_EQ(viewSelection(*list), (std::vector<int>{4, 5}));  // Delta and Echo
    model.remove(4);
    QApplication::processEvents();
    EXPECT_EQ(viewSelection(*list), std::vector<int>{4});

    // A double click plays the song clicked, and so does Enter; a right
    // click brings up the "&List" menu.
    const QPoint second = list->visualRect(model.index(1, 0)).center();
    sendMouse(list->viewport(), QEvent::MouseButtonDblClick, second);
    EXPECT_EQ(w.rowInPlay(), 2);
    list->selectionModel()->select(model.index(3, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    EXPECT_EQ(w.rowInPlay(), 4);
    sendMouse(list->viewport(), QEvent::MouseButtonRelease, second, Qt::RightButton);
    QMenu* menu = view.menu(s("listMenu"));
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

// Lined up on a screen 768 pixels high: 6615 twips wide, 10520 high for the
// music window, 7460 for the insert window. The panes sit where the window's
// layout says, and every control shows whole, with the panel full and reduced.
template <typename View, typename Window>
void checkDefaultWindow(Window& concrete, int height, const QString& picture)
{
    PlayerWindow& window = concrete;
    window.setGeometry(1500, 1500, 6615, height);
    View concreteView(concrete);
    PlayerWindowView& view = concreteView;
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(view.frameGeometry().size(), QSize(441, height / 15));
    const auto place = [&view](const char* name) {
        const QWidget* w = child<QWidget>(view, name);
        return QRect(w->mapTo(view.centralWidget(), QPoint(0, 0)), w->size());
    };
    for (int fold = 0; fold < 2; ++fold) {
        expectLegible(view);
        for (const Control* control : window.findChildren<Control*>())
            EXPECT_NE(view.findChild<QObject*>(control->name()), nullptr) << control->name().toStdString();
        const PlayerLayout& l = window.layout();
        EXPECT_EQ(place("clipList"), QRect(8, l.listTop / 15, 425, l.listHeight / 15));
        EXPECT_EQ(place("Picture1"), QRect(8, l.panelTop / 15, 425, l.panelHeight / 15));
        // The rule's place, or as near as the status bar lets it be.
        const QRect progress = place("loadProgressBar");
        EXPECT_TRUE(progress.top() == l.progressTop / 15 || progress.bottom() == view.centralWidget()->height() - 1);
        EXPECT_TRUE(view.centralWidget()->rect().contains(progress));
        EXPECT_GE(progress.top(), place("Picture1").bottom());
        savePicture(view, fold ? picture + s("-reduced") : picture);
        window.toggleOptions();
        QApplication::processEvents();
    }
}

TEST(PlayerWindowView, LinedUpWindowsShowEveryControlWhole)
{
    WindowRig rig;
    for (const char* title : {"Morning Glory", "Blue Monday", "Take Five", "So What", "Round Midnight"})
        rig.add(s(title), 175);
    rig.w->playButton->press();
    rig.time.advance(42000);  // well into the first song, its fade-in done
    checkDefaultWindow<MusicWindowView>(*rig.w, 10520, s("player-window"));
    rig.addInsert(s("Station Call"), 20);
    rig.ins->prepareInsert();
    checkDefaultWindow<InsertWindowView>(*rig.ins, 7460, s("insert-window"));
}

}  // namespace
}  // namespace tavlo::test
