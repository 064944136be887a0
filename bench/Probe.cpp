#include "Probe.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace drilbank::bench {

ProbeResult runProbe(const std::vector<std::string>& arguments, const std::string& drives) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {};
    }
    const double start = steadyMilliseconds();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("DRILBANK_DRIVES", drives.c_str(), 1);
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
        std::vector<char*> argv{const_cast<char*>(DRILBANK_STARTUP_PROBE)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(DRILBANK_STARTUP_PROBE, argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    ProbeResult result;
    char buffer[256];
    for (ssize_t count; (count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        result.output.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    const bool waited = child > 0 && ::wait4(child, &status, 0, &usage) == child;
    result.endedAtMs = steadyMilliseconds();
    result.ok = waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.milliseconds = result.endedAtMs - start;
    result.peakKilobytes = static_cast<double>(usage.ru_maxrss);
    return result;
}

double median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

} // namespace drilbank::bench
