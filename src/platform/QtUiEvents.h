#pragma once

#include "platform/UiEvents.h"

#include <QElapsedTimer>

namespace tavlo {

// The running program's event queue (Qt's), handled on the spot, at most
// about once a display frame: a loop that offers it after each of 100,000
// rows would otherwise spend its time repainting labels nobody can see
// change that fast. A click still gets through within a frame.
// UI thread only.
class QtUiEvents : public UiEvents {
public:
    void processPending() override;

private:
    QElapsedTimer m_sinceLast;
};

}  // namespace tavlo
