#include "ByteWriter.h"
#include "RecordFileV4.h"
#include "files/LegacySectorFiles.h"
#include "files/VexaDBSQLite.h"
#include "files/ZentDatabaseSQLite.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <iterator>

using namespace kalvion;

namespace {

using namespace kalvion::test;

std::string TempFile(const std::string &name)
{
    return ::testing::TempDir() + "/" + name;
}

void WriteFile(const std::string &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void GuidBytes(ByteWriter &w, int first)
{
    w.raw({0x33, 0x22, 0x11, first, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF});
}

// Sector settings of a version 2 stream.
void SectorInfoV2(ByteWriter &w)
{
    w.str("Old Sector").str("notes").str("secret").boolean(false).f64(30).f64(40).f64(50).i32(9);
    w.f64(0).f64(0).f64(0).f64(15).f64(0).f64(150);
    w.i32(GRID_STYLE_CUBE).f64(10).f64(10).f64(10).f64(5).boolean(true).i32(0x808080).str("Arial");
    w.i32(0).i32(0).i32(0);
    w.i32(2).str("").boolean(true).str("League").boolean(false);
    w.str("Light Years").str("ly").f64(1).f64(5);
}

void BodyV2(ByteWriter &w, int guidFirst, const std::string &name, int type, double x, double population,
            int children)
{
    GuidBytes(w, guidFirst);
    w.str(name).i32(123).f64(x).f64(1).f64(2).i32(type).str("").str("G2").i32(0xFFFFFF).i32(0xFF).i32(0);
    w.f64(20).f64(40);                                                   // label and route distances
    w.f64(1.5e8).f64(6000).f64(1).f64(1).f64(24).f64(1).f64(0.3).f64(288); // the eight doubles
    w.f64(1).str("air").f64(0.7);                                        // atmosphere, notes, water
    w.i32(HAB_HABITABLE).f64(population).str("League");
    w.i32(1).i32(0xC0C0C0).f64(2.5);                                     // sphere of influence
    w.str("n").str("gm").i32(children);
}

std::vector<std::uint8_t> StreamFileV2()
{
    ByteWriter w;
    w.str("Kalvion 2.0").i32(2);
    SectorInfoV2(w);
    w.boolean(true); // hide unassigned
    w.i32(1).str("Core").i32(0xFF0000).boolean(true).i32(0).boolean(false).f64(0).f64(0).f64(0).f64(10).f64(10).f64(10);
    w.i32(2);
    BodyV2(w, 0x00, "Alpha", BODY_TYPE_STAR, 3, 10, 1);
    BodyV2(w, 0x01, "Alpha I", BODY_TYPE_TERRESTRIAL, 0, 1000, 0);
    BodyV2(w, 0x10, "Beta", BODY_TYPE_STAR, -3, 0, 0);
    w.i32(2).str("").boolean(true).str("Trade").boolean(false);
    w.i32(1).str("Spinward").str("Trade").f64(1).f64(0.5).f64(0).i32(ROUTE_LINE_DASH).f64(2);
    w.i32(3).str(kIdA).f64(0).f64(0).f64(0).str(kIdB).f64(0).f64(0).f64(0).str("{GONE}").f64(0).f64(0).f64(0);
    return w.b;
}

} // namespace

TEST(LegacyFiles, FileKinds)
{
    const std::string stream = TempFile("kind-stream.Sector");
    WriteFile(stream, StreamFileV2());
    EXPECT_EQ(GetVexaFileVersion(stream), 1);
    const std::string record = TempFile("kind-record.Sector");
    WriteFile(record, RecordFileV4());
    EXPECT_EQ(GetVexaFileVersion(record), 2);
    const std::string db = TempFile("kind.VexaDB");
    WriteFile(db, {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', 0});
    EXPECT_EQ(GetVexaFileVersion(db), 3);
    const std::string text = TempFile("kind.txt");
    WriteFile(text, {'h', 'e', 'l', 'l', 'o', '\n'});
    EXPECT_EQ(GetVexaFileVersion(text), 0);
    EXPECT_EQ(GetVexaFileVersion(TempFile("missing.Sector")), 0);
    ByteWriter v3;
    v3.str("Kalvion").i32(3);
    const std::string three = TempFile("kind-v3.Sector");
    WriteFile(three, v3.b);
    EXPECT_EQ(GetVexaFileVersion(three), 1);
}

TEST(LegacyFiles, StreamFileVersion2)
{
    const std::string path = TempFile("Old Sector.Sector");
    WriteFile(path, StreamFileV2());
    TVexaSector s;
    s.Modified = true;
    const TLegacyLoadResult r = LoadFromFile_v1_v2(s, path);
    ASSERT_TRUE(r.Ok) << r.ErrorText;
    EXPECT_FALSE(s.Modified);
    EXPECT_EQ(s.Name, "Old Sector");
    EXPECT_EQ(s.FileName, path);
    EXPECT_EQ(s.Notes, "notes");
    EXPECT_DOUBLE_EQ(s.SizeY, 40);
    EXPECT_EQ(s.BaseFont, "Arial");
    EXPECT_TRUE(s.FilterHideUnassignedSubsector);
    EXPECT_EQ(s.Camera, (TVexaPoint{15, 0, 150}));
    ASSERT_EQ(s.SubsectorCount(), 1);
    EXPECT_EQ(s.GetSubsector(0)->Name, "Core");
    EXPECT_TRUE(s.GetSubsector(0)->Modified);
    ASSERT_EQ(s.SystemCount(), 2);
    TStellarBody *alpha = s.GetSystem(0);
    EXPECT_EQ(alpha->IDString, kIdA);
    EXPECT_DOUBLE_EQ(alpha->X, 3);
    EXPECT_DOUBLE_EQ(alpha->LabelDistance, 20);
    EXPECT_DOUBLE_EQ(alpha->Water, 0.7);
    EXPECT_DOUBLE_EQ(alpha->SphereInfluenceSize, 2.5);
    EXPECT_TRUE(alpha->TVexaBase::Modified);
    ASSERT_EQ(alpha->ChildrenCount(), 1);
    EXPECT_EQ(alpha->GetChild(0)->Name, "Alpha I");
    EXPECT_DOUBLE_EQ(alpha->ChildPopulation, 1010); // roll-ups recomputed
    EXPECT_EQ(alpha->BodyCount, 2);
    EXPECT_EQ(s.FindRouteType("trade"), 1);
    EXPECT_FALSE(s.RouteTypeList[1].Visible);
    ASSERT_EQ(s.RouteCount(), 1);
    TStellarRoute *route = s.GetRoute(0);
    EXPECT_EQ(route->WaypointCount(), 2); // the unknown system's waypoint is dropped
    EXPECT_EQ(route->GetWaypoint(1)->Body, s.GetSystem(1));
    EXPECT_FALSE(route->Visible); // its type is hidden
    EXPECT_FALSE(s.GetSystem(1)->Visible); // outside every subsector while unassigned ones are hidden
    EXPECT_EQ(s.PoliticalList.size(), 2u);
}

TEST(LegacyFiles, NewerVersionsAreRefusedWithTheCreator)
{
    ByteWriter w;
    w.str("Kalvion 9.9 built by a much later release of the program").i32(7);
    const std::string path = TempFile("newer.Sector");
    WriteFile(path, w.b);
    TVexaSector s;
    const TLegacyLoadResult r = LoadFromFile_v1_v2(s, path);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.ErrorTitle, "Cannot open file");
    EXPECT_EQ(r.ErrorText, std::string(FILE_ERROR_VERSION) + "Kalvion 9.9 built by a much late"); // 32 characters
}

TEST(LegacyFiles, RecordFileLoadsHeadersThenChildrenOnDemand)
{
    const std::string path = TempFile("Records.Sector");
    WriteFile(path, RecordFileV4());
    TVexaSector s;
    TLegacyLoadResult r = LoadFromFile_v1_v2(s, path);
    ASSERT_TRUE(r.Ok) << r.ErrorText;
    ASSERT_NE(r.RecordFile, nullptr);
    EXPECT_EQ(s.IDString, "{SECTOR}");
    EXPECT_EQ(s.UnitStarMeasureAbbrev, "pc");
    EXPECT_EQ(s.GetField("author"), "me");
    ASSERT_EQ(s.SystemCount(), 1); // the deleted record is skipped
    TStellarBody *g = s.GetSystem(0);
    EXPECT_EQ(g->Name, "Gamma");
    EXPECT_DOUBLE_EQ(g->Z, 9);
    EXPECT_DOUBLE_EQ(g->RouteDistance, 22);
    EXPECT_EQ(g->SphereInfluenceColor, 0x123456u);
    EXPECT_TRUE(g->BlazonDisplay);
    EXPECT_EQ(g->BlazonImageFile, "blazon.png");
    EXPECT_EQ(g->GetField("founded"), "value");
    EXPECT_FALSE(g->Loaded);
    EXPECT_FALSE(g->TVexaBase::Modified);
    EXPECT_EQ(g->ChildrenCount(), 0);
    ASSERT_EQ(s.RouteCount(), 1);
    EXPECT_EQ(s.GetRoute(0)->GetWaypoint(0)->Body, g);
    EXPECT_EQ(s.FindRouteType("Trade"), 1);
    ASSERT_EQ(s.ImageResources.Count(), 1);

    ASSERT_TRUE(DynaLoad_v2(s, *r.RecordFile, *g));
    EXPECT_TRUE(g->Loaded);
    ASSERT_EQ(g->ChildrenCount(), 1);
    EXPECT_EQ(g->GetChild(0)->Name, "Gamma I");
    TVexaImageResource &img = *s.ImageResources.Resources[0];
    EXPECT_EQ(img.IDString, "{IMG}"); // from the record header
    ASSERT_TRUE(DynaLoadResource_v2(s, *r.RecordFile, img));
    EXPECT_EQ(img.Data, (TByteStream{0x89, 'P', 'N', 'G'}));

    // Through the document's own dynamic loading, after closing the file.
    s.Store = r.RecordFile.get();
    s.DynaClearActiveDB();
    g->UnloadChildren();
    g->Loaded = false;
    s.DynaLoad(g);
    EXPECT_TRUE(g->Loaded);
    EXPECT_EQ(g->ChildrenCount(), 1);
    s.Store = nullptr;
}

TEST(LegacyFiles, SaveToDbWritesNothingAndKeepsTheFlag)
{
    TVexaSector s;
    s.Modified = true;
    EXPECT_FALSE(SaveToDB(s, TempFile("x.Sector"), true));
    EXPECT_TRUE(s.Modified);
}

TEST(LegacyFiles, BackwardOffsetsEndInsteadOfLooping)
{
    std::vector<std::uint8_t> bytes = RecordFileV4();
    // Point the first record's next offset at itself.
    ByteWriter head;
    head.str("Kalvion 3.1").i32(4);
    const std::size_t firstAt = head.size();
    const std::int32_t first = static_cast<std::int32_t>(bytes[firstAt] | bytes[firstAt + 1] << 8 |
                                                         bytes[firstAt + 2] << 16 | bytes[firstAt + 3] << 24);
    for (int k = 0; k < 8; ++k)
        bytes[static_cast<std::size_t>(first) + static_cast<std::size_t>(k)] =
            static_cast<std::uint8_t>(static_cast<std::uint64_t>(first) >> (8 * k));
    const std::string path = TempFile("loop.Sector");
    WriteFile(path, bytes);
    TVexaSector s;
    const TLegacyLoadResult r = LoadFromFile_v1_v2(s, path);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.ErrorText, LEGACY_FILE_CORRUPTED);
    EXPECT_EQ(s.SystemCount(), 0);
}

TEST(LegacyFiles, TruncatedAndFlippedFilesNeverCrash)
{
    for (const auto &original : {StreamFileV2(), RecordFileV4()}) {
        for (std::size_t len = 0; len < original.size(); ++len) {
            const std::string path = TempFile("cut.Sector");
            WriteFile(path, std::vector<std::uint8_t>(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(len)));
            TVexaSector s;
            const TLegacyLoadResult r = LoadFromFile_v1_v2(s, path);
            if (!r.Ok) {
                ASSERT_FALSE(r.ErrorText.empty()) << len;
            }
            GetVexaFileVersion(path);
        }
        for (std::size_t at = 0; at < original.size(); at += 3) {
            std::vector<std::uint8_t> flipped = original;
            flipped[at] ^= 0xA5;
            const std::string path = TempFile("flip.Sector");
            WriteFile(path, flipped);
            TVexaSector s;
            TLegacyLoadResult r = LoadFromFile_v1_v2(s, path);
            if (r.Ok && r.RecordFile) {
                for (auto &root : s.Systems)
                    DynaLoad_v2(s, *r.RecordFile, *root);
            }
        }
    }
}

#include "base/Paths.h"
#include "files/LegacyConvert.h"
#include "files/SectorFile.h"
#include "files/SectorImport.h"

TEST(LegacyConvert, RecordFileBecomesADatabaseLoadingOnDemand)
{
    const std::string oldFile = TempFile("Convert Me.Sector");
    const std::string newFile = TempFile("Converted.VexaDB");
    WriteFile(oldFile, RecordFileV4());
    std::remove(newFile.c_str());
    std::string error;
    ASSERT_TRUE(ConvertLegacySector(oldFile, newFile, &error)) << error;
    EXPECT_EQ(GetVexaFileVersion(newFile), 3);

    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, newFile, &error)) << error;
    EXPECT_EQ(s.IDString, "{SECTOR}");
    EXPECT_EQ(s.UnitStarMeasureName, "Parsecs");
    EXPECT_EQ(s.GetField("author"), "me");
    ASSERT_EQ(s.SystemCount(), 1);
    TStellarBody *g = s.GetSystem(0);
    EXPECT_EQ(g->IDString, kIdA);
    EXPECT_EQ(g->Name, "Gamma");
    EXPECT_DOUBLE_EQ(g->Y, 8);
    EXPECT_EQ(g->BlazonImageFile, "blazon.png");
    EXPECT_FALSE(g->Loaded);
    s.DynaLoad(g);
    ASSERT_TRUE(g->Loaded);
    ASSERT_EQ(g->ChildrenCount(), 1);
    EXPECT_EQ(g->GetChild(0)->Name, "Gamma I");
    EXPECT_DOUBLE_EQ(g->GetChild(0)->GetAtmElementPercentByName("N2"), 78);
    ASSERT_EQ(s.RouteCount(), 1);
    EXPECT_EQ(s.GetRoute(0)->GetWaypoint(0)->Body, g);
    ASSERT_EQ(s.ImageResources.Count(), 1);
    // The image's bytes came along with its row.
    const auto bytes = s.GetResourceImageStream("blazon.png");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, (TByteStream{0x89, 'P', 'N', 'G'}));
}

