#include "nowplaying/NowPlayingReportView.h"

#include "nowplaying/NowPlayingReport.h"
#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>

namespace tavlo {

NowPlayingReportView::NowPlayingReportView(NowPlayingReport& form, QWidget* parent) : FormDialog(form, nullptr, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    int row = 0;
    grid->addWidget(boundLabel(*form.Label1, this), row, 0);
    grid->addWidget(boundWidget<QCheckBox>(*form.chkSend, this), row++, 1);
    row = addTextRows(*grid, this,
                      {{form.lblUserName, form.txtUserName},
                       {form.lblPassword, form.txtPassword},
                       {form.lblTitle, form.txtTitle},
                       {form.lblArtist, form.txtArtist},
                       {form.lblAlbum, form.txtAlbum},
                       {form.lblSeconds, form.txtSeconds},
                       {form.lblFilename, form.txtFilename}},
                      row, 24);
    findChild<QLineEdit*>(form.txtPassword->name())->setEchoMode(QLineEdit::Password);
    grid->addLayout(buttonRow({dialogButton(*form.cmdSendId3Tags, this)}), row++, 0, 1, 2);

    grid->addWidget(boundLabel(*form.lblResponse, this), row++, 0, 1, 2);
    auto* page = new QTextBrowser(this);
    page->setObjectName(form.WebBrowser1->name());
    page->setOpenLinks(false);
    page->setMinimumHeight(page->fontMetrics().height() * 8);
    Label* answer = form.WebBrowser1;
    auto show = [page, answer] { page->setHtml(answer->text()); };
    connect(answer, &Control::changed, page, show);
    show();
    grid->addWidget(page, row, 0, 1, 2);
    grid->setRowStretch(row, 1);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
