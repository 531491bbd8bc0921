#pragma once

#include <QString>

namespace tavlo {

// Seconds as "mm:ss": whole minutes and whole seconds, each at least two
// digits, both truncated toward zero. 75 -> 01:15, 6000 -> 100:00,
// 59.9 -> 00:59. A negative time keeps its sign in each part: -65 -> -01:-05.
// Every time display of a player window and the list's "Length" use it.
QString formatMinutes(double seconds);

}  // namespace tavlo
