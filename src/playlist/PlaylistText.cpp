#include "playlist/PlaylistText.h"

#include <QDir>
#include <QUrl>

#include <map>

namespace tavlo {

namespace {

bool endsWith(const QString& name, const char* suffix)
{
    return name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
}

// "scheme://" at the start: a URL, not a path.
qsizetype schemeLength(QStringView entry)
{
    qsizetype i = 0;
    while (i < entry.size() && (entry[i].isLetterOrNumber() || entry[i] == u'+' || entry[i] == u'.' || entry[i] == u'-'))
        ++i;
    if (i < 2 || !entry[0].isLetter() || !entry.sliced(i).startsWith(u"://"))
        return 0;
    return i;
}

}  // namespace

bool isPlaylistFileName(const QString& fileName)
{
    return endsWith(fileName, "m3u") || isExtendedM3uFileName(fileName) || isPlsFileName(fileName);
}

bool isPlsFileName(const QString& fileName) { return endsWith(fileName, ".pls"); }

bool isExtendedM3uFileName(const QString& fileName) { return endsWith(fileName, ".m3u8"); }

bool isValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        unsigned min = 0;
        unsigned code = 0;
        if ((c & 0xE0) == 0xC0) {
            more = 1, min = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, min = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode are not UTF-8.
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += more + 1;
    }
    return true;
}

QString playlistLineText(QByteArrayView line, bool utf8)
{
    if (utf8 || isValidUtf8(line))
        return QString::fromUtf8(line);
    return QString::fromLatin1(line);
}

std::optional<PlaylistEntry> parseExtInf(QStringView line)
{
    if (!line.startsWith(u"#EXTINF:", Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView rest = line.sliced(8);
    const qsizetype comma = rest.indexOf(u',');
    PlaylistEntry entry;
    // The length may be followed by attributes (tvg-id="..."); only the number counts.
    QStringView number = (comma < 0 ? rest : rest.first(comma)).trimmed();
    const qsizetype space = number.indexOf(u' ');
    if (space >= 0)
        number = number.first(space);
    bool ok = false;
    const double seconds = number.toDouble(&ok);
    entry.seconds = ok && seconds >= 0 && seconds < 1e7 ? static_cast<int>(seconds + 0.5) : -1;
    if (comma >= 0)
        entry.title = rest.sliced(comma + 1).trimmed().toString();
    return entry;
}

QString resolvePlaylistEntry(const QString& entry, const QString& playlistFolder)
{
    if (entry.isEmpty())
        return entry;
    if (const qsizetype scheme = schemeLength(entry)) {
        if (QStringView(entry).first(scheme).compare(u"file", Qt::CaseInsensitive) != 0)
            return entry;
        const QUrl url(entry);
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        // A line end escaped into the address would make the path two lines in a saved list.
        if (path.isEmpty() || path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
            return entry;
        return path;
    }
    if (entry.startsWith(QLatin1Char('/')))
        return entry;
    // Lists written on Windows separate folders with backslashes.
    QString relative = entry;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (playlistFolder.isEmpty())
        return relative;
    return QDir::cleanPath(playlistFolder + QLatin1Char('/') + relative);
}

std::vector<PlaylistEntry> parsePls(QByteArrayView bytes, const QString& playlistFolder)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    std::map<long long, PlaylistEntry> byNumber;
    bool inPlaylist = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QString line = playlistLineText(bytes.sliced(start, end - start), false).trimmed();
        start = end + 1;
        if (line.startsWith(QLatin1Char('['))) {
            inPlaylist = line.compare(QLatin1String("[playlist]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inPlaylist || eq <= 0)
            continue;
        const QStringView key = QStringView(line).first(eq).trimmed();
        const QString value = QStringView(line).sliced(eq + 1).trimmed().toString();
        qsizetype digits = key.size();
        while (digits > 0 && key[digits - 1].isDigit())
            --digits;
        bool ok = false;
        const long long number = key.sliced(digits).toLongLong(&ok);
        if (!ok || digits == key.size())
            continue;
        const QStringView name = key.first(digits);
        if (name.compare(u"File", Qt::CaseInsensitive) == 0) {
            byNumber[number].location = resolvePlaylistEntry(value, playlistFolder);
        } else if (name.compare(u"Title", Qt::CaseInsensitive) == 0) {
            byNumber[number].title = value;
        } else if (name.compare(u"Length", Qt::CaseInsensitive) == 0) {
            const long long seconds = value.toLongLong(&ok);
            byNumber[number].seconds = ok && seconds >= 0 && seconds < 10000000 ? static_cast<int>(seconds) : -1;
        }
    }
    std::vector<PlaylistEntry> entries;
    for (auto& [number, entry] : byNumber) {
        // A title or length without its file names nothing to play.
        if (!entry.location.isEmpty())
            entries.push_back(std::move(entry));
    }
    return entries;
}

QString locationForPlaylist(const QString& location, const QString& playlistFolder)
{
    // Only a clean path is shortened, and only to a form the reader turns
    // back into exactly this path.
    if (playlistFolder.isEmpty() || !location.startsWith(QLatin1Char('/')) || location.contains(QLatin1Char('\\'))
        || QDir::cleanPath(location) != location)
        return location;
    const QString folder = QDir::cleanPath(playlistFolder);
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    if (!location.startsWith(prefix) || location.size() == prefix.size())
        return location;
    const QString relative = location.sliced(prefix.size());
    // Read back, a line starting with '#' would be a comment, one starting
    // "name://" a URL, and a first line starting with a byte-order mark (in
    // UTF-8 or read as Latin-1) would lose it.
    if (relative.startsWith(QLatin1Char('#')) || schemeLength(relative) > 0 || relative.startsWith(QChar(0xFEFF))
        || relative.startsWith(QStringLiteral("\u00EF\u00BB\u00BF")))
        return QStringLiteral("./") + relative;
    return relative;
}

}  // namespace tavlo
