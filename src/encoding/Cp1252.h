#pragma once

#include <string>
#include <string_view>

namespace drilbank {

// Windows-1252, the single-byte code page of the record files, against Unicode (UTF-16).
// Text is NFC-normalised first; a character the code page cannot hold is kept as a decimal
// character reference such as "&#916;", so nothing typed is dropped or turned into "?".
// The five bytes the code page leaves undefined map to U+0081, U+008D, U+008F, U+0090 and
// U+009D and back, so every byte survives a round trip.
std::string cp1252FromUnicode(std::u16string_view text);

// With decodeReferences, references to characters the code page cannot hold (the only ones
// cp1252FromUnicode makes), and the "&#46;" that the record writer stores for the first full
// stop of a typed line of 49 (format/RecordFormat.h), are shown as the character again;
// "&#65;" and the like stay literal. cp1252FromUnicode keeps a typed "&" that would read so
// as "&#38;", so text typed as such a reference comes back as typed.
std::u16string cp1252ToUnicode(std::string_view bytes, bool decodeReferences);

// UTF-8, the file names' own form on this system, with references shown as the character.
std::string cp1252ToUtf8(std::string_view bytes);
// The same into `utf8`, whose memory is used again.
void cp1252ToUtf8(std::string_view bytes, std::string& utf8);
std::string cp1252FromUtf8(std::string_view utf8);

} // namespace drilbank
