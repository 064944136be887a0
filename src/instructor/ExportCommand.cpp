#include "instructor/Commands.h"
#include "instructor/RecordRows.h"
#include "instructor/RowWriter.h"

namespace drilbank::instructor {

int exportFiles(const std::vector<RecordFile>& files, const std::string& format, std::ostream& out,
                std::ostream& progress) {
    Progress shown(progress, files.size());
    RecordRows rows;
    const std::unique_ptr<RowWriter> writer = makeRowWriter(format, out);
    std::size_t broken = 0;
    for (const RecordFile& file : files) {
        const FileReport report = rows.read(file, [&](const RecordRow& row) { writer->row(row); });
        broken += report.problems.empty() ? 0 : 1;
        shown.fileDone();
    }
    writer->finish();
    if (broken > 0) {
        progress << "drilbank-records: " << broken
                 << " files have problems; their whole blocks were exported (see check)\n";
    }
    return broken == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
