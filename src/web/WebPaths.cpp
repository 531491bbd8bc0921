#include "web/WebPaths.h"

#include <QStringDecoder>

namespace tavlo::WebPaths {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Strict percent-decoding into UTF-8 text; `plusIsSpace` for query strings.
std::optional<QString> percentDecode(const QByteArray& raw, bool plusIsSpace)
{
    QByteArray bytes;
    bytes.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '%') {
            if (i + 2 >= raw.size())
                return std::nullopt;
            const int hi = hexValue(raw[i + 1]);
            const int lo = hexValue(raw[i + 2]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            bytes.append(static_cast<char>(hi * 16 + lo));
            i += 2;
        } else if (c == '+' && plusIsSpace) {
            bytes.append(' ');
        } else {
            bytes.append(c);
        }
    }
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || c == '\\')
            return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

}  // namespace

std::optional<QString> decodePath(const QByteArray& raw)
{
    if (!raw.startsWith('/'))
        return std::nullopt;
    if (raw.size() == 1)
        return QStringLiteral("/");
    // Decoded one segment at a time, so an encoded '/' stays inside its segment and is refused there.
    QString path;
    const QList<QByteArray> segments = raw.mid(1).split('/');
    for (const QByteArray& s : segments) {
        const auto text = percentDecode(s, false);
        if (!text || text->isEmpty() || *text == QLatin1String(".") || *text == QLatin1String("..")
            || text->contains(QLatin1Char('/')))
            return std::nullopt;
        path += QLatin1Char('/') + *text;
    }
    return path;
}

std::optional<QHash<QString, QString>> parseQuery(const QByteArray& raw, int maxPairs)
{
    QHash<QString, QString> values;
    if (raw.isEmpty())
        return values;
    const QList<QByteArray> pairs = raw.split('&');
    if (pairs.size() > maxPairs)
        return std::nullopt;
    for (const QByteArray& pair : pairs) {
        if (pair.isEmpty())
            continue;
        const qsizetype eq = pair.indexOf('=');
        const auto name = percentDecode(eq < 0 ? pair : pair.left(eq), true);
        const auto value = percentDecode(eq < 0 ? QByteArray() : pair.mid(eq + 1), true);
        if (!name || !value || name->isEmpty())
            return std::nullopt;
        if (!values.contains(*name))
            values.insert(*name, *value);
    }
    return values;
}

std::optional<PageFile> pageFile(const QString& path)
{
    if (path == QLatin1String("/") || path == QLatin1String("/index.html"))
        return PageFile{QStringLiteral(":/web/index.html"), "text/html; charset=utf-8"};
    if (path == QLatin1String("/remote.css"))
        return PageFile{QStringLiteral(":/web/remote.css"), "text/css; charset=utf-8"};
    if (path == QLatin1String("/remote.js"))
        return PageFile{QStringLiteral(":/web/remote.js"), "text/javascript; charset=utf-8"};
    if (path == QLatin1String("/icon.svg"))
        return PageFile{QStringLiteral(":/web/icon.svg"), "image/svg+xml"};
    if (path == QLatin1String("/api/openapi.json"))
        return PageFile{QStringLiteral(":/web/openapi.json"), "application/json"};
    return std::nullopt;
}

}  // namespace tavlo::WebPaths
