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

AboutBoxView::AboutBoxView(AboutBox& form, QWidget* parent) : FormDialog(form, form.okButton, parent)
{
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(QIcon(QStringLiteral(":/tavlo.png")).pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);

    auto* text = new QVBoxLayout;
    for (Label* state : {form.productLabel, form.versionLabel, form.descriptionLabel, form.authorsLabel, form.emailLabel, form.websiteLabel}) {
        auto* label = new QLabel(this);
        label->setObjectName(state->name());
        label->setWordWrap(true);
        WidgetBinder::bind(*state, *label);
        if (state == form.productLabel) {
            QFont bigger = label->font();
            bigger.setBold(true);
            bigger.setPointSizeF(bigger.pointSizeF() * 1.4);
            label->setFont(bigger);
        }
        if (state == form.emailLabel || state == form.websiteLabel) {
            QFont link = label->font();
            link.setUnderline(true);
            label->setFont(link);
            label->setCursor(Qt::PointingHandCursor);
            label->setForegroundRole(QPalette::Link);
        }
        text->addWidget(label);
    }
    text->addStretch(1);

    auto* ok = boundWidget<QPushButton>(*form.okButton, this);
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
