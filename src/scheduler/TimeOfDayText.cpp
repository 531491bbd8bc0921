#include "scheduler/TimeOfDayText.h"

#include <QRegularExpression>

namespace tavlo {

namespace {

QString orEnglish(const QString& designator, const char* english)
{
    return designator.trimmed().isEmpty() ? QString::fromLatin1(english) : designator.trimmed();
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

TimeOfDayText::TimeOfDayText(const QLocale& locale)
    // A locale without designators still needs the format to say which half of the day.
    : m_am(orEnglish(locale.amText(), "AM")), m_pm(orEnglish(locale.pmText(), "PM"))
{
}

TimeOfDayText::Format TimeOfDayText::formatOf(const QString& optionText)
{
    return optionText == h24Option() ? Format::H24 : Format::AmPm;
}

QString TimeOfDayText::format(const QTime& time, Format f) const
{
    const QString ms = twoDigits(time.minute()) + QLatin1Char(':') + twoDigits(time.second());
    if (f == Format::H24)
        return twoDigits(time.hour()) + QLatin1Char(':') + ms;
    const int h12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return twoDigits(h12) + QLatin1Char(':') + ms + QLatin1Char(' ') + (time.hour() < 12 ? m_am : m_pm);
}

std::optional<QTime> TimeOfDayText::parse(const QString& text) const
{
    static const QRegularExpression shape(QStringLiteral("^(\\d{1,2}):(\\d{1,2}):(\\d{1,2})(?:\\s*(\\S.*))?$"));
    const QRegularExpressionMatch m = shape.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    const int second = m.captured(3).toInt();
    const QString designator = m.captured(4).trimmed();
    if (!designator.isEmpty()) {
        auto is = [&](const QString& a, const char* english) {
            return designator.compare(a, Qt::CaseInsensitive) == 0
                   || designator.compare(QLatin1String(english), Qt::CaseInsensitive) == 0;
        };
        const bool am = is(m_am, "AM");
        const bool pm = !am && is(m_pm, "PM");
        if (!am && !pm)
            return std::nullopt;
        if (hour >= 1 && hour <= 12)
            hour = (hour % 12) + (pm ? 12 : 0);
        else if (hour > 23)
            return std::nullopt;
    }
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return QTime(hour, minute, second);
}

std::optional<QString> TimeOfDayText::convert(const QString& text, Format f) const
{
    const auto t = parse(text);
    if (!t)
        return std::nullopt;
    return format(*t, f);
}

}  // namespace tavlo
