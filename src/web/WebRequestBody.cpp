#include "web/WebRequestBody.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavlo::WebRequestBody {

namespace {

bool plausiblePath(const QString& path)
{
    if (!path.startsWith(QLatin1Char('/')) || path.size() > 4096)
        return false;
    for (QChar c : path)
        if (c.unicode() < 0x20)
            return false;
    return true;
}

}  // namespace

std::optional<RowsToAdd> rowsToAdd(const QByteArray& json, QString* why)
{
    auto refuse = [why](const QString& reason) -> std::optional<RowsToAdd> {
        *why = reason;
        return std::nullopt;
    };
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return refuse(QStringLiteral("the body is not JSON: %1").arg(error.errorString()));
    if (!doc.isObject())
        return refuse(QStringLiteral("the body is a JSON object"));
    const QJsonObject o = doc.object();
    for (auto it = o.begin(); it != o.end(); ++it)
        if (it.key() != QLatin1String("files") && it.key() != QLatin1String("playlist")
            && it.key() != QLatin1String("position"))
            return refuse(QStringLiteral("unknown member \"%1\"").arg(it.key()));
    RowsToAdd rows;
    const bool hasFiles = o.contains(QLatin1String("files"));
    const bool hasPlaylist = o.contains(QLatin1String("playlist"));
    if (hasFiles == hasPlaylist)
        return refuse(QStringLiteral("give either \"files\" or \"playlist\""));
    if (hasFiles) {
        const QJsonValue files = o.value(QLatin1String("files"));
        if (!files.isArray() || files.toArray().isEmpty() || files.toArray().size() > kMaxFiles)
            return refuse(QStringLiteral("\"files\" is an array of 1 to %1 paths").arg(kMaxFiles));
        for (const QJsonValue& f : files.toArray()) {
            if (!f.isString() || !plausiblePath(f.toString()))
                return refuse(QStringLiteral("each file is an absolute path"));
            rows.files << f.toString();
        }
    } else {
        const QJsonValue playlist = o.value(QLatin1String("playlist"));
        if (!playlist.isString() || !plausiblePath(playlist.toString()))
            return refuse(QStringLiteral("\"playlist\" is an absolute path"));
        rows.playlist = playlist.toString();
    }
    if (o.contains(QLatin1String("position"))) {
        const QJsonValue p = o.value(QLatin1String("position"));
        const double d = p.toDouble(-1);
        if (!p.isDouble() || d < 0 || d > 1e9 || d != static_cast<double>(static_cast<int>(d)))
            return refuse(QStringLiteral("\"position\" is a row number from 1, or 0 for the end"));
        rows.position = static_cast<int>(d);
    }
    return rows;
}

}  // namespace tavlo::WebRequestBody
