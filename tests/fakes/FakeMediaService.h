#pragma once

#include "platform/MediaService.h"
#include "platform/SimulatedTime.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <vector>

namespace tavlo::test {

class FakeMediaService;

// A player whose position moves with simulated time while it runs and stops
// at the end of the file, as a real one would.
class FakeStream : public MediaStream {
public:
    FakeStream(FakeMediaService& service, QString path, double duration);
    ~FakeStream() override;

    double duration() const override { return m_duration; }
    void run() override
    {
        settle();
        if (!trimAtFirstRun)
            trimAtFirstRun = m_trim;
        m_state = State::Running;
    }
    void pause() override { settle(); m_state = State::Paused; }
    void stop() override { settle(); m_state = State::Stopped; }
    double position() const override { settle(); return m_pos; }
    void setPosition(double seconds) override { settle(); m_pos = std::clamp(seconds, 0.0, m_duration); }
    void setVolume(int v) override { m_volume = v; }
    int volume() const override { return m_volume; }
    void setBalance(int b) override { m_balance = b; }
    int balance() const override { return m_balance; }
    void setRate(double r) override { settle(); m_rate = r; }
    double rate() const override { return m_rate; }
    void setTrim(int t) override { m_trim = t; }
    // The trim the song was first heard with; nothing before it ran.
    std::optional<int> trimAtFirstRun;

    enum class State { Stopped, Running, Paused };
    State state() const { return m_state; }
    bool audible() const { return m_state == State::Running && m_volume > -10000 && position() < m_duration; }
    const QString& path() const { return m_path; }
    // Unique among all streams ever opened: an address may be reused.
    int id() const { return m_id; }

private:
    void settle() const;  // brings the position up to the simulated clock
    FakeMediaService& m_service;
    const int m_id;
    QString m_path;
    double m_duration;
    State m_state = State::Stopped;
    mutable double m_pos = 0;
    mutable std::int64_t m_since = 0;
    int m_volume = 0;
    int m_balance = 0;
    double m_rate = 1.0;
    int m_trim = 0;
};

// Media for window tests: files are registered by path with a length; any
// other path fails to open. Positions follow the simulated clock.
class FakeMediaService : public MediaService {
public:
    explicit FakeMediaService(SimulatedTime& time) : m_time(time) {}

    void addFile(const QString& path, double seconds) { m_files.insert(path, seconds); }
    OpenResult open(const QString& path) override;
    QStringList outputNames() const override { return m_outputs; }
    // What the output meter reads, per channel, until the test changes it.
    float outputPeak[2] = {0.0f, 0.0f};
    // The dead-air watch hears watchPeak on both channels; the meters hear outputPeak.
    float watchPeak = 1.0f;
    float takeOutputPeak(int channel, PeakReader reader = PeakReader::Meter) override
    {
        return reader == PeakReader::DeadAirWatch ? watchPeak : outputPeak[channel & 1];
    }

    // Every stream alive now, oldest first.
    const std::vector<FakeStream*>& streams() const { return m_streams; }
    FakeStream* newest() const { return m_streams.empty() ? nullptr : m_streams.back(); }
    std::int64_t nowMs() const { return m_time.elapsedMs(); }
    // Every path that failed to open, in order, until the test takes them.
    QStringList failedOpens;

private:
    friend class FakeStream;
    SimulatedTime& m_time;
    QHash<QString, double> m_files;
    QStringList m_outputs{QStringLiteral("Default output"), QStringLiteral("WAV file writer")};
    std::vector<FakeStream*> m_streams;
    int m_opened = 0;
};

}  // namespace tavlo::test
