#include "format/LineCode.h"

#include "os/Failure.h"

#include <cmath>

namespace drilbank {
namespace {

// Rounds to the nearest whole number, a value exactly halfway going to the even neighbour.
long roundHalfEven(double value) {
    return std::lrint(value);
}

char characterOf(double codeValue) {
    const long characterCode = roundHalfEven(codeValue);
    if (characterCode < 0 || characterCode > 255) {
        throw Failure(failure::ArgumentOutOfRange);
    }
    return static_cast<char>(static_cast<unsigned char>(characterCode));
}

} // namespace

std::string code(std::string_view aLine, float /*codeNbr*/) {
    return std::string(aLine);
}

std::string makeCodeLine(float codeNbr, RandomSource& random) {
    std::string keyLine;
    for (int i = 1; static_cast<float>(i) <= codeNbr; ++i) {
        if (random.next() < 0.1f) {
            // The product is formed exactly from the single-precision draw before rounding.
            keyLine.push_back(
                characterOf(fillerCodeLowest + (fillerCodeHighest - fillerCodeLowest) *
                                                   static_cast<double>(random.next())));
        }
        keyLine.push_back(characterOf(keyCodeLowest + (keyCodeHighest - keyCodeLowest) *
                                                          static_cast<double>(random.next())));
    }
    return keyLine;
}

std::optional<int> keyLineCodingNumber(std::string_view line) {
    int keys = 0;
    bool afterFiller = false;
    for (const char character : line) {
        const int c = static_cast<unsigned char>(character);
        if (c >= keyCodeLowest) {
            ++keys;
            afterFiller = false;
        } else if (c >= fillerCodeLowest && c <= fillerCodeHighest && !afterFiller) {
            afterFiller = true;
        } else {
            return std::nullopt;
        }
    }
    if (afterFiller) {
        return std::nullopt;
    }
    return keys;
}

std::string decode(std::string_view aLine, float codeNbr) {
    std::string decoded;
    const double n = codeNbr;
    for (const char character : aLine) {
        const int c = static_cast<unsigned char>(character);
        if (c == 32) {
            decoded.push_back(' ');
        } else if (c < 66) {
            decoded.push_back(characterOf(c + 209 - n));
        } else if (c > 118) {
            decoded.push_back(characterOf(c - n - 100));
        }
    }
    return decoded;
}

} // namespace drilbank
