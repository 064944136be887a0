// How names are compared for "possibly the same student": lower case, without accents and
// blanks, for the scripts a class list is written in.
#include "instructor/ClassList.h"

#include "encoding/Utf8.h"

namespace drilbank::instructor {
namespace {

// The base letters of U+0100 to U+017F (Latin Extended-A), lower case; '2' where the letter is
// a ligature of two.
constexpr std::string_view latinExtendedA =
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii22jjkkkllllllllll"
    "nnnnnnnnnoooooo22rrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";
static_assert(latinExtendedA.size() == 0x80);

// The base letters of U+00C0 to U+00FF, lower case; '2' for a letter written as two.
constexpr std::string_view latin1 =
    "aaaaaa2ceeeeiiiidnooooo*ouuuuy22aaaaaa2ceeeeiiiidnooooo/ouuuuy2y";
static_assert(latin1.size() == 0x40);

void appendFolded(std::string& folded, char32_t c) {
    if (c == ' ' || c == '\t' || c == '_' || c == 0xA0 || c == 0x2007 || c == 0x202F ||
        (c >= 0x2000 && c <= 0x200B) || c == 0x3000 || (c >= 0x300 && c <= 0x36F)) {
        return; // blanks, and the combining accents of a name typed decomposed
    }
    if (c >= 'A' && c <= 'Z') {
        folded += static_cast<char>(c - 'A' + 'a');
        return;
    }
    if (c >= 0xC0 && c <= 0xFF && latin1[c - 0xC0] != '*' && latin1[c - 0xC0] != '/') {
        const char base = latin1[c - 0xC0];
        if (base != '2') {
            folded += base;
        } else {
            folded += c == 0xC6 || c == 0xE6 ? "ae" : c == 0xDF ? "ss" : "th";
        }
        return;
    }
    if (c >= 0x100 && c <= 0x17F) {
        const char base = latinExtendedA[c - 0x100];
        if (base != '2') {
            folded += base;
        } else {
            folded += c <= 0x133 ? "ij" : "oe";
        }
        return;
    }
    if (c >= 0x410 && c <= 0x42F) {
        c += 0x20; // Cyrillic capitals
    } else if (c >= 0x400 && c <= 0x40F) {
        c += 0x50;
    }
    if (c == 0x451) {
        c = 0x435; // ё as е
    } else if (c == 0x439) {
        c = 0x438; // й as и
    }
    if (c >= 0x391 && c <= 0x3A9) {
        c += 0x20; // Greek capitals
    }
    switch (c) { // Greek letters with tonos, and the final sigma
    case 0x386:
    case 0x3AC:
        c = 0x3B1;
        break;
    case 0x388:
    case 0x3AD:
        c = 0x3B5;
        break;
    case 0x389:
    case 0x3AE:
        c = 0x3B7;
        break;
    case 0x38A:
    case 0x3AF:
        c = 0x3B9;
        break;
    case 0x38C:
    case 0x3CC:
        c = 0x3BF;
        break;
    case 0x38E:
    case 0x3CD:
        c = 0x3C5;
        break;
    case 0x38F:
    case 0x3CE:
        c = 0x3C9;
        break;
    case 0x3C2:
        c = 0x3C3;
        break;
    default:
        break;
    }
    appendUtf8(folded, c);
}

// The code point in lower case, for the scripts class lists are written in.
char32_t lowerCase(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c == 0x178) {
        return 0xFF;
    }
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149 && c != 0x17F) &&
        (oddUpper ? c % 2 == 1 : c % 2 == 0)) {
        return c + 1;
    }
    return c;
}

bool isBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '_' || c == 0xA0 || c == 0x2007 || c == 0x202F ||
           (c >= 0x2000 && c <= 0x200B) || c == 0x3000;
}

// The text with its blanks left out, or in lower case.
std::string transformed(std::string_view utf8, bool dropBlanks, bool lower) {
    std::string text;
    for (std::size_t index = 0; index < utf8.size();) {
        const char32_t c = utf8CodePointAt(utf8, index);
        if (!(dropBlanks && isBlank(c))) {
            appendUtf8(text, lower ? lowerCase(c) : c);
        }
    }
    return text;
}

} // namespace

std::string howNamesDiffer(std::string_view name, std::string_view listed) {
    if (name == listed) {
        return "";
    }
    if (transformed(name, true, false) == transformed(listed, true, false)) {
        return "blanks";
    }
    if (transformed(name, false, true) == transformed(listed, false, true)) {
        return "capitals";
    }
    if (transformed(name, true, true) == transformed(listed, true, true)) {
        return "capitals and blanks";
    }
    return "accents";
}

std::string foldedName(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t index = 0; index < utf8.size();) {
        appendFolded(folded, utf8CodePointAt(utf8, index));
    }
    return folded;
}

} // namespace drilbank::instructor
