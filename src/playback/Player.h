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
// Nothing is ever reported to the caller except OpenFile's result: a failing
// call leaves the stored copy as it was set and returns normally, and every
// call before a successful OpenFile does nothing but store.
// UI thread only.
class Player {
public:
    explicit Player(MediaService& service);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // File name of the file to be load/palyed.
    QString FileName() const { return m_fileName; }
    void setFileName(const QString& vData) { m_fileName = vData; }

    // Stored and handed back; it takes no part in playback.
    QString OutputDevice() const { return m_outputDevice; }
    void setOutputDevice(const QString& vData) { m_outputDevice = vData; }

    int Duration() const { return m_duration; }
    void setDuration(int vData) { m_duration = vData; }

    // Reads the running position (cheap: the position timers ask often),
    // rounded to whole seconds, halves to even.
    int Position();
    // Seeks; a position beyond the end goes to the service unchanged.
    void setPosition(int vData);

    int Volume();
    void setVolume(int vData);

    // The service takes hundredths of a decibel: vData x 1000.
    int Balance() const { return m_balance; }
    void setBalance(int vData);

    double Pitch();
    void setPitch(double vData);

    // The song's loudness correction in hundredths of a dB, on top of the
    // volume; set after OpenFile and before the first PlayFile.
    void setTrim(int hundredthsDb);

    // Opens FileName: 0 on success, a positive code otherwise. The previous
    // file is released first. Afterwards the player is stopped at 0, full
    // volume, centre balance and normal speed.
    int OpenFile();
    void PlayFile();
    void PauseFile();
    void StopFile();

    // Appends the names of the service's audio outputs; nothing is removed
    // first, so two calls list them twice.
    void EnumDirectSoundDevices(ComboBox& lstDevices);
    void EnumDirectSoundDevices(QStringList& lstDevices);

    // Whether OpenFile succeeded and a file is ready to play.
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
