#include "platform/widgets/QtScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace tavlo {

QSize QtScreen::availableTwips() const
{
    const QScreen* screen = m_window ? m_window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return noScreen().availableTwips();
    const QRect area = screen->availableGeometry();
    const double dpi = screen->logicalDotsPerInchY() > 0 ? screen->logicalDotsPerInchY() : 96.0;
    const double perPixel = 1440.0 / dpi;
    return QSize(static_cast<int>(std::lround(area.width() * perPixel)),
                 static_cast<int>(std::lround(area.height() * perPixel)));
}

}  // namespace tavlo
