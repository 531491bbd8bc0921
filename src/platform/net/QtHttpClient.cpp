#include "platform/net/QtHttpClient.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>

namespace tavlo {

namespace {

// The page's text in the charset its header names, UTF-8 when it names none we know.
QString pageText(QNetworkReply& reply, const QByteArray& bytes)
{
    const QByteArray type = reply.header(QNetworkRequest::ContentTypeHeader).toByteArray().toLower();
    const qsizetype at = type.indexOf("charset=");
    if (at >= 0) {
        QByteArray charset = type.mid(at + 8);
        charset = charset.left(charset.indexOf(';')).trimmed().replace('"', "");
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return QString::fromUtf8(bytes);
}

// Qt's own texts may quote the whole address; only its server and path are kept.
QString errorText(const QNetworkReply& reply, const QUrl& url, int timeoutMs)
{
    if (reply.error() == QNetworkReply::OperationCanceledError)
        return QStringLiteral("No answer within %1 seconds").arg(timeoutMs / 1000.0);
    const QString shown = url.adjusted(QUrl::RemoveQuery | QUrl::RemoveUserInfo | QUrl::RemoveFragment).toString();
    QString text = reply.errorString();
    for (const QString& full : {url.toString(), url.toString(QUrl::FullyEncoded), url.toDisplayString()})
        text.replace(full, shown);
    if (url.hasQuery()) {
        // Whatever form Qt quoted it in, no query goes out.
        const qsizetype q = text.indexOf(QLatin1Char('?'));
        if (q >= 0)
            text.truncate(q);
    }
    return text;
}

}  // namespace

QtHttpClient::QtHttpClient(int timeoutMs) : m_timeoutMs(timeoutMs) {}

QtHttpClient::~QtHttpClient()
{
    // Whoever waits for a page may be gone already: nobody is called back.
    for (QNetworkReply* reply : m_manager.findChildren<QNetworkReply*>()) {
        QObject::disconnect(reply, nullptr, nullptr, nullptr);
        reply->abort();
    }
}

void QtHttpClient::get(const QUrl& url, std::function<void(const HttpAnswer&)> done)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_manager.get(request);
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, url, done = std::move(done), timeoutMs = m_timeoutMs] {
        reply->deleteLater();
        const QByteArray bytes = reply->isOpen() ? reply->readAll() : QByteArray();
        // A server that answered with a page, even an error page, has had its say.
        const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
        if (answered && !bytes.isEmpty()) {
            done(HttpAnswer{pageText(*reply, bytes), QString()});
        } else if (answered && reply->error() == QNetworkReply::NoError) {
            done(HttpAnswer{});
        } else if (answered) {
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
            done(HttpAnswer{QString(), QStringLiteral("The server answered %1 %2").arg(status).arg(reason).trimmed()});
        } else {
            done(HttpAnswer{QString(), errorText(*reply, url, timeoutMs)});
        }
    });
}

}  // namespace tavlo
