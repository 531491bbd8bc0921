#pragma once

namespace tavlo {

// Uniform numbers in [0, 1) for shuffle and random order.
class Random {
public:
    virtual ~Random() = default;
    virtual void reseed() = 0;  // from the time of day
    virtual double next() = 0;
};

}  // namespace tavlo
