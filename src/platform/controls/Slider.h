#pragma once

#include "platform/controls/Control.h"

#include <functional>

namespace tavlo {

// A scroll bar, slider or up-down spinner: a whole number within a range.
// Setting a value outside the range is refused and the old value stays;
// setting a new value runs onChange. While the user drags, the value follows
// with onScroll and onChange runs once on release.
class Slider : public Control {
    Q_OBJECT
public:
    Slider(QObject* form, const QString& name, int min, int max, int value = 0);

    int value() const { return m_value; }
    int min() const { return m_min; }
    int max() const { return m_max; }

    // Returns false (and changes nothing) when v lies outside min..max.
    bool setValue(int v);
    // A new range; a value left outside it is brought to the nearest end,
    // which counts as a change.
    void setRange(int min, int max);
    void setMax(int max) { setRange(m_min, max); }

    // The user's drag: the value follows without onChange.
    void scrollTo(int v);
    // The user let go after a drag.
    void release();

    // Whether the up arrow lowers the value (a plain vertical scroll bar) or
    // raises it (the spinners).
    bool upRaises() const { return m_upRaises; }
    void setUpRaises(bool on) { m_upRaises = on; }

    std::function<void()> onChange;
    std::function<void()> onScroll;

private:
    int m_min;
    int m_max;
    int m_value;
    bool m_upRaises = true;
};

}  // namespace tavlo
