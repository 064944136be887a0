#pragma once

#include "instructor/Commands.h"
#include "instructor/RecordRows.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

namespace drilbank::instructor {

class ClassWork;

// Writes rows as they come, so that a class's worth of records never sits in memory.
class RowWriter {
public:
    virtual ~RowWriter() = default;
    virtual void row(const RecordRow& row) = 0;
    // After the rows, where the form has room for it: the grid of the class's final answers.
    virtual void grid(const ClassWork&) {}
    // Ends the output; false when it could not be written, with the reason in `messages`.
    virtual bool finish(std::ostream& messages) = 0;
};

// CSV after RFC 4180: a UTF-8 byte-order mark so spreadsheets read it right, a header line,
// CR LF between records, fields quoted when they hold a comma, a quote or a line break, and
// (unless exact) cells a spreadsheet would run as a formula led by a '.
// JSON: one array of objects with the column names as keys, always exact; the yes-or-no
// columns as true, false or null.
// xlsx: written to options.file, every cell a text cell; the rows on the first sheet, the
// grid (a row per student, a column per question, the final answer in each cell) on the
// second.
std::unique_ptr<RowWriter> makeRowWriter(const ExportOptions& options, std::ostream& out);

// The CSV writer.
std::unique_ptr<RowWriter> makeCsvWriter(std::ostream& out, bool exact);

// The xlsx writer, where this build has the spreadsheet library.
std::unique_ptr<RowWriter> makeXlsxWriter(const std::filesystem::path& file);

} // namespace drilbank::instructor
