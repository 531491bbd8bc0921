#include "platform/dbus/MprisRoot.h"

namespace tavlo {

MprisRoot::MprisRoot(QObject* object, std::function<void()> raise)
    : QDBusAbstractAdaptor(object), m_raise(std::move(raise))
{
}

QStringList MprisRoot::SupportedMimeTypes() const
{
    // What the decoders and the list reader take.
    return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/wav"), QStringLiteral("audio/x-wav"),
            QStringLiteral("audio/x-mpegurl")};
}

void MprisRoot::Raise()
{
    if (m_raise)
        m_raise();
}

}  // namespace tavlo
