// The remote's small rules, each a pure function: how a request is read and
// limited, which paths exist, who may act, what a body may ask.
#include "web/HttpRequestParser.h"
#include "web/WebAddress.h"
#include "web/WebPaths.h"
#include "web/WebRequestBody.h"
#include "web/WebToken.h"

#include <gtest/gtest.h>

using namespace tavlo;

namespace {

// What the parser makes of `bytes` fed in one piece: the status it fails
// with, or 0 when a request came out whole.
int outcome(const QByteArray& bytes, HttpLimits limits = {})
{
    HttpRequestParser p(limits);
    const auto state = p.feed(bytes);
    if (state == HttpRequestParser::State::Failed)
        return p.failureStatus();
    return state == HttpRequestParser::State::Complete ? 0 : -1;
}

}  // namespace

TEST(WebRules, RequestsAreReadInAnyPiecesAndLimited)
{
    // Byte by byte, two pipelined requests: both come out whole, in order.
    const QByteArray two = "POST /api/music/next HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 5\r\n\r\nhello"
                           "GET /api/now-playing?x=1 HTTP/1.0\r\n\r\n";
    HttpRequestParser p;
    QList<HttpRequest> got;
    for (char c : two) {
        auto state = p.feed(QByteArray(1, c));
        while (state == HttpRequestParser::State::Complete) {
            got << p.takeRequest();
            state = p.feed(QByteArray());
        }
        ASSERT_NE(state, HttpRequestParser::State::Failed);
    }
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0].method, "POST");
    EXPECT_EQ(got[0].body, "hello");
    EXPECT_EQ(got[0].header("host"), "127.0.0.1");
    EXPECT_TRUE(got[0].keepAlive());
    EXPECT_EQ(got[1].path, "/api/now-playing");
    EXPECT_EQ(got[1].query, "x=1");
    EXPECT_FALSE(got[1].keepAlive());

    // Each limit and each malformation answers its own status.
    HttpLimits small;
    small.maxHeaderBytes = 200;
    small.maxHeaders = 3;
    small.maxBodyBytes = 10;
    EXPECT_EQ(outcome("GET / HTTP/1.1\r\nX: " + QByteArray(300, 'a'), small), 431);  // never-ending head
    EXPECT_EQ(outcome("GET / HTTP/1.1\r\nA: 1\r\nB: 2\r\nC: 3\r\nD: 4\r\n\r\n", small), 431);
    EXPECT_EQ(outcome("POST / HTTP/1.1\r\nContent-Length: 11\r\n\r\n", small), 413);
    EXPECT_EQ(outcome("POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"), 501);
    EXPECT_EQ(outcome("GET / HTTP/2.0\r\n\r\n"), 505);
    EXPECT_EQ(outcome("GET / HTTP/1.1\nHost: x\r\n\r\n"), 400);                         // bare LF
    EXPECT_EQ(outcome("GET http://evil/ HTTP/1.1\r\n\r\n"), 400);                       // not origin form
    EXPECT_EQ(outcome("GET / HTTP/1.1\r\n folded: x\r\n\r\n"), 400);
    EXPECT_EQ(outcome("GET / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n"), 400);
    EXPECT_EQ(outcome("GET / HTTP/1.1\r\nContent-Length: -1\r\n\r\n"), 400);
    EXPECT_EQ(outcome("GET /a b HTTP/1.1\r\n\r\n"), 400);
    EXPECT_EQ(outcome("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"), 0);
}

TEST(WebRules, OnlyOurOwnPathsExistHoweverEncoded)
{
    for (const char* raw : {"/%2e%2e/etc/passwd", "/%2E%2E/%2e%2e/etc/passwd", "/..", "/remote.js/..", "/a/./b",
                            "/..%2fetc", "/a%2fb", "/a%5cb", "/a\\b", "/%00", "/a%0a", "/%zz", "/%2", "/%c0%ae%c0%ae/x",
                            "//etc/passwd", "/a//b", "relative"}) {
        EXPECT_FALSE(WebPaths::decodePath(raw).has_value()) << raw;
    }
    EXPECT_EQ(WebPaths::decodePath("/"), QStringLiteral("/"));
    EXPECT_EQ(WebPaths::decodePath("/api/lists/music/rows/%33"), QStringLiteral("/api/lists/music/rows/3"));
    EXPECT_EQ(WebPaths::decodePath("/caf%C3%A9"), QStringLiteral("/caf\u00e9"));

    // The page's files are a fixed few; anything else is no file.
    EXPECT_EQ(WebPaths::pageFile(QStringLiteral("/"))->resource, QStringLiteral(":/web/index.html"));
    EXPECT_EQ(WebPaths::pageFile(QStringLiteral("/remote.js"))->contentType, "text/javascript; charset=utf-8");
    for (const char* other : {"/web.qrc", "/index.html/", "/REMOTE.JS", "/api", "/etc/passwd"})
        EXPECT_FALSE(WebPaths::pageFile(QString::fromLatin1(other)).has_value()) << other;

    const auto q = WebPaths::parseQuery("date=2026-01-05&a=x+y%21&date=2027-01-01&flag");
    ASSERT_TRUE(q.has_value());
    EXPECT_EQ(q->value(QStringLiteral("date")), QStringLiteral("2026-01-05"));  // the first wins
    EXPECT_EQ(q->value(QStringLiteral("a")), QStringLiteral("x y!"));
    EXPECT_TRUE(q->contains(QStringLiteral("flag")));
    EXPECT_FALSE(WebPaths::parseQuery("a=%zz").has_value());
    EXPECT_FALSE(WebPaths::parseQuery("=1").has_value());
    EXPECT_FALSE(WebPaths::parseQuery("a&b&c", 2).has_value());
}

