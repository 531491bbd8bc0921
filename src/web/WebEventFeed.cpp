#include "web/WebEventFeed.h"

#include "web/WebJson.h"

#include <QJsonDocument>

namespace tavlo {

namespace {

QByteArray compact(const QJsonObject& o) { return QJsonDocument(o).toJson(QJsonDocument::Compact); }

}  // namespace

WebEventFeed::WebEventFeed(const MusicWindow& music, const InsertWindow& insert, const SchedulerWindow& scheduler)
    : m_music(music), m_insert(insert), m_scheduler(scheduler)
{
}

QByteArray WebEventFeed::event(const char* name, const QByteArray& json)
{
    return QByteArray("event: ") + name + "\ndata: " + json + "\n\n";
}

QByteArray WebEventFeed::snapshot(const QDateTime& now) const
{
    // Built apart from the polls' memory: the clients already listening must
    // still be told whatever changed since the last poll.
    return event("now-playing", compact(WebJson::nowPlaying(m_music, m_insert, now)))
           + event("station", compact(WebJson::station(m_music, m_insert, m_scheduler, now)))
           + event("meter", compact(WebJson::meter(m_music)));
}

QByteArray WebEventFeed::poll(const QDateTime& now, bool withMeter)
{
    QByteArray out;
    // The time of day alone is no change: a clock ticking would push every second.
    QJsonObject nowPlaying = WebJson::nowPlaying(m_music, m_insert, now);
    const QByteArray time = nowPlaying.take(QStringLiteral("time")).toString().toUtf8();
    const QByteArray key = compact(nowPlaying);
    if (key != m_nowPlaying) {
        m_nowPlaying = key;
        nowPlaying.insert(QStringLiteral("time"), QString::fromUtf8(time));
        out += event("now-playing", compact(nowPlaying));
    }
    const QByteArray station = compact(WebJson::station(m_music, m_insert, m_scheduler, now));
    if (station != m_station) {
        m_station = station;
        out += event("station", station);
    }
    if (withMeter) {
        const QByteArray meter = compact(WebJson::meter(m_music));
        if (meter != m_meter) {
            m_meter = meter;
            out += event("meter", meter);
        }
    }
    return out;
}

}  // namespace tavlo
