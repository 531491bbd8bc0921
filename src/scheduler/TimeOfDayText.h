#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>

namespace tavlo {

// Times of day as the scheduler writes them: "HH:mm:ss" in the "24hs"
// format, "hh:mm:ss AMPM" in the "AM - PM" format, with the desktop's own
// AM and PM designators.
// Any thread.
class TimeOfDayText {
public:
    enum class Format { AmPm, H24 };

    explicit TimeOfDayText(const QLocale& locale = QLocale::system());

    // The option texts the options dialog shows.
    static QString h24Option() { return QStringLiteral("24hs"); }
    static QString amPmOption() { return QStringLiteral("AM - PM"); }
    // "24hs" exactly is the 24-hour format; any other text the AM/PM format.
    static Format formatOf(const QString& optionText);

    QString amText() const { return m_am; }
    QString pmText() const { return m_pm; }

    QString format(const QTime& time, Format f) const;
    // Reads either format: one or two digits for each part, and after the
    // seconds an optional AM or PM designator, the desktop's or the English
    // one, in any case (event files travel between stations). Without a
    // designator the hour is 0..23; with one, 1..12 (12 AM is midnight), and
    // an hour of 13..23 stands as written. Anything else is not a time.
    std::optional<QTime> parse(const QString& text) const;
    // Reads either format and writes `f`; nothing when the text is not a time.
    std::optional<QString> convert(const QString& text, Format f) const;

private:
    QString m_am;
    QString m_pm;
};

}  // namespace tavlo
