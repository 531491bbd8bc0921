#include "platform/widgets/FormDialog.h"

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"

#include <QCloseEvent>

namespace tavlo {

FormDialog::FormDialog(Form& form, Button* closeButton, QWidget* parent)
    : QDialog(parent), m_form(&form), m_closeButton(closeButton)
{
    setObjectName(form.objectName());
    setModal(false);
}

bool FormDialog::formShown() const { return m_form && m_form->isVisible(); }

void FormDialog::closeForm()
{
    // The button is the form's child, so it lives as long as the form.
    if (m_closeButton)
        m_closeButton->press();
    else
        m_form->hide();
}

void FormDialog::closeEvent(QCloseEvent* event)
{
    if (formShown())
        closeForm();
    event->accept();
}

void FormDialog::reject()
{
    if (formShown())
        closeForm();
    else
        QDialog::reject();
}

}  // namespace tavlo
