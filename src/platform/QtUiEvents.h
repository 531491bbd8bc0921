#pragma once

#include "platform/UiEvents.h"

namespace tavlo {

// The running program's event queue (Qt's), handled on the spot.
// UI thread only.
class QtUiEvents : public UiEvents {
public:
    void processPending() override;
};

}  // namespace tavlo
