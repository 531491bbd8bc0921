#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace tavlo::test {

// Whole files put on disk and read back by tests (a failure shows as a wrong
// result in the test itself), and the tag record the list reads from them.
inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

// Runs a program of the test media's tools (sox, lame, flac, ...) and waits;
// whether it exited 0.
// Through posix_spawnp rather than QProcess: Qt 6.4 starts a child with a raw
// vfork whose child side runs ThreadSanitizer's interceptors on this
// process's memory, after which TSan loses track of this thread's locks and
// atomics and reports races that are not there. glibc's spawn stays clear of
// them.
inline bool runTool(const char* program, const QStringList& args)
{
    std::vector<QByteArray> bytes{QByteArray(program)};
    for (const QString& a : args)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A 128-byte ID3v1 record, each text written as given and padded with NULs.
inline QByteArray id3v1Record(const QByteArray& title, const QByteArray& artist = {}, const QByteArray& album = {},
                              const QByteArray& year = {}, const QByteArray& comment = {}, int genre = 255)
{
    return "TAG" + title.leftJustified(30, '\0', true) + artist.leftJustified(30, '\0', true) +
           album.leftJustified(30, '\0', true) + year.leftJustified(4, '\0', true) +
           comment.leftJustified(30, '\0', true) + char(genre);
}

}  // namespace tavlo::test
