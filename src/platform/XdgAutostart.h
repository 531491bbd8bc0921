#pragma once

#include "platform/Autostart.h"

namespace tavlo {

// Starting with the desktop as freedesktop.org's autostart asks for it: a
// desktop entry "tavlo.desktop" in $XDG_CONFIG_HOME/autostart (by default
// ~/.config/autostart). The entry's existence is the switch, so the desktop's
// own settings, which remove it, and the menu item always agree.
// UI thread only.
class XdgAutostart : public Autostart {
public:
    // `folder` is the autostart folder; empty means the desktop's.
    explicit XdgAutostart(QString folder = QString());

    static QString defaultFolder();
    // The entry written, a complete desktop entry.
    static QByteArray entryText();
    QString entryPath() const;

    bool isEnabled() const override;
    QString setEnabled(bool on) override;

private:
    QString m_folder;
};

}  // namespace tavlo
