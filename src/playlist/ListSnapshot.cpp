#include "playlist/ListSnapshot.h"

#include <QFile>
#include <QSaveFile>

namespace tavlo::ListSnapshot {

namespace {

const QByteArray kHeader = QByteArrayLiteral("tavlo-list 1");

QByteArray escaped(const QString& text)
{
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

QString unescaped(QByteArrayView field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == '\\' && i + 1 < field.size()) {
            const char e = field[++i];
            c = e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        }
        out += c;
    }
    return QString::fromUtf8(out);
}

}  // namespace

SaveResult save(const QString& fileName, const PlaylistModel& list)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    QByteArray chunk = kHeader + '\n';
    for (int n = 1; n <= list.count(); ++n) {
        const PlaylistRow& row = list.row(n);
        for (int c = 0; c < ColumnCount; ++c) {
            if (c > 0)
                chunk += '\t';
            chunk += escaped(row.fields[static_cast<size_t>(c)]);
        }
        chunk += '\n';
        if (chunk.size() > (1 << 16)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

std::optional<std::vector<PlaylistRow>> read(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray all = file.readAll();
    const qsizetype headerEnd = all.indexOf('\n');
    if (headerEnd < 0 || QByteArrayView(all).first(headerEnd) != kHeader)
        return std::nullopt;
    std::vector<PlaylistRow> rows;
    qsizetype start = headerEnd + 1;
    while (start < all.size()) {
        qsizetype end = all.indexOf('\n', start);
        if (end < 0)
            end = all.size();
        const QByteArrayView line = QByteArrayView(all).sliced(start, end - start);
        start = end + 1;
        if (line.isEmpty())
            continue;
        PlaylistRow row;
        int c = 0;
        qsizetype from = 0;
        while (c < ColumnCount) {
            qsizetype tab = line.indexOf('\t', from);
            if (tab < 0)
                tab = line.size();
            row.fields[static_cast<size_t>(c++)] = unescaped(line.sliced(from, tab - from));
            if (tab >= line.size())
                break;
            from = tab + 1;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tavlo::ListSnapshot
