#include "instructor/SendAgainstMaster.h"

#include "os/DurableFiles.h"
#include "reading/Fingerprint.h"
#include "reading/RecordDates.h"

#include <algorithm>
#include <map>
#include <set>

namespace drilbank::instructor {

// A header or block told by what the program wrote of it to both files: its kind, its time,
// its texts (without the master's question number, which the send file has not), and the day
// of its run (month and day, as the send file's name has them).
struct SendAgainstMaster::Signature {
    enum Kind : std::uint8_t { Header, Response, Note };
    Moment moment = noMoment;
    std::uint64_t content = 0;  // all of it
    std::uint64_t question = 0; // the kind and question alone: what a changed answer keeps
    RecordPlace place;
    std::uint16_t day = 0; // month * 100 + day of the run; 0 before any header
    Kind kind = Header;
    bool matched = false;
};

namespace {

const char* kindText(std::uint8_t kind) {
    return kind == 0 ? "run header" : kind == 1 ? "response" : "note";
}

std::uint64_t textsPrint(std::uint64_t seed, std::initializer_list<std::string_view> texts) {
    std::uint64_t print = seed;
    for (const std::string_view text : texts) {
        print = fingerprint(print ^ text.size(), text);
    }
    return print;
}

} // namespace

// Keeps a file's signatures, dating its responses as the export does: by the run's header,
// rolled on past midnight; a note by its own date.
class SendAgainstMaster::Collector final : public RecordVisitor {
public:
    std::vector<Signature> signatures;
    std::set<std::uint16_t> headerDays;
    bool full = false;

    void header(const RecordHeader& header) override {
        const auto date = readDateText(header.date);
        dayStart_ = date ? momentOf(*date, 0) : noMoment;
        lastTime_ = readTimeText(header.time);
        day_ = date ? static_cast<std::uint16_t>(static_cast<unsigned>(date->month()) * 100 +
                                                 static_cast<unsigned>(date->day()))
                    : 0;
        headerDays.insert(day_);
        Signature signature;
        signature.kind = Signature::Header;
        signature.moment = at(lastTime_);
        signature.content = textsPrint(1, {header.studentName, header.assignmentNumber,
                                           header.assignmentHeader, header.initials});
        signature.question = signature.content;
        add(signature, header.place);
    }

    void block(const RecordBlock& block) override {
        const std::optional<int> time = readTimeText(block.time);
        Signature signature;
        if (block.kind == RecordBlock::Kind::Note) {
            signature.kind = Signature::Note;
            if (block.date != noteDate_) { // a run's notes mostly share their date
                noteDate_.assign(block.date);
                const auto date = readDateText(block.date);
                noteDay_ = date ? momentOf(*date, 0) : noMoment;
            }
            dayStart_ = noteDay_ != noMoment ? noteDay_ : dayStart_;
        } else {
            signature.kind = Signature::Response;
            if (dayStart_ != noMoment && lastTime_ && time && *time < *lastTime_) {
                dayStart_ += 86400; // past midnight
            }
        }
        signature.moment = at(time);
        lastTime_ = time;
        // Blocks are matched only with blocks of their own kind: the texts' prints tell them.
        signature.question = block.questionPrint;
        signature.content = block.textPrint;
        add(signature, block.place);
    }

    void problem(const RecordProblem&) override {} // check tells them

private:
    void add(Signature& signature, RecordPlace place) {
        if (signatures.size() >= blocksKept) {
            full = true;
            return;
        }
        signature.place = place;
        signature.day = day_;
        signatures.push_back(signature);
    }

    Moment at(std::optional<int> time) const {
        return dayStart_ != noMoment && time ? dayStart_ + *time : noMoment;
    }

