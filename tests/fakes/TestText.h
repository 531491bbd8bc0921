#pragma once

#include <QString>

namespace tavlo::test {

// A test's text literal as the program's string (sources are UTF-8).
inline QString s(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace tavlo::test
