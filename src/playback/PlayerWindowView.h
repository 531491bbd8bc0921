#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>

#include <functional>

class QAbstractButton;
class QBoxLayout;
class QComboBox;
class QGridLayout;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollBar;
class QSlider;
class QToolButton;

namespace tavlo {

class Control;
class Form;
class FormFollower;
class PlaylistTableView;

// The widgets of a player window: menu bar, clip list, the options panel
// "Picture1" with the deck, a status bar and a progress bar. Every widget is
// made for a control the window's Form actually has (looked up by name, the
// widget's object name being the control's), so the music window and the
// insert window share this view. Controls it has no place for are still
// shown, plainly, at the end of the panel. The window logic owns all
// behaviour; this class only mirrors it and forwards the user's actions.
// UI thread only.
class PlayerWindowView : public QMainWindow {
    Q_OBJECT
public:
    explicit PlayerWindowView(Form& form, QWidget* parent = nullptr);
    ~PlayerWindowView() override;

    // Asked when the user closes the window; false keeps it open. Without
    // it the window closes.
    std::function<bool()> mayClose;

    PlaylistTableView* list() const { return m_list; }
    // A menu of the menu bar by its control name ("listMenu"); null when absent.
    QMenu* menu(const QString& name) const { return m_menus.value(name); }
    // Pops a menu up at the pointer, as a right click on the list does with "listMenu".
    void popupMenu(const QString& name);

    // Paints the little ramp picture of transition type 0..4: the song in
    // play in red, the next one in blue, level against time.
    static QPixmap rampPicture(int type, const QSize& size);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPanel();
    QWidget* buildTransport();
    QWidget* buildLevels();
    QWidget* buildInsertControls();
    QWidget* buildOptions();
    void buildLeftovers(QGridLayout& grid);

    // Each returns null when the window has no such control.
    template <typename T>
    T* claim(const QString& name);
    // A small push button is exactly as wide as its caption.
    QAbstractButton* button(const QString& name, bool small = false);
    QLabel* label(const QString& name, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    QSlider* slider(const QString& name);
    QSlider* fader(const QString& name);
    QScrollBar* spinner(const QString& name);
    QProgressBar* bar(const QString& name, Qt::Orientation orientation = Qt::Horizontal);
    QComboBox* combo(const QString& name);
    QToolButton* transitionButton(int type);
    // A caption of our own beside a control; shown while the control is.
    QLabel* caption(const QString& text, QWidget* forWidget);

    void followShowOptions();
    // Puts the list, the panel and the progress bar where the window's layout says.
    void placePanes();

    QPointer<Form> m_form;
    QWidget* m_panelParent = nullptr;  // parent for the widgets being made
    PlaylistTableView* m_list = nullptr;
    QWidget* m_insertControls = nullptr;
    QWidget* m_panel = nullptr;
    QProgressBar* m_progress = nullptr;
    QWidget* m_options = nullptr;
    FormFollower* m_follower = nullptr;
    QHash<QString, QMenu*> m_menus;
    QSet<const QObject*> m_claimed;
};

}  // namespace tavlo
