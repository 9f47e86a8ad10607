// The sector's surface-map operations: stored maps and terrain data, world
// files below the user's data folder, and the clean-up of generated worlds.
#include "SurfaceTestSupport.h"

#include "files/SectorFile.h"
#include "files/SurfaceMapStore.h"
#include "files/ZentDatabaseSQLite.h"
#include "model/BodyTextureNames.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "surface/GexTerrain.h"
#include "surface/PlanetTerrain.h"
#include "surface/manager/SurfaceMapOps.h"
#include "surface/manager/SurfacePalette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace kalvion {

using test::NewGuid;
using test::ReadAll;
using test::WriteAll;

// The world file stored as a body's terrain data.
TMapBytes StoredWorld(const std::string &file, std::int64_t bodyId)
{
    TZentSqliteInterface db(file, "", "", "", TZentOpenMode::ExistingOnly);
    db.AddParamInt(bodyId);
    auto rs = db.Query("select surface_map from surface_maps where body_id = ?");
    if (db.HasError || !rs->Next())
        return {};
    auto stream = rs->AsStream(0);
    return stream ? *stream : TMapBytes{};
}

std::unique_ptr<TStellarBody> Planet(const std::string &id)
{
    auto p = TStellarBody::Create();
    p->IDString = id;
    p->Name = "Terra";
    p->TypeID = BODY_TYPE_TERRESTRIAL;
    p->RandomSeed = 31337;
    p->Radius = 5000;
    p->Water = 0.55;
    p->Temp = 285;
    p->Atmosphere = 0.9;
    p->Habitability = HAB_HOSPITABLE;
    return p;
}

namespace {

class SurfaceMapOpsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder_ = Dir_.path().toStdString() + "/";
        File_ = Folder_ + "ops.VexaDB";
        auto root = TStellarBody::Create();
        root->Name = "Sol";
        root->TypeID = BODY_TYPE_STAR;
        root->AddChild(Planet(NewGuid(5)));
        Sector_.AddSystem(std::move(root));
        ASSERT_TRUE(SaveToFile(Sector_, File_, false));
        // A save may unload the system's contents.
        Sector_.DynaLoad(Sector_.Systems[0].get());
        ASSERT_FALSE(Sector_.Systems[0]->Children.empty());
        Body_ = Sector_.Systems[0]->Children[0].get();
        ASSERT_GT(Body_->RecordID, 0);
    }

    QTemporaryDir Dir_;
    test::TUserDataFolder Data_;
    std::string Folder_, File_;
    TVexaSector Sector_;
    TStellarBody *Body_ = nullptr;
};

TEST_F(SurfaceMapOpsTest, GenerateStoresTheMapAndTerrainDataAndSaysSo)
{
    EXPECT_FALSE(HasTerrainData(Sector_, *Body_));
    ASSERT_TRUE(GenerateGexSurfaceMap(Sector_, *Body_, true, DefaultVexaColorGroup()));
    EXPECT_TRUE(HasTerrainData(Sector_, *Body_));
    const std::string name = Body_->IDString + ".png";
    EXPECT_EQ(SurfaceMapResourceName(*Body_), name);
    EXPECT_EQ(Body_->PreviewImageFile, name);
    const auto resource = Sector_.ImageResources.GetResourceStreamFromFile(name);
    ASSERT_TRUE(resource);
    const auto stored = LoadSurfaceMapImage(File_, Body_->RecordID);
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, *resource);

    // The same planet made by the terrain code alone gives the same map.
    TPlanetTerrainInput in;
    in.RandomSeed = 31337;
    in.Radius = 5000;
    in.Water = 0.55;
    in.Temp = 285;
    in.Atmosphere = 0.9;
    const auto terrain = SetupPlanetTerrain(in, 512, 256);
    TMapBytes png;
    ASSERT_TRUE(EncodeMapPng(RenderTerrainMap(*terrain), png));
    EXPECT_EQ(png, *resource);
    TMapBytes world;
    terrain->SaveToStream(world);
    EXPECT_EQ(StoredWorld(File_, Body_->RecordID), world);
}

