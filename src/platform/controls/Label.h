#pragma once

#include "platform/controls/Control.h"

#include <functional>

namespace tavlo {

// Text on a window, with optional colours and weight. Some labels answer a
// click (onClick).
class Label : public Control {
    Q_OBJECT
public:
    Label(QObject* form, const QString& name, const QString& text = QString());

    QString text() const { return m_text; }
    void setText(const QString& text);
    Colour foreColour() const { return m_fore; }
    void setForeColour(Colour c);
    Colour backColour() const { return m_back; }
    void setBackColour(Colour c);
    bool bold() const { return m_bold; }
    void setBold(bool on);

    void click()
    {
        if (onClick)
            onClick();
    }
    std::function<void()> onClick;

private:
    QString m_text;
    Colour m_fore;
    Colour m_back;
    bool m_bold = false;
};

}  // namespace tavlo
