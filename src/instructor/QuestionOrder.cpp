#include "instructor/QuestionOrder.h"

#include "platform/Cp1252.h"
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
            numbers_.emplace(std::make_pair(assignment, cp1252ToUtf8(line)), ++counts_[assignment]);
        }
    }
}

int QuestionOrder::numberOf(const std::string& assignment, const std::string& question) {
    const auto [found, isNew] = numbers_.emplace(std::make_pair(assignment, question), 0);
    if (isNew) {
        found->second = ++counts_[assignment];
    }
    return found->second;
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
