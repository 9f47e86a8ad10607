// Sector bytes as Unicode: UTF-8 kept, anything else read as Windows-1252.
#include "base/TextEncoding.h"

#include <gtest/gtest.h>

namespace kalvion {
namespace {

TEST(TextEncoding, Windows1252Characters)
{
    EXPECT_EQ(Windows1252ToUnicode('A'), u'A');
    EXPECT_EQ(Windows1252ToUnicode(0xBA), u'\u00BA');  // º
    EXPECT_EQ(Windows1252ToUnicode(0xE9), u'\u00E9');  // é
    EXPECT_EQ(Windows1252ToUnicode(0x80), u'\u20AC');  // €
    EXPECT_EQ(Windows1252ToUnicode(0x81), u'\uFFFD');
}

TEST(TextEncoding, Utf8IsKeptOtherBytesAreConverted)
{
    EXPECT_EQ(BytesToUtf8("Sol"), "Sol");
    EXPECT_EQ(BytesToUtf8("Caf\xC3\xA9"), "Caf\xC3\xA9");          // valid UTF-8 stays
    EXPECT_EQ(BytesToUtf8("Caf\xE9"), "Caf\xC3\xA9");              // Windows-1252 é
    EXPECT_EQ(BytesToUtf8("12\xBA N"), "12\xC2\xBA N");            // º
    EXPECT_EQ(BytesToUtf8("\x80"), "\xE2\x82\xAC");                // €
    // Truncated, overlong and surrogate sequences are not UTF-8.
    EXPECT_FALSE(IsValidUtf8("\xC3"));
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x9A\x80"));
    EXPECT_TRUE(IsValidUtf8(BytesToUtf8("\xC3\x28\xA0\xFF")));
}

} // namespace
} // namespace kalvion
