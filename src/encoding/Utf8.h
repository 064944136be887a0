#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace drilbank {

// UTF-8, the form text takes outside the record files: file names, the tool's output.

// The code point's UTF-8 at `out`, which has room for four bytes; where it ends.
char* putUtf8(char* out, char32_t codePoint);
void appendUtf8(std::string& text, char32_t codePoint);

// The code point at `index`, moving past it. A byte that starts no well-formed sequence is
// U+FFFD, so a broken name still reads as text and nothing after it is lost.
char32_t utf8CodePointAt(std::string_view text, std::size_t& index);

// The columns UTF-8 text takes on a terminal, for lining up tables.
std::size_t displayWidth(std::string_view utf8);

// Whether the bytes are well-formed UTF-8 holding at least one character beyond ASCII: text
// that an editor saved again as UTF-8, which Windows-1252 text practically never is.
bool isMultiByteUtf8(std::string_view bytes);

} // namespace drilbank
