#include "playback/DeadAirDialogView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "playback/DeadAirDialog.h"

#include <QCheckBox>

namespace tavlo {

DeadAirDialogView::DeadAirDialogView(DeadAirDialog& form, QWidget* parent) : FormDialog(form, form.cmdCancel, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->addWidget(boundWidget<QCheckBox>(*form.chkEnabled, this), 0, 0, 1, 2);
    int row = addTextRows(*grid, this, {{form.lblThreshold, form.txtThreshold}, {form.lblSeconds, form.txtSeconds}}, 1, 6);
    grid->setRowMinimumHeight(row++, 4);
    grid->addLayout(buttonRow({dialogButton(*form.cmdOk, this), dialogButton(*form.cmdCancel, this)}), row, 0, 1, 2);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
