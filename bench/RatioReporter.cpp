#include "RatioReporter.h"

#include <cstdio>

namespace drilbank::bench {
namespace {

// "EnterResponseClick/iterations:400" is filed as "EnterResponseClick".
std::string plainName(std::string name) {
    for (const char* option : {"/iterations:", "/min_time:", "/real_time"}) {
        const std::size_t at = name.find(option);
        if (at != std::string::npos) {
            name = name.substr(0, at);
        }
    }
    return name;
}

double counter(const benchmark::BenchmarkReporter::Run& run, const char* name) {
    const auto found = run.counters.find(name);
    return found == run.counters.end() ? 0 : static_cast<double>(found->second);
}

} // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
            figures_[plainName(run.benchmark_name())] = {counter(run, "cost"),
                                                         counter(run, "floor")};
        }
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\n%-48s %11s %11s %8s %8s\n", "figure", "cost", "floor", "ratio", "target");
    for (const Target& target : targets_) {
        const auto large = figures_.find(target.benchmark);
        const auto small =
            figures_.find(target.smaller.empty() ? target.benchmark : target.smaller);
        if (large == figures_.end() || small == figures_.end()) {
            std::printf("%-48s %11s %11s %8s %8.2f\n", target.what.c_str(), "-", "-", "not run",
                        target.target);
            continue;
        }
        // For growth the two columns are the cost's and the floor's growth factors.
        const bool growth = !target.smaller.empty();
        const double cost = growth ? large->second.cost / small->second.cost : large->second.cost;
        const double floor =
            growth ? large->second.floor / small->second.floor : large->second.floor;
        const double ratio = floor > 0 ? cost / floor : 0;
        std::printf("%-48s %11.3f %11.3f %8.2f %8.2f  %s\n", target.what.c_str(), cost, floor,
                    ratio, target.target, ratio <= target.target ? "met" : "MISSED");
    }
}

} // namespace drilbank::bench
