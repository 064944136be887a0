// decode either fails with failure 5 exactly when a computed code leaves 0..255, or gives
// one character for every character it keeps.
#include "format/LineCode.h"
#include "os/Failure.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const float codeNbr = static_cast<float>(data[0]) / 4.0f; // 0 to 63.75, fractions too
    const std::string_view line(reinterpret_cast<const char*>(data + 1), size - 1);
    bool outOfRange = false;
    std::size_t kept = 0;
    for (const char character : line) {
        const int c = static_cast<unsigned char>(character);
        if (c == 32 || (c >= 66 && c <= 118)) {
            kept += c == 32;
            continue;
        }
        const long mapped =
            std::lrint(c < 66 ? c + 209 - double(codeNbr) : c - double(codeNbr) - 100);
        outOfRange = outOfRange || mapped < 0 || mapped > 255;
        ++kept;
    }
    try {
        const std::string decoded = drilbank::decode(line, codeNbr);
        if (outOfRange || decoded.size() != kept) {
            std::abort();
        }
    } catch (const drilbank::Failure& fault) {
        if (!outOfRange || fault.number() != drilbank::failure::ArgumentOutOfRange) {
            std::abort();
        }
    }
    return 0;
}
