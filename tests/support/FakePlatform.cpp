#include "support/FakePlatform.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace drilbank::testing {

std::string FakeClock::dateText() {
    ++dateReadings;
    return date;
}

std::string FakeClock::timeText() {
    ++timeReadings;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", secondsOfDay / 3600 % 24,
                  secondsOfDay / 60 % 60, secondsOfDay % 60);
    if (tickOnEveryTimeReading) {
        ++secondsOfDay;
    }
    return text;
}

void FakeRandom::seed(float seed) {
    lastSeed = seed;
    generator_.seed(seed);
}

float FakeRandom::next() {
    ++draws;
    if (!scripted.empty()) {
        const float draw = scripted.front();
        scripted.pop_front();
        return draw;
    }
    return generator_.next();
}

FakePlatform::FakePlatform() : folder_(std::in_place), files_(DriveMap(folder_->path()), faults) {}

FakePlatform::FakePlatform(const std::filesystem::path& drivesRoot)
    : files_(DriveMap(drivesRoot), faults) {}

std::optional<std::string> FakePlatform::inputBox(const std::string& prompt) {
    prompts.push_back(prompt);
    if (answers.empty()) {
        return std::string();
    }
    std::optional<std::string> next = answers.front();
    answers.pop_front();
    return next;
}

void FakePlatform::messageBox(const std::string& text, const std::string& detail,
                              const std::string& advice) {
    messages.push_back(text);
    details.push_back(detail);
    advices.push_back(advice);
}

bool FakePlatform::askToGoOn(const GuardQuestion& question) {
    guardQuestions.push_back(question.text);
    if (goOnAnswers.empty()) {
        return false;
    }
    const bool goOn = goOnAnswers.front();
    goOnAnswers.pop_front();
    return goOn;
}

void FakePlatform::setPictureScale(PictureArea area, float height, float width) {
    pictureCalls.push_back("scale " + std::to_string(static_cast<int>(area)) + " " +
                           std::to_string(height) + " " + std::to_string(width));
}

void FakePlatform::putPictureOnClipboard(PictureArea area) {
    pictureCalls.push_back("put " + std::to_string(static_cast<int>(area)));
}

void FakePlatform::takePictureFromClipboard(PictureArea area) {
    pictureCalls.push_back("take " + std::to_string(static_cast<int>(area)));
}

void FakePlatform::drawCircle(PictureArea area, float x, float y, float radius) {
    pictureCalls.push_back("circle " + std::to_string(static_cast<int>(area)) + " " +
                           std::to_string(x) + " " + std::to_string(y) + " " +
                           std::to_string(radius));
}

void FakePlatform::showForm() {
    const auto isFile = [](const std::filesystem::directory_entry& entry) {
        return entry.is_regular_file();
    };
    const std::filesystem::recursive_directory_iterator all(drivesRoot());
    formShown.push_back(
        {prompts.size(), static_cast<std::size_t>(std::count_if(begin(all), end(all), isFile))});
}

std::filesystem::path FakePlatform::localPath(const std::string& windowsPath) const {
    return files_.drives().toLocal(windowsPath);
}

std::string FakePlatform::fileBytes(const std::string& windowsPath) const {
    std::ifstream in(localPath(windowsPath), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool FakePlatform::fileExists(const std::string& windowsPath) const {
    return std::filesystem::exists(localPath(windowsPath));
}

void answerStartUp(FakePlatform& platform, const std::string& homeOrLan, const std::string& name,
                   const std::string& initials, const std::string& assignment) {
    platform.answers = {homeOrLan, name, initials, assignment};
}

std::string withoutWrapMarks(std::string message) {
    for (const std::string mark : {"&#8203;", "&#8288;"}) {
        for (std::size_t at = message.find(mark); at != std::string::npos;
             at = message.find(mark, at)) {
            message.erase(at, mark.size());
        }
    }
    std::replace(message.begin(), message.end(), '\xA0', ' ');
    return message;
}

} // namespace drilbank::testing
