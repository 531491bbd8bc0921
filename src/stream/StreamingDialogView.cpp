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
                          {{form.lblServer, form.txtServer},
                           {form.lblPort, form.txtPort},
                           {form.lblMount, form.txtMount},
                           {form.lblUser, form.txtUser},
                           {form.lblPassword, form.txtPassword}},
                          0, 20);
    findChild<QLineEdit*>(form.txtPassword->name())->setEchoMode(QLineEdit::Password);
    grid->addWidget(boundLabel(*form.lblBitrate, this), row, 0);
    grid->addWidget(boundWidget<QComboBox>(*form.cboBitrate, this), row++, 1);
    grid->addWidget(boundWidget<QCheckBox>(*form.chkEnabled, this), row++, 1);
    QLabel* status = boundLabel(*form.lblStatus, this);
    status->setWordWrap(true);
    grid->addWidget(status, row++, 0, 1, 2);

    grid->addLayout(buttonRow({dialogButton(*form.cmdOk, this), dialogButton(*form.cmdCancel, this)}), row, 0, 1, 2);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
