// Scanning plug-in folders and the lists built from them.
#include "plugins/PluginMgr.h"

#include "../support/StuckPipe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace kalvion {
namespace {

namespace fs = std::filesystem;

class PluginMgrTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Root = fs::temp_directory_path() /
               ("kalvion_plugins_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Root);
        fs::create_directories(Root / "prog" / "Plugins");
        fs::create_directories(Root / "user" / "Plugins");
        Mgr.PluginFolders = {(Root / "prog" / "Plugins").string() + "/", (Root / "user" / "Plugins").string() + "/"};
        // Image "files" here are text naming their size: "W H".
        Mgr.ImageSize = [](const std::string &path, int &w, int &h) {
            std::ifstream in(path);
            return static_cast<bool>(in >> w >> h);
        };
    }
    void TearDown() override { fs::remove_all(Root); }

    void Write(const fs::path &rel, const std::string &text)
    {
        fs::create_directories((Root / rel).parent_path());
        std::ofstream(Root / rel, std::ios::binary) << text;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> n;
        for (const auto &p : Mgr.Plugins)
            n.push_back(p.PluginName);
        return n;
    }

    fs::path Root;
    TVexaPluginMgr Mgr;
};

TEST_F(PluginMgrTest, ScansVexaScriptThenVbsInBothFoldersAndSkipsOtherFiles)
{
    Write("prog/Plugins/b.vbs", "#plugin B");
    Write("prog/Plugins/a.VBS", "#plugin A");
    Write("prog/Plugins/z.VexaScript", "#filter Z");
    Write("prog/Plugins/notes.txt", "#plugin Text");
    Write("prog/Plugins/plain.vbs", "MsgBox 1");
    Write("user/Plugins/mine.vexascript", "#travelcalc Mine");
    fs::create_directories(Root / "prog/Plugins/dir.vbs");
    Mgr.Scan();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Z", "A", "B", "Mine"}));
    EXPECT_EQ(Mgr.Plugins[0].FileName, Mgr.PluginFolders[0] + "z.VexaScript");
    EXPECT_TRUE(Mgr.Plugins[0].Active);
    // The folder named like a script is said to be left out.
    ASSERT_EQ(Mgr.ScanMessages.size(), 1u);
    EXPECT_NE(Mgr.ScanMessages[0].find("dir.vbs"), std::string::npos);
}

TEST_F(PluginMgrTest, UnreadableFileIsSkippedWithAMessageAndTheOthersLoad)
{
    Write("prog/Plugins/good1.vbs", "#plugin One");
    fs::create_symlink(Root / "nowhere.vbs", Root / "prog/Plugins/broken.vbs");
    Write("prog/Plugins/good2.vbs", "#plugin Two");
    Mgr.Scan();
    EXPECT_EQ(Names(), (std::vector<std::string>{"One", "Two"}));
    ASSERT_EQ(Mgr.ScanMessages.size(), 1u);
    EXPECT_NE(Mgr.ScanMessages[0].find("broken.vbs"), std::string::npos);
    EXPECT_NE(Mgr.ScanMessages[0].find("could not be read"), std::string::npos);
}

TEST_F(PluginMgrTest, PipesAndDevicesAreNeverOpenedAndHugeNamesAreCut)
{
    Write("prog/Plugins/a.vbs", "#plugin Before");
    test::TStuckPipe pipe((Root / "prog/Plugins/pipe.vbs").string());
    ASSERT_TRUE(pipe.Made);
    fs::create_symlink("/dev/zero", Root / "user/Plugins/zero.vbs");
    // A name of 15 MB and a description in two-byte letters.
    std::string desc = "x";
    for (int i = 0; i < 600; ++i)
        desc += "\xc3\xa9";
    Write("user/Plugins/huge.vbs", "#plugin " + std::string(15u << 20, 'N') + "\n#desc " + desc + "\nMsgBox 1\n");
    Mgr.Scan();
    EXPECT_FALSE(pipe.Finish()) << "the scan opened the pipe";
    ASSERT_EQ(Mgr.Plugins.size(), 2u);
    EXPECT_EQ(Mgr.Plugins[0].PluginName, "Before");
    const TVexaPluginInfo &huge = Mgr.Plugins[1];
    EXPECT_EQ(huge.PluginName, std::string(kMaxPluginHeaderValue, 'N'));
    // Cut before a letter that would not fit whole.
    EXPECT_EQ(huge.Description, desc.substr(0, kMaxPluginHeaderValue - 1));
    ASSERT_EQ(Mgr.ScanMessages.size(), 2u);
    EXPECT_NE(Mgr.ScanMessages[0].find("pipe.vbs"), std::string::npos);
    EXPECT_NE(Mgr.ScanMessages[0].find("not a regular file"), std::string::npos);
    EXPECT_NE(Mgr.ScanMessages[1].find("zero.vbs"), std::string::npos);
    EXPECT_NE(Mgr.ScanMessages[1].find("not a regular file"), std::string::npos);
}

