#pragma once

#include "instructor/RecordRows.h"

#include <memory>
#include <ostream>
#include <string>

namespace drilbank::instructor {

// Writes rows as they come, so that a class's worth of records never sits in memory.
class RowWriter {
public:
    virtual ~RowWriter() = default;
    virtual void row(const RecordRow& row) = 0;
    virtual void finish() = 0;
};

// CSV after RFC 4180: a UTF-8 byte-order mark so spreadsheets read it right, a header line,
// CR LF between records, fields quoted when they hold a comma, a quote or a line break.
// JSON: one array of objects with the column names as keys.
std::unique_ptr<RowWriter> makeRowWriter(const std::string& format, std::ostream& out);

} // namespace drilbank::instructor
