#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

namespace tavlo {

// One request as the remote's parser read it off a connection: names of
// headers in lower case, the target split at its first '?', nothing decoded.
struct HttpRequest {
    QByteArray method;
    QByteArray path;   // raw, still percent-encoded
    QByteArray query;  // raw, after the '?'
    int minorVersion = 1;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // The first header of that (lower-case) name; empty when there is none.
    QByteArray header(const char* name) const
    {
        for (const auto& h : headers)
            if (h.first == name)
                return h.second;
        return QByteArray();
    }
    bool keepAlive() const
    {
        const QByteArray c = header("connection").toLower();
        return minorVersion >= 1 ? !c.contains("close") : c.contains("keep-alive");
    }
};

// What the remote answers. An event stream stays open after `body` (its
// first events) and receives every later event the remote pushes.
struct HttpResponse {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    bool eventStream = false;

    void addHeader(const QByteArray& name, const QByteArray& value) { headers.append(qMakePair(name, value)); }
};

}  // namespace tavlo
