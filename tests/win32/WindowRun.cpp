#include "WindowRun.h"

#include "win32/WideText.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace drilbank::testing {

int WindowRun::beeps = 0;

WindowRun::WindowRun() : files_(DriveMap(folder_.path())) {
    begin();
}

WindowRun::WindowRun(const std::filesystem::path& drives, DurableFiles& system)
    : files_(DriveMap(drives), system) {
    begin();
}

void WindowRun::begin() {
    session_ = std::make_unique<Win32Session>(
        Win32Platform::Parts{files_, clock, random, [] { ++WindowRun::beeps; }});
    session_->onRunEnded = [this] { ++runEndings; };
}

void WindowRun::scriptPlainKeyLine() {
    random.scripted.push_back(0.0f); // coding number 19
    for (int i = 0; i < 19; ++i) {
        random.scripted.push_back(0.5f); // no filler
        random.scripted.push_back(0.5f); // key character 118 + 68.5, rounded to 186
    }
}

bool WindowRun::start(const std::vector<std::wstring>& answers) {
    for (const std::wstring& answer : answers) {
        boxes.answers.push_back(BoxRobot::type(answer));
    }
    return session_->load();
}

bool WindowRun::startShown() {
    if (!start({L"1", L"Ann Lee Smith", L"ALS", L"1"})) {
        return false;
    }
    window().show();
    return window().isVisible();
}

void WindowRun::click(std::string_view button) {
    SendMessageW(window().control(button), BM_CLICK, 0, 0);
    session_->handlePendingMessages();
}

void WindowRun::press(WORD key, bool shift) {
    // The loop reads Shift from the thread's key state, which posted keys do not change.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(GetFocus(), WM_KEYDOWN, key, scan | 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, scan | 1 | (LPARAM(3) << 30));
    session_->handlePendingMessages();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

void WindowRun::typeKeys(const std::wstring& characters) {
    for (const wchar_t c : characters) {
        PostMessageW(GetFocus(), WM_CHAR, c, 1);
        session_->handlePendingMessages();
    }
}

void WindowRun::turnWheel(POINT inFrame, int delta) {
    ClientToScreen(window().frame(), &inFrame);
    PostMessageW(GetFocus(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(inFrame.x, inFrame.y));
    session_->handlePendingMessages();
}

std::wstring WindowRun::text(HWND control) const {
    return windowText(control);
}

std::string WindowRun::fileBytes(const std::string& windowsPath) const {
    std::ifstream in(files_.drives().toLocal(windowsPath), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WindowRun::fileExists(const std::string& windowsPath) const {
    return std::filesystem::exists(files_.drives().toLocal(windowsPath));
}

std::string goldenFile(const char* name) {
    std::ifstream in(std::string(DRILBANK_GUI_GOLDEN) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace drilbank::testing