TEST_F(PluginMgrTest, MissingFoldersGiveNoPlugins)
{
    Mgr.PluginFolders = {(Root / "absent/").string()};
    Mgr.Scan();
    EXPECT_TRUE(Mgr.Plugins.empty());
    EXPECT_TRUE(Mgr.ScanMessages.empty());
}

TEST_F(PluginMgrTest, ButtonImagesAreCheckedForSizeAndKeptInsideTheFolder)
{
    Write("prog/Plugins/img/ok16.bmp", "20 16");
    Write("prog/Plugins/wide.bmp", "32 16");
    Write("prog/Plugins/big.bmp", "40 40");
    Write("prog/Plugins/w16.bmp", "16 40");
    Write("prog/secret.bmp", "16 16");
    Write("prog/Plugins/a.vbs", "#plugin A\n#button img/ok16.bmp");
    Write("prog/Plugins/b.vbs", "#plugin B\n#button wide.bmp");
    Write("prog/Plugins/c.vbs", "#plugin C\n#button big.bmp");
    Write("prog/Plugins/d.vbs", "#plugin D\n#button missing.bmp");
    Write("prog/Plugins/e.vbs", "#plugin E\n#button ../secret.bmp");
    Write("prog/Plugins/f.vbs", "#plugin F\n#button " + (Root / "prog/secret.bmp").string());
    Write("prog/Plugins/g.vbs", "#plugin G\n#button img\\..\\..\\secret.bmp");
    Write("prog/Plugins/h.vbs", "#plugin H\n#button w16.bmp");
    fs::create_symlink(Root / "prog/secret.bmp", Root / "prog/Plugins/link.bmp");
    Write("prog/Plugins/i.vbs", "#plugin I\n#button link.bmp");
    Mgr.Scan();
    std::map<std::string, std::string> bitmaps;
    for (const auto &p : Mgr.Plugins)
        bitmaps[p.PluginName] = p.ButtonBitmap;
    EXPECT_EQ(bitmaps["A"], fs::weakly_canonical(Root / "prog/Plugins/img/ok16.bmp").string());
    EXPECT_FALSE(bitmaps["B"].empty());
    EXPECT_FALSE(bitmaps["H"].empty());
    EXPECT_TRUE(bitmaps["C"].empty());
    EXPECT_TRUE(bitmaps["D"].empty());
    EXPECT_TRUE(bitmaps["E"].empty());
    EXPECT_TRUE(bitmaps["F"].empty());
    EXPECT_TRUE(bitmaps["G"].empty());
    EXPECT_TRUE(bitmaps["I"].empty());
    // Each refusal outside the folder says so.
    EXPECT_EQ(Mgr.ScanMessages.size(), 4u);
}

TEST_F(PluginMgrTest, DisabledNamesClearTheFirstOfThatNameOnly)
{
    Write("prog/Plugins/1.vbs", "#plugin Same");
    Write("prog/Plugins/2.vbs", "#plugin Same");
    Write("prog/Plugins/3.vbs", "#filter Other");
    Mgr.Scan();
    Mgr.ApplyDisabled({"Same", "Unknown", "other"});
    EXPECT_FALSE(Mgr.Plugins[0].Active);
    EXPECT_TRUE(Mgr.Plugins[1].Active);
    EXPECT_TRUE(Mgr.Plugins[2].Active);
    EXPECT_EQ(Mgr.DisabledNames(), std::vector<std::string>{"Same"});
}

