#pragma once

#include <QString>

namespace tavlo {

// What the music window asks of the insert window while its song plays: is an
// insert waiting for the song to end, start it now, and show the music's
// time left in the insert window's countdown.
// UI thread only.
class InsertWindowLink {
public:
    virtual ~InsertWindowLink() = default;
    // 0 idle, 1 waiting for the music's song to end, 2 insert starting.
    virtual int InsertReady() const = 0;
    // Presses the insert window's "Insert Now" (insertNowButton).
    virtual void pressInsertNow() = 0;
    // The text of the insert window's countDownLabel(0).
    virtual void setCountDownText(const QString& text) = 0;
    // Whether a ramp into or out of a break is running.
    virtual bool rampRunning() const { return false; }
};

// Until the insert window exists: never an insert waiting.
class NullInsertWindowLink : public InsertWindowLink {
public:
    int InsertReady() const override { return 0; }
    void pressInsertNow() override {}
    void setCountDownText(const QString&) override {}
};

}  // namespace tavlo
