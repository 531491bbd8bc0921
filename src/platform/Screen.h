#pragma once

#include <QSize>

namespace tavlo {

// The room the desktop leaves for windows (task bars and docks taken off) on
// the screen the music window stands on, in twips, so the windows' logic
// lines them up without knowing pixels.
// UI thread only.
class Screen {
public:
    virtual ~Screen() = default;
    virtual QSize availableTwips() const = 0;
};

// Without a desktop the windows still get placed: a 1024 x 768 screen.
class FixedScreen : public Screen {
public:
    explicit FixedScreen(QSize twips = QSize(15360, 11520)) : m_twips(twips) {}
    QSize availableTwips() const override { return m_twips; }
    void setAvailableTwips(QSize twips) { m_twips = twips; }

private:
    QSize m_twips;
};

inline Screen& noScreen()
{
    static FixedScreen screen;
    return screen;
}

}  // namespace tavlo
