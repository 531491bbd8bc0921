#include "platform/QtUiEvents.h"

#include <QCoreApplication>

namespace tavlo {

namespace {
constexpr qint64 kFrameMs = 10;
}  // namespace

void QtUiEvents::processPending()
{
    if (!QCoreApplication::instance())
        return;
    if (m_sinceLast.isValid() && m_sinceLast.elapsed() < kFrameMs)
        return;
    QCoreApplication::processEvents();
    m_sinceLast.start();
}

}  // namespace tavlo
