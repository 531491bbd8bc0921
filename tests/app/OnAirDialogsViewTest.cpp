// The music window's on-air dialogs on the desktop: every control shown
// whole, and typing and OK reaching the logic.
#include "fakes/QtTestApp.h"
#include "fakes/ViewChecks.h"
#include "playback/WindowRig.h"
#include "playback/frmDeadAirView.h"
#include "stream/frmStreamingView.h"

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

template <typename W>
W* child(QWidget& view, const QString& name)
{
    auto* w = view.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

TEST(OnAirDialogsView, DeadAirAndStreamingReadWellAndTakeWhatIsTyped)
{
    WindowRig r;
    frmDeadAirView deadAir(r.w->deadAirDialog);
    frmStreamingView streaming(r.w->streaming);

    r.w->mnuDeadAir->click();
    QApplication::processEvents();
    ASSERT_TRUE(deadAir.isVisible());
    expectLegible(deadAir);
    child<QCheckBox>(deadAir, QStringLiteral("chkEnabled"))->click();
    type(child<QLineEdit>(deadAir, QStringLiteral("txtThreshold")), QStringLiteral("-55"));
    type(child<QLineEdit>(deadAir, QStringLiteral("txtSeconds")), QStringLiteral("30"));
    child<QPushButton>(deadAir, QStringLiteral("cmdOk"))->click();
    EXPECT_FALSE(deadAir.isVisible());
    const DeadAirWatch::Settings& s = r.w->deadAir.settings();
    EXPECT_EQ(std::tuple(s.enabled, s.thresholdDb, s.seconds), std::tuple(false, -55.0, 30));

    r.w->mnuStreaming->click();
    QApplication::processEvents();
    ASSERT_TRUE(streaming.isVisible());
    expectLegible(streaming);
    auto* password = child<QLineEdit>(streaming, QStringLiteral("txtPassword"));
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    type(password, QStringLiteral("s3cret"));
    EXPECT_EQ(r.w->streaming.txtPassword->text(), QStringLiteral("s3cret"));
    child<QPushButton>(streaming, QStringLiteral("cmdCancel"))->click();
    EXPECT_FALSE(streaming.isVisible());
}

}  // namespace
}  // namespace tavlo::test
