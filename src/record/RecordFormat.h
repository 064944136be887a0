#pragma once

// The record files' format, shared by the writer and the reader: every fixed text the files
// hold, exactly as they hold it, and the range of the run's coding number.
namespace drilbank {

// Record file names: the prefix, for the send file the month and day (MMDD), the student's
// name with blanks turned into "_", then the suffix.
inline constexpr const char* masterFilePrefix = "masterFile_";
inline constexpr const char* sendFilePrefix = "send_";
inline constexpr const char* notesFilePrefix = "notes_";
inline constexpr const char* recordFileSuffix = ".txt";

// The header block's labels: key line, then studentNameLabel + name, assignmentLabel +
// number, the assignment's header line, initialsLabel + initials, and the date line.
inline constexpr const char* studentNameLabel = "Student Name:  ";
inline constexpr const char* assignmentLabel = "assignment #";
inline constexpr const char* initialsLabel = "Initials:  ";
inline constexpr const char* dateAndTimeLabel = "Date and Time ";

// Block elements.
inline constexpr const char* openingRule = "......!!!!!!!!...................................";
inline constexpr const char* closingRule = ".................................................";
inline constexpr const char* responseMarker = "RESPONSE -->  ";
inline constexpr const char* notesMarker = "NOTES -------> ";
inline constexpr const char* questionNumberTag = "`questionNumber";

// The run's coding number is a whole number drawn from this range.
constexpr int lowestCodeNbr = 19;
constexpr int highestCodeNbr = 28;

} // namespace drilbank
