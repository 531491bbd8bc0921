#pragma once

// What the list and playlist benchmarks share: 100,000 small tagged files
// (made once, kept between runs) and the floor every list loader is held
// against, a plain loop that opens each file and reads its last 128 bytes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
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

// A few hundred bytes of frame-like filler, then an ID3v1 record.
inline std::vector<char> taggedFileBytes(int i)
{
    std::vector<char> bytes(static_cast<size_t>(160 + (i % 5) * 48), '\0');
    for (size_t b = 0; b + 1 < bytes.size(); b += 4) {
        bytes[b] = '\xff';
        bytes[b + 1] = '\xfb';
    }
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

// The paths of the tagged files in `dir`, made first unless an earlier run
// finished making them.
inline QStringList ensureTaggedFiles(const QString& dir)
{
    QStringList paths;
    paths.reserve(kTaggedFiles);
    for (int i = 0; i < kTaggedFiles; ++i)
        paths.append(taggedFilePath(dir, i));
    const QString done = dir + QStringLiteral("/complete-%1").arg(kTaggedFiles);
    if (QFile::exists(done))
        return paths;
    std::fprintf(stderr, "making %d tagged files in %s\n", kTaggedFiles, qPrintable(dir));
    for (int f = 0; f * kPerFolder < kTaggedFiles; ++f)
        QDir().mkpath(QStringLiteral("%1/%2").arg(dir).arg(f, 3, 10, QLatin1Char('0')));
    for (int i = 0; i < kTaggedFiles; ++i) {
        const std::vector<char> bytes = taggedFileBytes(i);
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

// The least any list loader must do: open each file, read its last 128 bytes.
inline double floorLoop(const std::vector<QByteArray>& paths)
{
    char record[128];
    long tags = 0;
    const auto start = WallClock::now();
    for (const QByteArray& p : paths) {
        const int fd = ::open(p.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::lseek(fd, -128, SEEK_END) >= 0 && ::read(fd, record, sizeof record) == 128 && record[0] == 'T')
            ++tags;
        ::close(fd);
    }
    const double ms = msSince(start);
    if (tags != static_cast<long>(paths.size()))
        std::fprintf(stderr, "floor loop found %ld tags of %zu\n", tags, paths.size());
    return ms;
}

}  // namespace tavlo::bench
