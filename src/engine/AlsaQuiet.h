#pragma once

#include <QString>

namespace tavlo {

// ALSA prints to stderr whenever a device is missing. A station without a
// sound card, a mixer or a recording device is normal here, and the program
// says so itself in one place, so ALSA's own printing goes nowhere.
void silenceAlsaErrors();

// `device` as given, or when it is empty the first card's device with
// `prefix` ("hw", "plughw"); empty when the machine has no card.
QString alsaDeviceOrFirstCard(const QString& device, const char* prefix);

}  // namespace tavlo
