#pragma once

#include <functional>
#include <string>

namespace drilbank::testing {

// Work done by a child process: given the parent's argument, gives the exit code.
using ChildWork = std::function<int(const std::string& argument)>;

// A copy of the test program doing one piece of work in a process of its own, so that it can
// be killed at any moment. On Linux the child is a fork. Windows has no fork: the test program
// starts itself again with only the current test selected and the argument in its
// environment, and that test hands over to the work at its first line.
class ChildProcess {
public:
    // The first line of a test that starts children: in such a child, does the work and
    // exits with its code; in the test itself, returns at once.
    static void serveIfChild(const ChildWork& work);

    ChildProcess(const ChildWork& work, const std::string& argument);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void kill();   // at once, as a power cut or the task manager would
    int waitFor(); // the exit code, or -1 when the child was killed or did not start

private:
#ifdef _WIN32
    void* process_ = nullptr;
#else
    int process_ = -1;
#endif
};

} // namespace drilbank::testing
