#include "engine/AlsaInputCapture.h"

#include "engine/AlsaQuiet.h"

#include <alsa/asoundlib.h>

namespace tavlo {

AlsaInputCapture::AlsaInputCapture(QString device) : m_device(std::move(device)) {}

AlsaInputCapture::~AlsaInputCapture()
{
    close();
}

bool AlsaInputCapture::open(QString& error)
{
    // A machine without a recording device is told through the message box, not stderr.
    silenceAlsaErrors();
    const QString device = alsaDeviceOrFirstCard(m_device, "plughw");
    if (device.isEmpty()) {
        error = QString::fromLocal8Bit(snd_strerror(-ENODEV));
        return false;
    }
    const QByteArray name = device.toLocal8Bit();
    int rc = snd_pcm_open(&m_pcm, name.constData(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (rc >= 0)
        rc = snd_pcm_set_params(m_pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, 8000, 1, 500000);
    if (rc >= 0)
        rc = snd_pcm_start(m_pcm);
    if (rc < 0) {
        error = QString::fromLocal8Bit(snd_strerror(rc));
        close();
        return false;
    }
    return true;
}

void AlsaInputCapture::close()
{
    if (m_pcm) {
        snd_pcm_drop(m_pcm);
        snd_pcm_close(m_pcm);
        m_pcm = nullptr;
    }
}

bool AlsaInputCapture::takeSamples(const qint16*& samples, int& count)
{
    samples = m_buffer.data();
    count = 0;
    if (!m_pcm)
        return false;
    const snd_pcm_sframes_t got = snd_pcm_readi(m_pcm, m_buffer.data(), m_buffer.size());
    if (got == -EPIPE || got == -ESTRPIPE) {
        // Overran while nobody read: start again, the next read has sound.
        if (snd_pcm_recover(m_pcm, static_cast<int>(got), 1) >= 0)
            snd_pcm_start(m_pcm);
        return true;
    }
    if (got < 0)
        return got == -EAGAIN;
    count = static_cast<int>(got);
    return true;
}

}  // namespace tavlo
