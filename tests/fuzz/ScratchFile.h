#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace tavlo::fuzz {

// A broken promise of the code under test: a crash the fuzzer keeps. Said on
// stdout, which stays open where a target closes stderr to quiet a library.
inline void check(bool ok, const char* promise)
{
    if (!ok) {
        std::printf("broken: %s\n", promise);
        std::fflush(stdout);
        std::abort();
    }
}

// A file of this process in /dev/shm (memory, so a run does not wear the
// disk), for the readers that only take a path. Each input replaces the last
// one; the file goes when the process ends normally. After a crash it stays,
// named by the process, for a look.
class ScratchFile {
public:
    explicit ScratchFile(const char* suffix)
        : m_path(QStringLiteral("/dev/shm/tavlo-fuzz-%1%2").arg(::getpid()).arg(QString::fromLatin1(suffix)))
    {
    }
    ~ScratchFile() { ::unlink(m_encoded.constData()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const QString& path() const { return m_path; }

    const QString& write(const std::uint8_t* data, std::size_t size)
    {
        const int fd = ::open(m_encoded.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        check(fd >= 0, "the scratch file opens");  // without it the run would test nothing
        for (std::size_t done = 0; done < size;) {
            const ssize_t n = ::write(fd, data + done, size - done);
            check(n > 0, "the scratch file takes the input");
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        return m_path;
    }

private:
    QString m_path;
    QByteArray m_encoded = m_path.toLocal8Bit();
};

}  // namespace tavlo::fuzz
