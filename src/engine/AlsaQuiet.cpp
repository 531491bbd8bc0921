#include "engine/AlsaQuiet.h"

#include <alsa/asoundlib.h>

namespace tavlo {

namespace {
void quiet(const char*, int, const char*, int, const char*, ...) {}
}  // namespace

void silenceAlsaErrors() { snd_lib_error_set_handler(&quiet); }

QString alsaDeviceOrFirstCard(const QString& device, const char* prefix)
{
    if (!device.isEmpty())
        return device;
    int card = -1;
    if (snd_card_next(&card) < 0 || card < 0)
        return {};
    return QStringLiteral("%1:%2").arg(QLatin1String(prefix)).arg(card);
}

}  // namespace tavlo
