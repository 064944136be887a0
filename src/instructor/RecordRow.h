#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

namespace drilbank::instructor {

// One recorded response or note, in UTF-8 with character references turned back into the
// characters they stand for. The rows a reader hands on view the reader's memory, valid while
// the row is handed on: most texts need no change, so they are not copied for each row. A
// copy holds its own texts, so that rows may be kept after the reader has moved on.
struct RecordRow {
    std::string_view student;
    std::string_view initials;
    std::string_view assignment;
    std::string_view questionNumber;
    std::string_view kind; // response or note
    std::string_view date; // YYYY-MM-DD
    std::string_view time; // HH:MM:SS
    std::string_view question;
    std::string_view answer;
    std::string_view file; // the record file's name, in UTF-8
    // The record file's path from the folder given (in UTF-8, "/" between folders), which
    // tells apart two files of one name; a file given by itself, its path as given.
    std::string_view path;
    // Set by the export: "yes" on every row of the click that gave a student's final answer to
    // a question (the latest response across all the student's files), "no" on the others;
    // "yes" or "no" when a due time applies to the row's assignment, else empty; and, with a
    // class list, whether the student is on it ("yes", "no") and whom they are possibly.
    std::string_view final;
    std::string_view late;
    std::string_view onClassList;
    std::string_view possibly;

    RecordRow() = default;
    RecordRow(std::string_view student, std::string_view initials, std::string_view assignment,
              std::string_view questionNumber, std::string_view kind, std::string_view date,
              std::string_view time, std::string_view question, std::string_view answer,
              std::string_view file);
    RecordRow(const RecordRow& other);
    RecordRow& operator=(const RecordRow& other);
    RecordRow(RecordRow&&) noexcept = default; // the texts held stay where they are
    RecordRow& operator=(RecordRow&&) noexcept = default;
    ~RecordRow() = default;

private:
    std::unique_ptr<char[]> held_; // a copy's texts, one after the other
};

// The column names, in order, as the export writes them, and a row's values in that order.
constexpr std::size_t columnCount = 15;
using RowTexts = std::array<std::string_view, columnCount>;
extern const RowTexts rowColumns;
RowTexts rowValues(const RecordRow& row);
// The columns that hold "yes", "no" or nothing: JSON gives them as true, false or null.
extern const std::array<bool, columnCount> yesNoColumns;

// A row that views the same texts as `row`, holding none of its own: to hand on with some
// texts set otherwise, without copying the rest.
void viewSameTexts(RecordRow& view, const RecordRow& row);

} // namespace drilbank::instructor
