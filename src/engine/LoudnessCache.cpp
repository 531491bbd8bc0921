#include "engine/LoudnessCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

namespace tavlo {

namespace {
// Written for a file that holds nothing measurable.
const QByteArray kNone = QByteArrayLiteral("none");
// Written for a file with no sound above silence, so no cue points.
const QByteArray kNoCues = QByteArrayLiteral("-");
// The fields before the path.
constexpr int kFields = 5;

QByteArray cuesText(const std::optional<CuePoints>& c)
{
    if (!c)
        return kNoCues;
    // Rounded down to the millisecond: a point read back never lies past
    // the sound it marks.
    auto ms = [](double s) { return QByteArray::number(std::floor(s * 1000.0 + 1e-6) / 1000.0, 'f', 3); };
    return ms(c->cueIn) + ':' + ms(c->segue) + ':' + ms(c->cueOut);
}

// False when the field is not cue points as cuesText writes them.
bool readCues(const QByteArray& text, std::optional<CuePoints>& cues)
{
    if (text == kNoCues) {
        cues.reset();
        return true;
    }
    const QList<QByteArray> parts = text.split(':');
    if (parts.size() != 3)
        return false;
    bool ok[3] = {};
    const CuePoints c{parts[0].toDouble(&ok[0]), parts[1].toDouble(&ok[1]), parts[2].toDouble(&ok[2])};
    if (!ok[0] || !ok[1] || !ok[2] || !std::isfinite(c.cueOut) || !(0 <= c.cueIn && c.cueIn <= c.segue && c.segue <= c.cueOut))
        return false;
    cues = c;
    return true;
}
// A file re-measured adds a line; once the superseded lines outnumber the
// live ones by this much, the file is written afresh.
constexpr qsizetype kStaleLinesBeforeCompacting = 64;
}  // namespace

QByteArray LoudnessCache::lineFor(const QString& path, const Entry& e)
{
    const LoudnessMeasurement& m = e.measurement;
    const bool measured = m.state == LoudnessMeasurement::State::Measured;
    QByteArray line = QByteArray::number(e.key.size) + '\t' + QByteArray::number(e.key.modifiedMs) + '\t';
    line += measured ? QByteArray::number(m.integratedLufs, 'f', 3) + '\t' + QByteArray::number(m.truePeakDbtp, 'f', 3)
                     : kNone + '\t' + kNone;
    return line + '\t' + cuesText(m.cues) + '\t' + path.toUtf8() + '\n';
}

void LoudnessCache::compact() const
{
    QSaveFile f(m_file);
    if (!f.open(QIODevice::WriteOnly))
        return;
    for (auto it = m_entries.constBegin(); it != m_entries.constEnd(); ++it)
        f.write(lineFor(it.key(), it.value()));
    f.commit();
}

std::optional<LoudnessCache::Key> LoudnessCache::keyOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return Key{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

std::optional<LoudnessMeasurement> LoudnessCache::find(const QString& path, const Key& key)
{
    load();
    const auto it = m_entries.constFind(path);
    if (it == m_entries.constEnd() || !(it->key == key))
        return std::nullopt;
    return it->measurement;
}

void LoudnessCache::insert(const QString& path, const Key& key, const LoudnessMeasurement& m)
{
    load();
    m_entries.insert(path, Entry{key, m});
    if (m_file.isEmpty())
        return;
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    QFile f(m_file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;  // a cache that cannot be written only costs a measurement next run
    f.write(lineFor(path, Entry{key, m}));
}

void LoudnessCache::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    QFile f(m_file);
    if (m_file.isEmpty() || !f.open(QIODevice::ReadOnly))
        return;
    qsizetype lines = 0;
    while (!f.atEnd()) {
        ++lines;
        QByteArray line = f.readLine();
        if (!line.endsWith('\n'))
            continue;  // cut short by a crash
        line.chop(1);
        // The path comes last and may hold anything but a line break.
        QList<QByteArray> parts;
        qsizetype from = 0;
        for (int i = 0; i < kFields; ++i) {
            const qsizetype tab = line.indexOf('\t', from);
            if (tab < 0)
                break;
            parts << line.mid(from, tab - from);
            from = tab + 1;
        }
        if (parts.size() != kFields)
            continue;
        parts << line.mid(from);
        bool ok1 = false, ok2 = false;
        Entry e;
        e.key = Key{parts[0].toLongLong(&ok1), parts[1].toLongLong(&ok2)};
        if (!ok1 || !ok2)
            continue;
        if (parts[2] == kNone) {
            e.measurement.state = LoudnessMeasurement::State::Unmeasurable;
        } else {
            bool ok3 = false, ok4 = false;
            e.measurement = {LoudnessMeasurement::State::Measured, parts[2].toDouble(&ok3), parts[3].toDouble(&ok4)};
            if (!ok3 || !ok4 || !readCues(parts[4], e.measurement.cues))
                continue;
        }
        m_entries.insert(QString::fromUtf8(parts[5]), e);
    }
    f.close();
    if (lines - m_entries.size() > kStaleLinesBeforeCompacting + m_entries.size())
        compact();
}

}  // namespace tavlo
