#pragma once

#include <QMainWindow>

#include <functional>

namespace tavlo {

class PlaylistTableView;
class frmEventView;
class frmOptionsView;
class frmTiming;

// The scheduler window on the desktop: its menus, the event list, the clock
// and the three buttons, bound to frmTiming's controls by name. It also
// makes the views of the scheduler's two dialogs, which appear and hide as
// their forms do, above this window.
// UI thread only.
class frmTimingView : public QMainWindow {
    Q_OBJECT
public:
    explicit frmTimingView(frmTiming& window, QWidget* parent = nullptr);
    ~frmTimingView() override;

    // Asked when the user closes the window; false keeps it open.
    std::function<bool()> mayClose;

    PlaylistTableView* list() const { return m_list; }
    frmEventView* eventView() const { return m_eventView; }
    frmOptionsView* optionsView() const { return m_optionsView; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    PlaylistTableView* m_list = nullptr;
    frmEventView* m_eventView = nullptr;
    frmOptionsView* m_optionsView = nullptr;
};

}  // namespace tavlo
