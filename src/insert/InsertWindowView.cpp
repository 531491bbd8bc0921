#include "insert/InsertWindowView.h"

#include "insert/InsertWindow.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace tavlo {

namespace {

// Larger than the window's own text. The weight and colours are the window's
// (its controls carry them); only the size is the view's.
void enlarge(QWidget* widget, qreal scale)
{
    QFont f = widget->font();
    f.setPointSizeF(f.pointSizeF() * scale);
    widget->setFont(f);
}

}  // namespace

InsertWindowView::InsertWindowView(InsertWindow& window, QWidget* parent)
    : PlayerWindowView(window, extras(window), parent)
{
}

PlayerWindowView::Extras InsertWindowView::extras(InsertWindow& window)
{
    Extras e;
    e.aboveList = [&window](PlayerWindowView& view) { return buildBreakControls(view, window); };
    e.switches = {window.playOverMusicCheck, window.waitForSongCheck};
    e.outputBesideWindowButtons = true;
    return e;
}

QWidget* InsertWindowView::buildBreakControls(PlayerWindowView& view, InsertWindow& window)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    for (Button* state : {window.prepareInsertButton, window.insertNowButton, window.backToMusicButton})
        buttons->addWidget(view.button(state), 1);
    auto* prepared = new QHBoxLayout;
    prepared->setSpacing(10);
    QLabel* ready = view.label(window.readyLabel);
    QAbstractButton* abort = view.button(window.abortButton);
    // Shown only while a break is prepared; their room stays so that
    // nothing moves under the operator's pointer when they come and go.
    for (QWidget* w : {static_cast<QWidget*>(ready), static_cast<QWidget*>(abort)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        prepared->addWidget(w);
    }
    prepared->addStretch(1);
    QLabel* count = view.label(window.countDownLabel, Qt::AlignRight | Qt::AlignVCenter);
    grid->addLayout(buttons, 0, 0);
    grid->addLayout(prepared, 1, 0);
    grid->addWidget(count, 0, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(2, 1);

    enlarge(count, 2.0);
    // Room for the widest count at its own size, measured as the label
    // measures its text, so that the digits never push anything as they
    // change, nor the strip grow when the first one comes.
    const QFontMetrics fm(count->font());
    QSize room;
    for (const char* text : {"-00:-00", "32767"})
        room = room.expandedTo(fm.boundingRect(QRect(), Qt::AlignRight | Qt::AlignVCenter, QLatin1String(text)).size());
    count->setMinimumSize(room + QSize(8, 0));
    enlarge(ready, 1.5);
    ready->setMinimumWidth(QFontMetrics(ready->font()).horizontalAdvance(QStringLiteral("READY")) + 4);
    enlarge(abort, 1.2);
    QFont f = abort->font();
    f.setBold(true);
    abort->setFont(f);
    return view.container(grid);
}

}  // namespace tavlo
