#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace tavlo {

// A file-name pattern as the file lists take it: "*" any run of characters,
// "?" one character, letter case ignored; several patterns may be given
// separated by ";" ("*.mp3;*.wav"). "*.*" means every file, dotted or not,
// as the operators who type it expect. An empty pattern matches every name.
// Compiled once, so matching 100,000 names costs no allocation.
// Any thread; immutable.
class WildcardPattern {
public:
    explicit WildcardPattern(const QString& pattern = QString());

    QString text() const { return m_text; }
    bool matches(QStringView name) const;

private:
    QString m_text;
    QStringList m_alternatives;  // case-folded
    bool m_everything = false;
};

}  // namespace tavlo
