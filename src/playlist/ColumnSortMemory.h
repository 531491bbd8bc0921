#pragma once

namespace tavlo {

// Which column a window's list was last sorted by, and in which direction,
// held for the life of the window. Clicking the same header again flips the
// direction; clicking another header keeps it. UI thread only.
struct ColumnSortMemory {
    int SortColumn = 0;      // 1 = "Title" .. 10 = "TotLength"; 0 before the first click
    int SortDescending = 0;  // 0 ascending, 1 descending

    // A click on header `column` (1..10): updates the memory and returns the
    // direction to sort in (0 ascending, 1 descending). Other numbers change
    // nothing.
    int columnClicked(int column)
    {
        if (column < 1 || column > 10)
            return SortDescending;
        if (column == SortColumn)
            SortDescending = SortDescending ? 0 : 1;
        else
            SortColumn = column;
        return SortDescending;
    }
};

}  // namespace tavlo
