// Number reading never crashes, and a text read strictly as a number reads the same leniently.
#include "encoding/NumberReading.h"
#include "os/Failure.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double lenient = 0;
    try {
        lenient = drilbank::leadingNumber(text);
    } catch (const drilbank::Failure& fault) {
        if (fault.number() != drilbank::failure::Overflow) {
            std::abort();
        }
        return 0;
    }
    try {
        const double strict = drilbank::mustBeNumber(text);
        if (strict != lenient) {
            std::abort();
        }
    } catch (const drilbank::Failure& fault) {
        if (fault.number() != drilbank::failure::TypeMismatch &&
            fault.number() != drilbank::failure::Overflow) {
            std::abort();
        }
    }
    // Written back and read again, a number keeps its 15 significant digits.
    const double again = drilbank::leadingNumber(drilbank::numberText(lenient));
    if (std::fabs(again - lenient) > std::fabs(lenient) * 1e-14) {
        std::abort();
    }
    return 0;
}
