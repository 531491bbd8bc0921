#include "platform/widgets/QtDialogsWidget.h"

#include <gtest/gtest.h>

namespace tavlo {
namespace {

TEST(QtUserDialogs, FiltersBecomeQtFilters)
{
    // The program's own filters, in the shape the file dialogs of its menus use.
    EXPECT_EQ(QtUserDialogs::toQtFilter(QStringLiteral("Media Files|*.mp3; *.wav;*.m3u|All Files|*.*")),
              QStringLiteral("Media Files (*.mp3 *.wav *.m3u);;All Files (*.*)"));
    // A description that already shows its patterns does not show them twice.
    EXPECT_EQ(QtUserDialogs::toQtFilter(QStringLiteral("Playlists (*.m3u)|*.m3u")), QStringLiteral("Playlists (*.m3u)"));
    EXPECT_EQ(QtUserDialogs::toQtFilter(QStringLiteral("Events (*.tmg)")), QStringLiteral("Events (*.tmg)"));
    EXPECT_EQ(QtUserDialogs::toQtFilter(QStringLiteral("|*.mp3|Dangling")), QStringLiteral("*.mp3 (*.mp3)"));
}

}  // namespace
}  // namespace tavlo
