// Where a long line of UTF-8 is cut to be turned back before it ends, over any bytes read a
// few at a time (the first byte tells how many): the pieces between the cuts turn back into
// the bytes the whole turns back into.
#include "encoding/Cp1252.h"
#include "reading/Utf8Cuts.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::size_t readSize = 1 + data[0] % 16;
    const std::string_view utf8(reinterpret_cast<const char*>(data + 1), size - 1);
    drilbank::Utf8Cuts cuts;
    std::string turned;
    std::size_t start = 0; // of what is not turned back yet
    // What is read before the end is cut where the cuts say; at the end all is turned back.
    for (std::size_t read = readSize; read < utf8.size(); read += readSize) {
        const std::size_t cut = cuts.lastCut(utf8.substr(start, read - start));
        if (cut > read - start) {
            std::abort();
        }
        if (cut > 0) {
            turned += drilbank::cp1252FromUtf8(utf8.substr(start, cut));
            cuts.cutAt(cut);
            start += cut;
        }
    }
    turned += drilbank::cp1252FromUtf8(utf8.substr(start));
    if (turned != drilbank::cp1252FromUtf8(utf8)) {
        std::abort();
    }
    return 0;
}
