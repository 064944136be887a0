#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

namespace drilbank::instructor {

// Numbers an assignment's questions as its script presents them, 1 for the first question
// after the assignment's header. The record files do not say it (the built-in script has no
// question markers, so every question-number line of an assignment carries the same number):
// a question is found in the built-in script by its text, and one the script does not hold
// is numbered after the script's own, in the order first met.
class QuestionOrder {
public:
    QuestionOrder();

    // `assignment` as the header gives it ("001"), `question` the script line in UTF-8.
    int numberOf(const std::string& assignment, const std::string& question);

private:
    std::map<std::pair<std::string, std::string>, int> numbers_;
    std::map<std::string, int> counts_; // questions numbered so far, per assignment
};

// "1-3 5 9": numbers in order, runs of three or more joined.
std::string numberRanges(const std::set<int>& numbers);

} // namespace drilbank::instructor
