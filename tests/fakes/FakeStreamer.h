#pragma once

#include "platform/Streamer.h"

#include <QStringList>

#include <vector>

namespace tavlo::test {

// Records what the windows ask of the stream; the status is whatever the test sets.
class FakeStreamer : public Streamer {
public:
    void start(const StreamTarget& target) override
    {
        starts.push_back(target);
        setStatus(StreamState::Connecting, QStringLiteral("Streaming: connecting to ") + target.displayText());
    }
    void stop() override
    {
        ++stops;
        setStatus(StreamState::Off, QStringLiteral("Streaming: off"));
    }
    void setTitle(const QString& title) override { titles << title; }
    StreamStatus status() const override { return m_status; }

    void setStatus(StreamState state, const QString& text)
    {
        m_status.state = state;
        m_status.text = text;
        ++m_status.serial;
    }

    std::vector<StreamTarget> starts;
    int stops = 0;
    QStringList titles;

private:
    StreamStatus m_status{StreamState::Off, QStringLiteral("Streaming: off"), 0};
};

}  // namespace tavlo::test
