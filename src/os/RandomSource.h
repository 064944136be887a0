#pragma once

namespace drilbank {

// The run's one random generator: seeded once, each draw uniform on [0, 1) at single precision.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seed(float seed) = 0;
    virtual float next() = 0;
};

} // namespace drilbank
