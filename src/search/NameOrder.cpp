#include "search/NameOrder.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace tavlo {

namespace {

constexpr size_t kTickEvery = 4096;

// Where the collator puts punctuation and symbols before digits and letters,
// roughly (the check afterwards makes up for any difference).
int asciiWeight(char16_t c)
{
    static const char kOrder[] = " _-,;:!?.'\"()[]{}@*/\\&#%`^+<=>|~$";
    for (int i = 0; kOrder[i]; ++i) {
        if (kOrder[i] == c)
            return 1 + i;
    }
    return 40 + (c & 0x3f);  // control characters and anything left: before digits
}

// A byte string whose plain order is close to the collator's: letters case
// folded, digit runs as their length without leading zeros and then their
// digits, characters beyond ASCII after letters by their code.
std::string cheapKey(QStringView s)
{
    std::string k;
    k.reserve(static_cast<size_t>(s.size()) + 4);
    for (qsizetype i = 0; i < s.size();) {
        char16_t c = s[i].unicode();
        if (c >= u'0' && c <= u'9') {
            qsizetype start = i;
            while (start < s.size() && s[start] == u'0')
                ++start;
            qsizetype end = start;
            while (end < s.size() && s[end].unicode() >= u'0' && s[end].unicode() <= u'9')
                ++end;
            if (end == start && start > i)
                --start;  // all zeros: the value 0
            k.push_back('\x70');
            k.push_back(static_cast<char>(std::min<qsizetype>(end - start, 0x7f)));
            for (qsizetype d = start; d < end; ++d)
                k.push_back(static_cast<char>(s[d].unicode()));
            i = end;
            continue;
        }
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + 32);
        if (c >= u'a' && c <= u'z') {
            k.push_back(static_cast<char>(0x80 + (c - u'a')));
        } else if (c < 0x80) {
            k.push_back(static_cast<char>(asciiWeight(c)));
        } else {
            k.push_back('\xf0');
            k.push_back(static_cast<char>(c >> 8));
            k.push_back(static_cast<char>(c & 0xff));
        }
        ++i;
    }
    return k;
}

// Sorts in blocks and merges them in passes, running `tick` between steps,
// so no single step of a 100,000-name sort keeps the interface waiting.
template <typename It, typename Less>
void sortInSteps(It first, It last, Less less, const std::function<void()>& tick)
{
    const auto n = last - first;
    constexpr std::ptrdiff_t kBlock = 4096;
    for (std::ptrdiff_t b = 0; b < n; b += kBlock) {
        std::sort(first + b, first + std::min(b + kBlock, n), less);
        if (tick)
            tick();
    }
    for (std::ptrdiff_t width = kBlock; width < n; width *= 2) {
        for (std::ptrdiff_t lo = 0; lo + width < n; lo += 2 * width) {
            std::inplace_merge(first + lo, first + lo + width, first + std::min(lo + 2 * width, n), less);
            if (tick)
                tick();
        }
    }
}

QLocale collationLocale(const QLocale& locale)
{
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
}

}  // namespace

NameOrder::NameOrder(const QLocale& locale) : m_collator(collationLocale(locale))
{
    m_collator.setNumericMode(true);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setIgnorePunctuation(false);
}

void NameOrder::sort(std::vector<QString>& names, const std::function<void()>& tick) const
{
    const size_t n = names.size();
    if (n < 2)
        return;
    auto maybeTick = [&tick](size_t i) {
        if (tick && i % kTickEvery == kTickEvery - 1)
            tick();
    };

    // Cheap order first; equal keys by the names' own text, so the result
    // never depends on the order the folder listed them in.
    std::vector<std::string> keys(n);
    for (size_t i = 0; i < n; ++i) {
        keys[i] = cheapKey(names[i]);
        maybeTick(i);
    }
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    sortInSteps(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : names[a] < names[b];
    }, tick);
    keys.clear();
    keys.shrink_to_fit();
    std::vector<QString> sorted;
    sorted.reserve(n);
    for (size_t i : order)
        sorted.push_back(std::move(names[i]));

    // Then the collator's word: each name that sorts before its neighbour
    // moves back into place (binary insertion). Few should move; many mean
    // the language orders names its own way, and the keys decide.
    const size_t budget = n / 8 + 16;
    size_t moved = 0;
    for (size_t i = 1; i < n; ++i) {
        maybeTick(i);
        if (m_collator.compare(sorted[i - 1], sorted[i]) <= 0)
            continue;
        if (++moved > budget) {
            std::vector<std::pair<QCollatorSortKey, size_t>> full;
            full.reserve(n);
            for (size_t j = 0; j < n; ++j) {
                full.emplace_back(m_collator.sortKey(sorted[j]), j);
                maybeTick(j);
            }
            // Equal keys keep their order: the block sort is not stable, so the
            // positions decide between them.
            sortInSteps(full.begin(), full.end(), [](const auto& a, const auto& b) {
                const int c = a.first.compare(b.first);
                return c != 0 ? c < 0 : a.second < b.second;
            }, tick);
            names.clear();
            for (const auto& [key, j] : full)
                names.push_back(std::move(sorted[j]));
            return;
        }
        QString name = std::move(sorted[i]);
        const auto at = std::upper_bound(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(i), name,
                                         [this](const QString& a, const QString& b) { return m_collator.compare(a, b) < 0; });
        std::move_backward(at, sorted.begin() + static_cast<std::ptrdiff_t>(i), sorted.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        *at = std::move(name);
    }
    names = std::move(sorted);
}

}  // namespace tavlo
