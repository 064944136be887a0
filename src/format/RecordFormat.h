#pragma once

// The record files' format, shared by the program that writes them and the instructor's tool
// that reads them: names, header labels, block elements, channels and the key line's
// character codes. A leaf: it includes nothing of the project, so either side may use it.
//
// A record file is lines ended by CR LF, in Windows-1252. The master and send files hold, per
// run, a header block (key line, studentNameLabel + name, assignmentLabel + number, the
// assignment's header line, initialsLabel + initials, dateAndTimeLabel + date and time),
// then a block per click: openingRule, a time line, (master file only) two empty lines and
// questionNumberTag + number, the script line, openingRule, responseMarker, the answer, and
// closingRule. A notes block has a date-time line where the question number would be and
// its marker, notesMarker, leads the note's first line; in the send and notes files its
// closing rule is padded to the next print zone and the next block goes on on that line.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace drilbank {

// File names: prefix, for the send file the month and day (MMDD), the student's name with
// blanks turned into "_", then the suffix.
inline constexpr char masterFilePrefix[] = "masterFile_";
inline constexpr char sendFilePrefix[] = "send_";
inline constexpr char notesFilePrefix[] = "notes_";
inline constexpr char recordFileSuffix[] = ".txt";
inline constexpr std::size_t monthDayLength = 4;

// Channels: 1 the master file, 2 the send file, 3 the notes file.
constexpr int masterChannel = 1;
constexpr int sendChannel = 2;
constexpr int notesChannel = 3;

// The header block's labels.
inline constexpr char studentNameLabel[] = "Student Name:  ";
inline constexpr char assignmentLabel[] = "assignment #";
inline constexpr char initialsLabel[] = "Initials:  ";
inline constexpr char dateAndTimeLabel[] = "Date and Time ";

// Block elements.
inline constexpr char openingRule[] = "......!!!!!!!!...................................";
inline constexpr char closingRule[] = ".................................................";
inline constexpr char responseMarker[] = "RESPONSE -->  ";
inline constexpr char notesMarker[] = "NOTES -------> ";
inline constexpr char questionNumberTag[] = "`questionNumber";
inline constexpr std::size_t timeIndentWidth = 36;

// No typed text can end a block: a line of typed text that begins as the closing rule does
// (49 full stops) is stored with its first full stop as this character reference, which the
// window and the reader turn back into the full stop. A block ends at the first line that
// begins with 49 full stops.
inline constexpr char typedFullStop[] = "&#46;";

// A line ends in CR LF, or is padded with blanks to the start of the next print zone and
// ends no line: the closing rule of a notes block in the send and notes files.
enum class LineEnding { CrLf, NextPrintZone };
constexpr std::size_t printZoneWidth = 14;

// Dates are MM-DD-YYYY and times HH:MM:SS on a 24-hour clock.
constexpr std::size_t dateTextLength = 10;
constexpr std::size_t timeTextLength = 8;

// The key line: per iteration, at most one filler (66..116) and then one key character
// (118..255); 117 never occurs. The count of key characters is the run's coding number, a
// whole number from lowestCodeNbr to highestCodeNbr.
constexpr int fillerCodeLowest = 66;
constexpr int fillerCodeHighest = 116;
constexpr int keyCodeLowest = 118;
constexpr int keyCodeHighest = 255;
constexpr int lowestCodeNbr = 19;
constexpr int highestCodeNbr = 28;

// The lines made from date and time texts, by the writer as it reads the clock and by the
// reader to tell a line the writer makes.
inline std::string timeLineText(std::string_view time) {
    return std::string(timeIndentWidth, ' ').append(time);
}
inline std::string dateTimeLineText(std::string_view date, std::string_view time) {
    return timeLineText(date).append(time);
}
// The header's date line in the pieces it is made of: the writer joins them, the reader
// compares a line with them one by one rather than making the line. `between` is "" in the
// master file and one blank in the send file.
inline std::array<std::string_view, 4>
headerDateLinePieces(std::string_view date, std::string_view between, std::string_view time) {
    return {dateAndTimeLabel, date, between, time};
}
inline std::string headerDateLineText(std::string_view date, std::string_view between,
                                      std::string_view time) {
    std::string text;
    for (const std::string_view piece : headerDateLinePieces(date, between, time)) {
        text.append(piece);
    }
    return text;
}

} // namespace drilbank