TEST(LegacyConvert, AnImageWhoseBytesCannotBeReadFailsTheConversion)
{
    const std::string oldFile = TempFile("Lost Image.Sector");
    const std::string newFile = TempFile("LostImage.VexaDB");
    std::remove(newFile.c_str());
    // The data record of the image names another object.
    std::vector<std::uint8_t> bytes = RecordFileV4();
    const std::string marker = "{IMG}";
    const auto first = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
    ASSERT_NE(first, bytes.end());
    const auto second = std::search(first + 1, bytes.end(), marker.begin(), marker.end());
    ASSERT_NE(second, bytes.end());
    second[1] = 'X';
    WriteFile(oldFile, bytes);
    std::string error;
    EXPECT_FALSE(ConvertLegacySector(oldFile, newFile, &error));
    EXPECT_NE(error.find("\"blazon.png\""), std::string::npos) << error;
    EXPECT_FALSE(FileExists(newFile));
}

TEST(LegacyConvert, StreamFileKeepsItsTrees)
{
    const std::string oldFile = TempFile("Stream Convert.Sector");
    const std::string newFile = TempFile("StreamConverted.VexaDB");
    WriteFile(oldFile, StreamFileV2());
    std::string error;
    ASSERT_TRUE(ConvertLegacySector(oldFile, newFile, &error)) << error;
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, newFile, &error)) << error;
    ASSERT_EQ(s.SystemCount(), 2);
    EXPECT_EQ(s.GetSystem(0)->IDString, kIdA); // GUID bytes in the Windows order
    s.DynaLoadAll();
    ASSERT_EQ(s.GetSystem(0)->ChildrenCount(), 1);
    EXPECT_DOUBLE_EQ(s.GetSystem(0)->GetChild(0)->Population, 1000);
    EXPECT_EQ(s.SubsectorCount(), 1);
    ASSERT_EQ(s.RouteCount(), 1);
    EXPECT_EQ(s.GetRoute(0)->WaypointCount(), 2);
}

