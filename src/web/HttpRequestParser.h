#pragma once

#include "web/HttpMessage.h"

namespace tavlo {

// How much a client may send before the remote gives up on it.
struct HttpLimits {
    int maxHeaderBytes = 8192;  // request line and headers together
    int maxHeaders = 48;
    qint64 maxBodyBytes = 256 * 1024;
};

// Reads HTTP/1.x requests from the bytes a connection delivers, in whatever
// pieces they come, one request after another on a kept-alive connection.
// Strict on purpose: CRLF line ends, a target in origin form, a plain
// Content-Length body (no chunked uploads), and every limit checked before
// anything more is buffered, so a hostile client costs at most the limits.
// One connection's; no shared state.
class HttpRequestParser {
public:
    enum class State { NeedMore, Complete, Failed };

    explicit HttpRequestParser(HttpLimits limits = {}) : m_limits(limits) {}

    // Adds bytes and reads as far as they go. After Complete, takeRequest();
    // after Failed, failureStatus() says which answer the client gets.
    State feed(const QByteArray& bytes);
    State state() const { return m_state; }
    // 400, 413, 431, 501 or 505.
    int failureStatus() const { return m_failure; }
    // The complete request; what followed it stays for the next one.
    HttpRequest takeRequest();
    // Bytes buffered towards a request not yet complete.
    qsizetype pendingBytes() const { return m_buffer.size(); }

private:
    State fail(int status);
    State readHead(qsizetype headEnd);

    HttpLimits m_limits;
    QByteArray m_buffer;
    State m_state = State::NeedMore;
    int m_failure = 0;
    bool m_haveHead = false;
    qint64 m_bodyLength = 0;
    HttpRequest m_request;
};

}  // namespace tavlo
