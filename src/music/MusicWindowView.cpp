#include "music/MusicWindowView.h"

#include "music/MusicWindow.h"

namespace tavlo {

MusicWindowView::MusicWindowView(MusicWindow& window, QWidget* parent)
    : PlayerWindowView(window, extras(window), parent)
{
}

PlayerWindowView::Extras MusicWindowView::extras(MusicWindow& window)
{
    Extras e;
    e.switches = {window.micSwitch, window.lineSwitch};
    e.beforeSearch = window.showInsertWindowButton;
    e.afterSearch = window.nowPlayingButton;
    for (size_t ch = 0; ch < 2; ++ch) {
        e.meters[ch] = window.outputMeter.peakBars[ch];
        e.meterHolds[ch] = window.outputMeter.holdLabels[ch];
    }
    e.statusBarEnd = window.streamingStatusLabel;
    return e;
}

}  // namespace tavlo
