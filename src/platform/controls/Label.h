#pragma once

#include "platform/controls/Control.h"

namespace tavlo {

// Text on a window, with optional colours and weight.
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

private:
    QString m_text;
    Colour m_fore;
    Colour m_back;
    bool m_bold = false;
};

}  // namespace tavlo
