#include "playback/Player.h"

#include "platform/MediaService.h"
#include "platform/controls/TextBox.h"
#include "playback/Rounding.h"

#include <cmath>

namespace tavlo {

Player::Player(MediaService& service) : m_service(service) {}

Player::~Player() = default;

int Player::Position()
{
    if (m_stream) {
        const double p = m_stream->position();
        if (std::isfinite(p))
            m_position = nearestEven(p);
    }
    return m_position;
}

void Player::setPosition(int vData)
{
    m_position = vData;
    if (m_stream)
        m_stream->setPosition(static_cast<double>(vData));
}

int Player::Volume()
{
    if (m_stream)
        m_volume = m_stream->volume();
    return m_volume;
}

void Player::setVolume(int vData)
{
    m_volume = vData;
    if (m_stream)
        m_stream->setVolume(vData);
}

void Player::setBalance(int vData)
{
    m_balance = vData;
    if (m_stream)
        m_stream->setBalance(vData * 1000);
}

double Player::Pitch()
{
    if (m_stream)
        m_pitch = m_stream->rate();
    return m_pitch;
}

void Player::setPitch(double vData)
{
    m_pitch = vData;
    if (m_stream)
        m_stream->setRate(vData);
}

void Player::setTrim(int hundredthsDb)
{
    if (m_stream)
        m_stream->setTrim(hundredthsDb);
}

int Player::OpenFile()
{
    // The old file goes first, so a failed open leaves nothing playing.
    m_stream.reset();
    OpenResult opened = m_service.open(m_fileName);
    m_stream = std::move(opened.stream);
    if (!m_stream)
        return opened.error > 0 ? opened.error : media_error::Unreadable;
    const double seconds = m_stream->duration();
    if (std::isfinite(seconds))
        m_duration = nearestEven(seconds);
    return opened.error > 0 ? opened.error : 0;
}

void Player::PlayFile()
{
    if (m_stream)
        m_stream->run();
}

void Player::PauseFile()
{
    if (m_stream)
        m_stream->pause();
}

void Player::StopFile()
{
    if (m_stream)
        m_stream->stop();
}

void Player::EnumDirectSoundDevices(ComboBox& lstDevices)
{
    const QStringList names = m_service.outputNames();
    for (const QString& name : names)
        lstDevices.addItem(name);
}

void Player::EnumDirectSoundDevices(QStringList& lstDevices) { lstDevices += m_service.outputNames(); }

}  // namespace tavlo
