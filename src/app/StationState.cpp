#include "app/StationState.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavlo {

namespace {

const QString kFormat = QStringLiteral("tavlo-station-state");

QString statusName(DeckStatus s)
{
    switch (s) {
    case DeckStatus::Playing: return QStringLiteral("playing");
    case DeckStatus::Paused: return QStringLiteral("paused");
    case DeckStatus::Stopped: break;
    }
    return QStringLiteral("stopped");
}

std::optional<DeckStatus> statusFrom(const QString& name)
{
    for (DeckStatus s : {DeckStatus::Stopped, DeckStatus::Playing, DeckStatus::Paused})
        if (statusName(s) == name)
            return s;
    return std::nullopt;
}

QString stepName(BreakStep s)
{
    switch (s) {
    case BreakStep::CountingDown: return QStringLiteral("counting-down");
    case BreakStep::WaitingForSong: return QStringLiteral("waiting-for-song");
    case BreakStep::OnAir: return QStringLiteral("on-air");
    case BreakStep::None: break;
    }
    return QStringLiteral("none");
}

std::optional<BreakStep> stepFrom(const QString& name)
{
    for (BreakStep s : {BreakStep::None, BreakStep::CountingDown, BreakStep::WaitingForSong, BreakStep::OnAir})
        if (stepName(s) == name)
            return s;
    return std::nullopt;
}

QJsonObject deckJson(const DeckState& d)
{
    return {{QStringLiteral("row"), d.row},
            {QStringLiteral("location"), d.location},
            {QStringLiteral("status"), statusName(d.status)},
            {QStringLiteral("position"), d.position}};
}

std::optional<DeckState> deckFrom(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    const auto status = statusFrom(o.value(QStringLiteral("status")).toString());
    if (!v.isObject() || !status)
        return std::nullopt;
    DeckState d;
    d.row = std::max(0, o.value(QStringLiteral("row")).toInt());
    d.location = o.value(QStringLiteral("location")).toString();
    d.status = *status;
    d.position = std::max(0.0, o.value(QStringLiteral("position")).toDouble());
    return d;
}

}  // namespace

QByteArray StationState::toJson() const
{
    QJsonArray events;
    for (const QStringList& row : schedule.events)
        events.append(QJsonArray::fromStringList(row));
    QJsonObject scheduleJson{{QStringLiteral("events"), events},
                             {QStringLiteral("timeFormat"), schedule.timeFormat},
                             {QStringLiteral("preloadTime"), schedule.preloadTime}};
    if (schedule.lastExamined)
        scheduleJson.insert(QStringLiteral("lastExamined"), static_cast<double>(*schedule.lastExamined));
    QJsonObject root{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), kVersion},
        {QStringLiteral("savedAt"), savedAt.toUTC().toString(Qt::ISODateWithMs)},
        {QStringLiteral("music"), deckJson(music)},
        {QStringLiteral("insert"), deckJson(insert)},
        {QStringLiteral("break"),
         QJsonObject{{QStringLiteral("step"), stepName(insertBreak.step)},
                     {QStringLiteral("countDown"), insertBreak.countDown},
                     {QStringLiteral("playOverMusic"), insertBreak.playOverMusic}}},
        {QStringLiteral("schedule"), scheduleJson},
    };
    if (stream) {
        root.insert(QStringLiteral("stream"), QJsonObject{{QStringLiteral("host"), stream->host},
                                                         {QStringLiteral("port"), stream->port},
                                                         {QStringLiteral("mount"), stream->mount},
                                                         {QStringLiteral("user"), stream->user},
                                                         {QStringLiteral("bitrate"), stream->bitrate}});
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<StationState> StationState::fromJson(const QByteArray& json, QString* error)
{
    auto fail = [error](const QString& why) -> std::optional<StationState> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(QStringLiteral("not readable (%1 at byte %2)").arg(parse.errorString()).arg(parse.offset));
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(QStringLiteral("format")).toString() != kFormat)
        return fail(QStringLiteral("not a Tavlo state file"));
    const int version = root.value(QStringLiteral("version")).toInt();
    if (version > kVersion)
        return fail(QStringLiteral("written by a newer Tavlo (version %1)").arg(version));
    if (version < 1)
        return fail(QStringLiteral("has no version"));

    StationState s;
    s.savedAt = QDateTime::fromString(root.value(QStringLiteral("savedAt")).toString(), Qt::ISODateWithMs);
    const auto music = deckFrom(root.value(QStringLiteral("music")));
    const auto insert = deckFrom(root.value(QStringLiteral("insert")));
    const QJsonObject brk = root.value(QStringLiteral("break")).toObject();
    const auto step = stepFrom(brk.value(QStringLiteral("step")).toString());
    if (!s.savedAt.isValid() || !music || !insert || !step)
        return fail(QStringLiteral("incomplete"));
    s.music = *music;
    s.insert = *insert;
    s.insertBreak.step = *step;
    s.insertBreak.countDown = std::max(0, brk.value(QStringLiteral("countDown")).toInt());
    s.insertBreak.playOverMusic = brk.value(QStringLiteral("playOverMusic")).toBool();

    const QJsonObject sched = root.value(QStringLiteral("schedule")).toObject();
    for (const QJsonValue& row : sched.value(QStringLiteral("events")).toArray()) {
        QStringList texts;
        for (const QJsonValue& t : row.toArray())
            texts << t.toString();
        s.schedule.events.push_back(texts);
    }
    s.schedule.timeFormat = sched.value(QStringLiteral("timeFormat")).toString();
    s.schedule.preloadTime = sched.value(QStringLiteral("preloadTime")).toString();
    if (const QJsonValue last = sched.value(QStringLiteral("lastExamined")); last.isDouble())
        s.schedule.lastExamined = static_cast<std::int64_t>(last.toDouble());

    if (const QJsonValue st = root.value(QStringLiteral("stream")); st.isObject()) {
        const QJsonObject o = st.toObject();
        StreamTarget t;
        t.host = o.value(QStringLiteral("host")).toString();
        t.port = o.value(QStringLiteral("port")).toInt(t.port);
        t.mount = o.value(QStringLiteral("mount")).toString(t.mount);
        t.user = o.value(QStringLiteral("user")).toString(t.user);
        t.bitrate = o.value(QStringLiteral("bitrate")).toInt(t.bitrate);
        if (!t.host.isEmpty())
            s.stream = t;
    }
    return s;
}

}  // namespace tavlo