TEST_F(PluginMgrTest, MenuPlaceFallsBackToTheKindsMenu)
{
    TVexaPluginInfo p;
    const auto items = [](int menu) { return menu == 1 ? 3 : 10; };
    p.MenuIndex = 2;
    p.MenuPosition = 1;
    EXPECT_EQ(TVexaPluginMgr::MenuPlace(p, 10, items), std::make_pair(1, 0));
    p.MenuPosition = 3;
    EXPECT_EQ(TVexaPluginMgr::MenuPlace(p, 10, items), std::make_pair(1, 2));
    p.MenuPosition = 4;
    EXPECT_EQ(TVexaPluginMgr::MenuPlace(p, 10, items), std::make_pair(-1, -1));
    p.MenuIndex = 11;
    p.MenuPosition = 1;
    EXPECT_EQ(TVexaPluginMgr::MenuPlace(p, 10, items), std::make_pair(-1, -1));
    p.MenuIndex = 0;
    EXPECT_EQ(TVexaPluginMgr::MenuPlace(p, 10, items), std::make_pair(-1, -1));
    p.MenuIndex = -2;
    p.MenuPosition = -1;
    EXPECT_EQ(TVexaPluginMgr::MenuPlace(p, 10, items), std::make_pair(-1, -1));
}

TEST_F(PluginMgrTest, FileHandlersAndTheOpenFilter)
{
    Write("prog/Plugins/a.vbs", "#filehandler Xyz\n#fileext .XYZ\n#extdesc Xyz Maps");
    Write("prog/Plugins/b.vbs", "#filehandler Plain\n#fileext .abc");
    Write("prog/Plugins/c.vbs", "#filehandler NoExt");
    Write("prog/Plugins/d.vbs", "#filehandler Db\n#fileext .vexadb");
    Write("prog/Plugins/e.vbs", "#filehandler Second\n#fileext .xyz");
    Mgr.Scan();
    EXPECT_EQ(Mgr.OpenFilter("All Files (*.*)|*.*"),
              "All Files (*.*)|*.*|Xyz Maps (*.XYZ)|*.XYZ|(*.abc)|*.abc|(*.vexadb)|*.vexadb|(*.xyz)|*.xyz");
    EXPECT_EQ(Mgr.FindFileHandler("/maps/map.xyz"), 0);
    EXPECT_EQ(Mgr.FindFileHandler("/maps/MAP.Abc"), 1);
    EXPECT_EQ(Mgr.FindFileHandler("/maps/map.VexaDB"), -1);
    EXPECT_EQ(Mgr.FindFileHandler("/maps/map.VEXADB"), -1);
    EXPECT_EQ(Mgr.FindFileHandler("/maps.xyz/map"), -1);
    EXPECT_EQ(Mgr.FindFileHandler("/maps/map.sector"), -1);
    EXPECT_EQ(PluginFileExtension("/a.b/c"), "");
    EXPECT_EQ(PluginFileExtension("c:\\x.y\\map.Sec"), ".Sec");
}

TEST_F(PluginMgrTest, GeneratorAndTravelListsAreSorted)
{
    Write("prog/Plugins/1.vbs", "#bodygen zeta");
    Write("prog/Plugins/2.vbs", "#bodygen Alpha");
    Write("prog/Plugins/3.vbs", "#travelcalc Warp");
    Write("prog/Plugins/4.vbs", "#travelcalc jump gate");
    Write("prog/Plugins/5.vbs", "#generator Whole Sector");
    Mgr.Scan();
    EXPECT_EQ(Mgr.BodyGeneratorNames(),
              (std::vector<std::string>{"Kalvion Standard Generator", "Alpha", "zeta"}));
    EXPECT_EQ(Mgr.TravelMethodNames(), (std::vector<std::string>{"jump gate", "Warp"}));
    EXPECT_EQ(Mgr.FindByName(PLUGIN_KIND_BODYGEN, "Alpha"), 1);
    EXPECT_EQ(Mgr.FindByName(PLUGIN_KIND_TRAVELCALC, "Alpha"), -1);
    EXPECT_EQ(Mgr.OfKind(PLUGIN_KIND_GENERATOR), std::vector<int>{4});
}

} // namespace
} // namespace kalvion
