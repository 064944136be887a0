#include "instructor/Commands.h"
#include "instructor/RecordRows.h"
#include "instructor/RowWriter.h"

namespace drilbank::instructor {

int exportFiles(const std::vector<RecordFile>& files, const ExportOptions& options,
                const CommandStreams& streams) {
    Progress shown(streams, files.size());
    RecordRows rows;
    const std::unique_ptr<RowWriter> writer = makeRowWriter(options, streams.out);
    std::size_t broken = 0;
    for (const RecordFile& file : files) {
        const FileReport report = rows.read(file, [&](const RecordRow& row) { writer->row(row); });
        broken += report.problems.empty() ? 0 : 1;
        shown.fileDone();
    }
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
