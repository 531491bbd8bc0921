#include "playback/FormatMinutes.h"

#include <cmath>

namespace tavlo {

namespace {
QString twoDigits(long long v)
{
    const QString digits = QStringLiteral("%1").arg(std::llabs(v), 2, 10, QLatin1Char('0'));
    return v < 0 ? QLatin1Char('-') + digits : digits;
}
}  // namespace

QString formatMinutes(double seconds)
{
    if (!std::isfinite(seconds))
        return QStringLiteral("00:00");
    const auto m = static_cast<long long>(std::trunc(seconds / 60.0));
    const auto s = static_cast<long long>(std::trunc(seconds - static_cast<double>(m) * 60.0));
    return twoDigits(m) + QLatin1Char(':') + twoDigits(s);
}

}  // namespace tavlo
