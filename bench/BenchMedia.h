#pragma once

// What the list and playlist benchmarks share: 100,000 small tagged files
// (made once, kept between runs) and the floor every list loader is held
// against, a plain loop that opens each file and reads its last 128 bytes;
// and a second set whose tags are ID3v2.3 in front, with its own floor that
// reads each file's first 4 KiB.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace tavlo::bench {

constexpr int kTaggedFiles = 100000;
constexpr int kPerFolder = 1000;

using WallClock = std::chrono::steady_clock;

inline double msSince(WallClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(WallClock::now() - start).count();
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline QString taggedFilePath(const QString& dir, int i)
{
    return QStringLiteral("%1/%2/Track %3 - Artist %4.mp3")
        .arg(dir)
        .arg(i / kPerFolder, 3, 10, QLatin1Char('0'))
        .arg(i, 6, 10, QLatin1Char('0'))
        .arg(i % 997);
}

inline void putText(char* at, size_t size, const std::string& text)
{
    std::memcpy(at, text.data(), std::min(size, text.size()));
}

// A silent MPEG-1 Layer III frame, 32 kbit/s mono at 44.1 kHz: 104 bytes
// that a decoder takes for real audio.
inline void appendSilentFrame(std::vector<char>& bytes)
{
    const size_t at = bytes.size();
    bytes.resize(at + 104, '\0');
    bytes[at] = '\xff';
    bytes[at + 1] = '\xfb';
    bytes[at + 2] = '\x10';
    bytes[at + 3] = '\xc4';
}

// Two to six silent MP3 frames, then an ID3v1 record: a file a tag reader
// takes for the MP3 it is (filler that only looks like frames sends it
// searching the whole file for a tag).
inline std::vector<char> taggedFileBytes(int i)
{
    std::vector<char> bytes;
    for (int f = 0; f < 2 + i % 5; ++f)
        appendSilentFrame(bytes);
    std::array<char, 128> tag{};
    std::memcpy(tag.data(), "TAG", 3);
    putText(tag.data() + 3, 30, "Track " + std::to_string(i));
    putText(tag.data() + 33, 30, "Artist " + std::to_string(i % 997));
    putText(tag.data() + 63, 30, "Album " + std::to_string(i % 3001));
    putText(tag.data() + 93, 4, std::to_string(1965 + i % 60));
    putText(tag.data() + 97, 30, "bench");
    tag[127] = static_cast<char>(i % 148);
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    return bytes;
}

// Four bytes, most significant first, of `bits` bits each (8, or 7 where
// ID3v2 wants its sizes syncsafe).
inline void appendBigEndian(std::vector<char>& bytes, uint32_t value, int bits)
{
    for (int b = 3; b >= 0; --b)
        bytes.push_back(static_cast<char>((value >> (b * bits)) & ((1u << bits) - 1)));
}

// ID3v2.3 text, in Latin-1 or, as many taggers write it, UTF-16 with a BOM.
inline void appendId3Text(std::vector<char>& bytes, const std::string& text, bool utf16, bool terminated)
{
    if (utf16) {
        bytes.push_back('\xff');
        bytes.push_back('\xfe');
        for (char c : text) {
            bytes.push_back(c);
            bytes.push_back('\0');
        }
        if (terminated)
            bytes.insert(bytes.end(), 2, '\0');
    } else {
        bytes.insert(bytes.end(), text.begin(), text.end());
        if (terminated)
            bytes.push_back('\0');
    }
}

inline void appendId3Frame(std::vector<char>& tag, const char* id, const std::vector<char>& body)
{
    tag.insert(tag.end(), id, id + 4);
    appendBigEndian(tag, static_cast<uint32_t>(body.size()), 8);
    tag.insert(tag.end(), 2, '\0');
    tag.insert(tag.end(), body.begin(), body.end());
}

inline std::string id3v2Title(int i) { return "Song " + std::to_string(i); }
inline std::string id3v2Genre(int i)
{
    static const char* const genres[] = {"Pop", "Rock", "Jazz", "Latin", "Folk", "Blues", "Dance", "Country"};
    return genres[i % 8];
}
inline const char* id3v2Comment() { return "Made for the list benchmark"; }

// An ID3v2.3 tag with title, artist, album, year, genre and comment (every
// third file's texts in UTF-16), then a few silent MP3 frames.
inline std::vector<char> id3v2FileBytes(int i)
{
    const bool utf16 = i % 3 == 0;
    const std::pair<const char*, std::string> texts[] = {
        {"TIT2", id3v2Title(i)},
        {"TPE1", "Artist " + std::to_string(i % 997)},
        {"TALB", "Album " + std::to_string(i % 3001)},
        {"TYER", std::to_string(1965 + i % 60)},
        {"TCON", id3v2Genre(i)},
    };
    const char encoding = utf16 ? 1 : 0;
    std::vector<char> frames;
    for (const auto& [id, text] : texts) {
        std::vector<char> body{encoding};
        appendId3Text(body, text, utf16, false);
        appendId3Frame(frames, id, body);
    }
    std::vector<char> comment{encoding, 'e', 'n', 'g'};
    appendId3Text(comment, "", utf16, true);
    appendId3Text(comment, id3v2Comment(), utf16, false);
    appendId3Frame(frames, "COMM", comment);

    std::vector<char> bytes{'I', 'D', '3', 3, 0, 0};
    appendBigEndian(bytes, static_cast<uint32_t>(frames.size()), 7);
    bytes.insert(bytes.end(), frames.begin(), frames.end());
    for (int f = 0; f < 2 + i % 3; ++f)
        appendSilentFrame(bytes);
    return bytes;
}

// The paths of the tagged files in `dir`, made first unless an earlier run
// finished making them; `bytesFor` gives file i its contents.
inline QStringList ensureTaggedFiles(const QString& dir, std::vector<char> (*bytesFor)(int) = taggedFileBytes)
{
    QStringList paths;
    paths.reserve(kTaggedFiles);
    for (int i = 0; i < kTaggedFiles; ++i)
        paths.append(taggedFilePath(dir, i));
    const QString done = dir + QStringLiteral("/complete-v2-%1").arg(kTaggedFiles);
    if (QFile::exists(done))
        return paths;
    std::fprintf(stderr, "making %d tagged files in %s\n", kTaggedFiles, qPrintable(dir));
    for (int f = 0; f * kPerFolder < kTaggedFiles; ++f)
        QDir().mkpath(QStringLiteral("%1/%2").arg(dir).arg(f, 3, 10, QLatin1Char('0')));
    for (int i = 0; i < kTaggedFiles; ++i) {
        const std::vector<char> bytes = bytesFor(i);
        const int fd = ::open(QFile::encodeName(paths[i]).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(paths[i]));
            std::exit(1);
        }
        ::close(fd);
    }
    QFile marker(done);
    if (!marker.open(QIODevice::WriteOnly))
        std::exit(1);
    return paths;
}

