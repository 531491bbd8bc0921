#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <deque>
#include <functional>

namespace tavlo {

class Clock;

// The daily as-run log of a player window: one text file per calendar day
// (folder + yyyyMMdd + ".log"), to which a line is appended for each song
// started, each song that failed to open and each switching of the log.
//
// Nothing is held open: every line opens the file for appending, writes the
// whole line in one system call and closes it, so the music and the insert
// window logging into one folder (even from two processes) never mix their
// lines, and a file moved away at midnight is simply created again. Nothing
// in a file is ever rewritten.
//
// A folder that cannot be written (missing, no permission, full disk) never
// stops the music, and costs no line while memory holds it: the lines are
// kept (the newest kKeptLines) and written, in order and before any newer
// line, by the first write or retry() a minute or more after the failure.
// Within that minute a new line is only kept, so a broken folder is not
// asked again at every song. The first failure and the first success after
// it are said through onNotice, once each.
// One thread at a time (the window's); lineText and dateTimeText read no state.
class AsRunLog {
public:
    // The kinds of line writeLog asks for; anything else writes an entry.
    enum LineKind : int { LogEntry = 0, LogStart = 1, LogEnd = 2 };
    static constexpr int kKeptLines = 10000;
    static constexpr int kRetryMs = 60000;

    // `locale` supplies the date and time formats of the lines (the desktop's own by default).
    explicit AsRunLog(const Clock& clock, const QLocale& locale = QLocale::system());

    // A window's WriteLog. With the log switched off only an end line is
    // written, so switching the log off still closes it with " ; LOG END".
    // False when the line is not in the file now (switched off, or kept).
    bool write(bool logSwitch, const QString& folder, int kind = LogEntry,
               const QString& error = QString(), const QString& entry = QString());

    // Appends one line, whatever the switch. False when it was kept instead.
    bool append(const QString& folder, int kind, const QString& error, const QString& entry);

    // Writes the kept lines into `folder` once a minute has passed since the
    // failure; before that, does nothing.
    void retry(const QString& folder);
    bool hasKeptLines() const { return !m_kept.empty(); }
    // Milliseconds until retry() will try; 0 when it would now.
    qint64 msUntilRetry() const;

    // Told the first failure, with the folder and the reason, and the first
    // success after it.
    std::function<void(const QString&)> onNotice;

    // The folder text is a plain prefix: "/srv/log/" gives "/srv/log/20260307.log",
    // "/srv/log" gives "/srv/log20260307.log", "" the current folder.
    static QString fileName(const QString& folder, const QDate& date);

    // One line without its CR LF: "<date and time> ; LOG START", "... ; LOG END"
    // or "<date and time> ; " + error + entry.
    QString lineText(const QDateTime& when, int kind, const QString& error, const QString& entry) const;

    // The desktop's general date: its short date, a space, its long time
    // (without a time-zone name, which a general date does not carry).
    QString dateTimeText(const QDateTime& when) const;

private:
    // A line that could not be written yet, for the file of the day it happened.
    struct KeptLine {
        QDate date;
        QByteArray bytes;
    };
    bool retryDue(const QDateTime& now, const QString& folder);
    void keep(KeptLine line);
    // Writes the kept lines in order; false, and the failure noted, at the first that fails.
    bool writeKept(const QString& folder, const QDateTime& now);
    void say(const QString& text) const;

    const Clock& m_clock;
    QLocale m_locale;
    QString m_dateTimeFormat;
    std::deque<KeptLine> m_kept;
    bool m_failing = false;
    QDateTime m_failedAt;
    QString m_failedFolder;
    int m_dropped = 0;  // kept lines pushed out by newer ones
};

}  // namespace tavlo
