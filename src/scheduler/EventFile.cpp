#include "scheduler/EventFile.h"

#include <QFile>
#include <QSaveFile>

namespace tavlo::EventFile {

namespace {

// Windows-1252's characters for the bytes 0x80..0x9F; its other bytes are
// Latin-1's. The five unassigned bytes stay as their Latin-1 control codes.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromCp1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(QChar(b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char16_t(b)));
    }
    return text;
}

}  // namespace

QString decodeLine(const QByteArray& bytes)
{
    if (QByteArrayView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    return fromCp1252(bytes);
}

std::optional<std::vector<EventFields>> read(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;

    std::vector<EventFields> events;
    for (QByteArray line : all.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QStringList fields = decodeLine(line).split(QLatin1Char(';'));
        if (fields.size() < 2)
            continue;
        events.push_back({fields.at(0), fields.at(1), fields.size() >= 3 ? fields.at(2) : QStringLiteral("Ads")});
    }
    return events;
}

bool write(const QString& fileName, const std::vector<EventFields>& events, QString* error)
{
    QByteArray bytes;
    for (const EventFields& e : events)
        bytes += (e.time + QLatin1Char(';') + e.playlist + QLatin1Char(';') + e.window).toUtf8() + "\r\n";
    QSaveFile file(fileName);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

}  // namespace tavlo::EventFile
