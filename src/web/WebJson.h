#pragma once

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>

namespace tavlo {

class InsertWindow;
class MusicWindow;
class PlayerWindow;
class SchedulerWindow;

// The JSON the remote answers with, read off the windows as they stand. The
// shapes are what /api/openapi.json documents; changing one changes the API.
// UI thread only (the windows are).
namespace WebJson {

// The song on air (title, artist, album, file, elapsed and duration in
// seconds, which window, its row), the music list's next song, the break,
// the music deck's status and the station's time of day.
QJsonObject nowPlaying(const MusicWindow& music, const InsertWindow& insert, const QDateTime& now);

// A player window's list: every row with its tags, and the row in play.
QJsonObject listRows(const PlayerWindow& window);

// The scheduler's events in its order (by time of day), and which comes next after `now`.
QJsonObject schedule(const SchedulerWindow& scheduler, const QDateTime& now);

// A day's as-run log file as rows: the time text before " ; " and the entry after it.
QJsonArray logRows(const QByteArray& fileText);

// What the remote page shows besides now-playing: the music list's next
// songs, the insert window, the scheduler's next events, the stream.
QJsonObject station(const MusicWindow& music, const InsertWindow& insert, const SchedulerWindow& scheduler,
                    const QDateTime& now);

// The output meter, in dBFS per channel.
QJsonObject meter(const MusicWindow& music);

// An error answer's body: {"error": why}.
QJsonObject error(const QString& why);

}  // namespace WebJson

}  // namespace tavlo
