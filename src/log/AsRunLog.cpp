#include "log/AsRunLog.h"

#include "platform/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tavlo {

namespace {

// Qt's long time format ends in the time-zone name ("HH:mm:ss t"); the
// general date the log uses shows the time alone. Drops every unquoted "t"
// field with the spaces before it.
QString withoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('t')) {
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

// One write() of the whole line to a file opened for appending: the kernel
// then places the line at the end in one piece, whoever else appends.
// 0 when written, else the errno of what failed.
int appendBytes(const QString& fileName, const QByteArray& bytes)
{
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    const char* data = bytes.constData();
    size_t left = static_cast<size_t>(bytes.size());
    int error = 0;
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

// The folder the operator would look in: where the day's file goes.
QString folderShown(const QString& folder, const QDate& date)
{
    return QDir::toNativeSeparators(QFileInfo(AsRunLog::fileName(folder, date)).absolutePath());
}

}  // namespace

AsRunLog::AsRunLog(const Clock& clock, const QLocale& locale)
    : m_clock(clock),
      m_locale(locale),
      m_dateTimeFormat(locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ')
                       + withoutTimeZone(locale.timeFormat(QLocale::LongFormat)))
{
}

bool AsRunLog::write(bool logSwitch, const QString& folder, int kind, const QString& error, const QString& entry)
{
    if (kind != LogEnd && !logSwitch)
        return false;
    return append(folder, kind, error, entry);
}

bool AsRunLog::append(const QString& folder, int kind, const QString& error, const QString& entry)
{
    // One reading of the clock for both, so a line never lands in the file of the other day.
    const QDateTime now = m_clock.now().toLocalTime();
    keep({now.date(), (lineText(now, kind, error, entry) + QLatin1String("\r\n")).toLatin1()});
    if (m_failing && !retryDue(now, folder))
        return false;
    return writeKept(folder, now);
}

void AsRunLog::retry(const QString& folder)
{
    const QDateTime now = m_clock.now().toLocalTime();
    if (!m_kept.empty() && retryDue(now, folder))
        writeKept(folder, now);
}

qint64 AsRunLog::msUntilRetry() const
{
    if (!m_failing)
        return 0;
    return std::max<qint64>(0, m_clock.now().msecsTo(m_failedAt.addMSecs(kRetryMs)));
}

bool AsRunLog::retryDue(const QDateTime& now, const QString& folder)
{
    // Another folder is another chance at once; a clock set back starts the minute again.
    if (folder != m_failedFolder)
        return true;
    if (now < m_failedAt)
        m_failedAt = now;
    return m_failedAt.msecsTo(now) >= kRetryMs;
}

void AsRunLog::keep(KeptLine line)
{
    if (m_kept.size() >= static_cast<size_t>(kKeptLines)) {
        m_kept.pop_front();
        ++m_dropped;
    }
    m_kept.push_back(std::move(line));
}

bool AsRunLog::writeKept(const QString& folder, const QDateTime& now)
{
    while (!m_kept.empty()) {
        const KeptLine& line = m_kept.front();
        if (const int error = appendBytes(fileName(folder, line.date), line.bytes)) {
            m_failedAt = now;
            m_failedFolder = folder;
            if (!m_failing) {
                m_failing = true;
                say(QStringLiteral("The log folder %1 cannot be written: %2. "
                                   "Tavlo keeps the lines and tries again every minute.")
                        .arg(folderShown(folder, line.date), QString::fromLocal8Bit(std::strerror(error))));
            }
            return false;
        }
        m_kept.pop_front();
    }
    if (m_failing) {
        m_failing = false;
        QString text = QStringLiteral("The log folder %1 is written again.").arg(folderShown(folder, now.date()));
        if (m_dropped > 0)
            text += QStringLiteral(" %1 older lines did not fit in memory and are lost.").arg(m_dropped);
        m_dropped = 0;
        say(text);
    }
    return true;
}

void AsRunLog::say(const QString& text) const
{
    if (onNotice)
        onNotice(text);
}

QString AsRunLog::fileName(const QString& folder, const QDate& date)
{
    return folder + date.toString(QStringLiteral("yyyyMMdd")) + QLatin1String(".log");
}

QString AsRunLog::lineText(const QDateTime& when, int kind, const QString& error,
                           const QString& entry) const
{
    const QString stamp = dateTimeText(when);
    switch (kind) {
    case LogStart:
        return stamp + QLatin1String(" ; LOG START");
    case LogEnd:
        return stamp + QLatin1String(" ; LOG END");
    default:
        return stamp + QLatin1String(" ; ") + error + entry;
    }
}

QString AsRunLog::dateTimeText(const QDateTime& when) const { return m_locale.toString(when, m_dateTimeFormat); }

}  // namespace tavlo
