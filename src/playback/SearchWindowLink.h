#pragma once

namespace tavlo {

// What a player window asks of the program's one search window: show itself
// at the window's place.
// UI thread only.
class SearchWindowLink {
public:
    virtual ~SearchWindowLink() = default;
    // Left and top in twips.
    virtual void showAt(int left, int top) = 0;
};

// No search window: the button does nothing.
class NullSearchWindowLink : public SearchWindowLink {
public:
    void showAt(int, int) override {}
};

}  // namespace tavlo
