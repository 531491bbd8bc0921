#include "web/WebRemoteDialogView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "web/WebRemoteDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tavlo {

WebRemoteDialogView::WebRemoteDialogView(WebRemoteDialog& form, QWidget* parent) : FormDialog(form, nullptr, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    int row = 0;
    grid->addWidget(boundWidget<QCheckBox>(*form.enabledCheck, this), row++, 1);
    row = addTextRows(*grid, this, {{form.addressLabel, form.addressBox}, {form.portLabel, form.portBox}}, row, 16);
    grid->addWidget(boundLabel(*form.tokenCaption, this), row, 0);
    QLabel* token = boundLabel(*form.tokenLabel, this);
    // Selected and copied by the operator, never typed over.
    token->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    grid->addWidget(token, row++, 1);
    grid->addWidget(dialogButton(*form.renewTokenButton, this), row++, 1, Qt::AlignLeft);
    QLabel* status = boundLabel(*form.statusLabel, this);
    status->setWordWrap(true);
    grid->addWidget(status, row++, 0, 1, 2);
    grid->addLayout(buttonRow({dialogButton(*form.okButton, this), dialogButton(*form.cancelButton, this)}), row, 0, 1, 2);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
