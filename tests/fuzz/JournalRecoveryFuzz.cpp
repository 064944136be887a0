// Journal recovery over any journal and any record files: no crash, nothing written outside
// the folder, no record file ever loses a byte it held (but zeros a power cut left at its
// end), and a second recovery changes nothing.
#include "journal/Checksum.h"
#include "journal/ClickJournal.h"
#include "os/Failure.h"
#include "support/TemporaryFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Takes the next piece of the input: a length byte, then that many bytes.
std::string piece(const std::uint8_t*& data, std::size_t& size) {
    const std::size_t length = size > 0 ? std::min<std::size_t>(data[0], size - 1) : 0;
    std::string text(reinterpret_cast<const char*>(data + (size > 0 ? 1 : 0)), length);
    const std::size_t used = size > 0 ? length + 1 : 0;
    data += used;
    size -= used;
    return text;
}

// A whole entry for the named files, so that the fuzzer reaches the completion paths; the
// input may still damage it afterwards.
std::string wholeEntry(const std::string& sizes, const std::string& names,
                       const std::string& block) {
    const char* const choices[] = {"a.txt", "b.txt", "../x.txt", "c.txt"};
    std::string head = "drilbank journal 1\r\n2\r\n";
    std::string blocks;
    for (std::size_t file = 0; file < 2; ++file) {
        const std::string part = block.substr(0, block.size() / (file + 1));
        drilbank::Checksum sum;
        sum.add(part);
        const unsigned sizeBefore =
            file < sizes.size() ? static_cast<unsigned char>(sizes[file]) % 40 : 0;
        const char* name =
            choices[file < names.size() ? static_cast<unsigned char>(names[file]) % 4 : file];
        head += std::to_string(sizeBefore) + " " + std::to_string(part.size()) + " " +
                std::to_string(sum.value()) + " " + name + "\r\n";
        blocks += part;
    }
    drilbank::Checksum whole;
    whole.add(head + blocks);
    return head + blocks + "end " + std::to_string(whole.value()) + "\r\n";
}

// Whether `after` keeps every byte of `before`, or cut only zeros from its end.
bool keptOrZerosCut(const std::string& before, const std::string& after) {
    const std::size_t kept = std::min(before.size(), after.size());
    return before.compare(0, kept, after, 0, kept) == 0 &&
           before.find_first_not_of('\0', kept) == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const bool buildEntry = data[0] % 2 == 0;
    const std::size_t damageAt = data[0] / 2;
    ++data;
    --size;
    drilbank::testing::TemporaryFolder root;
    const fs::path folder = root.path() / "work";
    fs::create_directory(folder);
    const std::string a = piece(data, size);
    const std::string b = piece(data, size);
    std::string journal = buildEntry
                              ? wholeEntry(piece(data, size), piece(data, size), piece(data, size))
                              : std::string(reinterpret_cast<const char*>(data), size);
    if (buildEntry && damageAt < journal.size() && damageAt % 3 == 0) {
        journal[damageAt] = static_cast<char>(journal[damageAt] + 1);
    }
    std::ofstream(folder / "a.txt", std::ios::binary) << a;
    std::ofstream(folder / "b.txt", std::ios::binary) << b;
    const fs::path journalPath = folder / std::string(drilbank::ClickJournal::namePrefix);
    std::ofstream(journalPath, std::ios::binary) << journal;
    const drilbank::LockWait wait;

    for (int round = 0; round < 2; ++round) {
        try {
            drilbank::ClickJournal recovering(drilbank::systemFiles(), journalPath, wait);
            recovering.recover();
        } catch (const drilbank::Failure&) {
        }
        if (!keptOrZerosCut(a, bytesOf(folder / "a.txt")) ||
            !keptOrZerosCut(b, bytesOf(folder / "b.txt")) || fs::exists(root.path() / "x.txt")) {
            std::abort();
        }
    }
    const std::string afterTwo = bytesOf(folder / "a.txt") + bytesOf(folder / "b.txt");
    try {
        drilbank::ClickJournal recovering(drilbank::systemFiles(), journalPath, wait);
        recovering.recover();
    } catch (const drilbank::Failure&) {
    }
    if (bytesOf(folder / "a.txt") + bytesOf(folder / "b.txt") != afterTwo) {
        std::abort();
    }
    return 0;
}
