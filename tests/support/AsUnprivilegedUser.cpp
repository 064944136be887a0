#include "support/AsUnprivilegedUser.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace drilbank::testing {

#ifdef _WIN32

// The refusals Windows tests use (a file held without sharing) bind every user alike.
int resultAsUnprivilegedUser(const std::function<int()>& action) {
    return action() & 0xFF;
}

#else

int resultAsUnprivilegedUser(const std::function<int()>& action) {
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        constexpr uid_t nobody = 65534;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(nobody, nobody, nobody) != 0 ||
             ::setresuid(nobody, nobody, nobody) != 0)) {
            ::_exit(255);
        }
        ::_exit(action() & 0xFF);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

#endif

} // namespace drilbank::testing
