#include "app/StationStateKeeper.h"

#include "app/Station.h"
#include "platform/Clock.h"
#include "platform/TimerService.h"
#include "playlist/ListSnapshot.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>

namespace tavlo {

namespace {

constexpr int kSaveEveryMs = 1000;
constexpr int kRetryAfterSeconds = 60;
// A song start or an event is kept this soon after it: once what it set off
// (the break prepared, the list switched) is done, not before.
constexpr int kSoonMs = 1;
const char* const kListNames[2] = {"music.list", "insert.list"};

}  // namespace

StationStateKeeper::StationStateKeeper(Station& station, TimerService& timers, const Clock& clock,
                                       const QString& folder)
    : m_station(station), m_clock(clock), m_folder(folder), m_timer(timers.createTimer()), m_soon(timers.createTimer())
{
    m_timer->setInterval(kSaveEveryMs);
    m_timer->setHandler([this] { saveNow(); });
    m_soon->setInterval(kSoonMs);
    m_soon->setHandler([this] {
        m_soon->setEnabled(false);
        saveNow();
    });
}

StationStateKeeper::~StationStateKeeper() = default;

QString StationStateKeeper::defaultFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG: a relative path is ignored.
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/tavlo");
}

QString StationStateKeeper::stateFile() const { return m_folder + QStringLiteral("/state.json"); }

std::optional<KeptStation> StationStateKeeper::read(QString* warning)
{
    QFile file(stateFile());
    if (!file.exists())
        return std::nullopt;
    QString why;
    std::optional<KeptStation> kept;
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
    } else if (auto state = StationState::fromJson(file.readAll(), &why)) {
        auto music = ListSnapshot::read(m_folder + QLatin1Char('/') + QLatin1String(kListNames[0]));
        auto insert = ListSnapshot::read(m_folder + QLatin1Char('/') + QLatin1String(kListNames[1]));
        if (music && insert)
            kept = KeptStation{std::move(*state), std::move(*music), std::move(*insert)};
        else
            why = QStringLiteral("missing its list");
    }
    file.close();
    if (kept)
        return kept;
    // Set aside, not deleted: whoever looks into the crash finds it.
    const QString aside =
        stateFile() + QStringLiteral(".unreadable-") + m_clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QFile::remove(aside);
    QFile::rename(stateFile(), aside);
    if (warning)
        *warning = QStringLiteral("The kept state %1 is %2; it was set aside as %3 and the station starts fresh.")
                       .arg(QDir::toNativeSeparators(stateFile()), why, QDir::toNativeSeparators(aside));
    return std::nullopt;
}

void StationStateKeeper::start()
{
    // Two Tavlos keeping one station (the service and a desktop's autostart)
    // would overwrite each other's state every second: the first keeps it.
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(m_folder + QStringLiteral("/lock"));
    if (!m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError) {
        m_station.music().tellOperator(
            QStringLiteral("Another Tavlo keeps the station's state in %1; this one plays but keeps nothing.")
                .arg(QDir::toNativeSeparators(m_folder)));
        return;
    }
    m_keeping = true;
    // A list is written again only after it changed: a 100,000-row list
    // costs its write once, not every second.
    const PlaylistModel* lists[2] = {m_station.music().clipList, m_station.insert().clipList};
    for (int w = 0; w < 2; ++w) {
        connect(lists[w], &QAbstractItemModel::modelReset, this, [this, w] { listChanged(w); });
        connect(lists[w], &QAbstractItemModel::layoutChanged, this, [this, w] { listChanged(w); });
        connect(lists[w], &QAbstractItemModel::rowsInserted, this, [this, w] { listChanged(w); });
        connect(lists[w], &QAbstractItemModel::rowsRemoved, this, [this, w] { listChanged(w); });
        connect(lists[w], &QAbstractItemModel::rowsMoved, this, [this, w] { listChanged(w); });
        connect(lists[w], &QAbstractItemModel::dataChanged, this, [this, w] { listChanged(w); });
    }
    // A song change or an event is kept at once, not up to a second later.
    for (PlayerWindow* w : {static_cast<PlayerWindow*>(&m_station.music()), static_cast<PlayerWindow*>(&m_station.insert())})
        connect(w, &PlayerWindow::songStarted, this, [this] { m_soon->setEnabled(true); });
    connect(&m_station.scheduler(), &SchedulerWindow::eventFired, this, [this] { m_soon->setEnabled(true); });
    m_timer->setEnabled(true);
    saveNow();
}

bool StationStateKeeper::saveNow()
{
    if (!m_keeping)
        return false;
    const QDateTime now = m_clock.now();
    // Waiting out a failure; a clock set back meanwhile does not stretch the wait.
    if (m_retryAt && now < *m_retryAt && now >= m_retryAt->addSecs(-kRetryAfterSeconds))
        return false;
    const bool wasFailing = m_retryAt.has_value();
    QString error;
    // Made at start(); made again only if it went (a removed folder) while failing.
    if (wasFailing)
        QDir().mkpath(m_folder);
    const PlaylistModel* lists[2] = {m_station.music().clipList, m_station.insert().clipList};
    for (int w = 0; w < 2 && error.isEmpty(); ++w) {
        if (!m_listDirty[w])
            continue;
        const auto saved = ListSnapshot::save(m_folder + QLatin1Char('/') + QLatin1String(kListNames[w]), *lists[w]);
        if (saved.ok)
            m_listDirty[w] = false;
        else
            error = saved.error;
    }
    if (error.isEmpty()) {
        StationState state = m_station.state();
        state.savedAt = now;
        QSaveFile file(stateFile());
        if (!file.open(QIODevice::WriteOnly) || file.write(state.toJson()) < 0 || !file.commit())
            error = file.errorString();
    }
    const QString folder = QDir::toNativeSeparators(m_folder);
    if (!error.isEmpty()) {
        if (!wasFailing)
            m_station.music().tellOperator(
                QStringLiteral("The state folder %1 cannot be written (%2); the station plays on and tries again every minute.")
                    .arg(folder, error));
        m_retryAt = now.addSecs(kRetryAfterSeconds);
        return false;
    }
    if (wasFailing)
        m_station.music().tellOperator(QStringLiteral("The state folder %1 is written again.").arg(folder));
    m_retryAt.reset();
    return true;
}

}  // namespace tavlo
