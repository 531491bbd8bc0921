#pragma once

#include "platform/InputCapture.h"

#include <QString>

#include <array>

typedef struct _snd_pcm snd_pcm_t;

namespace tavlo {

// The input meter's recording stream through ALSA: the first card's (or the
// given device's) capture, 8 kHz mono signed 16-bit with ALSA converting from
// whatever the card takes, opened non-blocking so a read never waits. Between
// reads the stream overruns; a read then restarts it, which costs nothing a
// meter would notice. UI thread only.
class AlsaInputCapture : public InputCapture {
public:
    explicit AlsaInputCapture(QString device = QString());
    ~AlsaInputCapture() override;
    AlsaInputCapture(const AlsaInputCapture&) = delete;
    AlsaInputCapture& operator=(const AlsaInputCapture&) = delete;

    bool open(QString& error) override;
    void close() override;
    bool takeSamples(const qint16*& samples, int& count) override;

private:
    QString m_device;
    snd_pcm_t* m_pcm = nullptr;
    std::array<qint16, 8192> m_buffer{};  // about a second at 8 kHz
};

}  // namespace tavlo
