#pragma once

namespace tavlo {

// What each main window's "About" asks for: the program's about box, loaded
// afresh and shown. The windows know it by this alone, so they need not
// include the application frame that owns it.
// UI thread only.
class AboutBoxLink {
public:
    virtual ~AboutBoxLink() = default;
    virtual void open() = 0;
};

}  // namespace tavlo
