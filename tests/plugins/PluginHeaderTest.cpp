// Reading plug-in header lines.
#include "plugins/PluginInfo.h"

#include <gtest/gtest.h>

namespace kalvion {
namespace {

TEST(PluginHeader, LaterKindDirectiveDecidesKindAndName)
{
    const auto p = ParsePluginHeader("#plugin A\r\n' a comment\r\n#filter B\r\nMsgBox 1\r\n");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Kind, PLUGIN_KIND_FILTER);
    EXPECT_EQ(p->PluginName, "B");
}

TEST(PluginHeader, DirectivesMatchByPrefixIgnoringCaseAndKeepTheValueAsWritten)
{
    const auto p = ParsePluginHeader("#PlugIn   Populated Systems  \n#description Foo\n#AUTHOR Ann Smith\n"
                                     "#version 1.2\n#menuhotkey Ctrl+Shift+P\n#FileExt .XyZ\n#extdesc Xyz Maps\n");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Kind, PLUGIN_KIND_FEATURE);
    EXPECT_EQ(p->PluginName, "Populated Systems");
    // "#description" is read as "#desc" followed by the rest.
    EXPECT_EQ(p->Description, "ription Foo");
    EXPECT_EQ(p->Author, "Ann Smith");
    EXPECT_EQ(p->Version, "1.2");
    EXPECT_EQ(p->MenuHotkey, "Ctrl+Shift+P");
    EXPECT_EQ(p->FileExt, ".XyZ");
    EXPECT_EQ(p->ExtDesc, "Xyz Maps");
}

TEST(PluginHeader, OnlyLinesStartingWithHashCountAnywhereInTheFile)
{
    const auto p = ParsePluginHeader("Dim x\r  #author Nobody\r#author Late\r#travelcalc Warp\r#author Last");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Kind, PLUGIN_KIND_TRAVELCALC);
    EXPECT_EQ(p->Author, "Last");
}

TEST(PluginHeader, MenuInsertNeedsTwoNumbers)
{
    auto p = ParsePluginHeader("#plugin A\n#menuinsert 2 1\n");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->MenuIndex, 2);
    EXPECT_EQ(p->MenuPosition, 1);
    p = ParsePluginHeader("#plugin A\n#menuinsert 3\n");
    EXPECT_EQ(p->MenuIndex, 0);
    EXPECT_EQ(p->MenuPosition, 0);
    p = ParsePluginHeader("#plugin A\n#menuinsert 3 x\n#menuinsert 99999999999 1\n");
    EXPECT_EQ(p->MenuIndex, 0);
    // A refused line leaves an earlier good one alone.
    p = ParsePluginHeader("#plugin A\n#menuinsert 4 2\n#menuinsert four 2\n");
    EXPECT_EQ(p->MenuIndex, 4);
    EXPECT_EQ(p->MenuPosition, 2);
}

TEST(PluginHeader, TextWithoutKindIsNoPlugin)
{
    EXPECT_FALSE(ParsePluginHeader("#author Someone\n#desc Nothing\nMsgBox 1\n"));
    EXPECT_FALSE(ParsePluginHeader(""));
    EXPECT_FALSE(ParsePluginHeader(std::string("\0\0#\xff\r\r\n", 7)));
    // An empty name is still a plug-in of that kind.
    const auto p = ParsePluginHeader("#bodygen");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Kind, PLUGIN_KIND_BODYGEN);
    EXPECT_EQ(p->PluginName, "");
}

TEST(PluginHeader, KindNames)
{
    EXPECT_STREQ(PluginKindName(PLUGIN_KIND_FEATURE), "feature");
    EXPECT_STREQ(PluginKindName(PLUGIN_KIND_BODYGEN), "body gen");
    EXPECT_STREQ(PluginKindName(PLUGIN_KIND_FILEHANDLER), "file handler");
    EXPECT_STREQ(PluginKindName(PLUGIN_KIND_POPMENU), "pop menu");
    EXPECT_STREQ(PluginKindName(PLUGIN_KIND_TRAVELCALC), "travel calc");
    EXPECT_STREQ(PluginKindName(8), "");
}

} // namespace
} // namespace kalvion
