#pragma once

#include <QByteArray>
#include <QString>

namespace tavlo {

// Who may do what through the remote, and the token that says so. Pure
// functions, apart from newToken's randomness.
namespace WebToken {

// What a request needs to be answered.
enum class Access { Open, NeedsToken };

// The page's own files (no station data in them) are open to GET anywhere,
// or a phone could never load the page to type the token in. Bound to the
// loopback address, reading (GET) is open and every command needs the
// token; bound anywhere else, or asked through a proxy, everything does.
Access accessFor(const QByteArray& method, bool loopbackOnly, bool pageFile = false);

// The token of an "Authorization: Bearer TOKEN" header; empty for any
// other scheme or a malformed value.
QByteArray bearerToken(const QByteArray& authorization);

// Whether `given` is the token, taking as long whatever it shares with
// it, so the answer's timing tells nothing. An empty token matches nothing.
bool matches(const QByteArray& given, const QByteArray& token);

// Whether a token given by hand (TAVLO_WEB_TOKEN) can be used: at least 16
// of the characters a Bearer header can carry, so it is neither unusable nor
// guessed in an afternoon.
bool usable(const QByteArray& token);

// A new token: 32 bytes from the system's cryptographic source, base64url.
QString newToken();

}  // namespace WebToken

}  // namespace tavlo
