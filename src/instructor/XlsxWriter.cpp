// The xlsx export, through libxlsxwriter: every cell a text cell, so that "007", "1/2" and
// "=1+1" stay as typed, and rows streamed to the file (constant memory) whatever the class.
#include "instructor/RowWriter.h"

#include "instructor/ClassWork.h"
#include "os/DurableFiles.h"

#include <xlsxwriter.h>

#include <algorithm>

namespace drilbank::instructor {
namespace {

// What one cell holds at most, in characters.
constexpr std::size_t cellCharacters = 32767;
// A sheet's rows after its header row; the rest go on on the next sheet.
constexpr lxw_row_t rowsPerSheet = LXW_ROW_MAX - 1;

// The bytes of the first `count` characters of UTF-8 text.
std::size_t bytesOfCharacters(std::string_view text, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if ((static_cast<unsigned char>(text[index]) & 0xC0) != 0x80 && characters++ == count) {
            return index;
        }
    }
    return text.size();
}

// Where typed text holds _xHHHH_, which a spreadsheet reads as the character HHHH (the form
// the library gives control characters), from `from` on; npos when it holds none.
std::size_t codeLike(std::string_view text, std::size_t from) {
    const auto hex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    };
    for (std::size_t at; (at = text.find("_x", from)) != std::string_view::npos; from = at + 1) {
        if (at + 7 <= text.size() && text[at + 6] == '_' && hex(text[at + 2]) &&
            hex(text[at + 3]) && hex(text[at + 4]) && hex(text[at + 5])) {
            return at;
        }
    }
    return std::string_view::npos;
}

// Typed text as a cell holds it: the underscore of a typed _xHHHH_ written as _x005F_, so
// that the spreadsheet shows what was typed.
void appendCellText(std::string& cell, std::string_view text) {
    for (std::size_t at; (at = codeLike(text, 0)) != std::string_view::npos;) {
        cell.append(text.substr(0, at)).append("_x005F_");
        text.remove_prefix(at + 1);
    }
    cell.append(text);
}

class XlsxWriter final : public RowWriter {
public:
    explicit XlsxWriter(const std::filesystem::path& file) : name_(utf8Of(file)) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        // The library takes the name in the C library's code page: UTF-8 on Linux, and on
        // Windows too, as the tool's manifest asks. Its temporary files go to TMP (TEMP) or
        // TMPDIR and are gone when closed, even if the tool is killed.
        workbook_ = workbook_new_opt(name_.c_str(), &options);
        if (workbook_ != nullptr) {
            header_ = workbook_add_format(workbook_);
            format_set_bold(header_);
            wrapped_ = workbook_add_format(workbook_);
            format_set_text_wrap(wrapped_);
            format_set_align(wrapped_, LXW_ALIGN_VERTICAL_TOP);
            newSheet();
        }
    }

    ~XlsxWriter() override {
        if (workbook_ != nullptr) {
            workbook_close(workbook_);
        }
    }

    void row(const RecordRow& row) override {
        if (workbook_ == nullptr) {
            return;
        }
        if (row_ > rowsPerSheet) {
            newSheet();
        }
        const RowTexts values = rowValues(row);
        for (std::size_t column = 0; column < values.size(); ++column) {
            cell(column, values[column], nullptr);
        }
        ++row_;
    }

    // A row per student in the order of the class list, a column per question of every
    // assignment; above them the assignment and question number, and the question's text.
    // Made only now, after the rows: a sheet in the making holds a temporary file of its own,
    // and the rows' writing is left as it was. Second unless the rows took more than a sheet.
    void grid(const ClassWork& known) override {
        if (workbook_ == nullptr) {
            return;
        }
        grid_ = workbook_add_worksheet(workbook_, "grid");
        if (grid_ == nullptr) {
            return;
        }
        constexpr std::size_t first = 3; // student, initials, remark
        std::vector<std::pair<std::string, int>> columns;
        std::vector<std::string> texts;
        for (const std::string& assignment : known.assignments()) {
            for (const auto& [number, text] : known.questions(assignment)) {
                if (first + columns.size() < LXW_COL_MAX) {
                    columns.emplace_back(assignment, number);
                    texts.push_back(text);
                }
            }
        }
        std::swap(sheet_, grid_);
        const lxw_row_t rowsBefore = row_;
        worksheet_set_column(sheet_, 0, 0, 24, nullptr);
        worksheet_set_column(sheet_, 2, 2, 24, nullptr);
        if (!columns.empty()) {
            worksheet_set_column(sheet_, first, static_cast<lxw_col_t>(first + columns.size() - 1),
                                 40, nullptr);
        }
        // Rows go out in order (constant memory): the heads, then the questions' texts.
        row_ = 0;
        const char* const heads[] = {"student", "initials", "remark"};
        for (std::size_t column = 0; column < first; ++column) {
            cell(column, heads[column], header_);
        }
        for (std::size_t index = 0; index < columns.size(); ++index) {
            const std::string& assignment = columns[index].first;
            cell(first + index,
                 "assignment " + (assignment.empty() ? std::string("?") : assignment) +
                     ", question " + std::to_string(columns[index].second),
                 header_);
        }
        row_ = 1;
        for (std::size_t index = 0; index < columns.size(); ++index) {
            cell(first + index, texts[index], wrapped_);
        }
        row_ = 2;
        const Grading& grading = known.grading();
        for (const Student* student : known.students()) {
            if (row_ >= LXW_ROW_MAX) {
                break;
            }
            std::string initials;
            for (const std::string& each : student->initialsSeen) {
                initials += (initials.empty() ? "" : " ") + each;
            }
            cell(0, student->shownName(), nullptr);
            cell(1, initials, nullptr);
            cell(2, remarkOf(*student, grading), nullptr);
            for (std::size_t index = 0; index < columns.size(); ++index) {
                const auto work = student->work.find(columns[index].first);
                if (work == student->work.end()) {
                    continue;
                }
                const auto found = work->second.cells.find(columns[index].second);
                if (found == work->second.cells.end() || !found->second.final) {
                    continue;
                }
                const Click& final = *found->second.final;
                cell(first + index,
                     final.textKept ? std::string_view(final.text)
                                    : std::string_view("[not kept here: past the 16 MB of "
                                                       "answers the grid holds; the rows sheet "
                                                       "has it]"),
                     wrapped_);
            }
            ++row_;
        }
        worksheet_freeze_panes(sheet_, 2, 1);
        std::swap(sheet_, grid_);
        row_ = rowsBefore;
    }

    bool finish(std::ostream& messages) override {
        if (workbook_ == nullptr) {
            messages << "drilbank-records: " << name_ << ": the spreadsheet could not be made\n";
            return false;
        }
        const lxw_error closed = workbook_close(workbook_);
        workbook_ = nullptr;
        if (cut_ > 0) {
            messages << "drilbank-records: " << cut_
                     << " cells were longer than a spreadsheet cell holds (32,767 characters) "
                        "and were cut there; export --format json gives them whole\n";
        }
        if (closed != LXW_NO_ERROR || error_ != LXW_NO_ERROR) {
            messages << "drilbank-records: " << name_ << ": could not be written ("
                     << lxw_strerror(closed != LXW_NO_ERROR ? closed : error_) << ")\n";
            return false;
        }
        return true;
    }

