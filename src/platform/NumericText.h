#pragma once

#include <QString>

#include <optional>

namespace tavlo {

// The one numeric test of the program's text boxes and settings: a finite
// decimal number, spaces around it allowed, with an optional sign, decimal
// point and exponent. "+5", "-5", "1.5", ".5", "1." and "1e3" are numbers;
// "", "abc", "1.5x", "0x10", "inf" and "nan" are not. The decimal point is
// always ".", whatever the desktop's language, so a value reads the same
// everywhere.
std::optional<double> numericValue(const QString& text);
inline bool isNumeric(const QString& text) { return numericValue(text).has_value(); }

}  // namespace tavlo
