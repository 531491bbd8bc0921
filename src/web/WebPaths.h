#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace tavlo {

// The remote's rules for what a request names. Pure functions: no state.
namespace WebPaths {

// A request's path decoded once: "%xx" must be two hex digits, the result
// valid UTF-8 without control characters or backslashes, and no segment may
// be empty, "." or ".." however it was written (%2e%2e, %2E.) nor hold an
// encoded '/'. Anything else is no path of ours: nothing.
std::optional<QString> decodePath(const QByteArray& raw);

// A query string as names to values ('+' a space, "%xx" decoded); nothing
// when it is malformed or names more than `maxPairs` values. A name given
// twice keeps its first value.
std::optional<QHash<QString, QString>> parseQuery(const QByteArray& raw, int maxPairs = 16);

// One of the page's own files: the resource it is compiled into and its type.
struct PageFile {
    QString resource;
    QByteArray contentType;
};
// The page's file at a decoded path; only the few files the page is made of
// exist, so no path can reach anything else.
std::optional<PageFile> pageFile(const QString& path);

}  // namespace WebPaths

}  // namespace tavlo
