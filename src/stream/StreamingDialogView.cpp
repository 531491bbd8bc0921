#include "stream/StreamingDialogView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "stream/StreamingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tavlo {

StreamingDialogView::StreamingDialogView(StreamingDialog& form, QWidget* parent) : FormDialog(form, nullptr, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    int row = addTextRows(*grid, this,
                          {{form.serverLabel, form.serverBox},
                           {form.portLabel, form.portBox},
                           {form.mountLabel, form.mountBox},
                           {form.userLabel, form.userBox},
                           {form.passwordLabel, form.passwordBox}},
                          0, 20, form.passwordBox);
    grid->addWidget(boundLabel(*form.bitrateLabel, this), row, 0);
    grid->addWidget(boundWidget<QComboBox>(*form.bitrateBox, this), row++, 1);
    grid->addWidget(boundWidget<QCheckBox>(*form.enabledCheck, this), row++, 1);
    QLabel* status = boundLabel(*form.statusLabel, this);
    status->setWordWrap(true);
    grid->addWidget(status, row++, 0, 1, 2);

    grid->addLayout(buttonRow({dialogButton(*form.okButton, this), dialogButton(*form.cancelButton, this)}), row, 0, 1, 2);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
