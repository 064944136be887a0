#pragma once

#include <functional>

namespace drilbank::testing {

// Runs the action in a child process as the unprivileged user "nobody", so that file
// permissions apply even when the tests run as root, and gives the child's result
// (0 to 255), or -1 when the child could not give one. On Windows, in this process.
int resultAsUnprivilegedUser(const std::function<int()>& action);

} // namespace drilbank::testing
