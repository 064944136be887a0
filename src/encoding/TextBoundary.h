#pragma once

#include <string>
#include <string_view>

namespace drilbank {

// Where text crosses between a window and the core, the one crossing every window uses.
// A window holds Unicode (UTF-16) and breaks lines however its boxes or a paste do; the core
// holds Windows-1252 bytes with CR LF between lines, exactly as the record files do.
// Characters the code page cannot hold travel as decimal character references and are
// shown as themselves again.

// Every line break (CR LF, a lone CR or LF, U+2028, U+2029) becomes CR LF.
std::string recordBytesFromUnicode(std::u16string_view text);

// Every line break becomes `lineBreak`, the one the window's boxes keep.
std::u16string unicodeFromRecordBytes(std::string_view bytes, std::u16string_view lineBreak);

} // namespace drilbank
