#include "instructor/RecordRow.h"

#include <cstring>

namespace drilbank::instructor {
namespace {

// The row's texts in column order, to set as well as to read.
constexpr std::array<std::string_view RecordRow::*, columnCount> columns = {
    &RecordRow::student,        &RecordRow::initials,    &RecordRow::assignment,
    &RecordRow::questionNumber, &RecordRow::kind,        &RecordRow::date,
    &RecordRow::time,           &RecordRow::question,    &RecordRow::answer,
    &RecordRow::file,           &RecordRow::path,        &RecordRow::final,
    &RecordRow::late,           &RecordRow::onClassList, &RecordRow::possibly};

} // namespace

const RowTexts rowColumns = {"student", "initials", "assignment", "question_number", "kind",
                             "date",    "time",     "question",   "answer",          "file",
                             "path",    "final",    "late",       "on_class_list",   "possibly"};

const std::array<bool, columnCount> yesNoColumns = {false, false, false, false, false,
                                                    false, false, false, false, false,
                                                    false, true,  true,  true,  false};

void viewSameTexts(RecordRow& view, const RecordRow& row) {
    for (const auto column : columns) {
        view.*column = row.*column;
    }
}

RowTexts rowValues(const RecordRow& row) {
    RowTexts values;
    for (std::size_t column = 0; column < columnCount; ++column) {
        values[column] = row.*columns[column];
    }
    return values;
}

RecordRow::RecordRow(std::string_view student, std::string_view initials,
                     std::string_view assignment, std::string_view questionNumber,
                     std::string_view kind, std::string_view date, std::string_view time,
                     std::string_view question, std::string_view answer, std::string_view file)
    : student(student), initials(initials), assignment(assignment), questionNumber(questionNumber),
      kind(kind), date(date), time(time), question(question), answer(answer), file(file) {}

RecordRow::RecordRow(const RecordRow& other) {
    *this = other;
}

RecordRow& RecordRow::operator=(const RecordRow& other) {
    const RowTexts texts = rowValues(other); // read before anything held here goes
    std::size_t size = 0;
    for (const std::string_view text : texts) {
        size += text.size();
    }
    std::unique_ptr<char[]> held = std::make_unique_for_overwrite<char[]>(size);
    char* at = held.get();
    for (std::size_t column = 0; column < columnCount; ++column) {
        if (!texts[column].empty()) {
            std::memcpy(at, texts[column].data(), texts[column].size());
        }
        this->*columns[column] = {at, texts[column].size()};
        at += texts[column].size();
    }
    held_ = std::move(held);
    return *this;
}

} // namespace drilbank::instructor
