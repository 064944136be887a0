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
constexpr std::size_t columnCount = 10;
using RowTexts = std::array<std::string_view, columnCount>;
extern const RowTexts rowColumns;
RowTexts rowValues(const RecordRow& row);

} // namespace drilbank::instructor
