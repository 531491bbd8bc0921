#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace tavlo {

// What a GET came back with: the body of the page the server answered
// (whatever its status), or, when no page came, why not.
struct HttpAnswer {
    QString body;
    QString error;  // empty when the server answered
    bool answered() const { return error.isEmpty(); }
};

// Fetches web pages without holding anything up: `get` returns at once and
// `done` runs later on the same thread, exactly once, unless the client goes
// away first. An error text never repeats the address's query, which may
// carry a password.
// UI thread only.
class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual void get(const QUrl& url, std::function<void(const HttpAnswer&)> done) = 0;
};

}  // namespace tavlo
