#include "playback/Player.h"

#include "platform/MediaService.h"
#include "platform/controls/TextBox.h"
#include "playback/Rounding.h"

#include <cmath>

namespace tavlo {

Player::Player(MediaService& service) : m_service(service) {}

Player::~Player() = default;

int Player::position()
{
    if (m_stream) {
        const double p = m_stream->position();
        if (std::isfinite(p))
            m_position = nearestEven(p);
    }
    return m_position;
}

void Player::setPosition(int value)
{
    m_position = value;
    if (m_stream)
        m_stream->setPosition(static_cast<double>(value));
}

double Player::exactPosition() const
{
    if (m_stream) {
        const double p = m_stream->position();
        if (std::isfinite(p))
            return p;
    }
    return m_position;
}

double Player::exactDuration() const
{
    const double d = m_stream ? m_stream->duration() : 0.0;
    return std::isfinite(d) && d > 0 ? d : m_duration;
}

void Player::seekExact(double seconds)
{
    m_position = nearestEven(seconds);
    if (m_stream)
        m_stream->setPosition(seconds);
}

int Player::volume()
{
    if (m_stream)
        m_volume = m_stream->volume();
    return m_volume;
}

void Player::setVolume(int value)
{
    m_volume = value;
    if (m_stream)
        m_stream->setVolume(value);
}

void Player::setBalance(int value)
{
    m_balance = value;
    if (m_stream)
        m_stream->setBalance(value * 1000);
}

double Player::pitch()
{
    if (m_stream)
        m_pitch = m_stream->rate();
    return m_pitch;
}

void Player::setPitch(double value)
{
    m_pitch = value;
    if (m_stream)
        m_stream->setRate(value);
}

void Player::setTrim(int hundredthsDb)
{
    if (m_stream)
        m_stream->setTrim(hundredthsDb);
}

int Player::open()
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

void Player::play()
{
    if (m_stream)
        m_stream->run();
}

void Player::pause()
{
    if (m_stream)
        m_stream->pause();
}

void Player::stop()
{
    if (m_stream)
        m_stream->stop();
}

void Player::listOutputDevices(ComboBox& devices)
{
    const QStringList names = m_service.outputNames();
    for (const QString& name : names)
        devices.addItem(name);
}

void Player::listOutputDevices(QStringList& devices) { devices += m_service.outputNames(); }

}  // namespace tavlo
