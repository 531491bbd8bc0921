#include "search/WildcardPattern.h"

namespace tavlo {

namespace {

inline char16_t folded(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return QChar(c).toCaseFolded().unicode();
}

inline bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }

// One UTF-16 unit, or two for a character outside the basic plane.
inline qsizetype charLength(QStringView s, qsizetype i)
{
    return isHighSurrogate(s[i].unicode()) && i + 1 < s.size() ? 2 : 1;
}

// Greedy match with one backtrack point: the last "*" seen. Each "*" only
// ever moves forward, so a name is walked a bounded number of times.
bool globMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0;
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size()) {
            const char16_t pc = pattern[p].unicode();
            if (pc == u'*') {
                starP = ++p;
                starN = n;
                continue;
            }
            if (pc == u'?') {
                ++p;
                n += charLength(name, n);
                continue;
            }
            if (pc == folded(name[n].unicode())) {
                ++p;
                ++n;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP;
        starN += charLength(name, starN);
        n = starN;
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

}  // namespace

WildcardPattern::WildcardPattern(const QString& pattern) : m_text(pattern)
{
    for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString alt = part.trimmed();
        if (alt.isEmpty())
            continue;
        if (alt == QLatin1String("*") || alt == QLatin1String("*.*"))
            m_everything = true;
        m_alternatives.append(alt.toCaseFolded());
    }
    if (m_alternatives.isEmpty())
        m_everything = true;
}

bool WildcardPattern::matches(QStringView name) const
{
    if (m_everything)
        return true;
    for (const QString& alt : m_alternatives) {
        if (globMatch(alt, name))
            return true;
    }
    return false;
}

}  // namespace tavlo
