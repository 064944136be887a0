#include "encoding/TextBoundary.h"

#include <gtest/gtest.h>

#include <string>

namespace drilbank {
namespace {

// What a window holds and what reaches the core; every window crosses here, so the Qt
// window and drilbank.exe record the same bytes for the same text.
struct Crossing {
    const char* what;
    std::u16string shown;
    std::string bytes;
};

TEST(TextBoundary, EveryLineBreakAndCharacterReachesTheCoreInOneForm) {
    const Crossing cases[] = {
        {"plain", u"Ann Lee", "Ann Lee"},
        {"code page letters", u"caf\u00e9 \u20ac5",
         "caf\xE9 \x80"
         "5"},
        {"Greek letter", u"\u0394t", "&#916;t"},
        {"emoji", u"\U0001F600", "&#128512;"},
        {"undefined byte", u"\u0081", "\x81"},
        {"decomposed accent", u"e\u0301", "\xE9"},
        {"LF", u"a\n\nb\n", "a\r\n\r\nb\r\n"},
        {"lone CR", u"a\rb", "a\r\nb"},
        {"CR LF", u"a\r\nb", "a\r\nb"},
        {"CR CR LF", u"a\r\r\nb", "a\r\n\r\nb"},
        {"LF CR", u"a\n\rb", "a\r\n\r\nb"},
        {"line separator", u"a\u2028b", "a\r\nb"},
        {"paragraph separator", u"a\u2029b", "a\r\nb"},
        {"a reference the code page could hold stays literal", u"&#65;", "&#65;"},
    };
    for (const Crossing& crossing : cases) {
        EXPECT_EQ(recordBytesFromUnicode(crossing.shown), crossing.bytes) << crossing.what;
    }
}

TEST(TextBoundary, RecordBytesComeBackWithTheWindowsOwnLineBreak) {
    const std::string bytes = "one\r\n\r\n\xE9&#916;\r\nend";
    EXPECT_EQ(unicodeFromRecordBytes(bytes, u"\n"), u"one\n\n\u00e9\u0394\nend");
    EXPECT_EQ(unicodeFromRecordBytes(bytes, u"\r\n"), u"one\r\n\r\n\u00e9\u0394\r\nend");
    // A stored line separator (a file written before they became CR LF) breaks the line too.
    EXPECT_EQ(unicodeFromRecordBytes("a&#8232;b", u"\n"), u"a\nb");
    for (const std::u16string& lineBreak : {std::u16string(u"\n"), std::u16string(u"\r\n")}) {
        EXPECT_EQ(recordBytesFromUnicode(unicodeFromRecordBytes(bytes, lineBreak)), bytes);
    }
}

} // namespace
} // namespace drilbank
