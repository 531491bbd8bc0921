#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace tavlo {

class ComboBox;
class MediaService;
class MediaStream;

// One media player for one file: a thin layer over the media service that
// keeps a copy of every value it is given and converts units where the
// window's controls and the service differ. Times are whole seconds, volume
// hundredths of a decibel (-10000..0), balance -10..10, pitch a rate factor.
//
// Nothing is ever reported to the caller except open()'s result: a failing
// call leaves the stored copy as it was set and returns normally, and every
// call before a successful open() does nothing but store.
// UI thread only.
class Player {
public:
    explicit Player(MediaService& service);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // The file the next open() opens.
    QString fileName() const { return m_fileName; }
    void setFileName(const QString& value) { m_fileName = value; }

    // Stored and handed back; it takes no part in playback.
    QString outputDevice() const { return m_outputDevice; }
    void setOutputDevice(const QString& value) { m_outputDevice = value; }

    int duration() const { return m_duration; }
    void setDuration(int value) { m_duration = value; }

    // Reads the running position (cheap: the position timers ask often),
    // rounded to whole seconds, halves to even.
    int position();
    // Seeks; a position beyond the end goes to the service unchanged.
    void setPosition(int value);
    // The running position and a seek to the fraction of a second: what a
    // restart keeps and goes back to.
    double exactPosition() const;
    void seekExact(double seconds);
    // The file's length to the fraction of a second; duration() when not open.
    double exactDuration() const;

    int volume();
    void setVolume(int value);

    // The service takes hundredths of a decibel: value x 1000.
    int balance() const { return m_balance; }
    void setBalance(int value);

    double pitch();
    void setPitch(double value);

    // The song's loudness correction in hundredths of a dB, on top of the
    // volume; set after open() and before the first play().
    void setTrim(int hundredthsDb);

    // Opens fileName(): 0 on success, a positive code otherwise. The previous
    // file is released first. Afterwards the player is stopped at 0, full
    // volume, centre balance and normal speed.
    int open();
    void play();
    void pause();
    void stop();

    // Appends the names of the service's audio outputs; nothing is removed
    // first, so two calls list them twice.
    void listOutputDevices(ComboBox& devices);
    void listOutputDevices(QStringList& devices);

    // Whether open() succeeded and a file is ready to play.
    bool isOpen() const { return m_stream != nullptr; }

private:
    MediaService& m_service;
    std::unique_ptr<MediaStream> m_stream;
    QString m_fileName;
    QString m_outputDevice;
    int m_duration = 0;
    int m_position = 0;
    int m_volume = 0;
    int m_balance = 0;
    double m_pitch = 1.0;
};

}  // namespace tavlo
