#include "ByteWriter.h"
#include "files/AppFileStream.h"
#include "files/ObjectStreams.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

using namespace kalvion;

namespace {

std::unique_ptr<TAppFileStream> Reader(const ByteWriter &w, int version = 4)
{
    auto s = TAppFileStream::Memory(w.b);
    s->StreamVersion = version;
    return s;
}

} // namespace

TEST(AppFileStream, LittleEndianValuesAndInvertedBooleans)
{
    auto s = TAppFileStream::Memory();
    s->WriteInteger(0x01020304);
    s->WriteBoolean(true);
    s->WriteBoolean(false);
    s->WriteString("N2");
    s->WriteDouble(1.0);
    s->WriteInt64(-2);
    const std::vector<std::uint8_t> expected = {4, 3, 2, 1, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 'N', '2',
                                                0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0xFE, 0xFF, 0xFF, 0xFF,
                                                0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(s->Bytes(), expected);

    ByteWriter w;
    w.i32(5).i32(0).i32(-1);
    auto r = Reader(w);
    EXPECT_FALSE(r->ReadBoolean()); // only 0 is true
    EXPECT_TRUE(r->ReadBoolean());
    EXPECT_FALSE(r->ReadBoolean());
    EXPECT_FALSE(r->Failed());
}

TEST(AppFileStream, StringLengthBounds)
{
    ByteWriter w;
    w.i32(50000000).i32(7).i32(0).i32(-3).str("ok");
    auto r = Reader(w);
    EXPECT_EQ(r->ReadString(), ""); // too long: reads as empty, consumes only the length
    EXPECT_EQ(r->ReadInteger(), 7);
    EXPECT_EQ(r->ReadString(), "");
    EXPECT_EQ(r->ReadString(), "");
    EXPECT_EQ(r->ReadString(), "ok");
    EXPECT_FALSE(r->Failed());

    ByteWriter longer;
    longer.i32(1000).raw({'a', 'b'});
    auto l = Reader(longer);
    EXPECT_EQ(l->ReadString(), "");
    EXPECT_TRUE(l->Failed()); // the length runs past the data
    EXPECT_EQ(l->ReadInteger(), 0);
}

TEST(AppFileStream, CountsAreBoundedByTheBytesLeft)
{
    ByteWriter w;
    w.i32(2000000000).i32(0);
    auto r = Reader(w);
    EXPECT_EQ(r->ReadCount(8), 0);
    EXPECT_TRUE(r->Failed());
    ByteWriter neg;
    neg.i32(-1);
    auto n = Reader(neg);
    EXPECT_EQ(n->ReadCount(1), 0);
    EXPECT_TRUE(n->Failed());
}

TEST(AppFileStream, GuidsUseTheWindowsByteOrder)
{
    ByteWriter w;
    w.raw({0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF});
    auto r = Reader(w);
    EXPECT_EQ(r->ReadGuid(), "{00112233-4455-6677-8899-AABBCCDDEEFF}");
    auto s = TAppFileStream::Memory();
    s->WriteGuid("{00112233-4455-6677-8899-AABBCCDDEEFF}");
    EXPECT_EQ(s->Bytes(), w.b);
}

TEST(AppFileStream, FilesReportOpenErrors)
{
    std::string error;
    EXPECT_EQ(TAppFileStream::OpenRead("/nonexistent/dir/x.Sector", error), nullptr);
    EXPECT_EQ(error, "cannot open file /nonexistent/dir/x.Sector");
    EXPECT_EQ(TAppFileStream::Create("/nonexistent/dir/x.Sector", error), nullptr);
    EXPECT_EQ(error, "cannot create file /nonexistent/dir/x.Sector");
    const std::string path = ::testing::TempDir() + "/stream-roundtrip.bin";
    {
        auto f = TAppFileStream::Create(path, error);
        ASSERT_NE(f, nullptr);
        f->WriteString("hello");
        f->WriteInt64(1LL << 40);
        f->WriteLine("line");
    }
    auto f = TAppFileStream::OpenRead(path, error);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Size(), 4 + 5 + 8 + 6);
    EXPECT_EQ(f->ReadString(), "hello");
    EXPECT_EQ(f->ReadInt64(), 1LL << 40);
    f->Seek(-2, TAppFileStream::Origin::End);
    char crlf[2];
    EXPECT_EQ(f->Read(crlf, 2), 2u);
    EXPECT_EQ(std::string(crlf, 2), "\r\n");
    EXPECT_EQ(f->Read(crlf, 2), 0u);
}

