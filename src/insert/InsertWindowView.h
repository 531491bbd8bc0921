#pragma once

#include "playback/PlayerWindowView.h"

namespace tavlo {

class InsertWindow;

// The insert window's widgets: the player window's view, with the break's
// controls above the list and its two switches in the options. The
// countdown reads from across the room, READY stands out when a break is
// prepared, and ABORT cannot be mistaken.
// UI thread only.
class InsertWindowView : public PlayerWindowView {
    Q_OBJECT
public:
    explicit InsertWindowView(InsertWindow& window, QWidget* parent = nullptr);

private:
    static Extras extras(InsertWindow& window);
    // Above the list: the workflow's buttons, READY and ABORT below them
    // for the break in hand, and the countdown large at the right.
    static QWidget* buildBreakControls(PlayerWindowView& view, InsertWindow& window);
};

}  // namespace tavlo
