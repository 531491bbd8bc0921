#include "platform/widgets/FileDrag.h"

#include <QDataStream>
#include <QFileInfo>
#include <QIODevice>
#include <QMimeData>
#include <QUrl>

namespace tavlo {

namespace {

QString exactPathsType() { return QStringLiteral("application/x-tavlo-paths"); }

}  // namespace

QMimeData* makeFileDrag(const QStringList& paths)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    urls.reserve(paths.size());
    for (const QString& path : paths) {
        // Other programs know nothing of the folder a relative entry is read
        // from, so they get it resolved the way the player would open it.
        if (!path.isEmpty())
            urls.append(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    }
    data->setUrls(urls);

    QByteArray exact;
    QDataStream out(&exact, QIODevice::WriteOnly);
    out << paths;
    data->setData(exactPathsType(), exact);
    return data;
}

QStringList droppedFiles(const QMimeData* data)
{
    if (!data)
        return {};
    if (data->hasFormat(exactPathsType())) {
        QStringList paths;
        QDataStream in(data->data(exactPathsType()));
        in >> paths;
        if (in.status() == QDataStream::Ok && !paths.isEmpty())
            return paths;
    }
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

}  // namespace tavlo
