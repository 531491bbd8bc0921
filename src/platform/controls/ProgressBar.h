#pragma once

#include "platform/controls/Control.h"

#include <algorithm>

namespace tavlo {

// A bar showing a value between min and max; values outside are held at the ends.
class ProgressBar : public Control {
    Q_OBJECT
public:
    ProgressBar(QObject* form, const QString& name, int min = 0, int max = 100)
        : Control(form, name), m_min(min), m_max(max)
    {
    }
    int value() const { return m_value; }
    int min() const { return m_min; }
    int max() const { return m_max; }
    void setValue(int v)
    {
        v = std::clamp(v, m_min, m_max);
        if (v != m_value) {
            m_value = v;
            notify();
        }
    }

private:
    int m_min;
    int m_max;
    int m_value = 0;
};

}  // namespace tavlo
