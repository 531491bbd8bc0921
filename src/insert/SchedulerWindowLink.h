#pragma once

namespace tavlo {

// What the insert window asks of the scheduler window: the preload time every
// "Prepare Insert" counts down, and the saving of its settings when the
// insert window closes.
// UI thread only.
class SchedulerWindowLink {
public:
    virtual ~SchedulerWindowLink() = default;
    // Seconds.
    virtual double preloadTime() const = 0;
    virtual void saveSettings() = 0;
};

// No scheduler: no delay, so a prepared insert starts at once, and nothing to save.
class NullSchedulerWindowLink : public SchedulerWindowLink {
public:
    double preloadTime() const override { return 0; }
    void saveSettings() override {}
};

}  // namespace tavlo