TEST(ObjectStreams, BodyTreeRoundTrip)
{
    auto root = TStellarBody::Create();
    root->Name = "Sol";
    root->TypeID = BODY_TYPE_STAR;
    root->Spectral = "G2V";
    root->Mass = 1;
    root->RetrogradeOrbit = true;
    root->Eccentricity = 0.25;
    root->Water = 0.5;
    root->SetAtmElement("N2", 78);
    root->SetAtmElement("O2", 21);
    root->SetField("Capital", "Rome");
    root->SetSystemDataConfig(std::make_unique<TSystemDataConfig>());
    root->SystemDataConfig()->TypeID = 1;
    root->SystemDataConfig()->Records.push_back({"Mass", "mass", "", true});
    TGexColorGroup g;
    g.Desert = ColorRGB(1, 2, 3);
    g.CloudsEnabled = false;
    root->SetGexColorGroup(g);
    auto planet = TStellarBody::Create();
    planet->Name = "Earth";
    planet->Population = 8e9;
    auto moon = TStellarBody::Create();
    moon->Name = "Luna";
    planet->AddChild(std::move(moon));
    root->AddChild(std::move(planet));

    auto s = TAppFileStream::Memory();
    SaveToStream(*root, *s, false);
    s->Seek(0, TAppFileStream::Origin::Begin);
    TStellarBody back;
    LoadFromStream(back, *s);
    ASSERT_FALSE(s->Failed());
    EXPECT_EQ(s->Remaining(), 0);
    EXPECT_EQ(back.IDString, root->IDString);
    EXPECT_EQ(back.Spectral, "G2V");
    EXPECT_TRUE(back.RetrogradeOrbit);
    EXPECT_DOUBLE_EQ(back.Eccentricity, 0.25);
    EXPECT_DOUBLE_EQ(back.Water, 0.5);
    EXPECT_DOUBLE_EQ(back.GetAtmElementPercentByName("O2"), 21);
    EXPECT_EQ(back.GetField("capital"), "Rome");
    ASSERT_NE(back.SystemDataConfig(), nullptr);
    EXPECT_EQ(back.SystemDataConfig()->Records.at(0).Source, "mass");
    EXPECT_TRUE(back.SystemDataConfig()->Records.at(0).HideIfEmpty);
    ASSERT_NE(back.ColorGroup(), nullptr);
    EXPECT_EQ(back.ColorGroup()->Desert, ColorRGB(1, 2, 3));
    EXPECT_FALSE(back.ColorGroup()->CloudsEnabled);
    ASSERT_EQ(back.ChildrenCount(), 1);
    EXPECT_EQ(back.GetChild(0)->Parent, &back);
    EXPECT_DOUBLE_EQ(back.GetChild(0)->Population, 8e9);
    EXPECT_EQ(back.GetChild(0)->GetChild(0)->Name, "Luna");

    auto flat = TAppFileStream::Memory();
    SaveToStream(*root, *flat, true);
    flat->Seek(0, TAppFileStream::Origin::Begin);
    TStellarBody noKids;
    LoadFromStream(noKids, *flat);
    EXPECT_EQ(noKids.ChildrenCount(), 0);
}

