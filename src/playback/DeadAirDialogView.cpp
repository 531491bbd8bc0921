#include "playback/DeadAirDialogView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "playback/DeadAirDialog.h"

#include <QCheckBox>

namespace tavlo {

DeadAirDialogView::DeadAirDialogView(DeadAirDialog& form, QWidget* parent) : FormDialog(form, form.cancelButton, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->addWidget(boundWidget<QCheckBox>(*form.enabledCheck, this), 0, 0, 1, 2);
    int row = addTextRows(*grid, this, {{form.thresholdLabel, form.thresholdBox}, {form.secondsLabel, form.secondsBox}}, 1, 6);
    grid->setRowMinimumHeight(row++, 4);
    grid->addLayout(buttonRow({dialogButton(*form.okButton, this), dialogButton(*form.cancelButton, this)}), row, 0, 1, 2);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
