#include "web/WebToken.h"

#include <QRandomGenerator>

#include <array>

namespace tavlo::WebToken {

Access accessFor(const QByteArray& method, bool loopbackOnly, bool pageFile)
{
    if (pageFile && method == "GET")
        return Access::Open;
    if (!loopbackOnly)
        return Access::NeedsToken;
    return method == "GET" ? Access::Open : Access::NeedsToken;
}

bool usable(const QByteArray& token)
{
    return token.size() >= 16 && bearerToken("Bearer " + token) == token;
}

QByteArray bearerToken(const QByteArray& authorization)
{
    const QByteArray value = authorization.trimmed();
    if (value.size() < 8 || value.left(7).toLower() != "bearer ")
        return QByteArray();
    const QByteArray token = value.mid(7).trimmed();
    // RFC 6750's token68 characters.
    for (char c : token) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                        || QByteArray("-._~+/=").contains(c);
        if (!ok)
            return QByteArray();
    }
    return token;
}

bool matches(const QByteArray& given, const QByteArray& token)
{
    if (token.isEmpty())
        return false;
    // Every byte of the longer one is looked at, whatever differs first.
    const qsizetype n = std::max(given.size(), token.size());
    unsigned diff = given.size() == token.size() ? 0u : 1u;
    for (qsizetype i = 0; i < n; ++i) {
        const auto a = static_cast<unsigned char>(i < given.size() ? given[i] : 0);
        const auto b = static_cast<unsigned char>(i < token.size() ? token[i] : 0);
        diff |= static_cast<unsigned>(a ^ b);
    }
    return diff == 0;
}

QString newToken()
{
    std::array<quint32, 8> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray bytes(reinterpret_cast<const char*>(words.data()), sizeof(words));
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

}  // namespace tavlo::WebToken
