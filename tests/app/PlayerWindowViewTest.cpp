#include "app/AppServices.h"
#include "app/PlayerWindowView.h"
#include "app/PlaylistTableView.h"
#include "app/frmPlayer.h"
#include "fakes/FakeMediaService.h"
#include "fakes/FakeServices.h"
#include "platform/MixerDevice.h"
#include "playlist/PlaylistModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace tavlo {
namespace {

class QtApp : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[18] = "tavlo_view_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};
[[maybe_unused]] auto* const kQtApp = ::testing::AddGlobalTestEnvironment(new QtApp);

QString s(const char* text) { return QString::fromLatin1(text); }

// The music window on simulated time and fake media, started as the program starts it.
struct Rig {
    SimulatedTime time;
    test::FakeMediaService media{time};
    test::FakeRandom random;
    test::MemorySettingsStore settings;
    test::FakeDialogs dialogs;
    NullMixerDevice mixer;
    AppServices services{media, time, time, random, settings, dialogs, mixer};
    frmPlayer w{services};

    Rig()
    {
        w.setProgramFolder(s("/opt/tavlo"));
        w.Form_Load();
    }
    void add(const char* title, double seconds = 200)
    {
        const QString path = s("/music/") + s(title) + s(".mp3");
        media.addFile(path, seconds);
        w.AddFileToList(path, 0, *w.lstClipList);
    }
};

PlayListRow song(const char* title, const char* artist)
{
    PlayListRow row;
    row.fields[ColTitle] = s(title);
    row.fields[ColArtist] = s(artist);
    row.fields[ColLength] = s("03:20");
    row.fields[ColLocation] = QStringLiteral("/music/%1.mp3").arg(s(title));
    return row;
}

std::vector<int> viewSelection(const PlaylistTableView& view)
{
    std::vector<int> rows;
    for (const QModelIndex& i : view.selectionModel()->selectedRows())
        rows.push_back(i.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, const QPoint& at)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST(PlayerWindowView, SlidersFollowTheLogicAndForwardTheUser)
{
    Rig rig;
    PlayerWindowView view(rig.w);
    auto* master = view.findChild<QSlider*>(s("hscVolume"));
    auto* fader = view.findChild<QSlider*>(s("vscVolume(0)"));
    auto* percent = view.findChild<QLabel*>(s("lblMasterVolume"));
    ASSERT_TRUE(master && fader && percent);
    EXPECT_EQ(master->maximum(), 85);
    EXPECT_EQ(master->value(), 64);
    EXPECT_EQ(fader->value(), 21);

    // The operator drags the master volume: the channel in play follows at
    // every step, not only on release.
    master->setSliderDown(true);
    master->setSliderPosition(40);
    EXPECT_EQ(rig.w.hscVolume->value(), 40);
    EXPECT_EQ(fader->value(), 45);
    EXPECT_EQ(percent->text(), s("47%"));
    master->setSliderDown(false);
    EXPECT_EQ(rig.w.hscVolume->value(), 40);
    // A key press or a click on the track is a change too.
    master->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(fader->value(), 44);

    // Faders show full level at the top; a value the logic refuses never shows.
    EXPECT_EQ(fader->orientation(), Qt::Vertical);
    EXPECT_TRUE(fader->invertedAppearance());
    EXPECT_FALSE(rig.w.vscVolume[0]->setValue(200));
    EXPECT_EQ(fader->value(), 44);
    EXPECT_EQ(fader->maximum(), 85);

    // The spinners' up arrow raises the value.
    auto* cutFirst = view.findChild<QScrollBar*>(s("spinCutFirst"));
    ASSERT_NE(cutFirst, nullptr);
    cutFirst->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the top arrow
    EXPECT_EQ(rig.w.cutFirst(), 1);
    EXPECT_EQ(view.findChild<QLabel*>(s("lblCutFirst"))->text(), s("1"));
    rig.w.spinCutFirst->setValue(100);
    cutFirst->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(rig.w.cutFirst(), 100);
}

TEST(PlayerWindowView, ButtonsLabelsMenusAndClosing)
{
    Rig rig;
    PlayerWindowView view(rig.w);
    auto* status = view.findChild<QLabel*>(s("lblStatus"));
    EXPECT_EQ(status->text(), s("Stop"));
    EXPECT_TRUE(status->font().bold());
    rig.add("Song");
    view.findChild<QAbstractButton*>(s("btnPlay"))->click();
    EXPECT_EQ(rig.w.CurrentStatus, 1);
    EXPECT_EQ(status->text(), s("Play"));

    // Choosing a transition type clears the others; clicking it again keeps it.
    auto* cut = view.findChild<QAbstractButton*>(s("optTransition(4)"));
    cut->click();
    EXPECT_EQ(rig.w.TransitionType, 4);
    EXPECT_FALSE(view.findChild<QAbstractButton*>(s("optTransition(0)"))->isChecked());
    cut->click();
    EXPECT_TRUE(cut->isChecked());
    EXPECT_EQ(cut->toolTip(), s("Cut"));

    // The microphone switch: the mixer follows, the colours stay readable.
    auto* mic = view.findChild<QCheckBox*>(s("chkMicMute"));
    EXPECT_TRUE(mic->isChecked());
    EXPECT_EQ(mic->palette().color(QPalette::Window), QColor(255, 0, 0));
    mic->click();
    EXPECT_TRUE(rig.mixer.micMute());
    EXPECT_EQ(mic->palette().color(QPalette::Window), QColor(128, 0, 0));
    EXPECT_EQ(mic->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(mic->toolTip(), s("MIC On/Off Switch"));

    // A label painted red while a total is worked out, then back to normal.
    auto* total = view.findChild<QLabel*>(s("lblDuracionTotal"));
    const QColor normal = total->palette().color(QPalette::Window);
    rig.w.lblDuracionTotal->setBackColour(kPureRed);
    rig.w.lblDuracionTotal->setText(s("06:45"));
    EXPECT_EQ(total->text(), s("06:45"));
    EXPECT_EQ(total->palette().color(QPalette::Window), QColor(255, 0, 0));
    rig.w.lblDuracionTotal->setBackColour(std::nullopt);
    EXPECT_EQ(total->palette().color(QPalette::Window), normal);
    rig.w.btnNext->setEnabled(false);
    EXPECT_FALSE(view.findChild<QAbstractButton*>(s("btnNext"))->isEnabled());

    // Menus in the window's order, with separators; choosing an entry runs it.
    QStringList bar;
    for (QAction* a : view.menuBar()->actions())
        bar.append(a->text());
    EXPECT_EQ(bar.join(s("|")), s("&File|&List|&View|&Options|&Help"));
    QStringList list;
    for (QAction* a : view.menu(s("mnuList"))->actions())
        list.append(a->isSeparator() ? s("-") : a->text());
    EXPECT_EQ(list.join(s("|")), s("Show Item In Play|-|CUE Selected Item|Play Selected Item|-|Delete Selected "
                                   "Item|-|Random Order|-|Clear List"));
    auto* writeLog = view.findChild<QAction*>(s("mnuWriteLog"));
    writeLog->trigger();
    EXPECT_TRUE(rig.w.logSwitch());
    EXPECT_TRUE(writeLog->isChecked());
    writeLog->trigger();
    EXPECT_FALSE(rig.w.logSwitch());
    EXPECT_FALSE(writeLog->isChecked());
    EXPECT_EQ(view.statusBar()->findChild<QLabel*>(s("StatusBar1Panel2"))->text(), s("Ready"));

    // A reduced panel gives the options' room to the list.
    rig.w.show();
    auto* pitch = view.findChild<QSlider*>(s("hscPitch"));
    EXPECT_TRUE(pitch->isVisible());
    rig.w.cmdShowOptions->setCaption(s(">>"));
    EXPECT_FALSE(pitch->isVisible());

    // Closing asks the window, which asks the operator.
    view.mayClose = [&rig] {
        int cancel = 0;
        rig.w.Form_Unload(cancel);
        return cancel == 0;
    };
    bool ended = false;
    QObject::connect(&rig.w, &frmPlayer::programEndRequested, [&ended] { ended = true; });
    view.close();
    EXPECT_EQ(rig.dialogs.asked, QStringList{s("TAVLO Broadcast: Exit Program ?")});
    EXPECT_TRUE(view.isVisible());
    rig.dialogs.answerYes = true;
    view.close();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(view.isVisible());
}

TEST(PlayerWindowView, ListSelectionBothWaysAndEvents)
{
    Rig rig;
    for (const char* title : {"Delta", "Alpha", "Echo", "Bravo", "Charlie"})
        rig.add(title);
    PlaylistModel& model = *rig.w.lstClipList;
    PlayerWindowView view(rig.w);
    view.resize(441, 600);
    view.show();
    PlaylistTableView* list = view.list();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), s("Artist"));
    EXPECT_EQ(list->horizontalHeader()->sectionSize(ColTitle), 167);  // 2500 twips
    EXPECT_EQ(list->toolTip(), s("Drag and drop mp3 files from your explorer window here"));

    // The window shows the row in play: the view follows.
    rig.w.ItemPlaying = 3;
    rig.w.mnuShowItemInPlay_Click();
    QApplication::processEvents();
    EXPECT_EQ(viewSelection(*list), std::vector<int>{3});
    EXPECT_EQ(list->currentIndex().row(), 2);
    // The operator adds a row to the selection: the window sees it.
    list->selectionModel()->select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(model.selectedRows(), (std::vector<int>{1, 3}));
    // A click on the "Title" header sorts; the same songs stay selected.
    QHeaderView* header = list->horizontalHeader();
    const QPoint title(header->sectionViewportPosition(ColTitle) + 5, header->height() / 2);
    sendMouse(header->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, title);
    sendMouse(header->viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, title);
    QApplication::processEvents();
    EXPECT_EQ(list->model()->index(0, ColTitle).data().toString(), s("Alpha"));
    EXPECT_EQ(viewSelection(*list), (std::vector<int>{4, 5}));  // Delta and Echo
    model.remove(4);
    QApplication::processEvents();
    EXPECT_EQ(viewSelection(*list), std::vector<int>{4});

    // While the window has multiple selection off, a click selects one row.
    model.setMultiSelect(false);
    const QRect second = list->visualRect(model.index(1, 0));
    QMouseEvent press(QEvent::MouseButtonPress, second.center(), list->viewport()->mapToGlobal(second.center()),
                      Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(list->viewport(), &press);
    sendMouse(list->viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, second.center());
    EXPECT_EQ(model.selectedRows(), std::vector<int>{2});
    model.setMultiSelect(true);

    // A double click plays the selected song, and so does Enter.
    sendMouse(list->viewport(), QEvent::MouseButtonDblClick, Qt::LeftButton, second.center());
    EXPECT_EQ(rig.w.ItemPlaying, 2);
    EXPECT_EQ(rig.w.CurrentStatus, 1);
    list->selectionModel()->select(model.index(3, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    EXPECT_EQ(rig.w.ItemPlaying, 4);
    // A right click brings up the "&List" menu.
    sendMouse(list->viewport(), QEvent::MouseButtonRelease, Qt::RightButton, second.center());
    QMenu* menu = view.menu(s("mnuList"));
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    // A long list: everything selected and back to one row, both ways.
    std::vector<PlayListRow> many(100000, song("Song", "Artist"));
    model.append(std::move(many));
    list->selectAll();
    EXPECT_EQ(model.selectedRows().size(), 100004u);
    model.selectOnly(100000);
    QApplication::processEvents();
    EXPECT_EQ(viewSelection(*list), std::vector<int>{100000});
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualRect(model.index(99999, 0))));
}

// Fails with the names of widgets that overlap or cannot show their whole text.
void expectLegible(QWidget& window)
{
    QList<QWidget*> shown;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const bool leaf = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                          qobject_cast<QAbstractSlider*>(w) || qobject_cast<QProgressBar*>(w) ||
                          qobject_cast<QComboBox*>(w);
        if (!leaf || !w->isVisible() || qobject_cast<QAbstractItemView*>(w->parentWidget()->parentWidget()) ||
            qobject_cast<QComboBox*>(w->parentWidget()) || w->objectName().startsWith(s("qt_")))
            continue;
        shown.append(w);
        const QRect at(w->mapTo(&window, QPoint(0, 0)), w->size());
        EXPECT_TRUE(window.rect().contains(at)) << w->objectName().toStdString() << " lies outside the window";
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->wordWrap())
                EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
            else
                EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
                    << label->text().toStdString();
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) {
            const QString text = QString(button->text()).remove(QLatin1Char('&'));
            EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(text)) << text.toStdString();
        }
    }
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j) {
            if (shown[i]->isAncestorOf(shown[j]) || shown[j]->isAncestorOf(shown[i]))
                continue;
            const QRect a(shown[i]->mapTo(&window, QPoint(0, 0)), shown[i]->size());
            const QRect b(shown[j]->mapTo(&window, QPoint(0, 0)), shown[j]->size());
            EXPECT_FALSE(a.intersects(b)) << shown[i]->objectName().toStdString() << " overlaps "
                                          << shown[j]->objectName().toStdString();
        }
    }
}

