#pragma once

#include <stdexcept>
#include <string>

namespace drilbank {

// Numbered failures, shown to the student as numbers in the general error message.
// The table is fixed so that an instructor can tell what went wrong from a report.
namespace failure {
constexpr int OutOfMemory = 7;        // memory ran out, or something else no handler expected
constexpr int ArgumentOutOfRange = 5; // a computed character code outside 0..255
constexpr int Overflow = 6;           // a number too large to hold
constexpr int IndexOutOfRange = 9;    // an index outside an array's bounds
constexpr int TypeMismatch = 13;      // a text that must be a number and is not
constexpr int BadFileName = 52;       // a name a Windows file name cannot hold
constexpr int FileNotFound = 53;
constexpr int FileAlreadyOpen = 55;
constexpr int DeviceIoError = 57;
constexpr int DiskFull = 61;
constexpr int InputPastEndOfFile = 62;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccessError = 75; // the path exists but cannot be used as asked
constexpr int PathNotFound = 76;
} // namespace failure

// A numbered failure. The detail, when there is one, says in plain words what failed and
// where, the Windows path as the student knows it and the folder on this machine, so that a
// student can fix the cause without knowing what the number means.
class Failure : public std::runtime_error {
public:
    explicit Failure(int number, std::string detail = {})
        : std::runtime_error("failure " + std::to_string(number)), number_(number),
          detail_(std::move(detail)) {}
    int number() const { return number_; }
    const std::string& detail() const { return detail_; }

private:
    int number_;
    std::string detail_;
};

// Thrown to end the run at once: it unwinds the current handler so that nothing after
// the ending step runs; the dispatcher then closes every channel and ends the program.
class RunEnded : public std::exception {
public:
    const char* what() const noexcept override { return "the run has ended"; }
};

[[noreturn]] inline void endRunAtOnce() {
    throw RunEnded();
}

} // namespace drilbank
