#pragma once

#include <QString>

namespace tavlo {

// A small recording stream from the first recording device (8 kHz mono,
// 8-bit or the nearest the device takes), kept only for its input level.
// UI thread only; nothing runs in the background: each peak read drains what
// was recorded since the last one.
class InputCapture {
public:
    virtual ~InputCapture() = default;
    // False with the system's text for the error when the device cannot be opened.
    virtual bool open(QString& error) = 0;
    virtual void close() = 0;
    // The captured samples since the last call, each as a signed 16-bit value.
    // Empty (and not an error) when nothing new was recorded.
    virtual bool takeSamples(const qint16*& samples, int& count) = 0;
};

}  // namespace tavlo
