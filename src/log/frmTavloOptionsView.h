#pragma once

#include <QDialog>
#include <QPointer>

namespace tavlo {

class frmTavloOptions;

// The log-folder window on the desktop: its label, the folder text, a
// "Browse..." button that picks a folder with the desktop's folder chooser,
// OK and X. It appears and hides as the window logic shows and hides the
// form, at the form's place; closing it by the title bar is X.
// UI thread only.
class frmTavloOptionsView : public QDialog {
    Q_OBJECT
public:
    explicit frmTavloOptionsView(frmTavloOptions& form, QWidget* parent = nullptr);
    ~frmTavloOptionsView() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape.
    void reject() override;

private:
    void browse();
    void applyForm();

    QPointer<frmTavloOptions> m_form;
    bool m_formShown = false;
};

}  // namespace tavlo
