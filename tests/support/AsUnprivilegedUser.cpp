#include "support/AsUnprivilegedUser.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace drilbank::testing {

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

} // namespace drilbank::testing
