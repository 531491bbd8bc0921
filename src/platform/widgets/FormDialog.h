#pragma once

#include <QDialog>
#include <QPointer>

namespace tavlo {

class Button;
class Form;

// A modeless dialog standing for a Form. Closing it by the title bar or
// Escape is the form's own way of closing: its close button pressed, or,
// without one, the form hidden. Escape on a dialog whose form is hidden
// already just closes it.
// UI thread only.
class FormDialog : public QDialog {
    Q_OBJECT
public:
    // `closeButton` is one of the form's controls, or null.
    FormDialog(Form& form, Button* closeButton, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape.
    void reject() override;

private:
    bool formShown() const;
    void closeForm();

    QPointer<Form> m_form;
    Button* m_closeButton;
};

}  // namespace tavlo
