#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace tavlo {

// Conversions between the settings store's texts and the values the windows
// keep. Reading is forgiving the way a user-edited settings file needs:
// surrounding spaces are ignored and a decimal number is rounded to the
// nearest integer, halves to even. A text that is not a number, or a number
// outside the type's range, gives no value, so the caller keeps what it had.
// Numbers use "." as the decimal point both ways, so a file written on one
// desktop reads the same under any locale.
namespace SettingValues {

std::optional<std::int32_t> toInt32(const QString& text);
std::optional<std::int16_t> toInt16(const QString& text);
std::optional<float> toSingle(const QString& text);
std::optional<double> toDouble(const QString& text);
// "True" / "False" in any letter case, or a number: 0 is false, anything else true.
std::optional<bool> toBool(const QString& text);

// Plain decimal text: 64, -3, 264, 1234.5 (the shortest text that reads back
// as the same value).
QString fromInt(std::int64_t value);
QString fromSingle(float value);
QString fromDouble(double value);
// "True" or "False".
QString fromBool(bool value);

}  // namespace SettingValues
}  // namespace tavlo
