#include "insert/InsertWindowView.h"

#include "insert/InsertWindow.h"

#include <QAbstractButton>
#include <QLabel>

namespace tavlo {

namespace {

// Larger than the window's own text. The weight and colours are the window's
// (its controls carry them); only the size is the view's.
void enlarge(QWidget* widget, qreal scale)
{
    if (!widget)
        return;
    QFont f = widget->font();
    f.setPointSizeF(f.pointSizeF() * scale);
    widget->setFont(f);
}

}  // namespace

InsertWindowView::InsertWindowView(InsertWindow& window, QWidget* parent) : PlayerWindowView(window, parent)
{
    if (auto* count = findChild<QLabel*>(QStringLiteral("countDownLabel(0)"))) {
        enlarge(count, 2.0);
        // Room for the widest count at its own size, measured as the label
        // measures its text, so that the digits never push anything as they
        // change, nor the strip grow when the first one comes.
        const QFontMetrics fm(count->font());
        QSize room;
        for (const char* text : {"-00:-00", "32767"})
            room = room.expandedTo(fm.boundingRect(QRect(), Qt::AlignRight | Qt::AlignVCenter, QLatin1String(text)).size());
        count->setMinimumSize(room + QSize(8, 0));
    }
    if (auto* ready = findChild<QLabel*>(QStringLiteral("readyLabel"))) {
        enlarge(ready, 1.5);
        ready->setMinimumWidth(QFontMetrics(ready->font()).horizontalAdvance(QStringLiteral("READY")) + 4);
    }
    if (auto* abort = findChild<QAbstractButton*>(QStringLiteral("abortButton"))) {
        enlarge(abort, 1.2);
        QFont f = abort->font();
        f.setBold(true);
        abort->setFont(f);
    }
}

}  // namespace tavlo
