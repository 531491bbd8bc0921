// The music window skipping a song gone silent on air, on fake media whose
// output level the test sets.
#include "playback/WindowRig.h"
#include "fakes/TestText.h"

#include <gtest/gtest.h>

#include <cmath>

#include <tuple>

namespace tavlo::test {
namespace {

using tavlo::test::s;

struct Watched : WindowRig {
    QStringList errors;
    QString a = add(s("a"), 300);
    QString b = add(s("b"), 300);
    Watched()
    {
        QObject::connect(w, &PlayerWindow::logEntryWritten,
                         [this](const QString& error, const QString& path) {
                             if (!error.isEmpty())
                                 errors << error + path;
                         });
        w->play();
        time.advance(3000);  // the fade-in over
    }
    void level(double db) { media.watchPeak = static_cast<float>(std::pow(10.0, db / 20.0)); }
};

TEST(DeadAir, SilenceForTheSetTimeSkipsTheSongOnlyWhileItShouldSound)
{
    Watched r;
    // Quiet is not silent; silence just short of the time is not enough.
    r.level(-40);
    r.time.advance(30000);
    r.level(-60);
    r.time.advance(14800);
    r.level(-20);
    r.time.advance(200);
    r.level(-60);
    ASSERT_EQ(r.pathInPlay(), r.a);

    // Paused, then a ramp running: the count waits.
    r.w->pause();
    r.time.advance(20000);
    r.w->pause();
    EXPECT_EQ(r.pathInPlay(), r.a);
    r.time.advance(14900);
    EXPECT_EQ(r.pathInPlay(), r.a);
    r.time.advance(200);
    // Moved on as Next does.
    EXPECT_EQ(std::tuple(r.pathInPlay(), r.errors, r.w->rampTimer().isEnabled()),
              std::tuple(r.b, QStringList{s("**SILENCE** /music/a.mp3")}, true));
    r.time.advance(15500);  // b's silence counts from the ramp's end, a second on
    EXPECT_EQ(r.pathInPlay(), r.b);

    // Switched off in the dialog: silence plays on, and the setting is kept.
    r.w->deadAirItem->click();
    ASSERT_TRUE(r.w->deadAirDialog.isVisible());
    r.w->deadAirDialog.enabledCheck->setValue(0);
    r.w->deadAirDialog.okButton->press();
    r.time.advance(60000);
    EXPECT_EQ(r.pathInPlay(), r.b);
    r.w->saveSettings();
    MusicWindow again(r.services);
    again.loadSettings();
    EXPECT_FALSE(again.deadAir.settings().enabled);
}

}  // namespace
}  // namespace tavlo::test
