#pragma once

#include <string>
#include <string_view>

// The system's own conversion between Windows-1252 and Unicode and its normalisation, one
// implementation per system (ICU on Linux, the Windows API on Windows). Cp1252.cpp builds
// everything else on these, so both systems give the same bytes for the same text.
namespace drilbank::codepage {

// `text` in normalisation form C; `text` holds no lone surrogate.
std::u16string normalizedNfc(std::u16string_view text);

// Whether text normalised in two pieces, cut before the code point, is the text normalised
// whole: no character before it ever joins or reorders with it (true for ASCII). Where the
// system cannot tell, false.
bool startsNormalisationBoundary(char32_t codePoint);

// The code page's own byte for a code point above U+007F, or -1 when it has none. A look-
// alike ("A" for U+0100) is no byte of its own, so it gives -1 too.
int byteFor(char32_t codePoint);

// Every byte as its character; the five bytes the code page leaves undefined become U+0081,
// U+008D, U+008F, U+0090 and U+009D.
std::u16string decode(std::string_view bytes);

// The columns a terminal gives the character: 0 for a combining mark, 2 for a wide one (East
// Asian wide or fullwidth, most emoji), 1 otherwise.
int columnsOf(char32_t codePoint);

} // namespace drilbank::codepage