TEST(LegacyConvert, RefusesItselfAndDamagedSources)
{
    const std::string oldFile = TempFile("Self.Sector");
    WriteFile(oldFile, StreamFileV2());
    std::string error;
    EXPECT_FALSE(ConvertLegacySector(oldFile, oldFile, &error));
    EXPECT_EQ(error, CONVERT_SAME_NAME);
    EXPECT_EQ(GetVexaFileVersion(oldFile), 1); // untouched
    std::vector<std::uint8_t> cut = StreamFileV2();
    cut.resize(cut.size() / 2);
    WriteFile(oldFile, cut);
    const std::string target = TempFile("NeverWritten.VexaDB");
    std::remove(target.c_str());
    EXPECT_FALSE(ConvertLegacySector(oldFile, target, &error));
    EXPECT_EQ(error, "\"" + oldFile + "\" is not an older sector file, or it is damaged");
    EXPECT_FALSE(FileExists(target));
}

TEST(LegacyConvert, AFailedConversionLeavesAFileAlreadyThereAsItWas)
{
    const std::string oldFile = TempFile("Kept.Sector");
    WriteFile(oldFile, StreamFileV2());
    const std::string target = TempFile("Kept.VexaDB");
    WriteFile(target, {'k', 'e', 'e', 'p'});
    // Every connection refuses to write, so the conversion fails as it writes.
    TVexaDB_SQLite::TestConnectionHook = [](TZentSqliteInterface &db) { db.Execute("PRAGMA query_only = 1"); };
    std::string error;
    const bool converted = ConvertLegacySector(oldFile, target, &error);
    TVexaDB_SQLite::TestConnectionHook = nullptr;
    EXPECT_FALSE(converted);
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
    EXPECT_FALSE(FileExists(target + ".converting~"));
    // Replacing it works once writing does.
    EXPECT_TRUE(ConvertLegacySector(oldFile, target, &error)) << error;
    EXPECT_EQ(GetVexaFileVersion(target), 3);
}

