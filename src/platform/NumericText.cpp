#include "platform/NumericText.h"

#include <charconv>
#include <cmath>

namespace tavlo {

std::optional<double> numericValue(const QString& text)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    // from_chars takes "-" but not "+".
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-')
            return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    // from_chars also reads "inf" and "nan"; neither is a number a box can hold.
    if (first == last || ec != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace tavlo
