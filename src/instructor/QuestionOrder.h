#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace drilbank::instructor {

// Numbers an assignment's questions as its script presents them, 1 for the first question
// after the assignment's header. The record files do not say it (the built-in script has no
// question markers, so every question-number line of an assignment carries the same number):
// a question is found in the built-in script by its text, and one the script does not hold
// is numbered after the script's own, in the order first met. At most `kept` questions are
// numbered, far more than any script holds, so that files of endless different questions do
// not fill the memory: past them a new question is numbered 0, and full() says so.
class QuestionOrder {
public:
    static constexpr std::size_t kept = 4096;

    QuestionOrder();

    // `assignment` as the header gives it ("001"), `question` the script line in UTF-8.
    int numberOf(std::string_view assignment, std::string_view question);
    bool full() const { return held_ >= kept; }
    // The number a question has been given, without numbering one not met: 0 when none.
    int numberFound(std::string_view assignment, std::string_view question) const;
    // The assignment's questions as the built-in script holds them, in order (UTF-8): its
    // first is question 1. None for an assignment the script does not hold.
    const std::vector<std::string>& scriptQuestions(std::string_view assignment) const;

private:
    // Questions are told apart by a fingerprint of their text: a script line may be long.
    struct Questions {
        std::map<std::uint64_t, int> numbers;
        int count = 0; // numbered so far
    };
    Questions& questionsOf(std::string_view assignment);

    std::map<std::string, Questions, std::less<>> assignments_;
    std::map<std::string, std::vector<std::string>, std::less<>> script_;
    std::size_t held_ = 0;
    // The question last asked for, whose number the next row most often shares.
    std::string lastAssignment_;
    std::uint64_t lastQuestion_ = 0;
    int lastNumber_ = -1;
};

// "1-3 5 9": numbers in order, runs of three or more joined.
std::string numberRanges(const std::set<int>& numbers);

} // namespace drilbank::instructor
