#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace tavlo {

class Clock;

// The daily as-run log of a player window: one text file per calendar day
// (folder + yyyyMMdd + ".log"), to which a line is appended for each song
// started, each song that failed to open and each switching of the log.
//
// Nothing is held open: every line opens the file for appending, writes the
// whole line in one system call and closes it, so the music and the insert
// window logging into one folder (even from two processes) never mix their
// lines, and a file moved away at midnight is simply created again. Every
// failure (missing folder, no permission, full disk) loses that one line
// silently; playback must never notice the log.
// Any thread.
class AsRunLog {
public:
    // The kinds of line writeLog asks for; anything else writes an entry.
    enum LineKind : int { LogEntry = 0, LogStart = 1, LogEnd = 2 };

    // `locale` supplies the date and time formats of the lines (the desktop's own by default).
    explicit AsRunLog(const Clock& clock, const QLocale& locale = QLocale::system());

    // A window's WriteLog. With the log switched off only an end line is
    // written, so switching the log off still closes it with " ; LOG END".
    // False when nothing was written.
    bool write(bool logSwitch, const QString& folder, int kind = LogEntry,
               const QString& error = QString(), const QString& entry = QString()) const;

    // Appends one line now, whatever the switch. False when the line was lost.
    bool append(const QString& folder, int kind, const QString& error, const QString& entry) const;

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
    const Clock& m_clock;
    QLocale m_locale;
    QString m_dateTimeFormat;
};

}  // namespace tavlo