TEST(WebRules, TokenAndAccess)
{
    using WebToken::Access;
    EXPECT_EQ(WebToken::accessFor("GET", true), Access::Open);
    EXPECT_EQ(WebToken::accessFor("POST", true), Access::NeedsToken);
    EXPECT_EQ(WebToken::accessFor("DELETE", true), Access::NeedsToken);
    EXPECT_EQ(WebToken::accessFor("HEAD", true), Access::NeedsToken);
    EXPECT_EQ(WebToken::accessFor("GET", false), Access::NeedsToken);
    EXPECT_EQ(WebToken::accessFor("GET", false, true), Access::Open) << "the page's own files";
    EXPECT_EQ(WebToken::accessFor("POST", false, true), Access::NeedsToken);
    EXPECT_TRUE(WebToken::usable("0123456789abcdef"));
    EXPECT_FALSE(WebToken::usable("short"));
    EXPECT_FALSE(WebToken::usable("0123456789 abcdef with a space"));

    EXPECT_EQ(WebToken::bearerToken("Bearer abc-_.~+/="), "abc-_.~+/=");
    EXPECT_EQ(WebToken::bearerToken("bearer   abc  "), "abc");
    EXPECT_EQ(WebToken::bearerToken("Basic YWJj"), "");
    EXPECT_EQ(WebToken::bearerToken("Bearer a b"), "");
    EXPECT_EQ(WebToken::bearerToken("Bearer "), "");

    EXPECT_TRUE(WebToken::matches("s3cret", "s3cret"));
    EXPECT_FALSE(WebToken::matches("s3cre", "s3cret"));
    EXPECT_FALSE(WebToken::matches("s3cretX", "s3cret"));
    EXPECT_FALSE(WebToken::matches("", ""));  // no token set: nothing gets in

    const QString a = WebToken::newToken(), b = WebToken::newToken();
    EXPECT_EQ(a.size(), 43);
    EXPECT_NE(a, b);
    EXPECT_EQ(WebToken::bearerToken("Bearer " + a.toLatin1()), a.toLatin1());
}

TEST(WebRules, AddressesAndBodies)
{
    EXPECT_EQ(WebAddress::parse(QStringLiteral("127.0.0.1:8091")), (WebAddress{QStringLiteral("127.0.0.1"), 8091}));
    EXPECT_EQ(WebAddress::parse(QStringLiteral("localhost:0")), (WebAddress{QStringLiteral("127.0.0.1"), 0}));
    EXPECT_EQ(WebAddress::parse(QStringLiteral("[::1]:80"))->host, QStringLiteral("::1"));
    EXPECT_TRUE(WebAddress::parse(QStringLiteral("[::1]:80"))->isLoopback());
    EXPECT_FALSE(WebAddress::parse(QStringLiteral("0.0.0.0:8091"))->isLoopback());
    EXPECT_EQ(WebAddress::parse(QStringLiteral("[::1]:80"))->text(), QStringLiteral("[::1]:80"));
    for (const char* bad : {"8091", "127.0.0.1", "127.0.0.1:65536", "127.0.0.1:-1", "127.0.0.1:+80", "256.0.0.1:80",
                            "example.com:80", "[zz]:80", "1.2.3:80"}) {
        QString why;
        EXPECT_FALSE(WebAddress::parse(QString::fromLatin1(bad), &why).has_value()) << bad;
        EXPECT_FALSE(why.isEmpty()) << bad;
    }

    QString why;
    const auto files = WebRequestBody::rowsToAdd(R"({"files":["/m/a.mp3","/m/b.mp3"],"position":2})", &why);
    ASSERT_TRUE(files.has_value()) << qPrintable(why);
    EXPECT_EQ(files->files.size(), 2);
    EXPECT_EQ(files->position, 2);
    EXPECT_EQ(WebRequestBody::rowsToAdd(R"({"playlist":"/m/day.m3u"})", &why)->playlist, QStringLiteral("/m/day.m3u"));
    for (const char* bad : {"", "not json", "[]", R"({})", R"({"files":[]})", R"({"files":["rel.mp3"]})",
                            R"({"files":["/a"],"playlist":"/b"})", R"({"files":[1]})", R"({"files":["/a"],"position":1.5})",
                            R"({"files":["/a"],"position":-1})", R"({"files":["/a"],"extra":1})",
                            R"({"playlist":"/a\u0000b"})"}) {
        why.clear();
        EXPECT_FALSE(WebRequestBody::rowsToAdd(bad, &why).has_value()) << bad;
        EXPECT_FALSE(why.isEmpty()) << bad;
    }
}
