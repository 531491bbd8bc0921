#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tavlo::test {

// Whole files put on disk and read back by tests; a failure shows as a wrong
// result in the test itself.
inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace tavlo::test
