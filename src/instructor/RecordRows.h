#pragma once

#include "instructor/RecordRow.h"
#include "instructor/RecordSearch.h"
#include "reading/RecordReader.h"

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace drilbank::instructor {

// What a file told besides its rows. Only the first problems are kept, so that a file of
// millions of damaged blocks does not fill the memory; check lists them all.
struct FileReport {
    static constexpr std::size_t problemsKept = 1000;
    std::vector<RecordProblem> problems; // the first problemsKept
    std::size_t problemCount = 0;
    std::size_t responses = 0;
    std::size_t notes = 0;
    bool notARecord = false; // no header and no block anywhere: nobody's
};

// Reads record files one after the other and turns their blocks into rows. A response block
// carries only a time: its date is the run header's, rolled forward when the times pass
// midnight. The notes file has no header: its student, initials and assignment come from
// the latest run in the master file of the same name that began before the note, or,
// failing that, the student from the file name. Files are read a student at a time, master
// file first, as findRecordFiles orders them.
class RecordRows {
public:
    using RowSink = std::function<void(const RecordRow&)>;

    // A run's header, as its rows give it: the rows that follow in the file are the run's.
    struct RunStart {
        std::string_view student; // in UTF-8, as the rows give them
        std::string_view initials;
        std::string_view assignment;
        std::string_view assignmentHeader;
        std::string_view date; // YYYY-MM-DD
        std::string_view time; // HH:MM:SS
        RecordPlace place;
    };
    using RunSink = std::function<void(const RunStart&)>;

    // `runSink`, where given, is told of each header of a master or send file before its rows.
    FileReport read(const RecordFile& file, const RowSink& sink, const RunSink& runSink = {});

    // The runs of a master file, in order of their start.
    struct Run {
        std::chrono::sys_seconds start;
        std::string student;
        std::string initials;
        std::string assignment;
    };
    // At most this many runs of one master file are kept for telling whose a note is: far more
    // than a student makes; beyond them the earliest are let go.
    static constexpr std::size_t runsKept = std::size_t{1} << 15;

private:
    const std::vector<Run>& runsOf(const RecordFile& notesFile);

    std::map<std::filesystem::path, std::vector<Run>> masterRuns_; // the latest student's
};

// The student's name as the file name gives it, blanks for "_".
std::string studentFromFileName(const RecordFileName& name);

} // namespace drilbank::instructor
