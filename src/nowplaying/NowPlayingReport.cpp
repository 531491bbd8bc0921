#include "nowplaying/NowPlayingReport.h"

#include "platform/HttpClient.h"

#include <QPointer>

namespace tavlo {

namespace {

// Each value travels whole: "&", "#", "+", spaces and accents are escaped as UTF-8.
QByteArray encoded(const TextBox& box) { return QUrl::toPercentEncoding(box.text()); }

}  // namespace

NowPlayingReport::NowPlayingReport(HttpClient& http, const QUrl& serviceUrl, QObject* parent)
    : Form(QStringLiteral("NowPlayingReport"), windowCaption(), parent), m_http(http), m_serviceUrl(serviceUrl)
{
    headingLabel = new Label(this, QStringLiteral("Label1"),
                       QStringLiteral("Send Playing Now information to ") + domainName() + QLatin1Char(' '));
    sendCheck = new Button(this, QStringLiteral("chkSend"), QStringLiteral("Disabled"), Button::Kind::Check);
    sendCheck->setToolTip(QStringLiteral("Make sure to enable when transimiting to ") + domainName());
    sendCheck->setBackColour(kDisabledGreen);
    sendCheck->onClick = [this] { onSendToggled(); };

    auto field = [this](Label*& label, TextBox*& box, const char* name, const char* caption, const char* text) {
        const QString n = QLatin1String(name);
        label = new Label(this, QStringLiteral("lbl") + n, QLatin1String(caption));
        box = new TextBox(this, QStringLiteral("txt") + n, QLatin1String(text));
    };
    field(userNameLabel, userNameBox, "UserName", "Live365 Username", "Live365UserName");
    field(passwordLabel, passwordBox, "Password", "Live365 Password", "password");
    field(titleLabel, titleBox, "Title", "Title", "Title");
    field(artistLabel, artistBox, "Artist", "Artist", "Artist");
    field(albumLabel, albumBox, "Album", "Album", "Album");
    field(secondsLabel, secondsBox, "Seconds", "Duration in seconds", "");
    field(fileNameLabel, fileNameBox, "Filename", "Filename", "filename");

    sendButton = new Button(this, QStringLiteral("cmdSendId3Tags"), QStringLiteral("Send"));
    sendButton->setEnabled(false);
    sendButton->onClick = [this] { send(); };
    responseLabel = new Label(this, QStringLiteral("lblResponse"), QStringLiteral("Response from Live 365 server"));
    responsePage = new Label(this, QStringLiteral("WebBrowser1"));
}

void NowPlayingReport::onSendToggled()
{
    const bool on = sendCheck->value() == 1;
    sendCheck->setCaption(on ? QStringLiteral("Enabled") : QStringLiteral("Disabled"));
    sendButton->setEnabled(on);
    sendCheck->setBackColour(on ? kEnabledGreen : kDisabledGreen);
}

QUrl NowPlayingReport::requestUrl() const
{
    QByteArray address = m_serviceUrl.toEncoded(QUrl::StripTrailingSlash);
    address += "/cgi-bin/add_song.cgi?version=2&pass=" + encoded(*passwordBox) + "&handle=" + encoded(*userNameBox) +
               "&title=" + encoded(*titleBox) + "&artist=" + encoded(*artistBox) + "&album=" + encoded(*albumBox) +
               "&seconds=" + encoded(*secondsBox) + "&fileName=" + encoded(*fileNameBox);
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

void NowPlayingReport::send()
{
    if (sendCheck->value() != 1)
        return;
    // The new report replaces the old page at once, as a browser leaving it would.
    responsePage->setText(QString());
    const quint64 request = ++m_lastRequest;
    QPointer<NowPlayingReport> self(this);
    m_http.get(requestUrl(), [self, request](const HttpAnswer& answer) {
        // An answer that comes after a newer report was sent is stale.
        if (!self || request != self->m_lastRequest)
            return;
        self->responsePage->setText(answer.answered()
                                      ? answer.body
                                      : QStringLiteral("<p><b>No answer from %1</b></p><p>%2</p>")
                                            .arg(domainName(), answer.error.toHtmlEscaped()));
    });
}

void NowPlayingReport::sendSongInfo(const QString& title, const QString& artist, const QString& album, int seconds,
                              const QString& fileName)
{
    titleBox->setText(title);
    artistBox->setText(artist);
    albumBox->setText(album);
    secondsBox->setText(QString::number(seconds));
    fileNameBox->setText(fileName);
    sendButton->press();
}

}  // namespace tavlo