TEST_F(SurfaceMapOpsTest, GenerateRefusesWhatItCannotStore)
{
    TStellarBody giant;
    giant.IDString = NewGuid(6);
    giant.TypeID = BODY_TYPE_GASGIANT;
    EXPECT_FALSE(GenerateGexSurfaceMap(Sector_, giant, false, DefaultVexaColorGroup()));
    // A planet not yet stored cannot hold terrain data, but gets its picture.
    auto unsaved = Planet(NewGuid(7));
    EXPECT_FALSE(GenerateGexSurfaceMap(Sector_, *unsaved, true, DefaultVexaColorGroup()));
    EXPECT_EQ(unsaved->PreviewImageFile, NewGuid(7) + ".png");
    const auto picture = Sector_.ImageResources.GetResourceStreamFromFile(NewGuid(7) + ".png");
    ASSERT_TRUE(picture);
    EXPECT_EQ(QImage::fromData(picture->data(), static_cast<int>(picture->size()), "PNG").size(), QSize(512, 256));
    EXPECT_TRUE(GenerateGexSurfaceMap(Sector_, *unsaved, false, DefaultVexaColorGroup(), 64, 32));
    auto badId = Planet("not-a-guid");
    EXPECT_FALSE(GenerateGexSurfaceMap(Sector_, *badId, false, DefaultVexaColorGroup()));
    EXPECT_EQ(Sector_.ImageResources.FindResource("not-a-guid.png"), -1);
}

TEST_F(SurfaceMapOpsTest, WorldFilesLieBelowTheUsersDataFolder)
{
    EXPECT_EQ(GexFileName(*Body_), Data_.Path() + "kalvion/Planets/" + Body_->IDString + ".gex");
    auto bad = Planet("../../escape");
    EXPECT_EQ(GexFileName(*bad), "");
    EXPECT_FALSE(GexUpdateTerrain(*bad));
    TStellarBody giant;
    giant.IDString = NewGuid(1);
    giant.TypeID = BODY_TYPE_GASGIANT;
    EXPECT_EQ(GexFileName(giant), "");
}

TEST_F(SurfaceMapOpsTest, RefreshRendersTheWorldFileAndCheckRefreshesOnlyWhenOlder)
{
    EXPECT_FALSE(RefreshGexSurfaceMap(Sector_, *Body_));  // no world file: nothing
    EXPECT_FALSE(CheckGexRefresh(Sector_, *Body_));
    EXPECT_FALSE(GexUpdateTerrain(*Body_));
    TGexTerrain world(64, 32);
    world.Generate(64, 32);
    std::filesystem::create_directories(Data_.Path() + "kalvion/Planets");
    ASSERT_TRUE(world.SaveToFile(GexFileName(*Body_)));

    EXPECT_TRUE(CheckGexRefresh(Sector_, *Body_));  // no resource yet
    const auto png = Sector_.ImageResources.GetResourceStreamFromFile(SurfaceMapResourceName(*Body_));
    ASSERT_TRUE(png);
    const QImage image = QImage::fromData(png->data(), static_cast<int>(png->size()), "PNG");
    EXPECT_EQ(image.size(), QSize(64, 32));
    EXPECT_FALSE(CheckGexRefresh(Sector_, *Body_));  // the resource is as new as the world

    // The image goes to the body's texture file, where the views look for
    // a picture the sector does not hold.
    QTemporaryDir program;
    const QByteArray oldProgram = qgetenv("KALVION_DATA_DIR");
    qputenv("KALVION_DATA_DIR", program.path().toLocal8Bit());
    const std::string texture = TextureName(*Body_);
    EXPECT_EQ(texture, program.path().toStdString() + "/Textures/SurfaceMaps/" + Body_->IDString + ".png");
    const bool written = GexUpdateTerrain(*Body_);
    Body_->PreviewImageFile = "elsewhere.png";  // named, but not in the sector
    const auto shown = Sector_.GetPreviewImageStream(Body_);
    if (oldProgram.isEmpty())
        qunsetenv("KALVION_DATA_DIR");
    else
        qputenv("KALVION_DATA_DIR", oldProgram);
    ASSERT_TRUE(written);
    EXPECT_EQ(ReadAll(texture), std::string(png->begin(), png->end()));
    ASSERT_TRUE(shown);
    EXPECT_EQ(std::string(shown->begin(), shown->end()), std::string(png->begin(), png->end()));
}

