#pragma once

#include "playback/WindowRig.h"
#include "fakes/TestFiles.h"
#include "scheduler/EventDialog.h"
#include "scheduler/SchedulerOptionsDialog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tavlo::test {

// The three windows wired as the program wires them, started at a moment of
// the test's choosing, with playlists on disk whose songs the fake media
// knows, and a record of every event fired and of both windows' as-run entries.
struct SchedulerRig {
    struct Fired {
        QString at;  // the clock, "HH:mm:ss", when it fired
        QString time, playlist, window;
    };

    QTemporaryDir dir;
    std::unique_ptr<WindowRig> r;
    std::vector<Fired> fired;
    QStringList musicLog, insertLog, musicStarts, insertStarts;

    explicit SchedulerRig(const QDateTime& start) : r(std::make_unique<WindowRig>(start))
    {
        QObject::connect(r->tim, &SchedulerWindow::eventFired, r->tim,
                         [this](const QString& time, const QString& playlist, const QString& window) {
                             fired.push_back({clock(), time, playlist, window});
                         });
        auto log = [](PlayerWindow& w, QStringList& entries, QStringList& starts) {
            QObject::connect(&w, &PlayerWindow::logEntryWritten, &w, [&entries](const QString& error, const QString& path) {
                entries.append(error.isEmpty() ? path : error + path);
            });
            QObject::connect(&w, &PlayerWindow::songStarted, &w, [&starts](const QString& path) { starts.append(path); });
        };
        log(*r->w, musicLog, musicStarts);
        log(*r->ins, insertLog, insertStarts);
    }

    SchedulerWindow& t() const { return *r->tim; }
    MusicWindow& music() const { return *r->w; }
    InsertWindow& insert() const { return *r->ins; }
    QString clock() const { return r->time.now().time().toString(QStringLiteral("HH:mm:ss")); }

    // An M3U of `count` songs of `seconds` each, "<name>1.mp3" and on, known to the fake media.
    QString playlist(const QString& name, int count, double seconds)
    {
        QByteArray m3u;
        for (int i = 1; i <= count; ++i) {
            const QString song = dir.filePath(name + QString::number(i) + QStringLiteral(".mp3"));
            r->media.addFile(song, seconds);
            m3u += song.toLatin1() + "\r\n";
        }
        return writeFile(dir.filePath(name + QStringLiteral(".m3u")), m3u);
    }
    // A station's day of events: at midnight the swap to the event file
    // `next`, the music lists at 06:00 and 18:00, a break at twenty past every hour.
    static QByteArray stationDay(const QString& next, const QString& morning, const QString& evening,
                                 const QString& ads)
    {
        QByteArray lines = QStringLiteral("00:00:00;%1;Timing\r\n06:00:00;%2;Music\r\n18:00:00;%3;Music\r\n")
                               .arg(next, morning, evening)
                               .toUtf8();
        for (int h = 0; h < 24; ++h)
            lines += QStringLiteral("%1:20:00;%2;Ads\r\n").arg(h, 2, 10, QLatin1Char('0')).arg(ads).toUtf8();
        return lines;
    }
    // An event file of the given lines.
    QString eventFile(const QString& name, const QByteArray& lines) { return writeFile(dir.filePath(name), lines); }

    void use24hs()
    {
        if (t().optionsDialog->timeFormatLabel->text() != TimeOfDayText::h24Option())
            t().optionsDialog->timeFormatLabel->click();
        t().optionsDialog->okButton->press();
    }
    void add(const QString& time, const QString& playlist, const QString& window)
    {
        QString t_ = time;
        ASSERT_TRUE(t().addEvent(t_, playlist, window)) << qPrintable(time);
    }
    // "at time window" for each event fired, in order.
    QStringList firedAt() const
    {
        QStringList out;
        for (const Fired& f : fired)
            out << f.at + QLatin1Char(' ') + f.time + QLatin1Char(' ') + f.window;
        return out;
    }
    // Runs to the next time the clock reads t_.
    void runTo(const QTime& t_)
    {
        const QDateTime now = r->time.now();
        QDateTime next(now.date(), t_);
        if (next <= now)
            next = next.addDays(1);
        r->time.advance(now.msecsTo(next));
    }
};

}  // namespace tavlo::test
