#pragma once

#include <QMainWindow>
#include <QPointer>

#include <functional>

namespace tavlo {

class frmTiming;

// The scheduler window on the desktop: its menus, the event list, the clock
// and the three buttons, bound to frmTiming's controls by name. It also
// makes the views of the scheduler's two dialogs, which appear and hide as
// their forms do.
// UI thread only.
class frmTimingView : public QMainWindow {
    Q_OBJECT
public:
    explicit frmTimingView(frmTiming& window, QWidget* parent = nullptr);
    ~frmTimingView() override;

    // Asked when the user closes the window; false keeps it open.
    std::function<bool()> mayClose;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applyForm();

    QPointer<frmTiming> m_form;
    bool m_formShown = false;
};

}  // namespace tavlo
