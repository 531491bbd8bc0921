// The music window's settings across a restart: first start, everything
// changed and read back, and a settings file with garbage in it.
#include "playback/WindowRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const QString kApp = QStringLiteral("TAVLO BroadcastTAVLO Broadcast Music");

QString key(const char* section, const char* name)
{
    return kApp + QLatin1Char('|') + QLatin1String(section) + QLatin1Char('|') + QLatin1String(name);
}

}  // namespace

TEST(MusicWindowSettings, FirstStartDefaultsAndEverythingChangedIsBackAfterARestart)
{
    WindowRig before(false);
    before.w->load();
    MusicWindow& w = *before.w;
    // Stopped, nothing opened, the other channel silent. (The mixer switches
    // and the lined-up place are the mixer and layout tests'.)
    EXPECT_EQ(std::pair(before.media.streams().size(), before.fader(1)), std::pair(std::size_t{0}, 85));
    EXPECT_EQ(std::tuple(w.transitionTime(), w.transitionType(), w.transitionButtons[0]->value(), w.cutFirst(), w.cutLast()),
              std::tuple(1, TransitionType::CrossDissolve, 1, 0, 0));
    EXPECT_EQ(std::tuple(w.masterVolume->value(), w.shuffleCheck->value(), w.showOptions(), w.panelHeight()), std::tuple(64, 0, 1, 4335));
    EXPECT_EQ(std::tuple(w.logFolder(), w.logSwitch()), std::tuple(QStringLiteral("/opt/tavlo/"), false));

    w.transitionTimeSpinner->setValue(7);
    w.transitionButtons[3]->setValue(1);
    w.cutFirstSpinner->setValue(4);
    w.cutLastSpinner->setValue(6);
    w.masterVolume->setValue(40);
    w.shuffleCheck->setValue(1);
    w.showOptionsButton->press();
    w.setGeometry(300, 450, 6615, 9000);
    w.setLogFolder(QStringLiteral("/var/log/tavlo/"));
    w.writeLogItem->click();

    EXPECT_FALSE(w.mayClose());  // saved before the question, answered No
    // Under the program's application name, in its text forms.
    EXPECT_EQ(before.settings.values.value(key("Settings", "WriteLog")), QStringLiteral("True"));
    EXPECT_EQ(before.settings.values.value(key("Buttons", "cmdShowOptionsTop")), QStringLiteral("143"));
    // The place is kept, though start-up lines the windows up over it.
    EXPECT_EQ(before.settings.values.value(key("Window", "Left")), QStringLiteral("300"));

    WindowRig after(false);
    after.settings.values = before.settings.values;
    after.w->load();
    MusicWindow& v = *after.w;
    EXPECT_EQ(std::tuple(v.transitionTime(), v.transitionTimeSpinner->value(), v.transitionType(), v.transitionButtons[3]->value()),
              std::tuple(7, 7, TransitionType::Mix, 1));
    EXPECT_EQ(std::tuple(v.cutFirst(), v.cutLast(), v.masterVolume->value(), v.shuffleCheck->value()), std::tuple(4, 6, 40, 1));
    EXPECT_EQ(std::tuple(v.panelHeight(), v.showOptionsTop(), v.showOptions()), std::tuple(2415, 143.0f, 0));
    EXPECT_EQ(std::tuple(v.logFolder(), v.logSwitch(), v.writeLogItem->checked()), std::tuple(QStringLiteral("/var/log/tavlo/"), true, true));
}

TEST(MusicWindowSettings, GarbageLoadsWhatItCanAndKeepsTheRest)
{
    WindowRig r(false);
    auto& stored = r.settings.values;
    stored.insert(key("Transitions", "TransitionTime"), QStringLiteral("fast"));
    stored.insert(key("Transitions", "TransitionType"), QStringLiteral("4"));
    stored.insert(key("Trimming", "CutFirst"), QStringLiteral("150"));
    stored.insert(key("BasicAudio", "Volume"), QStringLiteral("200"));
    stored.insert(key("RandomPlayback", "rnd"), QStringLiteral("7"));
    stored.insert(key("Settings", "WriteLog"), QStringLiteral("maybe"));
    r.w->load();
    MusicWindow& w = *r.w;

    // TransitionTime as made (one ramp tick per change); the cut taken by the
    // member and refused by the spinner; the rest refused.
    EXPECT_EQ(std::tuple(w.transitionTime(), w.transitionTimeSpinner->value(), w.transitionType(), w.transitionButtons[4]->value()),
              std::tuple(0, 100, TransitionType::Cut, 1));
    EXPECT_EQ(std::tuple(w.cutFirst(), w.cutFirstSpinner->value(), w.masterVolume->value(), w.shuffleCheck->value(), w.logSwitch()),
              std::tuple(150, 0, 0, 0, false));

    // The next song long enough is trimmed by 150 s at its start.
    r.add(QStringLiteral("long"), 400);
    w.play();
    EXPECT_EQ(w.songStart(), 150);
}
