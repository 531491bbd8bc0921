#include "stream/frmStreamingView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "stream/frmStreaming.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tavlo {

frmStreamingView::frmStreamingView(frmStreaming& form, QWidget* parent) : FormDialog(form, nullptr, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    int row = 0;
    const std::pair<Label*, TextBox*> fields[] = {
        {form.lblServer, form.txtServer}, {form.lblPort, form.txtPort},         {form.lblMount, form.txtMount},
        {form.lblUser, form.txtUser},     {form.lblPassword, form.txtPassword},
    };
    for (const auto& [label, box] : fields) {
        grid->addWidget(boundLabel(*label, this), row, 0);
        auto* edit = boundWidget<QLineEdit>(*box, this);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
        grid->addWidget(edit, row++, 1);
    }
    findChild<QLineEdit*>(form.txtPassword->name())->setEchoMode(QLineEdit::Password);
    grid->addWidget(boundLabel(*form.lblBitrate, this), row, 0);
    grid->addWidget(boundWidget<QComboBox>(*form.cboBitrate, this), row++, 1);
    grid->addWidget(boundWidget<QCheckBox>(*form.chkEnabled, this), row++, 1);
    QLabel* status = boundLabel(*form.lblStatus, this);
    status->setWordWrap(true);
    grid->addWidget(status, row++, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (Button* b : {form.cmdOk, form.cmdCancel}) {
        auto* push = boundWidget<QPushButton>(*b, this);
        push->setAutoDefault(false);
        buttons->addWidget(push);
    }
    grid->addLayout(buttons, row, 0, 1, 2);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