    Moment dayStart_ = noMoment; // the first second of the day the run is on
    std::optional<int> lastTime_;
    std::uint16_t day_ = 0;
    std::string noteDate_ = "-";
    Moment noteDay_ = noMoment;
};

SendAgainstMaster::SendAgainstMaster(const std::vector<RecordFile>& files)
    : files_(files), collectors_(files.size()), read_(files.size(), false),
      compared_(files.size(), false) {
    std::map<std::filesystem::path, std::size_t> masters;
    for (std::size_t index = 0; index < files.size(); ++index) {
        if (files[index].name.kind == RecordFileKind::Master && !files[index].sameAs) {
            masters.emplace(files[index].path, index);
        }
    }
    for (std::size_t send = 0; send < files.size(); ++send) {
        if (files[send].name.kind != RecordFileKind::Send || files[send].sameAs) {
            continue;
        }
        const auto master = masters.find(masterFileBeside(files[send]));
        if (master == masters.end()) {
            continue;
        }
        pairs_.push_back({master->second, send});
        compared_[master->second] = true;
        compared_[send] = true;
    }
}

SendAgainstMaster::~SendAgainstMaster() = default;

RecordVisitor* SendAgainstMaster::visitorFor(std::size_t index) {
    if (index >= compared_.size() || !compared_[index]) {
        return nullptr;
    }
    if (!collectors_[index]) {
        // The memory of a comparison done serves the next: a class's files are many alike.
        collectors_[index] = std::make_unique<Collector>();
        if (!spare_.empty()) {
            collectors_[index]->signatures = std::move(spare_.back());
            spare_.pop_back();
        }
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(files_[index].path, error);
        collectors_[index]->signatures.reserve(
            std::min<std::size_t>(blocksKept, error ? 0 : static_cast<std::size_t>(size / 256)));
    }
    return collectors_[index].get();
}

void SendAgainstMaster::fileDone(std::size_t index, std::ostream& out) {
    if (index >= read_.size() || !collectors_[index]) {
        return; // takes no part, or was a copy and so not read
    }
    read_[index] = true;
    for (Pair& pair : pairs_) {
        if (!pair.done && read_[pair.master] && read_[pair.send] &&
            (pair.master == index || pair.send == index)) {
            compare(pair, out);
            pair.done = true;
        }
    }
    // What no comparison still needs is let go.
    for (std::size_t file = 0; file < collectors_.size(); ++file) {
        if (!collectors_[file] || !read_[file]) {
            continue;
        }
        const bool needed = std::any_of(pairs_.begin(), pairs_.end(), [&](const Pair& pair) {
            return !pair.done && (pair.master == file || pair.send == file);
        });
        if (!needed) {
            std::vector<Signature>& signatures = collectors_[file]->signatures;
            signatures.clear();
            spare_.push_back(std::move(signatures));
            collectors_[file].reset();
        }
    }
}

void SendAgainstMaster::compare(const Pair& pair, std::ostream& out) {
    Collector& master = *collectors_[pair.master];
    Collector& send = *collectors_[pair.send];
    const std::string masterPath = utf8Of(files_[pair.master].path);
    const std::string sendPath = utf8Of(files_[pair.send].path);
    // The days the send file holds: its name's, or, renamed without it, its runs'.
    std::set<std::uint16_t> days;
    const std::string& monthDay = files_[pair.send].name.monthDay;
    if (monthDay.size() == 4) {
        days.insert(static_cast<std::uint16_t>(std::stoi(monthDay.substr(0, 2)) * 100 +
                                               std::stoi(monthDay.substr(2))));
    } else {
        days = send.headerDays;
    }
    std::vector<Signature*> ofDay; // the master's of those days, by their time
    for (Signature& signature : master.signatures) {
        signature.matched = false;
        if (days.contains(signature.day)) {
            ofDay.push_back(&signature);
        }
    }
    // A master file is written in time order; only one put together otherwise needs sorting.
    const auto earlier = [](const Signature* a, const Signature* b) {
        return a->moment < b->moment;
    };
    if (!std::is_sorted(ofDay.begin(), ofDay.end(), earlier)) {
        std::stable_sort(ofDay.begin(), ofDay.end(), earlier);
    }
    std::vector<Moment> moments(ofDay.size());
    std::transform(ofDay.begin(), ofDay.end(), moments.begin(),
                   [](const Signature* signature) { return signature->moment; });
    // Where the master's blocks from `from` on start. A send file goes on in time order, as
    // the master does, so the search goes on from where the last one ended; only a moment
    // earlier than the last one asked is searched for from the start.
    std::size_t lastFound = 0;
    Moment lastFrom = noMoment;
    const auto firstFrom = [&](Moment from) {
        if (from < lastFrom) {
            lastFound = static_cast<std::size_t>(
                std::lower_bound(moments.begin(), moments.end(), from) - moments.begin());
        }
        while (lastFound < moments.size() && moments[lastFound] < from) {
            ++lastFound;
        }
        lastFrom = from;
        return ofDay.begin() + static_cast<std::ptrdiff_t>(lastFound);
    };
    // The master's blocks within a second of `moment`, in turn, until `take` takes one.
    const auto near = [&](const Signature& wanted, const auto& take) {
        const Moment from = wanted.moment == noMoment ? noMoment : wanted.moment - 1;
        auto at = firstFrom(from);
        for (;
             at != ofDay.end() && (wanted.moment == noMoment ? (*at)->moment == noMoment
                                                             : (*at)->moment <= wanted.moment + 1);
             ++at) {
            if (!(*at)->matched && (*at)->kind == wanted.kind && take(**at)) {
                (*at)->matched = true;
                return *at;
            }
        }
        return static_cast<Signature*>(nullptr);
    };
    for (Signature& signature : send.signatures) {
        signature.matched = near(signature, [&](const Signature& other) {
                                return other.content == signature.content;
                            }) != nullptr;
    }
    struct Finding {
        bool inSend;
        RecordPlace place;
        std::string what;
    };
    std::vector<Finding> findings;
    std::size_t lacking = 0;
    std::size_t changed = 0;
    std::size_t missing = 0;
    for (Signature& signature : send.signatures) {
        if (signature.matched) {
            continue;
        }
        const Signature* other = near(signature, [&](const Signature& candidate) {
            return candidate.question == signature.question;
        });
        const std::string when = momentText(signature.moment);
        if (other != nullptr) {
            ++changed;
            findings.push_back({true, signature.place,
                                std::string("this ") + kindText(signature.kind) + " (" + when +
                                    ") differs from the one the master file " + masterPath +
                                    " holds at line " + std::to_string(other->place.line) +
                                    ": the send file was changed after the program wrote it"});
        } else {
            ++lacking;
            findings.push_back({true, signature.place,
                                std::string("a ") + kindText(signature.kind) + " (" + when +
                                    ") that the master file " + masterPath +
                                    " does not hold: it was not written by the program's run"});
        }
    }
    for (const Signature* signature : ofDay) {
        if (!signature->matched) {
            ++missing;
            findings.push_back({false, signature->place,
                                std::string("a ") + kindText(signature->kind) + " (" +
                                    momentText(signature->moment) + ") that the send file " +
                                    sendPath + " lacks"});
        }
    }
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        return std::make_pair(!a.inSend, a.place.offset) <
               std::make_pair(!b.inSend, b.place.offset);
    });
    for (const Finding& finding : findings) {
        out << (finding.inSend ? sendPath : masterPath) << ':' << finding.place.line << ": byte "
            << finding.place.offset << ": " << finding.what << '\n';
    }
    ++pairsCompared_;
    out << sendPath << " against " << masterPath << ": ";
    if (findings.empty()) {
        out << "holds the master's " << ofDay.size() << " headers and blocks of its day, no more "
            << "and no other";
    } else {
        ++differing_;
        differences_ += findings.size();
        out << lacking << " the master lacks, " << changed << " changed, " << missing
            << " of the master's the send file lacks";
    }
    if (master.full || send.full) {
        out << " (only the first " << blocksKept << " headers and blocks of each were compared)";
    }
    out << '\n';
}

std::size_t SendAgainstMaster::writeTotals(std::ostream& out) const {
    if (pairsCompared_ > 0) {
        out << "compared " << pairsCompared_
            << " send files with their master files: " << pairsCompared_ - differing_ << " agree, "
            << differing_ << " differ (" << differences_ << " differences)\n";
    }
    return differing_;
}

void BothVisitors::header(const RecordHeader& header) {
    first_.header(header);
    if (second_ != nullptr) {
        second_->header(header);
    }
}

void BothVisitors::block(const RecordBlock& block) {
    first_.block(block);
    if (second_ != nullptr) {
        second_->block(block);
    }
}

void BothVisitors::problem(const RecordProblem& problem) {
    first_.problem(problem);
    if (second_ != nullptr) {
        second_->problem(problem);
    }
}

bool BothVisitors::wantsTexts() const {
    return first_.wantsTexts() || (second_ != nullptr && second_->wantsTexts());
}

} // namespace drilbank::instructor
