#pragma once

#include <QByteArray>
#include <QDateTime>

namespace tavlo {

class InsertWindow;
class MusicWindow;
class SchedulerWindow;

// What the remote pushes on /api/events, as Server-Sent Events: a
// "now-playing" event (the object GET /api/now-playing answers) whenever it
// differs from the last one pushed, a "station" event (what the page shows
// besides) likewise, and a "meter" event with the output level. Each event
// is one compact JSON line, so a client reads them with any SSE reader.
//
// The remote asks for the changes every 100 ms; nothing is built between
// polls, so the windows never do any work for it. UI thread only.
class WebEventFeed {
public:
    WebEventFeed(const MusicWindow& music, const InsertWindow& insert, const SchedulerWindow& scheduler);

    // Every event as it stands, for a client that has just connected.
    QByteArray snapshot(const QDateTime& now) const;
    // The events that changed since the last poll, in the
    // order now-playing, station, meter; empty when nothing did.
    // `withMeter`: the meter is looked at this time.
    QByteArray poll(const QDateTime& now, bool withMeter);

    static QByteArray event(const char* name, const QByteArray& json);

private:
    const MusicWindow& m_music;
    const InsertWindow& m_insert;
    const SchedulerWindow& m_scheduler;
    QByteArray m_nowPlaying;
    QByteArray m_station;
    QByteArray m_meter;
};

}  // namespace tavlo
