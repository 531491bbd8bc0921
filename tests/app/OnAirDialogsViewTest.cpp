// The music window's on-air dialogs on the desktop: every control shown
// whole, and typing and OK reaching the logic.
#include "fakes/QtTestApp.h"
#include "fakes/ViewChecks.h"
#include "playback/WindowRig.h"
#include "playback/DeadAirDialogView.h"
#include "stream/StreamingDialogView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace tavlo::test {
namespace {

// As the user types it: a text set from code is not the user's.
void type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST(OnAirDialogsView, DeadAirAndStreamingReadWellAndTakeWhatIsTyped)
{
    WindowRig r;
    DeadAirDialogView deadAir(r.w->deadAirDialog);
    StreamingDialogView streaming(r.w->streaming);

    r.w->deadAirItem->click();
    QApplication::processEvents();
    ASSERT_TRUE(deadAir.isVisible());
    expectLegible(deadAir);
    child<QCheckBox>(deadAir, "chkEnabled")->click();
    type(child<QLineEdit>(deadAir, "txtThreshold"), QStringLiteral("-55"));
    type(child<QLineEdit>(deadAir, "txtSeconds"), QStringLiteral("30"));
    child<QPushButton>(deadAir, "cmdOk")->click();
    EXPECT_FALSE(deadAir.isVisible());
    const DeadAirWatch::Settings& s = r.w->deadAir.settings();
    EXPECT_EQ(std::tuple(s.enabled, s.thresholdDb, s.seconds), std::tuple(false, -55.0, 30));

    r.w->streamingItem->click();
    QApplication::processEvents();
    ASSERT_TRUE(streaming.isVisible());
    expectLegible(streaming);
    auto* password = child<QLineEdit>(streaming, "txtPassword");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    type(password, QStringLiteral("s3cret"));
    EXPECT_EQ(r.w->streaming.passwordBox->text(), QStringLiteral("s3cret"));
    child<QPushButton>(streaming, "cmdCancel")->click();
    EXPECT_FALSE(streaming.isVisible());
}

}  // namespace
}  // namespace tavlo::test
