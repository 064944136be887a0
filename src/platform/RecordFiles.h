#pragma once

#include "platform/DriveMap.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace drilbank {

enum class ChannelMode { Append, Input, Output };

// CR LF, or pad with blanks to the start of the next 14-column print zone and end no line.
enum class LineEnding { CrLf, NextPrintZone };

// Numbered text channels 1 to 3 over real files.
//
// Writes are held in memory while a channel is open and reach the file as one append when
// it is closed, flushed to stable storage before close returns, under an exclusive lock.
// So a click's block is either wholly in a file or not at all, even when the program is
// killed, the disk fills up or a second copy of the program writes to the same file.
// Every fault is a numbered Failure; after a failed close the channel is closed all the same.
class RecordFiles {
public:
    static constexpr int channelCount = 3;

    explicit RecordFiles(DriveMap drives);
    ~RecordFiles();
    RecordFiles(const RecordFiles&) = delete;
    RecordFiles& operator=(const RecordFiles&) = delete;

    void createDirectory(std::string_view windowsPath);

    void open(int channel, std::string_view windowsPath, ChannelMode mode);
    void writeLine(int channel, std::string_view text, LineEnding ending = LineEnding::CrLf);
    std::string readLine(int channel);
    bool atEndOfFile(int channel);
    void close(int channel); // no effect when the channel is not open
    // Closes every channel listed, in order, even after a fault; then reports the first
    // fault. Closing commits, so one file's fault never loses another file's block.
    void close(std::initializer_list<int> channels);
    void closeAll();
    bool isOpen(int channel) const;

    const DriveMap& drives() const { return drives_; }

private:
    struct Channel {
        int descriptor = -1;
        ChannelMode mode = ChannelMode::Append;
        bool created = false;
        std::string localPath;
        std::string pending;    // bytes written and not yet committed
        std::size_t column = 1; // print column of the next byte on the current line
        std::string contents;   // a file open for reading, read whole at open
        std::size_t readPosition = 0;
    };

    Channel& channelAt(int channel);
    void commit(Channel& open);

    DriveMap drives_;
    std::array<Channel, channelCount> channels_;
};

} // namespace drilbank
