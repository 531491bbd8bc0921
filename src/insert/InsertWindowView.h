#pragma once

#include "playback/PlayerWindowView.h"

namespace tavlo {

class InsertWindow;

// The insert window's widgets: the player window's view, with the insert
// controls above the list. The countdown reads from across the room, READY
// stands out when a break is prepared, and ABORT cannot be mistaken.
// UI thread only.
class InsertWindowView : public PlayerWindowView {
    Q_OBJECT
public:
    explicit InsertWindowView(InsertWindow& window, QWidget* parent = nullptr);
};

}  // namespace tavlo
