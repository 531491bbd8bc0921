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

TEST(frmPlayerSettings, FirstStartDefaultsAndEverythingChangedIsBackAfterARestart)
{
    WindowRig before(false);
    before.mixer.setMicMute(true);
    before.w->Form_Load();
    frmPlayer& w = *before.w;
    // Stopped, nothing opened, the other channel silent.
    EXPECT_EQ(w.lblStatus->text(), QStringLiteral("Stop"));
    EXPECT_TRUE(before.media.streams().empty());
    EXPECT_EQ(before.fader(1), 85);
    // Ticked means the line is on: MIC (muted on the card) is not, Line is.
    EXPECT_EQ(std::pair(w.chkMicMute->value(), w.chkLinMute->value()), std::pair(0, 1));
    w.chkLinMute->setValue(0);
    EXPECT_TRUE(before.mixer.lineMute());
    EXPECT_EQ(w.chkLinMute->backColour(), Colour(kDarkRed));

    EXPECT_EQ(std::tuple(w.TransitionTime, w.spinTransitionTime->value(), w.TransitionType, w.optTransition[0]->value()),
              std::tuple(1, 1, 0, 1));
    EXPECT_EQ(std::tuple(w.cutFirst(), w.cutLast(), w.hscVolume->value(), w.chkRndPlay->value()), std::tuple(0, 0, 64, 0));
    EXPECT_EQ(std::tuple(w.showOptionsTop(), w.showOptions(), w.panelHeight()), std::tuple(264.0f, 1, 4335));
    EXPECT_EQ(w.cmdShowOptions->caption(), QStringLiteral("Hide Options"));
    EXPECT_EQ(std::tuple(w.strLogPath, w.logSwitch(), w.mnuWriteLog->checked()),
              std::tuple(QStringLiteral("/opt/tavlo/"), false, false));
    // Lined up on the 768-pixel screen, whatever was stored.
    EXPECT_EQ(std::tuple(w.top(), w.left(), w.height()), std::tuple(100, 100, 10520));

    w.spinTransitionTime->setValue(7);
    w.optTransition[3]->setValue(1);
    w.spinCutFirst->setValue(4);
    w.spinCutLast->setValue(6);
    w.hscVolume->setValue(40);
    w.chkRndPlay->setValue(1);
    w.cmdShowOptions->press();
    w.setGeometry(300, 450, 6615, 9000);
    w.strLogPath = QStringLiteral("/var/log/tavlo/");
    w.mnuWriteLog->click();

    int cancel = 0;
    w.Form_Unload(cancel);  // saved before the question, answered No
    // Under the program's application name, in its text forms.
    EXPECT_EQ(before.settings.values.value(key("Settings", "WriteLog")), QStringLiteral("True"));
    EXPECT_EQ(before.settings.values.value(key("Buttons", "cmdShowOptionsTop")), QStringLiteral("143"));

    WindowRig after(false);
    after.settings.values = before.settings.values;
    after.w->Form_Load();
    frmPlayer& v = *after.w;
    EXPECT_EQ(std::tuple(v.TransitionTime, v.spinTransitionTime->value(), v.TransitionType, v.optTransition[3]->value()),
              std::tuple(7, 7, 3, 1));
    EXPECT_EQ(std::pair(v.cutFirst(), v.cutLast()), std::pair(4, 6));
    EXPECT_EQ(v.hscVolume->value(), 40);
    EXPECT_EQ(v.chkRndPlay->value(), 1);
    EXPECT_EQ(std::tuple(v.panelHeight(), v.showOptionsTop(), v.showOptions()), std::tuple(2415, 143.0f, 0));
    EXPECT_EQ(v.cmdShowOptions->caption(), QStringLiteral(">>"));
    // The place is kept, but start-up lines the windows up over it.
    EXPECT_EQ(std::tuple(after.settings.values.value(key("Window", "Top")), after.settings.values.value(key("Window", "Left")),
                         after.settings.values.value(key("Window", "Height"))),
              std::tuple(QStringLiteral("450"), QStringLiteral("300"), QStringLiteral("9000")));
    EXPECT_EQ(std::tuple(v.top(), v.left(), v.height()), std::tuple(100, 100, 10520));
    EXPECT_EQ(v.strLogPath, QStringLiteral("/var/log/tavlo/"));
    EXPECT_TRUE(v.logSwitch());
    EXPECT_TRUE(v.mnuWriteLog->checked());

    // And it unfolds again.
    v.cmdShowOptions->press();
    EXPECT_EQ(std::tuple(v.panelHeight(), v.showOptionsTop(), v.showOptions()), std::tuple(4335, 270.0f, 1));
}

TEST(frmPlayerSettings, GarbageLoadsWhatItCanAndKeepsTheRest)
{
    WindowRig r(false);
    auto& stored = r.settings.values;
    stored.insert(key("Transitions", "TransitionTime"), QStringLiteral("fast"));
    stored.insert(key("Transitions", "TransitionType"), QStringLiteral("4"));
    stored.insert(key("Trimming", "CutFirst"), QStringLiteral("150"));
    stored.insert(key("BasicAudio", "Volume"), QStringLiteral("200"));
    stored.insert(key("RandomPlayback", "rnd"), QStringLiteral("7"));
    stored.insert(key("Settings", "WriteLog"), QStringLiteral("maybe"));
    r.w->Form_Load();
    frmPlayer& w = *r.w;

    EXPECT_EQ(w.TransitionTime, 0);  // as made: one ramp tick per change
    EXPECT_EQ(w.spinTransitionTime->value(), 100);
    EXPECT_EQ(w.TransitionType, 4);
    EXPECT_EQ(w.optTransition[4]->value(), 1);
    EXPECT_EQ(w.cutFirst(), 150);  // the member takes it, the spinner refuses it
    EXPECT_EQ(w.spinCutFirst->value(), 0);
    EXPECT_EQ(w.hscVolume->value(), 0);
    EXPECT_EQ(w.chkRndPlay->value(), 0);
    EXPECT_FALSE(w.logSwitch());

    // The next song long enough is trimmed by 150 s at its start.
    r.add(QStringLiteral("long"), 400);
    w.btnPlay_Click();
    EXPECT_EQ(w.songStart(), 150);
}
