#pragma once

#include "fakes/FakeMediaService.h"
#include "fakes/TestFiles.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace tavlo::test {

// The entries of an as-run log file, in order, without the date and time and
// without the log's start and end lines.
inline QStringList logPaths(const QString& file)
{
    QStringList paths;
    for (const QByteArray& line : readFile(file).split('\n')) {
        const QString text = QString::fromLatin1(line).trimmed();
        const qsizetype sep = text.indexOf(QLatin1String(" ; "));
        const QString what = sep < 0 ? QString() : text.mid(sep + 3);
        if (!what.isEmpty() && what != QLatin1String("LOG START") && what != QLatin1String("LOG END"))
            paths << what;
    }
    return paths;
}

// Songs a listener hears start: a stream seen moving forward for the first time.
class StartWatcher {
public:
    explicit StartWatcher(const FakeMediaService& media) : m_media(media) {}
    // Returns the paths that started since the last look.
    QStringList look()
    {
        QStringList started;
        QHash<int, double> seen;
        QSet<int> stillStarted;
        for (FakeStream* s : m_media.streams()) {
            const double pos = s->position();
            if (m_started.contains(s->id())) {
                stillStarted.insert(s->id());
            } else if (s->state() == FakeStream::State::Running && m_lastPos.contains(s->id())
                       && pos > m_lastPos.value(s->id())) {
                stillStarted.insert(s->id());
                started << s->path();
            }
            seen.insert(s->id(), pos);
        }
        m_lastPos = seen;
        // Only live streams are remembered (ids are never reused), so a
        // watcher kept for days stays as small as the set of open streams.
        m_started = stillStarted;
        return started;
    }

private:
    const FakeMediaService& m_media;
    QHash<int, double> m_lastPos;  // by stream id: a freed stream's address may come back
    QSet<int> m_started;
};

}  // namespace tavlo::test