// Only a header with a creator text is taken for a newer program's file:
// other files whose first bytes happen to read as a large version are said
// to be no older sector files, and a sector database needs no converting.
TEST(LegacyConvert, TellsOtherFilesFromNewerOnes)
{
    const std::string target = TempFile("NotConverted.VexaDB");
    std::remove(target.c_str());
    std::string error;
    const std::string text = TempFile("words.txt");
    {
        ByteWriter w;
        for (char c : std::string("plain words, not a sector"))
            w.b.push_back(static_cast<std::uint8_t>(c));
        WriteFile(text, w.b);
    }
    EXPECT_FALSE(ConvertLegacySector(text, target, &error));
    EXPECT_EQ(error, "\"" + text + "\" is not an older sector file, or it is damaged");

    ByteWriter control; // a short "creator" of control bytes and a version of 7
    control.str(std::string("\x01\x02\n", 3)).i32(7);
    const std::string junk = TempFile("junk.bin");
    WriteFile(junk, control.b);
    EXPECT_FALSE(ConvertLegacySector(junk, target, &error));
    EXPECT_NE(error.find("is not an older sector file"), std::string::npos) << error;
    ByteWriter blank;
    blank.str("").i32(9);
    WriteFile(junk, blank.b);
    EXPECT_FALSE(ConvertLegacySector(junk, target, &error));
    EXPECT_NE(error.find("is not an older sector file"), std::string::npos) << error;

    const std::string db = TempFile("Already.VexaDB");
    {
        TVexaSector s;
        ASSERT_TRUE(SaveToFile(s, db, false));
    }
    EXPECT_FALSE(ConvertLegacySector(db, target, &error));
    EXPECT_EQ(error, "\"" + db + "\" is a sector database already; only older sector files are converted");

    ByteWriter newer;
    newer.str("Kalvion 9").i32(7);
    WriteFile(junk, newer.b);
    EXPECT_FALSE(ConvertLegacySector(junk, target, &error));
    EXPECT_EQ(error, std::string(FILE_ERROR_VERSION) + "Kalvion 9");
    EXPECT_FALSE(FileExists(target));
}