// Opens each file, lets `readTag(fd)` read what a floor reads and say
// whether a tag is there, closes it; the milliseconds it took.
template <typename ReadTag>
double timeFloor(const std::vector<QByteArray>& paths, const char* name, const ReadTag& readTag)
{
    long tags = 0;
    const auto start = WallClock::now();
    for (const QByteArray& p : paths) {
        const int fd = ::open(p.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (readTag(fd))
            ++tags;
        ::close(fd);
    }
    const double ms = msSince(start);
    if (tags != static_cast<long>(paths.size()))
        std::fprintf(stderr, "%s found %ld tags of %zu\n", name, tags, paths.size());
    return ms;
}

// The least any list loader must do: open each file, read its last 128 bytes.
inline double floorLoop(const std::vector<QByteArray>& paths)
{
    return timeFloor(paths, "floor loop", [](int fd) {
        char record[128];
        return ::lseek(fd, -128, SEEK_END) >= 0 && ::read(fd, record, sizeof record) == 128 && record[0] == 'T';
    });
}

// The floor for files whose tags are in front: open each file, read its
// first 4 KiB, close it.
inline double headFloorLoop(const std::vector<QByteArray>& paths)
{
    return timeFloor(paths, "head floor loop", [](int fd) {
        static char head[4096];
        return ::read(fd, head, sizeof head) >= 3 && std::memcmp(head, "ID3", 3) == 0;
    });
}

}  // namespace tavlo::bench
