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
    grid->addWidget(boundLabel(*form.headingLabel, this), row, 0);
    grid->addWidget(boundWidget<QCheckBox>(*form.sendCheck, this), row++, 1);
    row = addTextRows(*grid, this,
                      {{form.userNameLabel, form.userNameBox},
                       {form.passwordLabel, form.passwordBox},
                       {form.titleLabel, form.titleBox},
                       {form.artistLabel, form.artistBox},
                       {form.albumLabel, form.albumBox},
                       {form.secondsLabel, form.secondsBox},
                       {form.fileNameLabel, form.fileNameBox}},
                      row, 24, form.passwordBox);
    grid->addLayout(buttonRow({dialogButton(*form.sendButton, this)}), row++, 0, 1, 2);

    grid->addWidget(boundLabel(*form.responseLabel, this), row++, 0, 1, 2);
    auto* page = new QTextBrowser(this);
    page->setObjectName(form.responsePage->name());
    page->setOpenLinks(false);
    page->setMinimumHeight(page->fontMetrics().height() * 8);
    Label* answer = form.responsePage;
    auto show = [page, answer] { page->setHtml(answer->text()); };
    connect(answer, &Control::changed, page, show);
    show();
    grid->addWidget(page, row, 0, 1, 2);
    grid->setRowStretch(row, 1);

    new FormFollower(form, *this, FormFollower::Placement::PlaceWhenPlaced);
}

}  // namespace tavlo