// Lined up on a screen 768 pixels high: 6615 twips wide, 11520 - 1000 high.
void checkDefaultWindow(Form& window, PlaylistModel& model, const QString& picture)
{
    window.setGeometry(1500, 1500, 6615, 10520);
    PlayerWindowView view(window);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(view.size(), QSize(441, 701));
    expectLegible(view);
    for (const Control* control : window.findChildren<Control*>())
        EXPECT_NE(view.findChild<QObject*>(control->name()), nullptr) << control->name().toStdString();
    // The list, then the panel, then the progress bar, from the top down.
    const auto bottom = [&view](const char* name) {
        const QWidget* w = view.findChild<QWidget*>(s(name));
        return w->mapTo(&view, QPoint(0, w->height())).y();
    };
    EXPECT_LE(bottom("lstClipList"), bottom("Picture1") - view.findChild<QWidget*>(s("Picture1"))->height());
    EXPECT_LT(bottom("Picture1"), bottom("ProgressBar1"));
    EXPECT_EQ(view.list()->model(), &model);

    const QString dir = s(TAVLO_TEST_OUTPUT_DIR);
    QDir().mkpath(dir);
    EXPECT_TRUE(view.grab().save(dir + QLatin1Char('/') + picture + s(".png")));
    if (auto* toggle = window.findChild<Button*>(s("cmdShowOptions"))) {
        toggle->setCaption(s(">>"));
        QApplication::processEvents();
        expectLegible(view);
        EXPECT_TRUE(view.grab().save(dir + QLatin1Char('/') + picture + s("-reduced.png")));
    }
}

