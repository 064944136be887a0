#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace drilbank::bench {

// What a paired benchmark's cost/floor ratio should stay within. With a smaller benchmark
// named, the figure is growth instead: how much more the cost grows from the smaller to this
// one than the floor does (1 for costs that grow like the floor, linearly).
struct Target {
    std::string what;
    std::string benchmark;
    double target;
    std::string smaller;
};

// Prints the benchmarks as usual, then each ratio measured in this same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<Target> targets) : targets_(std::move(targets)) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    struct Figures {
        double cost = 0;
        double floor = 0;
    };
    std::vector<Target> targets_;
    std::map<std::string, Figures> figures_;
};

} // namespace drilbank::bench
