#pragma once

#include "playback/PlayerWindowView.h"

namespace tavlo {

class frmPlayer2;

// The insert window's widgets: the player window's view, with the insert
// controls above the list and a countdown that reads from across the room.
// UI thread only.
class frmPlayer2View : public PlayerWindowView {
    Q_OBJECT
public:
    explicit frmPlayer2View(frmPlayer2& window, QWidget* parent = nullptr);
};

}  // namespace tavlo
