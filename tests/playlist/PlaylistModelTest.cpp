#include "playlist/PlaylistModel.h"

#include <QPersistentModelIndex>

#include <gtest/gtest.h>

using namespace tavlo;

namespace {

void fill(PlaylistModel& list, int rows)
{
    for (int i = 1; i <= rows; ++i) {
        PlayListRow r;
        r.fields[ColTitle] = QString::number(i);
        list.insert(list.count() + 1, std::move(r));
    }
}

}  // namespace

TEST(PlaylistModel, RemovingSelectedRowsFewOrMany)
{
    // A few runs go one by one; many runs go in one rebuild. Both leave the
    // same rows, in order, and nothing selected.
    for (int step : {7, 2}) {
        PlaylistModel list;
        fill(list, 100);
        int expectedGone = 0;
        for (int n = 1; n <= 100; n += step, ++expectedGone)
            list.setSelected(n, true);
        EXPECT_EQ(list.removeSelected(), expectedGone);
        EXPECT_EQ(list.count(), 100 - expectedGone);
        EXPECT_EQ(list.firstSelected(), 0);
        for (int n = 1; n <= list.count(); ++n)
            EXPECT_NE((list.text(n, ColTitle).toInt() - 1) % step, 0) << "row " << n;
    }
}

TEST(PlaylistModel, SortCarriesTheViewsCurrentRowAlong)
{
    PlaylistModel list;
    fill(list, 12);  // "1", "2", ..., "12": as text 1, 10, 11, 12, 2, ...
    QPersistentModelIndex current(list.index(1, ColTitle));  // "2"
    list.sortByColumn(ColTitle, false);
    EXPECT_EQ(list.text(2, ColTitle), QStringLiteral("10"));
    ASSERT_TRUE(current.isValid());
    EXPECT_EQ(current.data().toString(), QStringLiteral("2"));
    EXPECT_EQ(current.row(), 4);
}
