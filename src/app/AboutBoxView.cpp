#include "app/AboutBoxView.h"

#include "app/AboutBox.h"
#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavlo {

AboutBoxView::AboutBoxView(AboutBox& form, QWidget* parent) : FormDialog(form, form.cmdOK, parent)
{
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(QIcon(QStringLiteral(":/tavlo.png")).pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);

    auto* text = new QVBoxLayout;
    for (Label* state : {form.Label1, form.lblVersion, form.lblDescription, form.lblTitle, form.Label2, form.Label5}) {
        auto* label = new QLabel(this);
        label->setObjectName(state->name());
        label->setWordWrap(true);
        WidgetBinder::bind(*state, *label);
        if (state == form.Label1) {
            QFont bigger = label->font();
            bigger.setBold(true);
            bigger.setPointSizeF(bigger.pointSizeF() * 1.4);
            label->setFont(bigger);
        }
        if (state == form.Label2 || state == form.Label5) {
            QFont link = label->font();
            link.setUnderline(true);
            label->setFont(link);
            label->setCursor(Qt::PointingHandCursor);
            label->setForegroundRole(QPalette::Link);
        }
        text->addWidget(label);
    }
    text->addStretch(1);

    auto* ok = boundWidget<QPushButton>(*form.cmdOK, this);
    ok->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top, 1);
    column->addLayout(buttonRow({ok}));
    setMinimumWidth(380);

    new FormFollower(form, *this, FormFollower::Placement::Place);
}

}  // namespace tavlo
