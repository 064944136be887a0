// export: a row per response or note, in two passes over the files. The first finds each
// student's final answers (the latest response to a question across all their files), the
// second writes the rows as they are read, each marked final or not, late or not, and, with a
// class list, on it or not; the memory is the class's final answers, never its rows.
#include "instructor/ClassList.h"
#include "instructor/ClassWork.h"
#include "instructor/Commands.h"
#include "instructor/RecordRows.h"
#include "instructor/RowWriter.h"

namespace drilbank::instructor {
namespace {

// The class-list columns of a student, found again only when the student changes.
class ListColumns {
public:
    explicit ListColumns(const ClassList* list) : list_(list) {}

    void set(RecordRow& row) {
        if (list_ == nullptr) {
            return;
        }
        if (row.student != student_ || row.initials != initials_) {
            student_.assign(row.student);
            initials_.assign(row.initials);
            const ListMatch match = list_->match(student_, initials_);
            onList_ = match.listed != nullptr ? "yes" : "no";
            possibly_ = match.possibly != nullptr ? match.possibly->name : "";
        }
        row.onClassList = onList_;
        row.possibly = possibly_;
    }

private:
    const ClassList* list_;
    std::string student_ = "\x01";
    std::string initials_;
    std::string_view onList_;
    std::string possibly_;
};

} // namespace

int exportFiles(const std::vector<RecordFile>& files, const ExportOptions& options,
                const CommandStreams& streams, const Grading& grading) {
    ClassOptions classOptions;
    classOptions.grading = grading;
    classOptions.markFinalRows = true;
    classOptions.keepFinalTexts = options.format == "xlsx"; // for its grid
    ClassWork known(classOptions);
    known.read(files, {streams.out, streams.messages, nullptr});
    const std::vector<std::vector<std::uint64_t>> finals = known.finalRows();

    Progress shown(streams, files.size());
    RecordRows rows;
    const std::unique_ptr<RowWriter> writer = makeRowWriter(options, streams.out);
    RecordRow view;
    RowMoments moments;
    ListColumns listed(grading.classList);
    std::size_t broken = 0;
    for (std::size_t index = 0; index < files.size(); ++index) {
        const std::vector<std::uint64_t>& places = finals[index];
        std::size_t next = 0;
        std::uint64_t ordinal = 0;
        const FileReport report = rows.read(files[index], [&](const RecordRow& row) {
            viewSameTexts(view, row);
            const bool final = next < places.size() && places[next] == ordinal;
            next += final ? 1 : 0;
            ++ordinal;
            view.final = final ? "yes" : "no";
            if (grading.due != nullptr) {
                const std::optional<bool> late =
                    grading.due->late(row.assignment, moments.of(row.date, row.time));
                view.late = !late ? "" : *late ? "yes" : "no";
            }
            listed.set(view);
            writer->row(view);
        });
        broken += report.problems.empty() ? 0 : 1;
        shown.fileDone();
    }
    writer->grid(known);
    if (!writer->finish(streams.messages)) {
        return 2; // the output is not whole: nothing is put in place
    }
    if (broken > 0) {
        streams.messages << "drilbank-records: " << broken
                         << " files have problems; their whole blocks were exported (see check)\n";
    }
    return broken == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
