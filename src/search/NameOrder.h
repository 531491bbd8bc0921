#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>

#include <functional>
#include <vector>

namespace tavlo {

// The order in which the desktop's file managers list names: by the
// desktop's language, letter case ignored, runs of digits by their value
// ("Track 9" before "Track 10"). Where the desktop names no language (the C
// locale of a service or a container) English rules stand in, so numbers
// still sort as numbers.
//
// Sorting 100,000 names through the collator alone costs more than reading
// them from disk; so the names are first put in a cheap order that agrees
// with the collator for nearly every name, and the collator then only
// checks neighbours and moves the few that disagree. A language whose order
// differs a lot from the cheap one (a folder of Danish "aa" names) falls
// back to sorting by the collator's own keys: the result is the collator's
// order either way.
// UI thread only (one collator).
class NameOrder {
public:
    explicit NameOrder(const QLocale& locale = QLocale::system());

    bool less(const QString& a, const QString& b) const { return m_collator.compare(a, b) < 0; }
    // Sorts in place. `tick`, when given, runs every few thousand names, for
    // a caller that lets the interface catch up during a long sort.
    void sort(std::vector<QString>& names, const std::function<void()>& tick = {}) const;

private:
    QCollator m_collator;
};

}  // namespace tavlo
