// What a client of the web remote sends that reaches our own code: the
// request's bytes in whatever pieces they come, then its path, query string,
// bearer token and JSON body. Whatever arrives, the parser answers a request
// or a 4xx/5xx status within its limits, and a decoded path is never one
// that climbs out of the page's files.
#include "ScratchFile.h"

#include "web/HttpRequestParser.h"
#include "web/WebPaths.h"
#include "web/WebRequestBody.h"
#include "web/WebToken.h"

using namespace tavlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte says where the connection splits the rest into two reads.
    const QByteArray input(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    const qsizetype split = input.isEmpty() ? 0 : data[0] % (input.size() + 1);

    HttpLimits limits;
    limits.maxHeaderBytes = 2048;
    limits.maxHeaders = 16;
    limits.maxBodyBytes = 4096;
    HttpRequestParser parser(limits);
    auto state = parser.feed(input.left(split));
    if (state == HttpRequestParser::State::NeedMore)
        state = parser.feed(input.mid(split));
    for (int requests = 0; state == HttpRequestParser::State::Complete && requests < 64; ++requests) {
        const HttpRequest r = parser.takeRequest();
        fuzz::check(r.body.size() <= limits.maxBodyBytes, "a body within its limit");
        fuzz::check(r.headers.size() <= limits.maxHeaders, "headers within their limit");
        fuzz::check(r.path.startsWith('/'), "a path in origin form");
        if (const auto path = WebPaths::decodePath(r.path)) {
            fuzz::check(!path->contains(QStringLiteral("/../")) && !path->endsWith(QStringLiteral("/..")),
                        "no decoded path climbs");
            fuzz::check(!path->contains(QChar(0)), "no NUL in a decoded path");
            if (const auto file = WebPaths::pageFile(*path))
                fuzz::check(file->resource.startsWith(QStringLiteral(":/web/")), "only the page's own files");
        }
        WebPaths::parseQuery(r.query);
        WebToken::matches(WebToken::bearerToken(r.header("authorization")), "token");
        QString why;
        if (!WebRequestBody::rowsToAdd(r.body, &why))
            fuzz::check(!why.isEmpty(), "a refused body says why");
        state = parser.feed(QByteArray());
    }
    if (state == HttpRequestParser::State::Failed) {
        const int status = parser.failureStatus();
        fuzz::check(status == 400 || status == 413 || status == 431 || status == 501 || status == 505,
                    "a failure answers a status of its own");
    }
    fuzz::check(parser.pendingBytes() <= limits.maxHeaderBytes + limits.maxBodyBytes + input.size(),
                "nothing buffered past the input");
    return 0;
}
