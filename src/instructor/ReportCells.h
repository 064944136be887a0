#pragma once

#include "instructor/ClassWork.h"

#include <ostream>
#include <string>
#include <string_view>

namespace drilbank::instructor {

// Text as HTML shows it: the characters that mark up escaped, a CR before its LF left out.
std::string escaped(std::string_view text);

// The page's style sheet: sticky heads, wrapped cells, and for print landscape pages.
extern const char* const reportStyle;

// A question's cell of the grid, <td> and all.
void writeCell(const Cell& cell, const ClassWork& known, bool withQuestion, std::ostream& out);

// The student's cell that heads their row: name, initials, how many answered of the
// assignment's `lastQuestion`, what is said of them, their runs folded.
void writeStudentHead(const Student& student, const AssignmentWork* work, int lastQuestion,
                      const ClassWork& known, std::ostream& out);

} // namespace drilbank::instructor
