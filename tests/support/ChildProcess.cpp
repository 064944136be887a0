#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace drilbank::testing {

#ifdef _WIN32

namespace {

constexpr wchar_t argumentVariable[] = L"DRILBANK_CHILD_ARGUMENT";

std::wstring wide(const std::string& utf8) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

} // namespace

void ChildProcess::serveIfChild(const ChildWork& work) {
    wchar_t argument[32768];
    const DWORD length = GetEnvironmentVariableW(argumentVariable, argument, 32768);
    if (length > 0 && length < 32768) {
        std::_Exit(work(utf8(std::wstring(argument, length))));
    }
}

ChildProcess::ChildProcess(const ChildWork&, const std::string& argument) {
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" --gtest_filter=" +
                               wide(std::string(test->test_suite_name()) + "." + test->name());
    // The child takes a copy of this environment as it starts.
    SetEnvironmentVariableW(argumentVariable, wide(argument).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        process_ = started.hProcess;
    }
    SetEnvironmentVariableW(argumentVariable, nullptr);
}

ChildProcess::~ChildProcess() {
    if (process_ != nullptr) {
        kill();
        waitFor();
    }
}

void ChildProcess::kill() {
    if (process_ != nullptr) {
        TerminateProcess(process_, 255);
    }
}

int ChildProcess::waitFor() {
    if (process_ == nullptr) {
        return -1;
    }
    WaitForSingleObject(process_, INFINITE);
    DWORD code = 0;
    const bool exited = GetExitCodeProcess(process_, &code);
    CloseHandle(process_);
    process_ = nullptr;
    return exited && code != 255 ? static_cast<int>(code) : -1;
}

#else

void ChildProcess::serveIfChild(const ChildWork&) {}

ChildProcess::ChildProcess(const ChildWork& work, const std::string& argument)
    : process_(::fork()) {
    if (process_ == 0) {
        ::_exit(work(argument));
    }
}

ChildProcess::~ChildProcess() {
    if (process_ > 0) {
        kill();
        waitFor();
    }
}

void ChildProcess::kill() {
    if (process_ > 0) {
        ::kill(process_, SIGKILL);
    }
}

int ChildProcess::waitFor() {
    if (process_ <= 0) {
        return -1;
    }
    int status = 0;
    const bool waited = ::waitpid(process_, &status, 0) == process_;
    process_ = -1;
    return waited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

} // namespace drilbank::testing