TEST(ObjectStreams, OlderBodyForms)
{
    // Version 1: GUID id, position, no water.
    ByteWriter v1;
    v1.raw({0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF});
    v1.str("Old").i32(77).f64(1).f64(2).f64(3).i32(BODY_TYPE_STAR).str("Star").str("K1").i32(11).i32(22).i32(1);
    for (int i = 0; i < 8; ++i)
        v1.f64(i + 0.5);
    v1.f64(0.9).str("thin").i32(1).f64(1234).str("League").i32(1).i32(555).f64(2.5).str("n").str("gm").i32(0);
    auto r1 = Reader(v1, 1);
    TStellarBody b1;
    b1.Water = 0.7;
    LoadFromStream(b1, *r1);
    ASSERT_FALSE(r1->Failed());
    EXPECT_EQ(r1->Remaining(), 0);
    EXPECT_EQ(b1.IDString, "{00112233-4455-6677-8899-AABBCCDDEEFF}");
    EXPECT_DOUBLE_EQ(b1.Z, 3);
    EXPECT_DOUBLE_EQ(b1.Temp, 7.5);
    EXPECT_DOUBLE_EQ(b1.Water, 0.7); // not in a version 1 stream
    EXPECT_EQ(b1.SphereInfluenceColor, 555u);
    EXPECT_EQ(b1.GMNotes, "gm");

    // Version 2: adds the label distances and water.
    ByteWriter v2;
    v2.raw({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    v2.str("Two").i32(1).f64(0).f64(0).f64(0).i32(1).str("").str("").i32(0).i32(0).i32(0).f64(12).f64(34);
    for (int i = 0; i < 8; ++i)
        v2.f64(0);
    v2.f64(0).str("").f64(0.25).i32(0).f64(0).str("").i32(0).i32(0).f64(0).str("").str("").i32(0);
    auto r2 = Reader(v2, 2);
    TStellarBody b2;
    LoadFromStream(b2, *r2);
    ASSERT_FALSE(r2->Failed());
    EXPECT_EQ(r2->Remaining(), 0);
    EXPECT_DOUBLE_EQ(b2.LabelDistance, 12);
    EXPECT_DOUBLE_EQ(b2.RouteDistance, 34);
    EXPECT_DOUBLE_EQ(b2.Water, 0.25);
}

TEST(ObjectStreams, RoutesSubsectorsViewsAndSectorInfo)
{
    TVexaSector src;
    src.Name = "Core";
    src.Notes = "notes";
    src.Spherical = true;
    src.SizeX = 44;
    src.GridColor = ColorRGB(9, 8, 7);
    src.FilterHideUnassignedSubsector = true;
    src.AddPolitical("Union");
    src.AddRouteType("Trade");
    src.UnitStarMeasureName = "Parsecs";
    src.UpdateUnits();
    src.SetField("Author", "me");
    auto view = std::make_unique<TVexaView>();
    view->Name = "Home";
    view->Camera = {1, 2, 3};
    view->SubsectorVisibility.push_back({"Core", false});
    src.Views.push_back(std::move(view));

    auto s = TAppFileStream::Memory();
    SaveSectorInfoToStream(src, *s);
    TStellarRoute route;
    route.Name = "Spinward";
    route.RouteType = "Trade";
    route.Green = 0.5;
    route.LineWidth = 2;
    auto wp = std::make_unique<TRouteWaypoint>();
    wp->id = "{A}";
    wp->Y = 4;
    route.AddWaypoint(std::move(wp));
    route.SetField("Toll", "3");
    SaveToStream(route, *s);
    TVexaSubsector sub;
    sub.Name = "Rim";
    sub.Visible = true;
    sub.RotateZ = 30;
    sub.TickLabels = true;
    SaveToStream(sub, *s);

    s->Seek(0, TAppFileStream::Origin::Begin);
    TVexaSector dst;
    LoadSectorInfoFromStream(dst, *s);
    TStellarRoute r2;
    LoadFromStream(r2, *s);
    TVexaSubsector s2;
    LoadFromStream(s2, *s);
    ASSERT_FALSE(s->Failed());
    EXPECT_EQ(s->Remaining(), 0);
    EXPECT_EQ(dst.IDString, src.IDString);
    EXPECT_TRUE(dst.Spherical);
    EXPECT_DOUBLE_EQ(dst.SizeX, 44);
    EXPECT_EQ(dst.GridColor, ColorRGB(9, 8, 7));
    EXPECT_TRUE(dst.FilterHideUnassignedSubsector);
    EXPECT_EQ(dst.FindPolitical("union"), 1);
    EXPECT_EQ(dst.FindRouteType("trade"), 1);
    EXPECT_EQ(dst.UnitStarMeasureAbbrev, "pc");
    EXPECT_EQ(dst.GetField("author"), "me");
    ASSERT_EQ(dst.Views.size(), 1u);
    EXPECT_DOUBLE_EQ(dst.Views[0]->Camera.Z, 3);
    ASSERT_EQ(dst.Views[0]->SubsectorVisibility.size(), 1u);
    EXPECT_FALSE(dst.Views[0]->SubsectorVisibility[0].Visible);
    EXPECT_EQ(r2.IDString, route.IDString);
    EXPECT_DOUBLE_EQ(r2.Green, 0.5);
    ASSERT_EQ(r2.WaypointCount(), 1);
    EXPECT_DOUBLE_EQ(r2.GetWaypoint(0)->Y, 4);
    EXPECT_EQ(r2.GetField("toll"), "3");
    EXPECT_EQ(s2.IDString, sub.IDString);
    EXPECT_DOUBLE_EQ(s2.RotateZ, 30);
    EXPECT_TRUE(s2.TickLabels);
}

TEST(ObjectStreams, DisplayHolderStopsAtABadSlot)
{
    TSystemDataConfigHolder h;
    auto cfg = std::make_unique<TSystemDataConfig>();
    cfg->Records.push_back({"Mass", "mass", "", false});
    h.SetConfigForType(std::move(cfg), 101);
    auto s = TAppFileStream::Memory();
    SaveToStream(h, *s);
    s->Seek(0, TAppFileStream::Origin::Begin);
    TSystemDataConfigHolder back;
    LoadFromStream(back, *s);
    ASSERT_NE(back.GetConfigForType(101), nullptr);
    EXPECT_EQ(back.GetConfigForType(101)->Records.at(0).DisplayText, "Mass");
    EXPECT_EQ(back.GetConfigForType(1), nullptr);

    ByteWriter w;
    w.i32(300).i32(2).i32(-5).i32(0);
    auto r = Reader(w);
    TSystemDataConfigHolder bad;
    LoadFromStream(bad, *r);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(bad.GetConfigForType(i), nullptr);
}

TEST(ObjectStreams, DeepNestingIsRefused)
{
    // Each level: a minimal version 4 body whose child count is 1.
    auto s = TAppFileStream::Memory();
    auto deep = TStellarBody::Create();
    TStellarBody *cur = deep.get();
    for (int i = 0; i < STREAM_MAX_BODY_DEPTH + 10; ++i) {
        auto c = TStellarBody::Create();
        TStellarBody *next = c.get();
        cur->AddChild(std::move(c));
        cur = next;
    }
    SaveToStream(*deep, *s, false);
    s->Seek(0, TAppFileStream::Origin::Begin);
    TStellarBody back;
    LoadFromStream(back, *s);
    EXPECT_TRUE(s->Failed());
}
