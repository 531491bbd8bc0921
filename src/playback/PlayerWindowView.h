#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <vector>

class QAbstractButton;
class QBoxLayout;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollBar;
class QSlider;
class QToolButton;

namespace tavlo {

class Button;
class ComboBox;
class Control;
class FormFollower;
class Label;
class PlayerWindow;
class PlaylistTableView;
class ProgressBar;
class Slider;
enum class TransitionType;

// The widgets both player windows share: menu bar, clip list, the options
// panel with the deck, a status bar and a progress bar, each
// bound to the window's typed control. A window's own controls come in
// through Extras, from its own view (MusicWindowView, InsertWindowView). The
// window logic owns all behaviour; this class only mirrors it and forwards
// the user's actions.
// UI thread only.
class PlayerWindowView : public QMainWindow {
    Q_OBJECT
public:
    explicit PlayerWindowView(PlayerWindow& window, QWidget* parent = nullptr);
    ~PlayerWindowView() override;

    // Asked when the user closes the window; false keeps it open. Without
    // it the window closes.
    std::function<bool()> mayClose;

    PlaylistTableView* list() const { return m_list; }
    // A menu of the menu bar by its control's name; null when absent.
    QMenu* menu(const QString& name) const { return m_menus.value(name); }

    // Paints the little ramp picture of a transition type: the song in play
    // in red, the next one in blue, level against time.
    static QPixmap rampPicture(TransitionType type, const QSize& size);

    // For a window's own view while the shared one is built (Extras):
    // widgets bound to their controls, each taking the control's name. A
    // small push button is exactly as wide as its caption.
    QAbstractButton* button(Button* state, bool small = false);
    QLabel* label(Label* state, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    // A plain container with no margins for `layout`.
    QWidget* container(QLayout* layout);

protected:
    // What one window adds to the shared layout.
    struct Extras {
        // Built above the list, in the room the window's layout leaves there.
        std::function<QWidget*(PlayerWindowView&)> aboveList;
        // In the row under the transitions, before the output picker.
        std::vector<Button*> switches;
        // The output picker goes beside the window buttons instead.
        bool outputBesideWindowButtons = false;
        // The window buttons before and after "Search".
        Button* beforeSearch = nullptr;
        Button* afterSearch = nullptr;
        // An output meter beside the channel faders: a bar and its held peak per channel.
        std::array<ProgressBar*, 2> meters{};
        std::array<Label*, 2> meterHolds{};
        // At the status bar's right end.
        Label* statusBarEnd = nullptr;
    };
    PlayerWindowView(PlayerWindow& window, const Extras& extras, QWidget* parent);

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPanel(const Extras& extras);
    QWidget* buildTransport();
    QWidget* buildLevels(const Extras& extras);
    QWidget* buildOptions(const Extras& extras);
    void addTotalsAndWindows(QBoxLayout& box, QBoxLayout& lines, const Extras& extras);

    QSlider* slider(Slider* state);
    QSlider* fader(Slider* state);
    QScrollBar* spinner(Slider* state);
    QProgressBar* bar(ProgressBar* state, Qt::Orientation orientation = Qt::Horizontal);
    QComboBox* combo(ComboBox* state);
    QToolButton* transitionButton(int type);
    // A caption of our own beside a control; shown while the control is.
    QLabel* caption(const QString& text, Control* control);

    void followShowOptions();
    // Puts the list, the panel and the progress bar where the window's layout says.
    void placePanes();

    PlayerWindow& m_window;
    QWidget* m_panelParent = nullptr;  // parent for the widgets being made
    PlaylistTableView* m_list = nullptr;
    QWidget* m_aboveList = nullptr;
    QWidget* m_panel = nullptr;
    QProgressBar* m_progress = nullptr;
    QWidget* m_options = nullptr;
    FormFollower* m_follower = nullptr;
    QHash<QString, QMenu*> m_menus;
};

}  // namespace tavlo
