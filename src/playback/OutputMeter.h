#pragma once

#include <QObject>

#include <memory>

namespace tavlo {

class Label;
class MediaService;
class ProgressBar;
class Timer;
class TimerService;

// The station's output level beside the channel faders: a bar per channel in
// tenths of dBFS (-60 dB at the bottom) refreshed 25 times a second, and the
// highest level of the last one and a half seconds held under each bar.
// It reads the engine's peak through the media service, lock-free. UI thread only.
class OutputMeter {
public:
    static constexpr int kIntervalMs = 40;
    static constexpr int kFloorTenths = -600;
    static constexpr int kHoldTicks = 1500 / kIntervalMs;

    // The controls go on the given window, as peakBars and holdLabels (object names "prgOutputPeak(n)" and "lblOutputHold(n)").
    OutputMeter(QObject& form, MediaService& media, TimerService& timers);
    ~OutputMeter();

    void start();
    // Tenths of dBFS, floored at kFloorTenths.
    int levelTenths(int channel) const { return m_level[channel]; }
    int holdTenths(int channel) const { return m_hold[channel]; }

    ProgressBar* peakBars[2];
    Label* holdLabels[2];

    static int toTenths(float peak);

private:
    // Each tick of the meter timer.
    void onMeterTick();

    MediaService& m_media;
    std::unique_ptr<Timer> m_meterTimer;
    int m_level[2] = {kFloorTenths, kFloorTenths};
    int m_hold[2] = {kFloorTenths, kFloorTenths};
    int m_held[2] = {0, 0};  // ticks the hold has stood
};

}  // namespace tavlo
