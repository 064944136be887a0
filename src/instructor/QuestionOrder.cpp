#include "instructor/QuestionOrder.h"

#include "encoding/Cp1252.h"
#include "reading/Fingerprint.h"
#include "script/BuiltInScript.h"

#include <vector>

namespace drilbank::instructor {

QuestionOrder::QuestionOrder() {
    std::string assignment;
    for (const std::string_view line : builtInScriptLines()) {
        // A header line is the assignment number and "."; every other non-blank line after
        // it is a question of that assignment.
        const std::size_t dot = line.find('.');
        if (dot != std::string_view::npos && dot > 0 &&
            line.substr(0, dot).find_first_not_of("0123456789") == std::string_view::npos) {
            assignment = std::string(line.substr(0, dot));
        } else if (!line.empty() && !assignment.empty()) {
            Questions& questions = questionsOf(assignment);
            const std::string text = cp1252ToUtf8(line);
            questions.numbers.emplace(fingerprint(0, text), ++questions.count);
            script_[assignment].push_back(text);
        }
    }
}

QuestionOrder::Questions& QuestionOrder::questionsOf(std::string_view assignment) {
    auto found = assignments_.find(assignment);
    if (found == assignments_.end()) {
        found = assignments_.emplace(assignment, Questions()).first;
    }
    return found->second;
}

int QuestionOrder::numberOf(std::string_view assignment, std::string_view question) {
    const std::uint64_t print = fingerprint(0, question);
    if (lastNumber_ >= 0 && print == lastQuestion_ && assignment == lastAssignment_) {
        return lastNumber_;
    }
    int number = 0;
    const auto questions = assignments_.find(assignment);
    const auto found = questions == assignments_.end() ? std::map<std::uint64_t, int>::iterator()
                                                       : questions->second.numbers.find(print);
    if (questions != assignments_.end() && found != questions->second.numbers.end()) {
        number = found->second;
    } else if (full()) {
        return 0;
    } else {
        ++held_;
        Questions& numbered = questionsOf(assignment);
        numbered.numbers.emplace(print, ++numbered.count);
        number = numbered.count;
    }
    lastAssignment_.assign(assignment);
    lastQuestion_ = print;
    lastNumber_ = number;
    return number;
}

int QuestionOrder::numberFound(std::string_view assignment, std::string_view question) const {
    const auto questions = assignments_.find(assignment);
    if (questions == assignments_.end()) {
        return 0;
    }
    const auto found = questions->second.numbers.find(fingerprint(0, question));
    return found == questions->second.numbers.end() ? 0 : found->second;
}

const std::vector<std::string>& QuestionOrder::scriptQuestions(std::string_view assignment) const {
    static const std::vector<std::string> none;
    const auto found = script_.find(assignment);
    return found == script_.end() ? none : found->second;
}

std::string numberRanges(const std::set<int>& numbers) {
    const std::vector<int> sorted(numbers.begin(), numbers.end());
    std::string text;
    for (std::size_t start = 0; start < sorted.size();) {
        std::size_t end = start;
        while (end + 1 < sorted.size() && sorted[end + 1] == sorted[end] + 1) {
            ++end;
        }
        text += text.empty() ? "" : " ";
        text += std::to_string(sorted[start]);
        if (end - start >= 2) {
            text += "-" + std::to_string(sorted[end]);
        } else if (end > start) {
            text += " " + std::to_string(sorted[end]);
        }
        start = end + 1;
    }
    return text;
}

} // namespace drilbank::instructor
