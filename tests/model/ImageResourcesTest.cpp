#include "base/AsciiText.h"
#include "base/Paths.h"
#include "model/BodyTextureNames.h"
#include "model/SectorStore.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

using namespace kalvion;
namespace fs = std::filesystem;

namespace {

// Stands in for the sector file: resource rows by name, surface maps by body.
class TFakeStore : public TSectorStore {
public:
    std::map<std::string, TByteStream> Rows;
    std::map<std::string, TByteStream> SurfaceMaps;
    int ResourceLoads = 0;

    bool LoadSystemChildren(TVexaSector &, TStellarBody &) override { return false; }
    bool LoadResourceData(TVexaSector &, TVexaImageResource &r) override
    {
        ++ResourceLoads;
        auto it = Rows.find(r.ResourceName);
        if (it == Rows.end())
            return false;
        r.Data = it->second;
        return true;
    }
    std::optional<TByteStream> LoadSurfaceMapImage(TVexaSector &, const TStellarBody &b) override
    {
        auto it = SurfaceMaps.find(b.IDString);
        if (it == SurfaceMaps.end())
            return std::nullopt;
        return it->second;
    }
};

struct ImageFiles : ::testing::Test {
    fs::path dir;

    void SetUp() override
    {
        dir = fs::path(::testing::TempDir()) /
              ("kalvion-images-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const std::string &name, const std::string &bytes)
    {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
};

TByteStream Bytes(const std::string &s) { return TByteStream(s.begin(), s.end()); }

} // namespace

TEST_F(ImageFiles, NamesAreLowerCasedPaths)
{
    TVexaImageResourceList list;
    const std::string file = Write("Blazon.PNG", "png-bytes");
    const int i = list.AddResource(file, false);
    ASSERT_EQ(i, 0);
    const TVexaImageResource *r = list.GetResource(0);
    EXPECT_EQ(r->ResourceName, AsciiLower(file));
    EXPECT_TRUE(r->Loaded);
    EXPECT_TRUE(r->Modified);
    EXPECT_EQ(r->Data, Bytes("png-bytes"));
    EXPECT_EQ(list.FindResource(file), 0);
    std::string upper = file;
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(list.FindResource(upper), 0);
    EXPECT_EQ(list.FindResource(""), -1);

    // Known name: the index either way; bytes refreshed only with replace.
    Write("Blazon.PNG", "new-bytes");
    EXPECT_EQ(list.AddResource(file, false), 0);
    EXPECT_EQ(list.GetResource(0)->Data, Bytes("png-bytes"));
    EXPECT_EQ(list.AddResource(file, true), 0);
    EXPECT_EQ(list.GetResource(0)->Data, Bytes("new-bytes"));
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(ImageFiles, MissingFilesAndBlankNames)
{
    TVexaImageResourceList list;
    EXPECT_EQ(list.AddResource((dir / "missing.png").string(), true), -1);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.ResourceExists(""));
    EXPECT_TRUE(list.ResourceExists("  "));
    EXPECT_FALSE(list.ResourceExists((dir / "missing.png").string()));
    const std::string file = Write("a.png", "x");
    EXPECT_TRUE(list.ResourceExists(file));
    list.AddResourceStream("Only In Memory", Bytes("m"), false);
    EXPECT_TRUE(list.ResourceExists("only in memory"));
    EXPECT_EQ(list.GetResource(5), nullptr);
    EXPECT_FALSE(list.GetResourceStream(5).has_value());
}

TEST_F(ImageFiles, DeletedResourcesAreSkippedAndReplacedByNewOnes)
{
    TVexaImageResourceList list;
    const std::string file = Write("map.png", "one");
    list.AddResource(file, false);
    EXPECT_TRUE(list.DeleteByName(file));
    EXPECT_FALSE(list.DeleteByName(file));
    EXPECT_TRUE(list.GetResource(0)->Deleted);
    EXPECT_EQ(list.FindResource(file), -1);
    EXPECT_EQ(list.AddResource(file, false), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.FindResource(file), 1);
}

TEST_F(ImageFiles, StreamsAndCopiesBetweenLists)
{
    TVexaImageResourceList list;
    EXPECT_EQ(list.AddResourceStream(BACKGROUNDRESOURCE_SECTOR, Bytes("bg"), false), 0);
    EXPECT_EQ(list.GetResource(0)->ResourceName, "backgroundimage");
    EXPECT_TRUE(list.GetResource(0)->Loaded);
    EXPECT_EQ(list.AddResourceStream("BACKGROUNDIMAGE", Bytes("other"), false), 0);
    EXPECT_EQ(*list.GetResourceStreamFromFile("backgroundImage"), Bytes("bg"));

    // Replacing the bytes of a resource whose data is still in the file makes
    // the new bytes the ones kept.
    TVexaImageResource *r = list.GetResource(0);
    r->Loaded = false;
    r->Modified = false;
    r->Data.clear();
    EXPECT_FALSE(list.GetResourceStream(0).has_value());
    list.AddResourceStream("backgroundimage", Bytes("replaced"), true);
    EXPECT_TRUE(r->Loaded);
    EXPECT_TRUE(r->Modified);
    EXPECT_EQ(*list.GetResourceStream(0), Bytes("replaced"));

    TVexaImageResourceList other;
    other.AddResourceStream("BackgroundImage", Bytes("theirs"), false);
    other.AddResourceStream("Crest", Bytes("crest"), false);
    other.AddResourceStream("Gone", Bytes("gone"), false);
    other.DeleteByName("gone");
    list.AddFrom(other);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(*list.GetResourceStreamFromFile("backgroundimage"), Bytes("replaced"));
    const TVexaImageResource *crest = list.GetResourceFromFile("CREST");
    ASSERT_NE(crest, nullptr);
    EXPECT_TRUE(crest->Loaded && crest->Modified);
    EXPECT_EQ(crest->TimeStamp, other.GetResource(1)->TimeStamp);
    EXPECT_NE(crest, other.GetResource(1));
}

TEST_F(ImageFiles, TimeStampsCountDaysFrom1899)
{
    const std::string file = Write("old.png", "x");
    // 2020-01-01 00:00:00 UTC is day 43831.
    const std::chrono::sys_seconds when{std::chrono::sys_days{std::chrono::year{2020} / 1 / 1}};
    fs::last_write_time(file, std::chrono::file_clock::from_sys(when));
    TVexaImageResourceList list;
    list.AddResource(file, false);
    // Local time differs from UTC by less than a day.
    EXPECT_LT(std::fabs(list.GetResource(0)->TimeStamp - 43831.0), 1.0);
}

TEST_F(ImageFiles, SectorSavesAndLoadsResourcesOnDemand)
{
    TVexaSector sector;
    TFakeStore store;
    sector.Store = &store;
    sector.FileName = (dir / "sector.VexaDB").string();
    store.Rows["stored.png"] = Bytes("from-file");

    // A resource listed from the file but not loaded.
    auto stored = std::make_unique<TVexaImageResource>();
    stored->ResourceName = "stored.png";
    stored->Modified = false;
    sector.ImageResources.Add(std::move(stored));
    EXPECT_EQ(sector.ResourceCount(), 1);
    EXPECT_EQ(sector.GetResourceName(0), "stored.png");
    EXPECT_EQ(sector.GetResourceName(1), "");

    const std::string out = (dir / "out.png").string();
    EXPECT_TRUE(sector.SaveResourceToFile("STORED.png", out));
    std::ifstream in(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "from-file");
    // Loaded for the call only.
    EXPECT_FALSE(sector.ImageResources.GetResource(0)->Loaded);
    EXPECT_TRUE(sector.ImageResources.GetResource(0)->Data.empty());
    EXPECT_TRUE(sector.SaveResourceByIndex(0, out));
    EXPECT_FALSE(sector.SaveResourceByIndex(3, out));
    EXPECT_FALSE(sector.SaveResourceToFile("nothing", out));
    EXPECT_FALSE(sector.SaveResourceToFile("stored.png", (dir / "no-such-dir" / "x.png").string()));

    // The image stream keeps the data loaded.
    auto bytes = sector.GetResourceImageStream("stored.png");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, Bytes("from-file"));
    EXPECT_TRUE(sector.ImageResources.GetResource(0)->Loaded);

    // A file not yet a resource is read and adopted.
    const std::string loose = Write("Loose.png", "loose");
    auto looseBytes = sector.GetResourceImageStream(loose);
    ASSERT_TRUE(looseBytes.has_value());
    EXPECT_EQ(*looseBytes, Bytes("loose"));
    EXPECT_GE(sector.FindResource(loose), 0);
    EXPECT_FALSE(sector.GetResourceImageStream((dir / "none.png").string()).has_value());

    sector.AddResourceFile((dir / "none.png").string());
    EXPECT_EQ(sector.ResourceCount(), 2);
}

TEST_F(ImageFiles, PreviewAndBlazonImages)
{
    TVexaSector sector;
    TFakeStore store;
    sector.Store = &store;
    sector.FileName = (dir / "sector.VexaDB").string();

    auto root = TStellarBody::Create();
    root->TypeID = BODY_TYPE_TERRESTRIAL;
    TStellarBody *planet = root.get();
    sector.AddSystem(std::move(root));

    // Without a preview file: the stored surface map, or none.
    EXPECT_FALSE(sector.GetPreviewImageStream(planet).has_value());
    store.SurfaceMaps[planet->IDString] = Bytes("surface");
    EXPECT_EQ(*sector.GetPreviewImageStream(planet), Bytes("surface"));

    const std::string file = Write("Preview.JPG", "jpeg");
    planet->TVexaBase::Modified = false;
    sector.SetPreviewImage(planet, file);
    EXPECT_TRUE(planet->TVexaBase::Modified);
    EXPECT_EQ(planet->PreviewImageFile, file);
    EXPECT_EQ(*sector.GetPreviewImageStream(planet), Bytes("jpeg"));

    // Stored in the sector file only: fetched once and kept in the list.
    planet->PreviewImageFile = "C:\\Maps\\Old.png";
    store.Rows["c:\\maps\\old.png"] = Bytes("old");
    EXPECT_EQ(*sector.GetPreviewImageStream(planet), Bytes("old"));
    const int idx = sector.FindResource("C:\\MAPS\\OLD.PNG");
    ASSERT_GE(idx, 0);
    EXPECT_FALSE(sector.ImageResources.GetResource(idx)->Modified);

    // Neither resource nor texture file: none, and nothing is added.
    planet->PreviewImageFile = "nowhere.png";
    const int before = sector.ResourceCount();
    EXPECT_FALSE(sector.GetPreviewImageStream(planet).has_value());
    EXPECT_EQ(sector.ResourceCount(), before);

    // Blazons mark the body only; an empty name clears it for the selection.
    const std::string crest = Write("crest.png", "crest");
    sector.SelectBody(planet);
    sector.SetBlazonSelected(true, true, crest);
    EXPECT_EQ(planet->BlazonImageFile, crest);
    EXPECT_TRUE(planet->BlazonDisplay && planet->BlazonWrap);
    EXPECT_GE(sector.FindResource(crest), 0);
    sector.SetBlazonSelected(false, false, "");
    EXPECT_EQ(planet->BlazonImageFile, "");
    EXPECT_FALSE(planet->BlazonWrap);
}

TEST(BodyTextures, NamesFollowTypeAndSpectralClass)
{
    EXPECT_EQ(TextureNameFromSpectral("K5V"), "Star-K.png");
    EXPECT_EQ(TextureNameFromSpectral("gk2"), "Star-K.png");
    EXPECT_EQ(TextureNameFromSpectral(""), "Star-F.png");
    EXPECT_EQ(TextureNameFromSpectral("M2"), "Star-M.png");
    TStellarBody b;
    b.TypeID = BODY_TYPE_TERRESTRIAL;
    EXPECT_EQ(TextureName(b), ProgramSubfolder("Textures/SurfaceMaps") + b.IDString + ".png");
    EXPECT_EQ(DefaultTextureFile(b), "");
    b.TypeID = BODY_TYPE_SHIP;
    EXPECT_EQ(TextureName(b), ProgramSubfolder("Textures") + "Ship1.png");
    EXPECT_EQ(DefaultTextureFile(b), ProgramSubfolder("Textures") + "Star-F.png");
    b.TypeID = 77;
    EXPECT_EQ(TextureName(b), ProgramSubfolder("Textures") + "Star-F.png");
}