private:
    void newSheet() {
        ++sheets_;
        const std::string name = sheets_ == 1 ? "rows" : "rows " + std::to_string(sheets_);
        sheet_ = workbook_add_worksheet(workbook_, name.c_str());
        row_ = 0;
        for (std::size_t column = 0; column < rowColumns.size(); ++column) {
            cell(column, rowColumns[column], header_);
        }
        worksheet_freeze_panes(sheet_, 1, 0);
        ++row_;
    }

    void cell(std::size_t column, std::string_view text, lxw_format* format) {
        if (text.empty()) {
            return; // an empty cell is empty text to every spreadsheet
        }
        // A character takes a byte at least: most cells are counted by their size alone. The
        // rare long cell that holds _xHHHH_ is cut sooner, to leave room for its escapes.
        std::size_t fits = text.size();
        if (text.size() > cellCharacters) {
            std::size_t escapes = 0;
            for (std::size_t at = 0; (at = codeLike(text, at)) != std::string_view::npos; ++at) {
                ++escapes;
            }
            fits = bytesOfCharacters(text, cellCharacters - std::min(6 * escapes, cellCharacters));
        }
        cut_ += fits < text.size() ? 1 : 0;
        text_.clear();
        appendCellText(text_, text.substr(0, fits));
        const lxw_error written = worksheet_write_string(
            sheet_, row_, static_cast<lxw_col_t>(column), text_.c_str(), format);
        if (written != LXW_NO_ERROR && error_ == LXW_NO_ERROR) {
            error_ = written;
        }
    }

    std::string name_;
    std::string text_; // the cell being written, ended by a NUL as the library needs
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* header_ = nullptr;
    lxw_format* wrapped_ = nullptr;
    lxw_worksheet* grid_ = nullptr;
    lxw_row_t row_ = 0;
    int sheets_ = 0;
    std::size_t cut_ = 0;
    lxw_error error_ = LXW_NO_ERROR;
};

} // namespace

std::unique_ptr<RowWriter> makeXlsxWriter(const std::filesystem::path& file) {
    return std::make_unique<XlsxWriter>(file);
}

} // namespace drilbank::instructor
