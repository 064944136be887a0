#include "reading/Utf8Cuts.h"

#include "encoding/Utf8.h"
#include "os/CodePage.h"

#include <algorithm>
#include <string>

namespace drilbank {
namespace {

// "&#38;" is an "&" read on through; "&#46;" before 48 full stops a typed line's first
// (format/RecordFormat.h); a reference has seven digits at most.
constexpr unsigned ampersand = '&';
constexpr unsigned fullStop = '.';
constexpr std::size_t fullStopsAfter = 48;
constexpr std::size_t mostDigits = 7;

// The ASCII character a character beyond ASCII normalises to alone (U+037E to ";"), or 0 when
// it stays beyond ASCII, as an accent that joins a letter does.
char asciiOnceNormal(char32_t character) {
    std::u16string text;
    if (character < 0x10000) {
        text.push_back(static_cast<char16_t>(character));
    } else {
        text.push_back(static_cast<char16_t>(0xD800 + ((character - 0x10000) >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + ((character - 0x10000) & 0x3FF)));
    }
    const std::u16string normal = codepage::normalizedNfc(text);
    return normal.size() == 1 && normal[0] < 0x80 ? static_cast<char>(normal[0]) : '\0';
}

} // namespace

bool readOnThrough(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x80 || byte == '&' || byte == '#' || byte == ';' || byte == '.' ||
           (byte >= '0' && byte <= '9');
}

std::size_t Utf8Cuts::lastCut(std::string_view utf8) {
    // Before an ASCII byte that ends every reference, whatever stands around it: the common
    // case, found from the end without decoding.
    for (std::size_t at = utf8.size(); at > std::max<std::size_t>(plainSearchedTo_, 1);) {
        --at;
        if (!readOnThrough(utf8[at])) {
            plainSearchedTo_ = utf8.size();
            return at;
        }
    }
    plainSearchedTo_ = utf8.size();
    // A stretch of characters beyond ASCII, digits and the like: looked at one by one.
    scan(utf8);
    return scannedCut_;
}

void Utf8Cuts::cutAt(std::size_t at) {
    plainSearchedTo_ = plainSearchedTo_ > at ? plainSearchedTo_ - at : 0;
    scannedCut_ = scannedCut_ > at ? scannedCut_ - at : 0;
    if (scannedTo_ >= at) {
        // An "&" still open lies after the cut, or (after a cut where none was known) before
        // it, where keeping it open only cuts later.
        scannedTo_ -= at;
        return;
    }
    scannedTo_ = 0;
    ampersand_ = Ampersand::Settled;
}

void Utf8Cuts::scan(std::string_view utf8) {
    // A character is looked at once all of it is read: four bytes on, or at once if ASCII.
    while (scannedTo_ < utf8.size() &&
           (static_cast<unsigned char>(utf8[scannedTo_]) < 0x80 || utf8.size() - scannedTo_ >= 4)) {
        std::size_t next = scannedTo_;
        const char32_t character = utf8CodePointAt(utf8, next);
        // Where the decoder starts a character, each piece decodes as it does whole: a
        // character it cannot read is one byte of U+FFFD either way.
        const bool endsReferences =
            character < 0x80 && !readOnThrough(static_cast<char>(character));
        if (scannedTo_ > 0 && (ampersand_ == Ampersand::Settled || endsReferences) &&
            (character < 0x80 || codepage::startsNormalisationBoundary(character))) {
            scannedCut_ = scannedTo_;
        }
        take(character);
        scannedTo_ = next;
    }
}

// Follows the last "&" on through `character`, as normalised text: what an "&" reads on
// through is ASCII, or a character beyond ASCII that normalises to it.
void Utf8Cuts::take(char32_t character) {
    if (character >= 0x80 && ampersand_ == Ampersand::Settled) {
        return;
    }
    const char ascii = character < 0x80 ? static_cast<char>(character) : asciiOnceNormal(character);
    const bool digit = ascii >= '0' && ascii <= '9';
    if (ascii == '&') {
        ampersand_ = Ampersand::WantsHash;
    } else if (ampersand_ == Ampersand::WantsHash && ascii == '#') {
        ampersand_ = Ampersand::InDigits;
        count_ = 0;
        value_ = 0;
    } else if (ampersand_ == Ampersand::InDigits && digit && count_ < mostDigits) {
        ++count_;
        value_ = value_ * 10 + static_cast<unsigned>(ascii - '0');
    } else if (ampersand_ == Ampersand::InDigits && ascii == ';' && count_ == 2 &&
               value_ == ampersand) {
        ampersand_ = Ampersand::WantsHash;
    } else if (ampersand_ == Ampersand::InDigits && ascii == ';' && count_ == 2 &&
               value_ == fullStop) {
        ampersand_ = Ampersand::InFullStops;
        count_ = 0;
    } else if (ampersand_ == Ampersand::InFullStops && ascii == '.' && ++count_ < fullStopsAfter) {
        // reads on
    } else {
        ampersand_ = Ampersand::Settled;
    }
}

} // namespace drilbank
