#include "platform/SettingValues.h"

#include "platform/NumericText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tavlo::SettingValues {

namespace {

std::optional<double> parseNumber(const QString& text) { return numericValue(text); }

template <typename Int>
std::optional<Int> toInteger(const QString& text)
{
    const auto number = parseNumber(text);
    if (!number)
        return std::nullopt;
    // The default floating-point rounding mode rounds halves to even: 2.5 -> 2, 3.5 -> 4.
    const double rounded = std::nearbyint(*number);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min())
        || rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

template <typename Float>
QString shortestText(Float value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer, end - buffer);
}

}  // namespace

std::optional<std::int32_t> toInt32(const QString& text) { return toInteger<std::int32_t>(text); }

std::optional<std::int16_t> toInt16(const QString& text) { return toInteger<std::int16_t>(text); }

std::optional<float> toSingle(const QString& text)
{
    const auto number = parseNumber(text);
    if (!number || std::fabs(*number) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(*number);
}

std::optional<double> toDouble(const QString& text) { return parseNumber(text); }

std::optional<bool> toBool(const QString& text)
{
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const auto number = parseNumber(word);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

QString fromInt(std::int64_t value) { return QString::number(value); }

QString fromSingle(float value) { return shortestText(value); }

QString fromDouble(double value) { return shortestText(value); }

QString fromBool(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace tavlo::SettingValues
