#include "encoding/Cp1252.h"
#include "encoding/Utf8.h"

#include <gtest/gtest.h>

namespace drilbank {
namespace {

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int c = 0; c < 256; ++c) {
        all.push_back(static_cast<char>(c));
    }
    const std::u16string unicode = cp1252ToUnicode(all, true);
    EXPECT_EQ(unicode.size(), 256u);
    EXPECT_EQ(unicode[0x80], u'\u20AC');
    EXPECT_EQ(unicode[0x81], u'\u0081');
    EXPECT_EQ(cp1252FromUnicode(unicode), all);
}

TEST(Cp1252, CharactersTheCodePageCannotHoldBecomeReferences) {
    EXPECT_EQ(cp1252FromUnicode(u"\u0394x = 5 \u20AC"), "&#916;x = 5 \x80");
    EXPECT_EQ(cp1252FromUnicode(u"\U0001F600"), "&#128512;");
    // Normalised first: e and a combining acute accent are one byte.
    EXPECT_EQ(cp1252FromUnicode(u"e\u0301"), "\xE9");
    EXPECT_EQ(cp1252FromUnicode(u"\u3042"), "&#12354;");
}

TEST(Cp1252, ReferencesAreShownAsTheCharacterOnlyWhereTheyStandForOne) {
    EXPECT_EQ(cp1252ToUnicode("&#916;&#128512;", true), u"\u0394\U0001F600");
    EXPECT_EQ(cp1252ToUnicode("&#916;", false), u"&#916;");
    // A reference the code page could hold was typed as such and stays literal.
    EXPECT_EQ(cp1252ToUnicode("&#65; &#233; &#; &#x394; &#9999999; &#55296; &#916", true),
              u"&#65; &#233; &#; &#x394; &#9999999; &#55296; &#916");
}

// Typed text that looks like a reference has its "&" escaped, and comes back as typed; an
// ampersand that reads as itself is stored as it stands.
TEST(Cp1252, TypedReferencesComeBackAsTyped) {
    const struct {
        std::u16string typed;
        std::string stored;
    } rows[] = {
        {u"\u0394 and &#916;", "&#916; and &#38;#916;"},
        {u"&#38;#916;", "&#38;#38;#916;"},
        {u"&#38;#38;#128512;", "&#38;#38;#38;#128512;"},
        {u"&#38; &#65; & &#; &#38;\u0394", "&#38; &#65; & &#; &#38;&#916;"},
        {u"&&#916;&", "&&#38;#916;&"},
        // "&#46;" before 48 full stops is what the record writer stores for a typed line of 49
        // (RecordFormat.h); typed so, it is escaped. Anywhere else it is itself.
        {u"&#46;" + std::u16string(48, u'.'), "&#38;#46;" + std::string(48, '.')},
        {u"&#46;" + std::u16string(47, u'.'), "&#46;" + std::string(47, '.')},
        {u"&#046;" + std::u16string(48, u'.'), "&#046;" + std::string(48, '.')},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(cp1252FromUnicode(row.typed), row.stored);
        EXPECT_EQ(cp1252ToUnicode(row.stored, true), row.typed);
    }
}

// Stored text is read into UTF-8 without going through UTF-16, for speed: every byte and
// every reference must read as it does there, into a string used again as into a new one.
TEST(Cp1252, StoredTextReadsTheSameInUtf8) {
    std::string all;
    for (int c = 0; c < 256; ++c) {
        all.push_back(static_cast<char>(c));
    }
    EXPECT_EQ(cp1252FromUtf8(cp1252ToUtf8(all)), all);
    const struct {
        std::string stored;
        std::string utf8;
    } rows[] = {
        {"&#916;&#128512;", "\xCE\x94\xF0\x9F\x98\x80"},
        {"&#65; &#233; &#; &#x394; &#9999999; &#55296; &#916",
         "&#65; &#233; &#; &#x394; &#9999999; &#55296; &#916"},
        {"&#916; and &#38;#916; and &#38;#38;#916;", "\xCE\x94 and &#916; and &#38;#916;"},
        {"&&#38;#916;&", "&&#916;&"},
        {"&#46;" + std::string(48, '.') + "\r\n&#38;#46;" + std::string(48, '.'),
         std::string(49, '.') + "\r\n&#46;" + std::string(48, '.')},
        {"&#46;" + std::string(47, '.'), "&#46;" + std::string(47, '.')},
        {"caf\xE9 &#1044;\x80&#1044;\x81", "caf\xC3\xA9 \xD0\x94\xE2\x82\xAC\xD0\x94\xC2\x81"},
        {"eight ok\xE9 and sixteen bytes\xFF", "eight ok\xC3\xA9 and sixteen bytes\xC3\xBF"},
        {"&", "&"},
        {"&#", "&#"},
        {"", ""},
    };
    std::string reused = "what was there before";
    for (const auto& row : rows) {
        EXPECT_EQ(cp1252ToUtf8(row.stored), row.utf8) << row.stored;
        cp1252ToUtf8(row.stored, reused);
        EXPECT_EQ(reused, row.utf8) << row.stored;
    }
}

