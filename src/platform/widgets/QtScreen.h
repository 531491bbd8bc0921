#pragma once

#include "platform/Screen.h"

class QWidget;

namespace tavlo {

// The available area of the screen the given window is on (the primary
// screen until it has one), converted at the screen's logical dots an inch.
// UI thread only.
class QtScreen : public Screen {
public:
    // The window whose screen counts; it must outlive this.
    void follow(const QWidget& window) { m_window = &window; }
    QSize availableTwips() const override;

private:
    const QWidget* m_window = nullptr;
};

}  // namespace tavlo
