#pragma once

#include <QString>

namespace tavlo {

// Where the music window reports each song it loads for playing (title,
// artist, album, the seconds that will be played and the file name without
// its folder), and then asks for the report to be sent.
// UI thread only.
class SongInfoSink {
public:
    virtual ~SongInfoSink() = default;
    virtual void sendSongInfo(const QString& title, const QString& artist, const QString& album, int seconds,
                              const QString& fileName) = 0;
};

// Until the reporting window exists: nothing is sent.
class NullSongInfoSink : public SongInfoSink {
public:
    void sendSongInfo(const QString&, const QString&, const QString&, int, const QString&) override {}
};

}  // namespace tavlo
