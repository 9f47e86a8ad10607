#include "base/CompactText.h"
#include "base/Guid.h"
#include "base/IdentityText.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using namespace kalvion;

TEST(CompactText, EmptyCostsOnePointerAndReadsAsEmptyString)
{
    static_assert(sizeof(TCompactText) == sizeof(void *));
    TCompactText t;
    EXPECT_TRUE(t.empty());
    EXPECT_EQ(t.size(), 0u);
    ASSERT_NE(t.c_str(), nullptr);
    EXPECT_STREQ(t.c_str(), "");
    EXPECT_EQ(std::string(t), "");
    EXPECT_TRUE(t == "");
    t = "set";
    EXPECT_FALSE(t.empty());
    t = std::string();
    EXPECT_TRUE(t.empty()) << "assigning an empty text frees the block";
    t = static_cast<const char *>(nullptr);
    EXPECT_TRUE(t.empty());
}

TEST(CompactText, KeepsEveryByteAndReadsLikeAString)
{
    const std::string bytes("a\0b\xE9\xFF z", 7);
    TCompactText t(bytes);
    EXPECT_EQ(t.size(), 7u);
    EXPECT_EQ(t.view(), bytes);
    EXPECT_EQ(std::string(t), bytes);
    EXPECT_EQ(t[1], '\0');
    EXPECT_EQ(t.front(), 'a');
    EXPECT_EQ(t.back(), 'z');
    EXPECT_EQ(t.c_str()[7], '\0');
    EXPECT_TRUE(t == bytes);
    EXPECT_TRUE(bytes == t);
    EXPECT_FALSE(t != bytes);
    EXPECT_TRUE(t != "a");

    TCompactText notes("1.00 atm (N2 78%, O2 21%)");
    EXPECT_EQ(notes.find(" atm ("), 4u);
    EXPECT_EQ(notes.find('Q'), std::string::npos);
    EXPECT_EQ(notes.substr(0, 4), "1.00");
    EXPECT_TRUE(notes.starts_with("1.00") && notes.ends_with(")"));
    EXPECT_EQ("Notes: " + notes + "!", "Notes: 1.00 atm (N2 78%, O2 21%)!");
    std::string s = "x";
    s += notes;
    EXPECT_EQ(s.size(), 1 + notes.size());
    std::ostringstream out;
    out << notes;
    EXPECT_EQ(out.str(), notes.str());
}

TEST(CompactText, CopiesAreDeepMovesHandOver)
{
    TCompactText a("League of the Seven Suns");
    TCompactText b(a);
    a = "changed";
    EXPECT_EQ(b, "League of the Seven Suns");
    TCompactText c(std::move(b));
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(c, "League of the Seven Suns");
    const TCompactText &same = c;
    c = same; // self-assignment keeps the text
    EXPECT_EQ(c, "League of the Seven Suns");
    c = c.view().substr(10); // from a part of its own block
    EXPECT_EQ(c, "the Seven Suns");
    a = std::move(c);
    EXPECT_EQ(a, "the Seven Suns");
    EXPECT_TRUE(c.empty());
}

TEST(IdentityText, CanonicalGuidIsHeldInBinaryAndReadsBackTheSame)
{
    EXPECT_LE(sizeof(TIdentityText), 17u);
    const std::string guid = "{0123ABCD-4567-89EF-0A1B-2C3D4E5F6789}";
    TIdentityText id(guid);
    EXPECT_TRUE(id.IsBinaryGuid());
    EXPECT_EQ(id.size(), 38u);
    EXPECT_EQ(id.str(), guid);
    EXPECT_TRUE(id == guid);
    EXPECT_TRUE(guid == id);
    EXPECT_FALSE(id == "{0123ABCD-4567-89EF-0A1B-2C3D4E5F6788}");
    EXPECT_EQ(id + ".png", guid + ".png");

    const TIdentityText fresh = TIdentityText::NewGuid();
    EXPECT_TRUE(fresh.IsBinaryGuid());
    EXPECT_TRUE(IsGuidString(fresh.str()));
    EXPECT_EQ(fresh.str()[15], '4') << "version 4";
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i)
        seen.insert(TIdentityText::NewGuid().str());
    EXPECT_EQ(seen.size(), 100u);
}

TEST(IdentityText, OtherTextsAreKeptByteForByte)
{
    // Each of these would come back different from a binary GUID.
    for (const std::string &text :
         {std::string("{0123abcd-4567-89ef-0a1b-2c3d4e5f6789}"), std::string("0123ABCD-4567-89EF-0A1B-2C3D4E5F6789"),
          std::string("{0123ABCD-4567-89EF-0A1B-2C3D4E5F678G}"), std::string("{0123ABCD+4567-89EF-0A1B-2C3D4E5F6789}"),
          std::string("{0123ABCD-4567-89EF-0A1B-2C3D4E5F67890}"), std::string("Sol"), std::string("\0x", 2)}) {
        TIdentityText id(text);
        EXPECT_FALSE(id.IsBinaryGuid()) << text;
        EXPECT_EQ(id.str(), text);
        EXPECT_EQ(id.size(), text.size());
        EXPECT_TRUE(id == text);
        TIdentityText copy(id);
        EXPECT_EQ(copy, id);
        id = "{0123ABCD-4567-89EF-0A1B-2C3D4E5F6789}";
        EXPECT_TRUE(id.IsBinaryGuid());
        EXPECT_NE(copy, id);
        EXPECT_EQ(copy.str(), text) << "the copy owns its text";
    }
    TIdentityText empty("");
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.str(), "");
    EXPECT_TRUE(empty == "");
    EXPECT_FALSE(empty == TIdentityText::NewGuid());
}

TEST(IdentityText, MovesAndSelfAssignment)
{
    TIdentityText a("not a guid at all");
    TIdentityText b(std::move(a));
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(b.str(), "not a guid at all");
    const TIdentityText &same = b;
    b = same;
    EXPECT_EQ(b.str(), "not a guid at all");
    TIdentityText c = TIdentityText::NewGuid();
    const std::string before = c.str();
    c = std::move(b);
    EXPECT_EQ(c.str(), "not a guid at all");
    b = before;
    EXPECT_EQ(b.str(), before);
}
