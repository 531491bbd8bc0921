#pragma once

#include "platform/controls/Control.h"

#include <functional>

namespace tavlo {

// One entry of a window's menu. Its check mark is plain state; choosing the
// entry runs onClick. A caption of "-" is a separator. Items are listed under
// their menu in the order they were made.
class MenuItem : public Control {
    Q_OBJECT
public:
    MenuItem(QObject* form, const QString& name, const QString& caption, MenuItem* menu = nullptr)
        : Control(form, name), m_caption(caption), m_menu(menu)
    {
    }
    QString caption() const { return m_caption; }
    void setCaption(const QString& c)
    {
        m_caption = c;
        notify();
    }
    bool checked() const { return m_checked; }
    void setChecked(bool on)
    {
        if (m_checked != on) {
            m_checked = on;
            notify();
        }
    }
    MenuItem* menu() const { return m_menu; }
    bool isSeparator() const { return m_caption == QLatin1String("-"); }
    void click()
    {
        if (onClick)
            onClick();
    }

    std::function<void()> onClick;

private:
    QString m_caption;
    bool m_checked = false;
    MenuItem* m_menu;
};

}  // namespace tavlo
