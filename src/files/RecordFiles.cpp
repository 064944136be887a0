#include "files/RecordFiles.h"

#include "encoding/Cp1252.h"
#include "journal/ClickJournal.h"
#include "journal/JournalEntry.h"
#include "os/Failure.h"
#include "os/FileBytes.h"
#include "texts/FailureTexts.h"
#include "texts/StudentTexts.h"

#include <chrono>
#include <map>
#include <optional>
#include <utility>

namespace drilbank {
namespace {

constexpr std::size_t readChunk = std::size_t{64} * 1024;

Failure about(const Failure& fault, const std::string& where) {
    return Failure(fault.number(), fault.detail() + ": " + where);
}

std::string parentOf(std::string_view windowsPath) {
    const std::size_t backslash = windowsPath.rfind('\\');
    return std::string(windowsPath.substr(0, backslash == std::string_view::npos ? 0 : backslash));
}

} // namespace

RecordFiles::RecordFiles(DriveMap drives, DurableFiles& system)
    : drives_(std::move(drives)), system_(system),
      runName_(std::to_string(std::chrono::system_clock::now().time_since_epoch().count())) {}

void RecordFiles::setStudent(std::string_view fileNamePart) {
    journalName_ = ClickJournal::fileNameFor(fileNamePart);
}

std::filesystem::path RecordFiles::journalPath(std::string_view windowsFolder) const {
    return drives_.toLocal(std::string(windowsFolder) + "\\" + journalName_);
}

// The run, the click's place among the run's acknowledged clicks, and its text: a retry names
// the click it retries, and the same text clicked again once it went through is a new click.
std::string RecordFiles::clickName(std::string_view recordedText) const {
    return runName_ + ' ' + std::to_string(namedNumber_) + ' ' + clickOf(recordedText);
}

void RecordFiles::nameClick(std::string_view recordedText) {
    completedClick_.reset();
    namedNumber_ = acknowledgedClicks_;
    clickName_ = clickName(recordedText);
}

void RecordFiles::holdHeader(std::string_view windowsPath, std::string header) {
    heldHeaders_.try_emplace(std::string(windowsPath), HeldHeader{std::move(header), {}});
}

std::vector<RecordFiles::JournalNotice> RecordFiles::takeJournalNotices() {
    return std::exchange(journalNotices_, {});
}

void RecordFiles::noteJournal(const ClickJournal& journal, std::string_view windowsFolder) {
    const auto placeOf = [&](const std::filesystem::path& path) {
        return describePlace(
            std::string(windowsFolder) + "\\" + cp1252FromUtf8(utf8Of(path.filename())), path);
    };
    if (const auto& aside = journal.setAsideAs()) {
        journalNotices_.push_back({journalSetAsideMessage, placeOf(*aside)});
    }
    const auto& other = journal.otherName();
    if (other && toldOtherName_.insert(other->parent_path()).second) {
        journalNotices_.push_back({journalOtherNameMessage, placeOf(*other)});
    }
}

RecordFiles::~RecordFiles() {
    try {
        closeAll();
    } catch (const Failure&) {
        // Nothing is left to tell at the end of the run; the journal keeps the click whole.
    }
}

RecordFiles::Channel& RecordFiles::channelAt(int channel) {
    if (channel < 1 || channel > channelCount) {
        throw Failure(failure::BadFileName, noSuchChannelText(channel));
    }
    return channels_[static_cast<std::size_t>(channel - 1)];
}

RecordFiles::Channel& RecordFiles::readingChannel(int channel) {
    Channel& open = channelAt(channel);
    if (!open.file || open.mode != ChannelMode::Input) {
        throw Failure(failure::BadFileName, channelNotReadingText(channel));
    }
    return open;
}

bool RecordFiles::isOpen(int channel) const {
    return channel >= 1 && channel <= channelCount &&
           channels_[static_cast<std::size_t>(channel - 1)].file != nullptr;
}

void RecordFiles::createDirectory(std::string_view windowsPath) {
    const std::filesystem::path local = drives_.toLocal(windowsPath);
    try {
        system_.createFolder(local);
    } catch (const Failure& fault) {
        throw about(fault, folderText(describePlace(windowsPath, local)));
    }
}

void RecordFiles::open(int channel, std::string_view windowsPath, ChannelMode mode) {
    Channel& slot = channelAt(channel);
    if (slot.file) {
        throw Failure(failure::FileAlreadyOpen, channelAlreadyOpenText(channel));
    }
    Channel opened;
    opened.mode = mode;
    opened.windowsPath = windowsPath;
    opened.localPath = drives_.toLocal(windowsPath);
    try {
        switch (mode) {
        case ChannelMode::Input:
            // The reader sees whole blocks only: an unfinished click is completed first when
            // it can be; the next recording click reports it when it cannot.
            try {
                recover(parentOf(windowsPath));
            } catch (const Failure&) {
            }
            opened.file = system_.open(opened.localPath, FileAccess::Read);
            if (!opened.file) {
                const bool folderThere =
                    std::filesystem::is_directory(opened.localPath.parent_path());
                throw Failure(folderThere ? failure::FileNotFound : failure::PathNotFound,
                              folderThere ? noSuchFileText : folderMissingText);
            }
            opened.size = opened.file->size();
            break;
        case ChannelMode::Append:
            opened.file = system_.open(opened.localPath, FileAccess::Append, &opened.created);
            if (opened.created) {
                system_.flushFolder(opened.localPath.parent_path()); // before it holds a click
            }
            break;
        case ChannelMode::Output:
            opened.file = system_.open(opened.localPath, FileAccess::Replace, &opened.created);
            break;
        }
    } catch (const Failure& fault) {
        if (fault.number() == failure::FileNotFound &&
            !std::filesystem::is_directory(opened.localPath.parent_path())) {
            throw Failure(failure::PathNotFound,
                          folderOfFileMissingText(describePlace(windowsPath, opened.localPath)));
        }
        throw about(fault, describePlace(windowsPath, opened.localPath));
    }
    slot = std::move(opened);
}

void RecordFiles::writeLine(int channel, std::string_view text, LineEnding ending) {
    Channel& open = channelAt(channel);
    if (!open.file || open.mode == ChannelMode::Input) {
        throw Failure(failure::BadFileName, channelNotWritingText(channel));
    }
    open.pending.append(text);
    const std::size_t lastBreak = text.rfind('\n');
    open.column =
        lastBreak == std::string_view::npos ? open.column + text.size() : text.size() - lastBreak;
    if (ending == LineEnding::CrLf) {
        open.pending.append("\r\n");
        open.column = 1;
    } else {
        const std::size_t blanks = printZoneWidth - (open.column - 1) % printZoneWidth;
        open.pending.append(blanks, ' ');
        open.column += blanks;
    }
}

// Holds at least two bytes from the read position on, where the file has them, so that a
// CR LF is never split between two pieces.
void RecordFiles::refill(Channel& reading) {
    const std::uint64_t buffered = reading.bufferStart + reading.buffer.size();
    if (reading.readPosition >= reading.bufferStart && reading.readPosition + 2 <= buffered) {
        return;
    }
    const auto length = static_cast<std::size_t>(
        std::min<std::uint64_t>(readChunk, reading.size - reading.readPosition));
    reading.buffer.resize(length);
    try {
        reading.buffer.resize(
            reading.file->readAt(reading.readPosition, reading.buffer.data(), length));
    } catch (const Failure& fault) {
        throw about(fault, describePlace(reading.windowsPath, reading.localPath));
    }
    reading.bufferStart = reading.readPosition;
    if (reading.buffer.empty()) {
        reading.size = reading.readPosition; // the file shrank since it was opened
    }
}

std::string RecordFiles::readLine(int channel) {
    Channel& reading = readingChannel(channel);
    if (reading.readPosition >= reading.size) {
        throw Failure(failure::InputPastEndOfFile,
                      pastEndOfFileText(describePlace(reading.windowsPath, reading.localPath)));
    }
    std::string line;
    while (reading.readPosition < reading.size) {
        refill(reading);
        const std::string_view view =
            std::string_view(reading.buffer)
                .substr(static_cast<std::size_t>(reading.readPosition - reading.bufferStart));
        const std::size_t lineEnd = view.find("\r\n");
        if (lineEnd != std::string_view::npos) {
            line.append(view.substr(0, lineEnd));
            reading.readPosition += lineEnd + 2;
            return line;
        }
        // A CR last in the piece may begin the CR LF that the next piece completes.
        const bool moreFollows = reading.readPosition + view.size() < reading.size;
        const std::size_t taken =
            view.ends_with('\r') && moreFollows ? view.size() - 1 : view.size();
        line.append(view.substr(0, taken));
        reading.readPosition += taken;
    }
    return line;
}

bool RecordFiles::atEndOfFile(int channel) {
    const Channel& reading = readingChannel(channel);
    return reading.readPosition >= reading.size;
}

std::uint64_t RecordFiles::inputSize(int channel) {
    return readingChannel(channel).size;
}

void RecordFiles::seekInput(int channel, std::uint64_t offset) {
    Channel& reading = readingChannel(channel);
    reading.readPosition = std::min(offset, reading.size);
}

void RecordFiles::recover(std::string_view windowsFolder) {
    completedClick_.reset();
    try {
        const std::filesystem::path wanted = journalPath(windowsFolder);
        if (!ClickJournal::mayNeedRecovery(system_, ClickJournal::pathFor(system_, wanted))) {
            return;
        }
        ClickJournal journal(system_, wanted, lockWait);
        noteJournal(journal, windowsFolder);
        completedClick_ = journal.recover();
    } catch (const Failure& fault) {
        throw about(fault,
                    folderText(describePlace(windowsFolder, drives_.toLocal(windowsFolder))));
    }
}

// The channels' appends, folder by folder, each folder's as one click of its journal; other
// writes go straight to their files. Every channel is committed even after a fault.
void RecordFiles::commit(std::vector<Channel>& closing) {
    std::optional<Failure> fault;
    std::map<std::filesystem::path, std::vector<Channel*>> clicks;
    for (Channel& channel : closing) {
        if (channel.mode == ChannelMode::Append &&
            (!channel.pending.empty() || heldHeaders_.contains(channel.windowsPath))) {
            clicks[channel.localPath.parent_path()].push_back(&channel);
            continue;
        }
        if (channel.pending.empty()) {
            continue;
        }
        try {
            channel.file->append(channel.pending);
            channel.file->flush();
        } catch (const Failure& failed) {
            fault = fault.value_or(
                about(failed, describePlace(channel.windowsPath, channel.localPath)));
        }
    }
    for (const auto& [folder, channels] : clicks) {
        const std::string windowsFolder = parentOf(channels.front()->windowsPath);
        try {
            commitClick(windowsFolder, channels);
        } catch (const Failure& failed) {
            fault = fault.value_or(about(failed, folderText(describePlace(windowsFolder, folder))));
        }
    }
    const bool acknowledged = !fault && !clicks.empty() && clickName_;
    if (!clicks.empty()) {
        clickName_.reset();
    }
    if (fault) {
        throw *fault;
    }
    acknowledgedClicks_ += acknowledged ? 1 : 0;
}

// One folder's appends as one click of the student's journal. An earlier click left
// unacknowledged is completed first; when it is this very click, nothing more is recorded.
// A held header goes first into its file, unless the file holds it already where an earlier
// close left it.
void RecordFiles::commitClick(const std::string& windowsFolder,
                              const std::vector<Channel*>& channels) {
    const std::string click =
        clickName_.value_or(runName_ + " unnamed " + std::to_string(++unnamedClicks_));
    ClickJournal journal(system_, journalPath(windowsFolder), lockWait);
    noteJournal(journal, windowsFolder);
    const std::filesystem::path folder = channels.front()->localPath.parent_path();
    if (!journalsFlushed_.contains(folder)) {
        system_.flushFolder(folder); // the journal's name too, whoever made it
        journalsFlushed_.insert(folder);
    }
    completedClick_ = journal.recover();
    std::vector<std::string> blocks;
    for (Channel* channel : channels) {
        const auto held = heldHeaders_.find(channel->windowsPath);
        const bool headerFirst =
            held != heldHeaders_.end() &&
            !(held->second.sizeBefore &&
              holdsAt(*channel->file, *held->second.sizeBefore, held->second.bytes));
        blocks.push_back(headerFirst ? held->second.bytes + channel->pending : channel->pending);
        if (held != heldHeaders_.end() && !headerFirst) {
            heldHeaders_.erase(held);
        }
    }
    if (completedClick_ == click) {
        return;
    }
    std::vector<BlockAppend> appends;
    for (std::size_t index = 0; index < channels.size(); ++index) {
        appends.push_back({utf8Of(channels[index]->localPath.filename()),
                           channels[index]->file.get(), blocks[index], std::nullopt});
    }
    try {
        journal.record(click, appends);
    } catch (const Failure&) {
        for (std::size_t index = 0; index < channels.size(); ++index) {
            const auto held = heldHeaders_.find(channels[index]->windowsPath);
            if (held != heldHeaders_.end() && appends[index].sizeBefore) {
                held->second.sizeBefore = appends[index].sizeBefore;
            }
        }
        throw;
    }
    for (const Channel* channel : channels) {
        heldHeaders_.erase(channel->windowsPath);
    }
}

void RecordFiles::close(int channel) {
    close({channel});
}

void RecordFiles::close(std::initializer_list<int> channels) {
    std::vector<Channel> closing;
    for (const int channel : channels) {
        Channel& open = channelAt(channel);
        if (open.file) {
            closing.push_back(std::move(open));
            open = Channel();
        }
    }
    commit(closing);
}

void RecordFiles::abandon(std::initializer_list<int> channels) {
    clickName_.reset();
    for (const int channel : channels) {
        channelAt(channel) = Channel();
    }
}

void RecordFiles::closeAll() {
    close({1, 2, 3});
}

} // namespace drilbank
