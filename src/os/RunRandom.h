#pragma once

#include "os/RandomSource.h"

#include <random>

namespace drilbank {

class RunRandom final : public RandomSource {
public:
    void seed(float seed) override;
    float next() override;

private:
    std::mt19937 generator_;
};

} // namespace drilbank
