#pragma once

#include "os/FileMapping.h"

#include <istream>

namespace drilbank {

// A record file's bytes: seen in place where the file is mapped, else read from a stream.
// Either converts to it, so that a reader takes whichever it is given.
struct RecordBytes {
    RecordBytes(std::istream& in) : stream(&in) {}
    RecordBytes(FileMapping& mapped) : mapping(&mapped) {}
    std::istream* stream = nullptr;
    FileMapping* mapping = nullptr;
};

} // namespace drilbank
