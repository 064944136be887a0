#pragma once

#include "os/RunRandom.h"
#include "run/PlatformServices.h"
#include "support/FaultInjectingFiles.h"
#include "support/TemporaryFolder.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace drilbank::testing {

// A clock that stands still unless told to tick: every reading of the time can advance it
// by a second, so that tests see how often and in which order the clock was read.
class FakeClock final : public Clock {
public:
    std::string date = "04-16-2003";
    int secondsOfDay = 14 * 3600 + 5 * 60 + 9; // 14:05:09
    bool tickOnEveryTimeReading = false;
    int dateReadings = 0;
    int timeReadings = 0;

    std::string dateText() override;
    std::string timeText() override;
    float secondsSinceMidnight() override { return static_cast<float>(secondsOfDay); }
};

// The run's random source, seeded like the real one, with draws that a test can script.
class FakeRandom final : public RandomSource {
public:
    std::deque<float> scripted; // used first, in order
    float lastSeed = -1.0f;
    int draws = 0;

    void seed(float seed) override;
    float next() override;

private:
    RunRandom generator_;
};

// The platform the core's tests drive it through: scripted input-box answers, recorded
// message boxes, a fixed clock, a seedable random source and real files under a
// temporary folder that stands for the drives.
class FakePlatform final : public PlatformServices {
public:
    FakePlatform();
    // Files under a folder that outlives the platform, as when processes share the drives.
    explicit FakePlatform(const std::filesystem::path& drivesRoot);

    // Input-box answers: a text is typed and confirmed with OK, nothing is Cancel or close;
    // the empty text (an empty OK) when none is left.
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> prompts;     // every input-box prompt, in order
    std::vector<std::string> messages;    // every message-box text, in order
    std::vector<std::string> details;     // each message box's detail, beside its text
    std::vector<std::string> advices;     // each message box's advice, beside its text
    std::vector<AnswerCaret> answerFocus; // every move of the focus into the answer box
    // Guard questions: true takes the choice that goes on; the safe choice when none is left.
    std::deque<bool> goOnAnswers;
    std::vector<std::string> guardQuestions;
    std::string question;               // the question box
    std::size_t questionInViewFrom = 0; // where it was last scrolled to
    std::string answer = " ";           // the answer box, as the window starts it
    std::vector<std::string> pictureCalls;
    int beeps = 0;
    bool timerEnabled = false;
    std::vector<std::string> waitingNotices; // every notice shown and taken down, in order
    bool ended = false;
    // Each time the form was shown: how many input boxes had been asked, and how many files
    // the drives held then.
    struct FormShown {
        std::size_t prompts = 0;
        std::size_t files = 0;
    };
    std::vector<FormShown> formShown;
    FakeClock fakeClock;
    FakeRandom fakeRandom;
    FaultInjectingFiles faults; // real files unless a test asks for a fault

    std::optional<std::string> inputBox(const std::string& prompt) override;
    void messageBox(const std::string& text, const std::string& detail = {},
                    const std::string& advice = {}) override;
    bool askToGoOn(const GuardQuestion& question) override;
    RecordFiles& files() override { return files_; }
    Clock& clock() override { return fakeClock; }
    RandomSource& random() override { return fakeRandom; }
    std::string questionText() override { return question; }
    void setQuestionText(const std::string& text, std::size_t inViewFrom) override {
        question = text;
        questionInViewFrom = inViewFrom;
    }
    std::string answerText() override { return answer; }
    void setAnswerText(const std::string& text) override { answer = text; }
    void focusAnswerBox(AnswerCaret caret) override { answerFocus.push_back(caret); }
    void setPictureScale(PictureArea area, float height, float width) override;
    void putPictureOnClipboard(PictureArea area) override;
    void takePictureFromClipboard(PictureArea area) override;
    void drawCircle(PictureArea area, float x, float y, float radius) override;
    void showWaitingNotice(const std::string& text) override { waitingNotices.push_back(text); }
    void showForm() override;
    void setTimerEnabled(bool enabled) override { timerEnabled = enabled; }
    void beep() override { ++beeps; }
    void endRun() override { ended = true; }

    // Where a Windows path of the run lies in the temporary folder, and what it holds.
    std::filesystem::path localPath(const std::string& windowsPath) const;
    std::string fileBytes(const std::string& windowsPath) const;
    bool fileExists(const std::string& windowsPath) const;
    const std::filesystem::path& drivesRoot() const { return files_.drives().root(); }

private:
    std::optional<TemporaryFolder> folder_;
    RecordFiles files_;
};

// A message as the student reads it, without the marks that let its paths wrap only at their
// separators.
std::string withoutWrapMarks(std::string message);

// Answers for the four start-up questions.
void answerStartUp(FakePlatform& platform, const std::string& homeOrLan, const std::string& name,
                   const std::string& initials, const std::string& assignment);

} // namespace drilbank::testing
