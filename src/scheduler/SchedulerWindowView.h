#pragma once

#include <QMainWindow>

#include <functional>

namespace tavlo {

class PlaylistTableView;
class EventDialogView;
class SchedulerOptionsDialogView;
class SchedulerWindow;

// The scheduler window on the desktop: its menus, the event list, the clock
// and the three buttons, bound to SchedulerWindow's typed controls. It also
// makes the views of the scheduler's two dialogs, which appear and hide as
// their forms do, above this window.
// UI thread only.
class SchedulerWindowView : public QMainWindow {
    Q_OBJECT
public:
    explicit SchedulerWindowView(SchedulerWindow& window, QWidget* parent = nullptr);
    ~SchedulerWindowView() override;

    // Asked when the user closes the window; false keeps it open.
    std::function<bool()> mayClose;

    PlaylistTableView* list() const { return m_list; }
    EventDialogView* eventView() const { return m_eventView; }
    SchedulerOptionsDialogView* optionsView() const { return m_optionsView; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    PlaylistTableView* m_list = nullptr;
    EventDialogView* m_eventView = nullptr;
    SchedulerOptionsDialogView* m_optionsView = nullptr;
};

}  // namespace tavlo
