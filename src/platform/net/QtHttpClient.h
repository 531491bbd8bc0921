#pragma once

#include "platform/HttpClient.h"

#include <QNetworkAccessManager>

namespace tavlo {

// HttpClient on Qt Network. A transfer that stays silent for `timeoutMs`
// gives up with an error, so a dead server never leaves a page pending.
// Redirects are followed only when they keep the connection as safe.
// UI thread only.
class QtHttpClient : public HttpClient {
public:
    explicit QtHttpClient(int timeoutMs = 10000);
    ~QtHttpClient() override;
    void get(const QUrl& url, std::function<void(const HttpAnswer&)> done) override;

private:
    QNetworkAccessManager m_manager;
    int m_timeoutMs;
};

}  // namespace tavlo
