#include "playback/SegToMin.h"

#include <cmath>

namespace tavlo {

namespace {
QString twoDigits(long long v)
{
    const QString digits = QStringLiteral("%1").arg(std::llabs(v), 2, 10, QLatin1Char('0'));
    return v < 0 ? QLatin1Char('-') + digits : digits;
}
}  // namespace

QString SegToMin(double Segundos)
{
    if (!std::isfinite(Segundos))
        return QStringLiteral("00:00");
    const auto m = static_cast<long long>(std::trunc(Segundos / 60.0));
    const auto s = static_cast<long long>(std::trunc(Segundos - static_cast<double>(m) * 60.0));
    return twoDigits(m) + QLatin1Char(':') + twoDigits(s);
}

}  // namespace tavlo
