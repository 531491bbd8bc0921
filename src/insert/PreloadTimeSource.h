#pragma once

namespace tavlo {

// Where "Prepare Insert" takes its preload delay from: the scheduler's
// PreLoadTime, in seconds.
// UI thread only.
class PreloadTimeSource {
public:
    virtual ~PreloadTimeSource() = default;
    virtual double PreLoadTime() const = 0;
};

// Until the scheduler exists: no delay, so a prepared insert starts at once.
class NoPreloadTimeSource : public PreloadTimeSource {
public:
    double PreLoadTime() const override { return 0; }
};

}  // namespace tavlo
