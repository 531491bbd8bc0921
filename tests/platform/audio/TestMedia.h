#pragma once

#include <QString>

namespace tavlo::test {

// Audio files made once per test run, in a temporary folder, from code
// (WAV through libsndfile) and the lame encoder. Every engine test asks
// TestMedia::get() for paths; the first call builds them all.
class TestMedia {
public:
    static const TestMedia& get();

    QString path(const char* name) const;
    QString dir() const { return m_dir; }

    // "beeps": 2 kHz beeps of 30 ms starting at beepTime(k), 0.1 to 1.9 s apart.
    static constexpr int kBeepCount = 30;
    static double beepTime(int k) { return k + 0.1 * (k % 10); }

private:
    TestMedia();
    QString m_dir;
};

}  // namespace tavlo::test
