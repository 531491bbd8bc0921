#pragma once

#include <QString>

namespace tavlo {

// Whether the desktop starts the program when its user logs in.
// UI thread only.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual bool isEnabled() const = 0;
    // Starts or stops starting with the desktop. Empty when done, else what
    // went wrong, in words for the operator.
    virtual QString setEnabled(bool on) = 0;
};

// A station without a desktop to start with: never on, and asking changes nothing.
class NoAutostart : public Autostart {
public:
    bool isEnabled() const override { return false; }
    QString setEnabled(bool) override { return QString(); }
};

inline Autostart& noAutostart()
{
    static NoAutostart none;
    return none;
}

}  // namespace tavlo
