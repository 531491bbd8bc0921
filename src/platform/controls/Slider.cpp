#include "platform/controls/Slider.h"

#include <algorithm>

namespace tavlo {

Slider::Slider(QObject* form, const QString& name, int min, int max, int value)
    : Control(form, name), m_min(min), m_max(max), m_value(std::clamp(value, min, max))
{
}

bool Slider::setValue(int v)
{
    if (v < m_min || v > m_max)
        return false;
    if (v == m_value)
        return true;
    m_value = v;
    notify();
    if (onChange)
        onChange();
    return true;
}

void Slider::setRange(int min, int max)
{
    m_min = min;
    m_max = std::max(min, max);
    notify();
    const int clamped = std::clamp(m_value, m_min, m_max);
    if (clamped != m_value) {
        m_value = clamped;
        notify();
        if (onChange)
            onChange();
    }
}

void Slider::scrollTo(int v)
{
    v = std::clamp(v, m_min, m_max);
    if (v == m_value)
        return;
    m_value = v;
    notify();
    if (onScroll)
        onScroll();
}

void Slider::release()
{
    if (onChange)
        onChange();
}

}  // namespace tavlo
