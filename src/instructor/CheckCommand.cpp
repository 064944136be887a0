#include "instructor/Commands.h"
#include "instructor/SendAgainstMaster.h"
#include "os/DurableFiles.h"
#include "reading/RecordReader.h"

namespace drilbank::instructor {
namespace {

// Writes each problem as it is found: "file:line: byte N: what".
class ProblemPrinter final : public RecordVisitor {
public:
    ProblemPrinter(const std::string& file, std::ostream& out) : file_(file), out_(out) {}

    // The coding numbers of the first runs only: a file may hold thousands.
    void header(const RecordHeader& header) override {
        if (++runs_ <= codingNumbersListed) {
            codingNumbers_ += codingNumbers_.empty() ? "" : ", ";
            codingNumbers_ += header.codingNumber ? std::to_string(*header.codingNumber) : "none";
        }
    }
    void block(const RecordBlock& block) override {
        ++(block.kind == RecordBlock::Kind::Note ? notes_ : responses_);
    }
    void problem(const RecordProblem& problem) override {
        ++problems_;
        out_ << file_ << ':' << problem.place.line << ": byte " << problem.place.offset << ": "
             << problem.what << '\n';
    }
    void note(const RecordProblem& note) override {
        ++remarks_;
        out_ << file_ << ':' << note.place.line << ": byte " << note.place.offset
             << ": note: " << note.what << '\n';
    }
    bool wantsTexts() const override { return false; } // only counted

    std::size_t problems() const { return problems_; }

    void writeFileLine() const {
        out_ << file_ << ": "
             << (problems_ == 0
                     ? "whole"
                     : std::to_string(problems_) + (problems_ == 1 ? " problem" : " problems"))
             << (remarks_ == 0   ? ""
                 : remarks_ == 1 ? " (1 note)"
                                 : " (" + std::to_string(remarks_) + " notes)")
             << ", " << runs_ << " runs";
        if (runs_ > 0) {
            out_ << " (coding numbers " << codingNumbers_;
            if (runs_ > codingNumbersListed) {
                out_ << " and " << runs_ - codingNumbersListed << " more";
            }
            out_ << ")";
        }
        out_ << ", " << responses_ << " responses, " << notes_ << " notes\n";
    }

private:
    static constexpr std::size_t codingNumbersListed = 20;
    const std::string& file_;
    std::ostream& out_;
    std::size_t problems_ = 0;
    std::size_t remarks_ = 0;
    std::size_t runs_ = 0;
    std::size_t responses_ = 0;
    std::size_t notes_ = 0;
    std::string codingNumbers_;
};

} // namespace

int checkFiles(const std::vector<RecordFile>& files, const CommandStreams& streams) {
    std::ostream& out = streams.out;
    Progress shown(streams, files.size());
    std::size_t broken = 0;
    std::size_t problems = 0;
    SendAgainstMaster compared(files);
    for (std::size_t index = 0; index < files.size(); ++index) {
        const RecordFile& file = files[index];
        const std::string name = utf8Of(file.path);
        ProblemPrinter printer(name, out);
        BothVisitors both(printer, compared.visitorFor(index));
        readFoundFile(file, both);
        printer.writeFileLine();
        compared.fileDone(index, out);
        problems += printer.problems();
        broken += printer.problems() > 0 ? 1 : 0;
        shown.fileDone();
    }
    out << "checked " << files.size() << " files: " << files.size() - broken << " whole and clean, "
        << broken << " with problems (" << problems << " problems)\n";
    const std::size_t differing = compared.writeTotals(out);
    return broken == 0 && differing == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