TEST_F(SurfaceMapOpsTest, StoringAWorldFileKeepsItsBytes)
{
    TGexTerrain world(32, 16);
    world.Generate(32, 16);
    const std::string path = Folder_ + "import.gex";
    ASSERT_TRUE(world.SaveToFile(path));
    ASSERT_TRUE(StoreTerrainFile(Sector_, *Body_, path));
    EXPECT_TRUE(HasTerrainData(Sector_, *Body_));
    const std::string bytes = ReadAll(path);
    EXPECT_EQ(StoredWorld(File_, Body_->RecordID), TMapBytes(bytes.begin(), bytes.end()));
    EXPECT_FALSE(StoreTerrainFile(Sector_, *Body_, Folder_ + "missing.gex"));
}

TEST(ClearUneditedGexFiles, DeletesOnlyGeneratedWorldFilesNeverEdited)
{
    QTemporaryDir dir;
    const std::string f = dir.path().toStdString() + "/";
    TGexTerrain generated(16, 8);
    generated.OriginFlag = GEX_ORIGIN_GENERATED;
    ASSERT_TRUE(generated.SaveToFile(f + "generated.gex"));
    TGexTerrain edited(16, 8);
    edited.OriginFlag = GEX_ORIGIN_EDITED;
    ASSERT_TRUE(edited.SaveToFile(f + "edited.gex"));
    WriteAll(f + "notes.gex", "these are my notes, not a world");
    // Right magic and origin, but a version that carries no origin flag.
    std::string v4("Gex\x04\0\0\0\x02\0\0\0", 11);
    WriteAll(f + "old.gex", v4);
    WriteAll(f + "short.gex", "Gex");
    ASSERT_TRUE(generated.SaveToFile(f + "generated.txt"));  // outside the pattern

    EXPECT_EQ(ClearUneditedGexFiles(f, "*.gex"), 1);
    EXPECT_FALSE(std::filesystem::exists(f + "generated.gex"));
    for (const char *kept : {"edited.gex", "notes.gex", "old.gex", "short.gex", "generated.txt"})
        EXPECT_TRUE(std::filesystem::exists(f + kept)) << kept;
    EXPECT_EQ(ClearUneditedGexFiles(f + "missing-folder", "*.gex"), 0);
}

TEST(ClearUneditedGexFiles, HeadersAreCheckedFieldByField)
{
    auto header = [](const char *magic, int version, int origin) {
        std::uint8_t h[11];
        std::memcpy(h, magic, 3);
        for (int i = 0; i < 4; ++i) {
            h[3 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(version) >> (8 * i));
            h[7 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(origin) >> (8 * i));
        }
        return std::vector<std::uint8_t>(h, h + 11);
    };
    for (int v : {5, 6, 7})
        EXPECT_TRUE(IsUneditedGexHeader(header("Gex", v, 2).data(), 11)) << v;
    EXPECT_FALSE(IsUneditedGexHeader(header("Gex", 8, 2).data(), 11));
    EXPECT_FALSE(IsUneditedGexHeader(header("Gex", 7, 1).data(), 11));
    EXPECT_FALSE(IsUneditedGexHeader(header("gex", 7, 2).data(), 11));
    EXPECT_FALSE(IsUneditedGexHeader(header("Gex", 7, 2).data(), 10));
    EXPECT_FALSE(IsUneditedGexHeader(nullptr, 11));
}

} // namespace
} // namespace kalvion
