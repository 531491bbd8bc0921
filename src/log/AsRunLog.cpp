#include "log/AsRunLog.h"

#include "platform/Clock.h"

#include <QFile>

#include <cerrno>
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
bool appendBytes(const QString& fileName, const QByteArray& bytes)
{
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const char* data = bytes.constData();
    size_t left = static_cast<size_t>(bytes.size());
    bool ok = true;
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
    if (::close(fd) != 0)
        ok = false;
    return ok;
}

}  // namespace

AsRunLog::AsRunLog(const Clock& clock, const QLocale& locale)
    : m_clock(clock),
      m_locale(locale),
      m_dateTimeFormat(locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ')
                       + withoutTimeZone(locale.timeFormat(QLocale::LongFormat)))
{
}

bool AsRunLog::write(bool logSwitch, const QString& folder, int kind, const QString& error,
                     const QString& entry) const
{
    if (kind != LogEnd && !logSwitch)
        return false;
    return append(folder, kind, error, entry);
}

bool AsRunLog::append(const QString& folder, int kind, const QString& error,
                      const QString& entry) const
{
    // One reading of the clock for both, so a line never lands in the file of the other day.
    const QDateTime now = m_clock.now().toLocalTime();
    const QString line = lineText(now, kind, error, entry) + QLatin1String("\r\n");
    return appendBytes(fileName(folder, now.date()), line.toLatin1());
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
