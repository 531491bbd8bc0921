#pragma once

#include "platform/Streamer.h"
#include "platform/TimerService.h"
#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"

#include <functional>
#include <optional>
#include <memory>

namespace tavlo {

struct AppServices;

// "Streaming", the music window's Options > Streaming... dialog: the Icecast
// server, port, mount, source user and password, the bitrate and the on/off
// switch. OK saves them under the settings' own "Streaming" section (the
// settings file then kept readable by its owner only when a password is in
// it) and starts, restarts or stops the stream. While the stream is on, the
// status is polled once a second and handed to `onStatusText`, which the
// music window shows; the password never appears in it.
//
// The music window owns it and hands it each song it starts; insert-window
// songs never reach it. Modeless; hidden, never destroyed. UI thread only.
class StreamingDialog : public Form {
    Q_OBJECT
public:
    // `settingsApp`: the application name the program's settings are stored under.
    StreamingDialog(AppServices& services, const QString& settingsApp, QObject* parent = nullptr);
    ~StreamingDialog() override;

    Label* serverLabel;
    TextBox* serverBox;
    Label* portLabel;
    TextBox* portBox;
    Label* mountLabel;
    TextBox* mountBox;
    Label* userLabel;
    TextBox* userBox;
    Label* passwordLabel;
    TextBox* passwordBox;
    Label* bitrateLabel;
    ComboBox* bitrateBox;
    Button* enabledCheck;
    Label* statusLabel;
    Button* okButton;
    Button* cancelButton;

    std::function<void(const QString& text)> onStatusText;

    // Reads the settings; streams when they say so.
    void load();
    // Refills the controls from the settings and shows the dialog beside `window`.
    void openFrom(const Form& window);

    // A console station's --stream: streams to `target` whatever the settings
    // say, with the password from TAVLO_STREAM_PASSWORD or else the settings.
    void streamTo(StreamTarget target);
    // The stream a console's --stream started, while it runs (without its
    // password): what a restart streams to again.
    std::optional<StreamTarget> consoleTarget() const { return m_consoleTarget; }
    // The music window started a song: it becomes the stream's title.
    void songStarted(const QString& artist, const QString& title, const QString& path);
    // "Artist - Title", or whichever of the two there is, or the file's name.
    static QString streamTitle(const QString& artist, const QString& title, const QString& path);

private:
    // What its buttons and its status timer do.
    void accept();
    void cancel();
    void onStatusTick();

    void startStream(StreamTarget target);
    QString setting(const QString& key, const QString& def) const;
    void fillFromSettings();
    void startStatusPolling();
    QString passwordOr(const QString& stored) const;
    // The server as the boxes say, without its password; the mount starts with "/".
    StreamTarget targetFromBoxes() const;

    AppServices& m_services;
    const QString m_settingsApp;
    std::optional<StreamTarget> m_consoleTarget;
    std::unique_ptr<Timer> m_statusTimer;
    int m_shownSerial = -1;
};

}  // namespace tavlo
