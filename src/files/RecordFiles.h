#pragma once

#include "files/DriveMap.h"
#include "format/RecordFormat.h"
#include "journal/ClickJournal.h"
#include "os/DurableFiles.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace drilbank {

enum class ChannelMode { Append, Input, Output };

// Numbered text channels 1 to 3 over real files.
//
// Writes are held in memory while a channel is open. Closing channels commits what they
// hold: the appends of one close reach their files as one click through the working
// student's journal in the working directory (ClickJournal), so the click is in every file exactly
// once or, after a fault or a kill, completed later in exactly the files that lack it. Reading
// streams the file a piece at a time. Every fault is a numbered Failure whose detail names the file
// as the student knows it and where it is on this computer; after a failed close the channels are
// closed all the same.
class RecordFiles {
public:
    static constexpr int channelCount = 3;

    explicit RecordFiles(DriveMap drives, DurableFiles& system = systemFiles());
    ~RecordFiles();
    RecordFiles(const RecordFiles&) = delete;
    RecordFiles& operator=(const RecordFiles&) = delete;

    void createDirectory(std::string_view windowsPath);

    void open(int channel, std::string_view windowsPath, ChannelMode mode);
    void writeLine(int channel, std::string_view text, LineEnding ending = LineEnding::CrLf);
    std::string readLine(int channel);
    bool atEndOfFile(int channel);
    // A file open for reading: its size when opened, and a jump to any byte of it.
    std::uint64_t inputSize(int channel);
    void seekInput(int channel, std::uint64_t offset);
    void close(int channel); // no effect when the channel is not open
    // Closes every channel listed, even after a fault, committing their appends as one
    // click; then reports the first fault.
    void close(std::initializer_list<int> channels);
    void closeAll();
    // Closes the channels listed without writing what they hold: a block that could not be
    // built whole is not recorded at all.
    void abandon(std::initializer_list<int> channels);
    bool isOpen(int channel) const;

    // Whose journal the clicks go through: the file-name part of the student's record files.
    // Until it is set, a folder's clicks share one journal.
    void setStudent(std::string_view fileNamePart);

    // Completes a click that a fault or a kill left unfinished in the working directory.
    void recover(std::string_view windowsFolder);

    // Names the click that the next close records, by the text it records. When the journal
    // holds that very click of this run, unacknowledged, done or not, the close completes it
    // and records nothing more: a retry never records a text twice.
    void nameClick(std::string_view recordedText);
    // The click that the last close or recovery found in the journal and completed, named as
    // `clickName` names it; nothing when the journal held none.
    const std::optional<std::string>& completedClick() const { return completedClick_; }
    std::string clickName(std::string_view recordedText) const;

    // A run's header for a file, computed at start-up, held until a close that appends to
    // the file puts it there first, in the same click. Holding it again keeps the first.
    void holdHeader(std::string_view windowsPath, std::string header);

    // What the student is to be told about journals since the last call: each one that was
    // not the program's own and was set aside, and, once a run for each folder, a journal
    // kept under another name because another account's file holds its own; with where the
    // journal now is, as the student knows the place and where it is on this computer.
    struct JournalNotice {
        const char* message;
        std::string place;
    };
    std::vector<JournalNotice> takeJournalNotices();

    LockWait lockWait;

    const DriveMap& drives() const { return drives_; }

private:
    struct Channel {
        std::unique_ptr<DurableFile> file;
        ChannelMode mode = ChannelMode::Append;
        bool created = false;
        std::string windowsPath;
        std::filesystem::path localPath;
        std::string pending;    // bytes written and not yet committed
        std::size_t column = 1; // print column of the next byte on the current line
        std::uint64_t size = 0; // a file open for reading: its size when opened
        std::uint64_t readPosition = 0;
        std::uint64_t bufferStart = 0;
        std::string buffer;
    };

    Channel& channelAt(int channel);
    Channel& readingChannel(int channel);
    struct HeldHeader {
        std::string bytes;
        std::optional<std::uint64_t> sizeBefore; // where a failed close left it, if anywhere
    };

    void commit(std::vector<Channel>& closing);
    void commitClick(const std::string& windowsFolder, const std::vector<Channel*>& channels);
    void refill(Channel& reading);
    std::filesystem::path journalPath(std::string_view windowsFolder) const;
    void noteJournal(const ClickJournal& journal, std::string_view windowsFolder);

    DriveMap drives_;
    DurableFiles& system_;
    std::array<Channel, channelCount> channels_;
    std::string journalName_{ClickJournal::namePrefix};
    std::string runName_; // tells this run's clicks from every other run's
    std::uint64_t unnamedClicks_ = 0;
    std::uint64_t acknowledgedClicks_ = 0; // named clicks of this run that went through
    std::uint64_t namedNumber_ = 0;        // the named click's place among them
    std::optional<std::string> clickName_;
    std::optional<std::string> completedClick_;
    std::map<std::string, HeldHeader> heldHeaders_; // by the file's Windows path
    std::vector<JournalNotice> journalNotices_;
    std::set<std::filesystem::path> toldOtherName_;   // folders whose other journal name was said
    std::set<std::filesystem::path> journalsFlushed_; // folders whose journal name is durable
};

} // namespace drilbank
