#include "playlist/PlaylistModel.h"

#include <QPersistentModelIndex>

#include <gtest/gtest.h>

using namespace tavlo;

TEST(PlaylistModel, BulkRemovalAndSortKeepRowsAndTheViewsCurrentRow)
{
    for (int step : {7, 2}) {  // a few runs of selected rows, then many
        PlaylistModel list;
        for (int i = 1; i <= 100; ++i) {
            PlayListRow r;
            r.fields[ColTitle] = QString::number(i);
            r.selected = (i - 1) % step == 0;
            list.insert(i, std::move(r));
        }
        EXPECT_EQ(list.removeSelected(), (99 / step) + 1);
        EXPECT_EQ(list.firstSelected(), 0);
        for (int n = 1; n <= list.count(); ++n)
            EXPECT_NE((list.text(n, ColTitle).toInt() - 1) % step, 0);

        // As text "10" sorts before "2"; a view's current row goes with its row.
        QPersistentModelIndex current(list.index(0, ColTitle));
        const QString text = current.data().toString();
        list.sortByColumn(ColTitle, true);
        EXPECT_EQ(list.text(1, ColTitle), QStringLiteral("98"));
        EXPECT_EQ(current.data().toString(), text);
    }
}