TEST(PlayerWindowView, DefaultWindowIsLegible)
{
    Rig rig;
    for (const char* title : {"Morning Glory", "Blue Monday", "Take Five", "So What", "Round Midnight"})
        rig.add(title, 175);
    rig.w.btnPlay->press();
    rig.time.advance(42000);  // well into the first song, its fade-in done
    checkDefaultWindow(rig.w, *rig.w.lstClipList, s("player-window"));

    // The insert window: the same deck without the mixer switches, and its
    // own controls (not built yet, so made here by name).
    PlayerWindow inserts(s("frmPlayer2"), s("TAVLO Broadcast - Time Priority"), rig.services);
    new Button(&inserts, s("cmdPrepareInsert"), s("Prepare Insert"));
    new Button(&inserts, s("cmdInsertNow"), s("Insert Now"));
    new Button(&inserts, s("cmdBackToMusic"), s("Back To Music"));
    new Button(&inserts, s("cmdAbortInsert"), s("ABORT"));
    new Button(&inserts, s("chkPlayOverMusic"), s("Play Ads Over Music"), Button::Kind::Check);
    new Button(&inserts, s("chkWaitForSong"), s("Wait for current song to end"), Button::Kind::Check);
    new Label(&inserts, s("lblReady"), s("READY"));
    new Label(&inserts, s("lblCountDown(0)"), s("00:-03"));
    checkDefaultWindow(inserts, *inserts.lstClipList, s("insert-window"));
}

}  // namespace
}  // namespace tavlo
