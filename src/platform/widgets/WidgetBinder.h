#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QObject;
class QProgressBar;
class QStatusBar;
class QWidget;

namespace tavlo {

class Button;
class ComboBox;
class Control;
class Label;
class MenuItem;
class ProgressBar;
class Slider;
class StatusBar;
class TextBox;

// Ties a window's control state objects to Qt widgets in both directions.
// The user's actions go to the state object (which runs the window's
// handlers); every `changed` of the state repaints the widget with its signals
// blocked, so a repaint never loops back into a handler. After forwarding a
// user action the widget is repainted from the state, so a value the state
// refused snaps back. Connections live as long as the widget; a state object
// that goes away first simply stops being forwarded to.
// UI thread only.
class WidgetBinder {
public:
    // How a slider widget's value maps onto the state's value.
    enum class SliderMapping {
        Direct,
        // Widget value min + max - v: an up/down scroll bar whose up arrow
        // lowers the widget value, bound to a spinner whose up arrow raises.
        Mirrored,
    };

    // Drag: sliderMoved -> scrollTo, release -> release (only after a move);
    // keys, clicks on the track and the wheel -> setValue.
    static void bind(Slider& state, QAbstractSlider& widget, SliderMapping mapping = SliderMapping::Direct);
    // Push buttons press, check boxes set 0/1, option buttons select.
    static void bind(Button& state, QAbstractButton& widget);
    // A label whose state answers a click (onClick) runs it on a mouse
    // release over the widget; other labels stay plain text.
    static void bind(Label& state, QLabel& widget);
    static void bind(ProgressBar& state, QProgressBar& widget);
    // Typing sets the text; the state selecting all its text selects the widget's.
    static void bind(TextBox& state, QLineEdit& widget);
    static void bind(ComboBox& state, QComboBox& widget);
    // Makes one text panel per state panel; the last one takes the spare width.
    static void bind(StatusBar& state, QStatusBar& widget);

    // Keyboard focus both ways: the widget taking the focus gives it to the
    // state (running the handlers of the control that loses it and of this
    // one); leaving the widget for another of the window's widgets takes it
    // from the state; the form moving its focus to the state gives the widget
    // the focus. The window or a menu taking the desktop's focus away is no
    // move within the form.
    static void bindFocus(Control& state, QWidget& widget);

    // Builds the menu bar from every MenuItem below `form`: a MenuItem without
    // a menu is a top-level menu, or a command on the bar itself when no item
    // names it as its menu; an item that others name as their menu becomes a
    // submenu. Returns the menus by control name, for pop-ups.
    static QHash<QString, QMenu*> bindMenuBar(QObject& form, QMenuBar& bar);

    // Enabled, visible and tool tip, the part every control shares.
    static void applyCommon(const Control& state, QWidget& widget);
    // Colour as 0xRRGGBB, empty for the desktop's own.
    static void applyColours(QWidget& widget, std::optional<unsigned> fore, std::optional<unsigned> back);
};

}  // namespace tavlo
