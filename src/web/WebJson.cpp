#include "web/WebJson.h"

#include "insert/InsertWindow.h"
#include "music/MusicWindow.h"
#include "playlist/PlaylistModel.h"
#include "scheduler/SchedulerWindow.h"

#include <QFileInfo>

#include <algorithm>

namespace tavlo::WebJson {

namespace {

constexpr int kUpcomingSongs = 5;
constexpr int kNextEvents = 3;

QString statusName(DeckStatus s)
{
    switch (s) {
    case DeckStatus::Playing:
        return QStringLiteral("playing");
    case DeckStatus::Paused:
        return QStringLiteral("paused");
    case DeckStatus::Stopped:
        break;
    }
    return QStringLiteral("stopped");
}

QString breakName(BreakStep s)
{
    switch (s) {
    case BreakStep::CountingDown:
        return QStringLiteral("counting-down");
    case BreakStep::WaitingForSong:
        return QStringLiteral("waiting-for-song");
    case BreakStep::OnAir:
        return QStringLiteral("on-air");
    case BreakStep::None:
        break;
    }
    return QStringLiteral("idle");
}

QString windowName(const PlayerWindow& w, const PlayerWindow& music)
{
    return &w == &music ? QStringLiteral("music") : QStringLiteral("insert");
}

QJsonObject rowObject(const PlaylistModel& list, int n)
{
    const QString file = list.text(n, ColLocation);
    QString title = list.text(n, ColTitle);
    if (title.isEmpty())
        title = QFileInfo(file).completeBaseName();
    return QJsonObject{{QStringLiteral("row"), n},
                       {QStringLiteral("title"), title},
                       {QStringLiteral("artist"), list.text(n, ColArtist)},
                       {QStringLiteral("album"), list.text(n, ColCd)},
                       {QStringLiteral("length"), list.text(n, ColLength)},
                       {QStringLiteral("file"), file}};
}

// The song a window has in its channel in play, or null when it has none.
QJsonValue songOf(const PlayerWindow& w, const PlayerWindow& music)
{
    Player* player = w.playerInPlay();
    if (!player || player->fileName().isEmpty())
        return QJsonValue::Null;
    const QString path = player->fileName();
    const PlaylistModel& list = *w.clipList;
    const int row = w.rowInPlay();
    QJsonObject song;
    // The row in play holds the tags, unless the list moved under the song.
    if (row >= 1 && row <= list.count() && list.text(row, ColLocation) == path)
        song = rowObject(list, row);
    else
        song = QJsonObject{{QStringLiteral("row"), QJsonValue::Null},
                           {QStringLiteral("title"), QFileInfo(path).completeBaseName()},
                           {QStringLiteral("artist"), QString()},
                           {QStringLiteral("album"), QString()},
                           {QStringLiteral("file"), path}};
    song.remove(QStringLiteral("length"));
    const int elapsed = player->isOpen() ? std::max(0, player->position() - w.songStart()) : 0;
    song.insert(QStringLiteral("elapsed"), elapsed);
    song.insert(QStringLiteral("duration"), std::max(0, w.songEnd() - w.songStart()));
    song.insert(QStringLiteral("window"), windowName(w, music));
    return song;
}

QJsonObject breakObject(const InsertWindow& insert)
{
    const BreakState b = insert.breakState();
    return QJsonObject{{QStringLiteral("state"), breakName(b.step)},
                       {QStringLiteral("countdown"), b.step == BreakStep::CountingDown ? b.countDown : 0},
                       {QStringLiteral("playOverMusic"), b.playOverMusic}};
}

QJsonArray rowsFrom(const PlaylistModel& list, int first, int count)
{
    QJsonArray rows;
    for (int n = std::max(1, first); n <= list.count() && rows.size() < count; ++n)
        rows.append(rowObject(list, n));
    return rows;
}

}  // namespace

QJsonObject nowPlaying(const MusicWindow& music, const InsertWindow& insert, const QDateTime& now)
{
    // The insert window has the air while its break plays, even over the music.
    const PlayerWindow* onAir = nullptr;
    if (insert.breakState().step == BreakStep::OnAir || insert.status() == DeckStatus::Playing)
        onAir = &insert;
    else if (music.status() != DeckStatus::Stopped)
        onAir = &music;
    const PlaylistModel& list = *music.clipList;
    const int next = music.rowInPlay() + 1;
    return QJsonObject{
        {QStringLiteral("time"), now.toString(Qt::ISODate)},
        {QStringLiteral("onAir"), onAir ? windowName(*onAir, music) : QStringLiteral("none")},
        {QStringLiteral("status"), statusName(music.status())},
        {QStringLiteral("song"), onAir ? songOf(*onAir, music) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("next"), next >= 1 && next <= list.count() ? QJsonValue(rowObject(list, next))
                                                                    : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("break"), breakObject(insert)}};
}

QJsonObject listRows(const PlayerWindow& window)
{
    return QJsonObject{{QStringLiteral("rowInPlay"), window.rowInPlay()},
                       {QStringLiteral("status"), statusName(window.status())},
                       {QStringLiteral("rows"), rowsFrom(*window.clipList, 1, window.clipList->count())}};
}

QJsonObject schedule(const SchedulerWindow& scheduler, const QDateTime& now)
{
    const PlaylistModel& list = *scheduler.eventList;
    const QString clock = now.time().toString(QStringLiteral("HH:mm:ss"));
    QJsonArray events;
    int next = 0;
    for (int n = 1; n <= list.count(); ++n) {
        const QString at = list.text(n, Ev24hs);
        if (next == 0 && at > clock)
            next = n;
        events.append(QJsonObject{{QStringLiteral("row"), n},
                                  {QStringLiteral("time"), list.text(n, EvTime)},
                                  {QStringLiteral("time24"), at},
                                  {QStringLiteral("playlist"), list.text(n, EvPlaylist)},
                                  {QStringLiteral("window"), list.text(n, EvWindow)}});
    }
    // Past the last event of the day the first one comes next, tomorrow.
    if (next == 0 && list.count() > 0)
        next = 1;
    return QJsonObject{{QStringLiteral("events"), events},
                       {QStringLiteral("next"), next == 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(next)}};
}

QJsonArray logRows(const QByteArray& fileText)
{
    QJsonArray rows;
    for (QByteArray line : fileText.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QString text = QString::fromUtf8(line);
        const qsizetype sep = text.indexOf(QLatin1String(" ; "));
        rows.append(QJsonObject{{QStringLiteral("time"), sep < 0 ? QString() : text.left(sep)},
                                {QStringLiteral("entry"), sep < 0 ? text : text.mid(sep + 3)}});
    }
    return rows;
}

QJsonObject station(const MusicWindow& music, const InsertWindow& insert, const SchedulerWindow& scheduler,
                    const QDateTime& now)
{
    const QJsonObject events = schedule(scheduler, now);
    const QJsonArray all = events.value(QStringLiteral("events")).toArray();
    QJsonArray nextEvents;
    const int next = events.value(QStringLiteral("next")).toInt();
    for (int i = 0; next > 0 && i < std::min<qsizetype>(kNextEvents, all.size()); ++i)
        nextEvents.append(all.at((next - 1 + i) % all.size()));
    return QJsonObject{
        {QStringLiteral("music"),
         QJsonObject{{QStringLiteral("status"), statusName(music.status())},
                     {QStringLiteral("upcoming"), rowsFrom(*music.clipList, music.rowInPlay() + 1, kUpcomingSongs)}}},
        {QStringLiteral("insert"),
         QJsonObject{{QStringLiteral("status"), statusName(insert.status())},
                     {QStringLiteral("break"), breakObject(insert)},
                     {QStringLiteral("rows"), insert.clipList->count()}}},
        {QStringLiteral("schedule"), nextEvents},
        {QStringLiteral("stream"), music.streamingStatusLabel->text()}};
}

QJsonObject meter(const MusicWindow& music)
{
    return QJsonObject{{QStringLiteral("left"), music.outputMeter.levelTenths(0) / 10.0},
                       {QStringLiteral("right"), music.outputMeter.levelTenths(1) / 10.0}};
}

QJsonObject error(const QString& why) { return QJsonObject{{QStringLiteral("error"), why}}; }

}  // namespace tavlo::WebJson
