#pragma once

#include <cstddef>
#include <string_view>

namespace drilbank {

// The bytes an ampersand looks on through to tell whether it starts a reference ("&#38;#916;",
// "&#46;" and its full stops), and those of characters beyond ASCII. Before any other byte the
// text may be cut and each piece turned back alone, the same as whole: such a byte is ASCII,
// which normalisation never joins to what stands before it, and it ends every reference.
bool readOnThrough(char byte);

// Where UTF-8 read so far may be cut so that each piece turned back into the code page alone
// gives the bytes the two give turned back whole. Turning back decodes, normalises (a combining
// accent joins the letter before it) and reads an "&" on through what may be a reference
// ("&#38;#38;...#916;" to its end), so a cut must fall where a character starts, before one
// that starts a normalisation boundary, where every "&" before it has read all it reads. Each
// byte is looked at about once however often more is read, so that a line of any length
// costs its length.
class Utf8Cuts {
public:
    // The last such cut in `utf8`, after its first byte; 0 when none is known. More follows
    // `utf8`, which is what was looked at before with more read after it.
    std::size_t lastCut(std::string_view utf8);
    // What lies before `at` (a cut lastCut gave, one after a line feed or, where none is
    // known, after a whole character) was turned back and is gone.
    void cutAt(std::size_t at);

private:
    void scan(std::string_view utf8);
    void take(char32_t character);

    // Bytes from 1 up to this hold no ASCII byte outside those an "&" reads on through.
    std::size_t plainSearchedTo_ = 0;
    // Where the character by character look got to, and the last cut it found.
    std::size_t scannedTo_ = 0;
    std::size_t scannedCut_ = 0;
    // How far the last "&" has read on, as cp1252FromUnicode reads it: a "#", then digits
    // and ";" (again after each "#38;", the "&" it stands for), or 48 full stops after "#46;".
    // Nothing once what it read ends it, whatever follows.
    enum class Ampersand { Settled, WantsHash, InDigits, InFullStops };
    Ampersand ampersand_ = Ampersand::Settled;
    std::size_t count_ = 0; // digits, or full stops
    unsigned value_ = 0;
};

} // namespace drilbank
