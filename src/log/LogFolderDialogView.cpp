#include "log/LogFolderDialogView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "log/LogFolderDialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavlo {

LogFolderDialogView::LogFolderDialogView(LogFolderDialog& form, QWidget* parent)
    : FormDialog(form, form.closeButton, parent), m_form(&form)
{
    auto* label = new QLabel(this);
    label->setObjectName(form.headingLabel->name());
    WidgetBinder::bind(*form.headingLabel, *label);

    auto* path = new QLineEdit(this);
    path->setObjectName(form.folderBox->name());
    path->setMinimumWidth(260);
    WidgetBinder::bind(*form.folderBox, *path);
    auto* browse = new QPushButton(tr("Browse..."), this);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &LogFolderDialogView::browse);

    auto* ok = boundWidget<QPushButton>(*form.okButton, this);
    ok->setDefault(true);
    QPushButton* close = dialogButton(*form.closeButton, this);

    auto* column = new QVBoxLayout(this);
    column->addWidget(label);
    auto* folder = new QHBoxLayout;
    folder->addWidget(path, 1);
    folder->addWidget(browse);
    column->addLayout(folder);
    column->addStretch(1);
    column->addLayout(buttonRow({ok, close}));

    new FormFollower(form, *this, FormFollower::Placement::Place);
}

void LogFolderDialogView::browse()
{
    if (!m_form)
        return;
    const QString folder = QFileDialog::getExistingDirectory(this, m_form->headingLabel->text(), m_form->folderList->path());
    if (folder.isEmpty())
        return;
    m_form->folderList->setPath(folder);
    // The same folder again is no change for the list, but the text may
    // have been typed over since.
    m_form->folderBox->setText(m_form->folderList->path());
}

}  // namespace tavlo