// Where two systems' conversions could part: look-alikes, normalisation forms, stray halves
// of a surrogate pair. Each row must give the same bytes on Linux and on Windows.
TEST(Cp1252, EverySystemGivesTheSameBytes) {
    const struct {
        std::u16string typed;
        std::string stored;
    } rows[] = {
        {u"\u0100\u0141", "&#256;&#321;"}, // a look-alike "A" or "L" would lose the letter
        {u"\u0080\u009F", "&#128;&#159;"}, // control codes, not the bytes 0x80 and 0x9F
        {u"\u212B", "\xC5"},               // the Angstrom sign is the letter A with a ring
        {u"A\u030A", "\xC5"},
        {u"\uFB01", "&#64257;"}, // a ligature stays itself: composed, never compatible
        {u"\xD800"
         u"e\u0301",
         "&#55296;\xE9"}, // a stray surrogate costs only itself
        {u"e\u0301\xDC00", "\xE9&#56320;"},
        {u"", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(cp1252FromUnicode(row.typed), row.stored) << row.stored;
    }
}

// File names are UTF-8 on Linux: both ways, with references standing for what the code page
// cannot hold, and a broken sequence read as U+FFFD rather than dropped.
TEST(Cp1252, FileNamesCrossUtf8BothWays) {
    const struct {
        std::string utf8;
        std::string stored;
    } rows[] = {
        {"Jos\xC3\xA9 \xE2\x82\xAC", "Jos\xE9 \x80"},
        {"\xD0\x94\xF0\x9F\x98\x80", "&#1044;&#128512;"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(cp1252FromUtf8(row.utf8), row.stored);
        EXPECT_EQ(cp1252ToUtf8(row.stored), row.utf8);
    }
    EXPECT_EQ(cp1252FromUtf8("a\xC3"), "a&#65533;");
    EXPECT_EQ(cp1252FromUtf8("\xC0\xAF"
                             "b"),
              "&#65533;&#65533;b");                                        // an overlong slash
    EXPECT_EQ(cp1252FromUtf8("\xED\xA0\x80"), "&#65533;&#65533;&#65533;"); // a surrogate
}

// Columns line up alike on every system: an accented letter is one column, whether the system
// calls it a non-spacing letter or not; a combining mark adds none; a wide character two.
TEST(Cp1252, ColumnWidthsAreTheSameOnEverySystem) {
    const struct {
        const char* utf8;
        std::size_t columns;
    } rows[] = {
        {"Ann Lee", 7},
        {"Zo\xC3\xAB \xC3\x98ster", 9}, // ë, Ø
        {"Jos\xC3\xA9 Nu\xC3\xB1"
         "ez D\xC3\xAD"
         "az",
         15},                            // é, ñ, í
        {"e\xCC\x81", 1},                // e and a combining acute accent
        {"\xD0\x94\xCE\xA9", 2},         // Cyrillic and Greek capitals
        {"\xE6\xBC\xA2\xE5\xAD\x97", 4}, // two ideographs
        {"\xEF\xBC\xA1", 2},             // a fullwidth A
        {"\xF0\x9F\x98\x80!", 3},        // an emoji
        {"", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(displayWidth(row.utf8), row.columns) << row.utf8;
    }
}

} // namespace
} // namespace drilbank
