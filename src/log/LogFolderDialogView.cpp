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
    : FormDialog(form, form.cmdClose, parent), m_form(&form)
{
    auto* label = new QLabel(this);
    label->setObjectName(form.Label1->name());
    WidgetBinder::bind(*form.Label1, *label);

    auto* path = new QLineEdit(this);
    path->setObjectName(form.txtLogPath->name());
    path->setMinimumWidth(260);
    WidgetBinder::bind(*form.txtLogPath, *path);
    auto* browse = new QPushButton(tr("Browse..."), this);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &LogFolderDialogView::browse);

    auto* ok = boundWidget<QPushButton>(*form.cmdOk, this);
    ok->setDefault(true);
    QPushButton* close = dialogButton(*form.cmdClose, this);

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
    const QString folder = QFileDialog::getExistingDirectory(this, m_form->Label1->text(), m_form->dirList->path());
    if (folder.isEmpty())
        return;
    m_form->dirList->setPath(folder);
    // The same folder again is no change for the list, but the text may
    // have been typed over since.
    m_form->txtLogPath->setText(m_form->dirList->path());
}

}  // namespace tavlo
