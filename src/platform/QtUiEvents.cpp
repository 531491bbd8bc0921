#include "platform/QtUiEvents.h"

#include <QCoreApplication>

namespace tavlo {

void QtUiEvents::processPending()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

}  // namespace tavlo
