#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace drilbank::bench {

// Times a cost and the floor it cannot beat one after the other in every iteration, so that
// both see the same machine at the same moment, and reports the medians in milliseconds and
// their ratio as the counters cost, floor and ratio. Medians keep a slow disk flush from swaying
// them.
class PairedTimes {
public:
    template <typename Action> void cost(Action&& action) { costs_.push_back(timed(action)); }
    template <typename Action> void floor(Action&& action) { floors_.push_back(timed(action)); }

    void report(benchmark::State& state) {
        const double cost = median(costs_);
        const double floor = median(floors_);
        state.counters["cost"] = cost;
        state.counters["floor"] = floor;
        state.counters["ratio"] = floor > 0 ? cost / floor : 0;
    }

private:
    template <typename Action> static double timed(Action& action) {
        const auto start = std::chrono::steady_clock::now();
        action();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        return spent.count();
    }

    static double median(std::vector<double> samples) {
        if (samples.empty()) {
            return 0;
        }
        const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
        std::nth_element(samples.begin(), middle, samples.end());
        return *middle;
    }

    std::vector<double> costs_;
    std::vector<double> floors_;
};

} // namespace drilbank::bench
