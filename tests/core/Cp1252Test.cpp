#include "platform/Cp1252.h"

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
    const std::u16string typed = u"\u0394 and &#916; \U0001F600";
    EXPECT_EQ(cp1252ToUnicode(cp1252FromUnicode(typed), true), u"\u0394 and \u0394 \U0001F600");
}

TEST(Cp1252, FileNamesBecomeUtf8) {
    EXPECT_EQ(cp1252ToUtf8("Jos\xE9 \x80"), "Jos\xC3\xA9 \xE2\x82\xAC");
}

} // namespace
} // namespace drilbank
