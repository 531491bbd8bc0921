#pragma once

#include "playback/PlayerWindowView.h"

namespace tavlo {

class MusicWindow;

// The music window's widgets: the player window's view, with the mixer's
// MIC and Line switches, the buttons that show the other windows, the
// output meter beside the channel faders and the stream's state at the
// status bar's right end.
// UI thread only.
class MusicWindowView : public PlayerWindowView {
    Q_OBJECT
public:
    explicit MusicWindowView(MusicWindow& window, QWidget* parent = nullptr);

private:
    static Extras extras(MusicWindow& window);
};

}  // namespace tavlo
