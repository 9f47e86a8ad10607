// "kalvion-cli terrain FILE BODY": the map of a body of a sector made from its
// own values, and stored in the sector with --store.
#include "SurfaceTestSupport.h"

#include "cli/CliApp.h"
#include "files/SectorFile.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace kalvion {

TMapBytes StoredWorld(const std::string &file, std::int64_t bodyId);
std::unique_ptr<TStellarBody> Planet(const std::string &id);

namespace {

using test::NewGuid;
using test::ReadAll;

int Cli(std::vector<std::string> args, std::string *err = nullptr)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, e;
    const int rc = cli::RunCli(args, out, e);
    if (err)
        *err = e.str();
    return rc;
}

class CliTerrainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        F_ = Dir_.path().toStdString() + "/";
        File_ = F_ + "cli.VexaDB";
        TVexaSector s;
        auto root = TStellarBody::Create();
        root->Name = "Sol";
        root->TypeID = BODY_TYPE_STAR;
        root->AddChild(Planet(NewGuid(8)));
        s.AddSystem(std::move(root));
        ASSERT_TRUE(SaveToFile(s, File_, false));
    }
    QTemporaryDir Dir_;
    test::TUserDataFolder Data_;
    std::string F_, File_;
};

TEST_F(CliTerrainTest, StoredMapsAreThoseOfTheRawFormAndShownAfterReopening)
{
    std::string err;
    ASSERT_EQ(Cli({"terrain", File_, "Terra", "--store", "--out", F_ + "stored.png"}, &err), 0) << err;
    ASSERT_EQ(Cli({"terrain", "--seed", "31337", "--radius", "5000", "--water", "0.55", "--temp", "285",
                   "--atmosphere", "0.9", "--out", F_ + "raw.png", "--world", F_ + "raw.gex"},
                  &err),
              0)
        << err;
    EXPECT_EQ(ReadAll(F_ + "stored.png"), ReadAll(F_ + "raw.png"));

    TVexaSector reopened;
    ASSERT_TRUE(LoadFromFile(reopened, File_));
    TStellarBody *root = reopened.Systems.at(0).get();
    reopened.DynaLoad(root);
    ASSERT_FALSE(root->Children.empty());
    TStellarBody *planet = root->Children.at(0).get();
    const std::string raw = ReadAll(F_ + "raw.gex");
    EXPECT_EQ(StoredWorld(File_, planet->RecordID), TMapBytes(raw.begin(), raw.end()));
    // The stored map is what the views read: nothing is made again.
    const auto preview = reopened.GetPreviewImageStream(planet);
    ASSERT_TRUE(preview);
    const std::string png = ReadAll(F_ + "stored.png");
    EXPECT_EQ(*preview, TMapBytes(png.begin(), png.end()));

    ASSERT_EQ(Cli({"report", File_, F_ + "report/index.html", "--surface-maps"}, &err), 0) << err;
    std::string pages;
    for (const auto &e : std::filesystem::recursive_directory_iterator(F_ + "report"))
        if (e.path().extension() == ".html")
            pages += ReadAll(e.path().string());
    EXPECT_NE(pages.find("class=\"SurfaceMap\""), std::string::npos);
}

TEST_F(CliTerrainTest, ResolutionLevelsSizeTheMap)
{
    std::string err;
    ASSERT_EQ(Cli({"terrain", File_, "Terra", "--resolution", "1", "--out", F_ + "small.png"}, &err), 0) << err;
    const QImage img(QString::fromStdString(F_ + "small.png"));
    EXPECT_EQ(img.size(), QSize(256, 128));
    // Nothing was stored.
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, File_));
    s.DynaLoad(s.Systems.at(0).get());
    ASSERT_FALSE(s.Systems[0]->Children.empty());
    EXPECT_TRUE(s.Systems[0]->Children.at(0)->PreviewImageFile.empty());
}

TEST_F(CliTerrainTest, WrongUseIsRefused)
{
    EXPECT_EQ(Cli({"terrain", File_}), 2);
    EXPECT_EQ(Cli({"terrain", File_, "Terra"}), 2);
    EXPECT_EQ(Cli({"terrain", File_, "Terra", "--resolution", "6", "--out", F_ + "x.png"}), 2);
    EXPECT_EQ(Cli({"terrain", File_, "Terra", "--seed", "3", "--out", F_ + "x.png"}), 2);
    EXPECT_EQ(Cli({"terrain", "--seed", "3", "--radius", "3000", "--water", "0.5", "--temp", "280",
                   "--atmosphere", "1", "--store"}),
              2);
    EXPECT_EQ(Cli({"terrain", File_, "Sol", "--out", F_ + "x.png"}), 1);
    EXPECT_EQ(Cli({"terrain", File_, "Nobody", "--out", F_ + "x.png"}), 1);
    EXPECT_EQ(Cli({"terrain", F_ + "missing.VexaDB", "Terra", "--out", F_ + "x.png"}), 1);
}

} // namespace
} // namespace kalvion
