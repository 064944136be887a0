#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace drilbank::bench {

// One run of the probe program as a process of its own, on Qt's offscreen platform and
// without a session bus, with its record files under the given drives folder.
struct ProbeResult {
    bool ok = false;
    double milliseconds = 0;  // from the start of the process to its end, as its parent sees it
    double peakKilobytes = 0; // its peak resident memory
    double endedAtMs = 0;     // when its end was seen, on the steady clock, in ms
    std::string output;       // what it wrote to standard output
};

ProbeResult runProbe(const std::vector<std::string>& arguments, const std::string& drives);

double median(std::vector<double> samples);

// The steady clock in milliseconds, as the probe reports its own moments; it is the same
// clock in every process.
inline double steadyMilliseconds() {
    const std::chrono::duration<double, std::milli> since =
        std::chrono::steady_clock::now().time_since_epoch();
    return since.count();
}

} // namespace drilbank::bench
