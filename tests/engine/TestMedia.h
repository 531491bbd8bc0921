#pragma once

#include <QString>

#include <functional>

namespace tavlo::test {

// A WAV file of `signal` (seconds to sample) on every channel, in libsndfile's
// subformat `format`; whether it was written.
bool writeWav(const QString& path, int rate, int channels, double seconds, int format,
              const std::function<float(double)>& signal);

// Audio files made from code (WAV through libsndfile) and the lame encoder.
// They are made once into the build's test output folder and kept there,
// since ctest runs every test in a process of its own; files a test writes
// go to a scratch folder of the process instead.
class TestMedia {
public:
    static const TestMedia& get();

    QString path(const char* name) const;
    QString dir() const { return m_dir; }
    QString scratch() const { return m_scratch; }

    // "beeps": 2 kHz beeps of 30 ms starting at beepTime(k), 0.1 to 1.9 s apart.
    static constexpr int kBeepCount = 30;
    static double beepTime(int k) { return k + 0.1 * (k % 10); }

private:
    TestMedia();
    static void make(const QString& dir);
    QString m_dir;
    QString m_scratch;
};

}  // namespace tavlo::test
