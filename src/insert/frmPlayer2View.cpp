#include "insert/frmPlayer2View.h"

#include "insert/frmPlayer2.h"

#include <QLabel>

namespace tavlo {

frmPlayer2View::frmPlayer2View(frmPlayer2& window, QWidget* parent) : PlayerWindowView(window, parent)
{
    if (auto* count = findChild<QLabel*>(QStringLiteral("lblCountDown(0)"))) {
        QFont f = count->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 2.5);
        count->setFont(f);
    }
}

}  // namespace tavlo
