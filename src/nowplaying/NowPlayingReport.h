#pragma once

#include "nowplaying/SongInfoSink.h"
#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"

#include <QUrl>

namespace tavlo {

class HttpClient;

// The playing-now report, "id3Tag live365.com": the station's user name and
// password, the fields of the last song the music window loaded, the switch
// that allows sending, "Send", and the service's answer.
//
// The music window fills the fields and presses "Send" for every song it
// loads, whether or not this window is shown; with the switch off nothing
// leaves the machine. The request runs in the background and its answer
// (or why none came) replaces the page in responsePage; only the latest
// request's answer is shown. Nothing of this window is saved, and the
// password is never written anywhere but into the request.
// UI thread only.
class NowPlayingReport : public Form, public SongInfoSink {
    Q_OBJECT
public:
    // `serviceUrl` is scheme and host (and port) the report goes to.
    explicit NowPlayingReport(HttpClient& http, const QUrl& serviceUrl = serviceAddress(), QObject* parent = nullptr);

    static QString domainName() { return QStringLiteral("live365.com"); }
    static QUrl serviceAddress() { return QUrl(QStringLiteral("https://www.live365.com")); }
    static QString windowCaption() { return QStringLiteral("id3Tag ") + domainName(); }
    static constexpr unsigned kEnabledGreen = 0x00FF00;
    static constexpr unsigned kDisabledGreen = 0x008000;

    Label* headingLabel;
    Button* sendCheck;
    Label* userNameLabel;
    TextBox* userNameBox;
    Label* passwordLabel;
    TextBox* passwordBox;
    Label* titleLabel;
    TextBox* titleBox;
    Label* artistLabel;
    TextBox* artistBox;
    Label* albumLabel;
    TextBox* albumBox;
    Label* secondsLabel;
    TextBox* secondsBox;
    Label* fileNameLabel;
    TextBox* fileNameBox;
    Button* sendButton;
    Label* responseLabel;
    // The answer page as HTML; a failure is a short page saying why.
    Label* responsePage;

    // The address a report of the fields as they stand goes to.
    QUrl requestUrl() const;

    void sendSongInfo(const QString& title, const QString& artist, const QString& album, int seconds,
                      const QString& fileName) override;

private:
    // What the controls do.
    void onSendToggled();
    void send();

    HttpClient& m_http;
    QUrl m_serviceUrl;
    quint64 m_lastRequest = 0;
};

}  // namespace tavlo
