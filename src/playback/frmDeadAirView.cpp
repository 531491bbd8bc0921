#include "playback/frmDeadAirView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "playback/frmDeadAir.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace tavlo {

frmDeadAirView::frmDeadAirView(frmDeadAir& form, QWidget* parent) : FormDialog(form, form.cmdCancel, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    auto* enabled = new QCheckBox(this);
    enabled->setObjectName(form.chkEnabled->name());
    WidgetBinder::bind(*form.chkEnabled, *enabled);
    grid->addWidget(enabled, 0, 0, 1, 2);
    int row = 1;
    for (auto [label, box] : {std::pair(form.lblThreshold, form.txtThreshold), std::pair(form.lblSeconds, form.txtSeconds)}) {
        grid->addWidget(boundLabel(*label, this), row, 0);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(box->name());
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-00.00")) + 16);
        WidgetBinder::bind(*box, *edit);
        grid->addWidget(edit, row++, 1, Qt::AlignLeft);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (Button* b : {form.cmdOk, form.cmdCancel}) {
        auto* push = new QPushButton(this);
        push->setObjectName(b->name());
        WidgetBinder::bind(*b, *push);
        buttons->addWidget(push);
    }
    grid->setRowMinimumHeight(row++, 4);
    grid->addLayout(buttons, row, 0, 1, 2);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
