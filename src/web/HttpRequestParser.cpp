#include "web/HttpRequestParser.h"

namespace tavlo {

namespace {

// RFC 9110's token characters: what a method and a header name are made of.
bool isTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArray("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(const QByteArray& s)
{
    if (s.isEmpty())
        return false;
    for (char c : s)
        if (!isTokenChar(c))
            return false;
    return true;
}

// Visible ASCII, spaces and tabs, and bytes above 127 (values are opaque to us).
bool isFieldValue(const QByteArray& s)
{
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7f)
            return false;
    }
    return true;
}

}  // namespace

HttpRequestParser::State HttpRequestParser::fail(int status)
{
    m_failure = status;
    m_state = State::Failed;
    m_buffer.clear();
    return m_state;
}

HttpRequestParser::State HttpRequestParser::feed(const QByteArray& bytes)
{
    if (m_state != State::NeedMore)
        return m_state;
    m_buffer.append(bytes);
    if (!m_haveHead) {
        // Blank lines before a request are allowed (a client's stray CRLF after a body).
        while (m_buffer.startsWith("\r\n"))
            m_buffer.remove(0, 2);
        const qsizetype headEnd = m_buffer.indexOf("\r\n\r\n");
        if (headEnd < 0) {
            if (m_buffer.size() > m_limits.maxHeaderBytes)
                return fail(431);
            return m_state;
        }
        if (headEnd + 4 > m_limits.maxHeaderBytes)
            return fail(431);
        if (readHead(headEnd) == State::Failed)
            return m_state;
    }
    if (m_buffer.size() < m_bodyLength)
        return m_state;
    m_request.body = m_buffer.left(m_bodyLength);
    m_buffer.remove(0, m_bodyLength);
    m_state = State::Complete;
    return m_state;
}

HttpRequestParser::State HttpRequestParser::readHead(qsizetype headEnd)
{
    const QByteArray head = m_buffer.left(headEnd);
    m_buffer.remove(0, headEnd + 4);
    const QList<QByteArray> lines = head.split('\n');
    if (lines.size() - 1 > m_limits.maxHeaders)
        return fail(431);
    for (qsizetype i = 0; i < lines.size() - 1; ++i)
        if (!lines[i].endsWith('\r'))
            return fail(400);  // a bare LF inside the head

    HttpRequest r;
    const QByteArray requestLine = lines[0].chopped(lines.size() > 1 ? 1 : 0);
    const QList<QByteArray> parts = requestLine.split(' ');
    if (parts.size() != 3 || !isToken(parts[0]) || !parts[1].startsWith('/'))
        return fail(400);
    if (parts[2] == "HTTP/1.1")
        r.minorVersion = 1;
    else if (parts[2] == "HTTP/1.0")
        r.minorVersion = 0;
    else if (parts[2].startsWith("HTTP/"))
        return fail(505);
    else
        return fail(400);
    r.method = parts[0];
    const QByteArray& target = parts[1];
    for (char c : target) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7f || c == '#')
            return fail(400);
    }
    const qsizetype q = target.indexOf('?');
    r.path = q < 0 ? target : target.left(q);
    r.query = q < 0 ? QByteArray() : target.mid(q + 1);

    bool haveLength = false;
    qint64 length = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype colon = line.indexOf(':');
        // No folded lines, no space before the colon (both smuggle requests).
        if (colon <= 0)
            return fail(400);
        const QByteArray name = line.left(colon).toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (!isToken(name) || !isFieldValue(value))
            return fail(400);
        if (name == "transfer-encoding")
            return fail(501);
        if (name == "content-length") {
            if (value.isEmpty() || value.size() > 18)
                return fail(400);
            for (char c : value)
                if (c < '0' || c > '9')
                    return fail(400);
            const qint64 n = value.toLongLong();
            if (haveLength && n != length)
                return fail(400);
            haveLength = true;
            length = n;
        }
        r.headers.append({name, value});
    }
    if (length > m_limits.maxBodyBytes)
        return fail(413);
    m_bodyLength = length;
    m_request = std::move(r);
    m_haveHead = true;
    return m_state;
}

HttpRequest HttpRequestParser::takeRequest()
{
    HttpRequest r = std::move(m_request);
    m_request = HttpRequest();
    m_haveHead = false;
    m_bodyLength = 0;
    m_state = State::NeedMore;
    return r;
}

}  // namespace tavlo