TEST(SectorImportFile, MergesAStoredSectorAndToleratesOtherFiles)
{
    const std::string oldFile = TempFile("For Merge.Sector");
    const std::string dbFile = TempFile("ForMerge.VexaDB");
    WriteFile(oldFile, StreamFileV2());
    std::string error;
    ASSERT_TRUE(ConvertLegacySector(oldFile, dbFile, &error)) << error;
    TVexaSector s;
    ASSERT_TRUE(ImportSector(s, dbFile, SECTOR_IMPORT_ALLOW, SECTOR_IMPORT_CENTER, 0, 0, 0, &error)) << error;
    ASSERT_EQ(s.SystemCount(), 2);
    EXPECT_EQ(s.GetSystem(0)->ChildrenCount(), 1); // contents came along
    EXPECT_TRUE(s.Modified);
    TVexaSector t;
    EXPECT_FALSE(ImportSector(t, oldFile, SECTOR_IMPORT_ALLOW, 0, 0, 0, 0, &error)); // not a database
    EXPECT_TRUE(t.Modified);
    EXPECT_EQ(t.SystemCount(), 0);
    // Nothing to merge from is an error, not an empty merge.
    TVexaSector u;
    EXPECT_FALSE(ImportSector(u, TempFile("missing.VexaDB"), 0, 0, 0, 0, 0, &error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
    EXPECT_FALSE(u.Modified);
    EXPECT_FALSE(ImportSector(u, ::testing::TempDir(), 0, 0, 0, 0, 0, &error));
    EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
    EXPECT_FALSE(u.Modified);
}

TEST(LegacyFiles, StreamFileVersion3UsesTextIdsAndFields)
{
    ByteWriter w;
    w.str("Kalvion 3.0").i32(3);
    // Sector settings, version 3: an id, no route types or views, then the
    // display holder and the fields.
    w.str("Three").str("{S3}").str("").str("").boolean(true).f64(10).f64(10).f64(10).i32(0);
    for (int i = 0; i < 6; ++i)
        w.f64(0);
    w.i32(0).f64(5).f64(5).f64(5).f64(5).boolean(false).i32(0).str("Verdana").i32(0).i32(0).i32(0);
    w.i32(1).str("").boolean(true);
    w.str("Light Years").str("ly").f64(1).f64(5);
    w.i32(300).i32(1).i32(101).i32(1).str("Mass").str("mass").str("").boolean(true);
    w.i32(1).str("era").str("third");
    // One subsector without fields, one root with a field, one route without fields.
    w.i32(1).str("Rim").str("{SUB}").i32(0).boolean(true).i32(1).boolean(true).f64(0).f64(0).f64(0).f64(4).f64(0).f64(0);
    w.i32(1);
    BodyV4(w, kIdB, "Delta", BODY_TYPE_STAR, 0, "capital");
    w.i32(1).str("Loop").str("{RT}").str("").f64(0).f64(0).f64(1).i32(0).f64(1).i32(1).str(kIdB).f64(0).f64(0).f64(0);
    const std::string path = TempFile("Three.Sector");
    WriteFile(path, w.b);
    EXPECT_EQ(GetVexaFileVersion(path), 1);
    TVexaSector s;
    const TLegacyLoadResult r = LoadFromFile_v1_v2(s, path);
    ASSERT_TRUE(r.Ok) << r.ErrorText;
    EXPECT_EQ(s.IDString, "{S3}");
    EXPECT_TRUE(s.Spherical);
    EXPECT_EQ(s.GetField("era"), "third");
    ASSERT_NE(s.SystemDataDefaults.GetConfigForType(101), nullptr);
    EXPECT_EQ(s.SystemDataDefaults.GetConfigForType(101)->Records.at(0).Source, "mass");
    ASSERT_EQ(s.SubsectorCount(), 1);
    EXPECT_EQ(s.GetSubsector(0)->IDString, "{SUB}");
    EXPECT_DOUBLE_EQ(s.GetSubsector(0)->SizeX, 4);
    EXPECT_FALSE(s.GetSubsector(0)->Modified); // only files below version 3 mark everything
    ASSERT_EQ(s.SystemCount(), 1);
    EXPECT_EQ(s.GetSystem(0)->IDString, kIdB);
    EXPECT_EQ(s.GetSystem(0)->GetField("capital"), "value");
    ASSERT_EQ(s.RouteCount(), 1);
    EXPECT_EQ(s.GetRoute(0)->IDString, "{RT}");
    EXPECT_EQ(s.GetRoute(0)->GetWaypoint(0)->Body, s.GetSystem(0));
}
