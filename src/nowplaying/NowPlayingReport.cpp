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
    Label1 = new Label(this, QStringLiteral("Label1"),
                       QStringLiteral("Send Playing Now information to ") + domainName() + QLatin1Char(' '));
    chkSend = new Button(this, QStringLiteral("chkSend"), QStringLiteral("Disabled"), Button::Kind::Check);
    chkSend->setToolTip(QStringLiteral("Make sure to enable when transimiting to ") + domainName());
    chkSend->setBackColour(kDisabledGreen);
    chkSend->onClick = [this] { chkSend_Click(); };

    auto field = [this](Label*& label, TextBox*& box, const char* name, const char* caption, const char* text) {
        const QString n = QLatin1String(name);
        label = new Label(this, QStringLiteral("lbl") + n, QLatin1String(caption));
        box = new TextBox(this, QStringLiteral("txt") + n, QLatin1String(text));
    };
    field(lblUserName, txtUserName, "UserName", "Live365 Username", "Live365UserName");
    field(lblPassword, txtPassword, "Password", "Live365 Password", "password");
    field(lblTitle, txtTitle, "Title", "Title", "Title");
    field(lblArtist, txtArtist, "Artist", "Artist", "Artist");
    field(lblAlbum, txtAlbum, "Album", "Album", "Album");
    field(lblSeconds, txtSeconds, "Seconds", "Duration in seconds", "");
    field(lblFilename, txtFilename, "Filename", "Filename", "filename");

    cmdSendId3Tags = new Button(this, QStringLiteral("cmdSendId3Tags"), QStringLiteral("Send"));
    cmdSendId3Tags->setEnabled(false);
    cmdSendId3Tags->onClick = [this] { cmdSendId3Tags_Click(); };
    lblResponse = new Label(this, QStringLiteral("lblResponse"), QStringLiteral("Response from Live 365 server"));
    WebBrowser1 = new Label(this, QStringLiteral("WebBrowser1"));
}

void NowPlayingReport::chkSend_Click()
{
    const bool on = chkSend->value() == 1;
    chkSend->setCaption(on ? QStringLiteral("Enabled") : QStringLiteral("Disabled"));
    cmdSendId3Tags->setEnabled(on);
    chkSend->setBackColour(on ? kEnabledGreen : kDisabledGreen);
}

QUrl NowPlayingReport::requestUrl() const
{
    QByteArray address = m_serviceUrl.toEncoded(QUrl::StripTrailingSlash);
    address += "/cgi-bin/add_song.cgi?version=2&pass=" + encoded(*txtPassword) + "&handle=" + encoded(*txtUserName) +
               "&title=" + encoded(*txtTitle) + "&artist=" + encoded(*txtArtist) + "&album=" + encoded(*txtAlbum) +
               "&seconds=" + encoded(*txtSeconds) + "&fileName=" + encoded(*txtFilename);
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

void NowPlayingReport::cmdSendId3Tags_Click()
{
    if (chkSend->value() != 1)
        return;
    // The new report replaces the old page at once, as a browser leaving it would.
    WebBrowser1->setText(QString());
    const quint64 request = ++m_lastRequest;
    QPointer<NowPlayingReport> self(this);
    m_http.get(requestUrl(), [self, request](const HttpAnswer& answer) {
        // An answer that comes after a newer report was sent is stale.
        if (!self || request != self->m_lastRequest)
            return;
        self->WebBrowser1->setText(answer.answered()
                                      ? answer.body
                                      : QStringLiteral("<p><b>No answer from %1</b></p><p>%2</p>")
                                            .arg(domainName(), answer.error.toHtmlEscaped()));
    });
}

void NowPlayingReport::sendSongInfo(const QString& title, const QString& artist, const QString& album, int seconds,
                              const QString& fileName)
{
    txtTitle->setText(title);
    txtArtist->setText(artist);
    txtAlbum->setText(album);
    txtSeconds->setText(QString::number(seconds));
    txtFilename->setText(fileName);
    cmdSendId3Tags->press();
}

}  // namespace tavlo
