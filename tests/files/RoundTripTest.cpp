// Every stored member of every stored object survives a save and a reload.
#include "FilesTestHelpers.h"
#include "files/SectorFile.h"

namespace kalvion::test {
namespace {

void FillBody(TStellarBody &b, int k)
{
    b.Name = "Body " + std::to_string(k);
    b.TypeID = 100 + k % 7;
    b.BodyType = "type" + std::to_string(k);
    b.Spectral = "K" + std::to_string(k % 10) + "V";
    b.Distance = 1.5e8 + k;
    b.Radius = 6000.25 + k;
    b.Density = 0.75 + k;
    b.Mass = 1.125 + k;
    b.Rotation = -23.5 - k;
    b.Luminosity = 0.0625 * (k + 1);
    b.Albedo = 0.3 + k / 100.0;
    b.Temp = 288.5 + k;
    b.Atmosphere = 1.01 + k;
    b.AtmosphereNotes = "Breathable; mostly N2 " + std::to_string(k);
    b.Water = 0.71;
    b.AtmElements = {{"N2", 78.0 + k}, {"O2", 21.0}};
    b.Population = 8.1e9 + k;
    b.ChildPopulation = 9.2e9 + k;
    b.Habitability = HAB_HOSPITABLE;
    b.ChildHabitability = HAB_HABITABLE;
    b.BodyCount = 12 + k;
    b.PoliticalAffiliation = "League " + std::to_string(k % 3);
    b.SphereInfluence = 2;
    b.SphereInfluenceColor = 0x00FF8040u + static_cast<unsigned>(k);
    b.SphereInfluenceSize = 3.25;
    b.Notes = "notes\nline two " + std::to_string(k);
    b.GMNotes = "secret \xE9 " + std::to_string(k);
    b.Color = 0x00123456;
    b.LabelColor = 0xFF000000u; // a colour with the high bit set
    b.FontStyle = 3;
    b.DSOIntensity = 7;
    b.RenderDistance = 55.5;
    b.LabelDistance = 44.25;
    b.RouteDistance = 66.125;
    b.Visible = false;
    b.RetrogradeOrbit = true;
    b.BlazonDisplay = true;
    b.BlazonWrap = true;
    b.Eccentricity = 0.0167;
    b.Inclination = 7.155;
    b.AngleAscendingNode = -11.26;
    b.AnglePeriapsis = 114.2;
    b.TimeOffset = 12.5 + k;
    b.AxialTilt = 23.44;
    b.OrbitalPlaneX = 0.1;
    b.OrbitalPlaneY = 0.2;
    b.OrbitalPlaneZ = 0.3;
    b.OrbitColor = 0x00ABCDEF;
    b.X = 1.5 + k;
    b.Y = -2.5;
    b.Z = 3.75;
    b.RandomSeed = -123456 - k;
    b.PreviewImageFile = "c:\\maps\\preview" + std::to_string(k) + ".png";
    b.BlazonImageFile = "/home/u/blazon.png";
    b.ModelFile = "Models/Ships/frigate.3ds";
    b.SetField("Governor", "Ada " + std::to_string(k));
    b.SetField("Founded", "2301");
    auto cfg = std::make_unique<TSystemDataConfig>();
    cfg->Records = {{"Caption", "mass", "", true}, {"Fleet", "custom field", "fleet_com", false}};
    b.SetSystemDataConfig(std::move(cfg));
    TGexColorGroup g;
    g.DeepWater = 1;
    g.ShallowWater = 2;
    g.Beach = 3;
    g.Lowland = 4;
    g.Highland = 5;
    g.Ice = 6;
    g.Desert = 7;
    g.CloudsEnabled = false;
    g.AtmosphereColor = 0x00FFFFFEu;
    b.SetGexColorGroup(g);
}

void ExpectBodyEq(const TStellarBody &a, const TStellarBody &b)
{
    SCOPED_TRACE(a.Name);
    EXPECT_EQ(a.IDString, b.IDString);
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.TypeID, b.TypeID);
    EXPECT_EQ(a.BodyType, b.BodyType);
    EXPECT_EQ(a.Spectral, b.Spectral);
    EXPECT_EQ(a.Distance, b.Distance);
    EXPECT_EQ(a.Radius, b.Radius);
    EXPECT_EQ(a.Density, b.Density);
    EXPECT_EQ(a.Mass, b.Mass);
    EXPECT_EQ(a.Rotation, b.Rotation);
    EXPECT_EQ(a.Luminosity, b.Luminosity);
    EXPECT_EQ(a.Albedo, b.Albedo);
    EXPECT_EQ(a.Temp, b.Temp);
    EXPECT_EQ(a.Atmosphere, b.Atmosphere);
    EXPECT_EQ(a.AtmosphereNotes, b.AtmosphereNotes);
    EXPECT_EQ(a.Water, b.Water);
    ASSERT_EQ(a.AtmElements.size(), b.AtmElements.size());
    for (std::size_t i = 0; i < a.AtmElements.size(); ++i) {
        EXPECT_EQ(a.AtmElements[i].Gas, b.AtmElements[i].Gas);
        EXPECT_EQ(a.AtmElements[i].Percent, b.AtmElements[i].Percent);
    }
    EXPECT_EQ(a.Population, b.Population);
    EXPECT_EQ(a.ChildPopulation, b.ChildPopulation);
    EXPECT_EQ(a.Habitability, b.Habitability);
    EXPECT_EQ(a.ChildHabitability, b.ChildHabitability);
    EXPECT_EQ(a.BodyCount, b.BodyCount);
    EXPECT_EQ(a.PoliticalAffiliation, b.PoliticalAffiliation);
    EXPECT_EQ(a.SphereInfluence, b.SphereInfluence);
    EXPECT_EQ(a.SphereInfluenceColor, b.SphereInfluenceColor);
    EXPECT_EQ(a.SphereInfluenceSize, b.SphereInfluenceSize);
    EXPECT_EQ(a.Notes, b.Notes);
    EXPECT_EQ(a.GMNotes, b.GMNotes);
    EXPECT_EQ(a.Color, b.Color);
    EXPECT_EQ(a.LabelColor, b.LabelColor);
    EXPECT_EQ(a.FontStyle, b.FontStyle);
    EXPECT_EQ(a.DSOIntensity, b.DSOIntensity);
    EXPECT_EQ(a.RenderDistance, b.RenderDistance);
    EXPECT_EQ(a.LabelDistance, b.LabelDistance);
    EXPECT_EQ(a.RouteDistance, b.RouteDistance);
    EXPECT_EQ(a.Visible, b.Visible);
    EXPECT_EQ(a.RetrogradeOrbit, b.RetrogradeOrbit);
    EXPECT_EQ(a.BlazonDisplay, b.BlazonDisplay);
    EXPECT_EQ(a.BlazonWrap, b.BlazonWrap);
    EXPECT_EQ(a.Eccentricity, b.Eccentricity);
    EXPECT_EQ(a.Inclination, b.Inclination);
    EXPECT_EQ(a.AngleAscendingNode, b.AngleAscendingNode);
    EXPECT_EQ(a.AnglePeriapsis, b.AnglePeriapsis);
    EXPECT_EQ(a.TimeOffset, b.TimeOffset);
    EXPECT_EQ(a.AxialTilt, b.AxialTilt);
    EXPECT_EQ(a.OrbitalPlaneX, b.OrbitalPlaneX);
    EXPECT_EQ(a.OrbitalPlaneY, b.OrbitalPlaneY);
    EXPECT_EQ(a.OrbitalPlaneZ, b.OrbitalPlaneZ);
    EXPECT_EQ(a.OrbitColor, b.OrbitColor);
    EXPECT_EQ(a.X, b.X);
    EXPECT_EQ(a.Y, b.Y);
    EXPECT_EQ(a.Z, b.Z);
    EXPECT_EQ(a.RandomSeed, b.RandomSeed);
    EXPECT_EQ(a.PreviewImageFile, b.PreviewImageFile);
    EXPECT_EQ(a.BlazonImageFile, b.BlazonImageFile);
    EXPECT_EQ(a.ModelFile, b.ModelFile);
    ASSERT_EQ(a.Fields.size(), b.Fields.size());
    for (std::size_t i = 0; i < a.Fields.size(); ++i) {
        EXPECT_EQ(a.Fields[i].Name, b.Fields[i].Name);
        EXPECT_EQ(a.Fields[i].Value, b.Fields[i].Value);
    }
    ASSERT_EQ(a.SystemDataConfig() != nullptr, b.SystemDataConfig() != nullptr);
    if (a.SystemDataConfig()) {
        const auto &ra = a.SystemDataConfig()->Records;
        const auto &rb = b.SystemDataConfig()->Records;
        ASSERT_EQ(ra.size(), rb.size());
        for (std::size_t i = 0; i < ra.size(); ++i) {
            EXPECT_EQ(ra[i].DisplayText, rb[i].DisplayText);
            EXPECT_EQ(ra[i].Source, rb[i].Source);
            EXPECT_EQ(ra[i].Field, rb[i].Field);
            EXPECT_EQ(ra[i].HideIfEmpty, rb[i].HideIfEmpty);
        }
    }
    ASSERT_EQ(a.ColorGroup() != nullptr, b.ColorGroup() != nullptr);
    if (a.ColorGroup()) {
        const TGexColorGroup &ga = *a.ColorGroup(), &gb = *b.ColorGroup();
        EXPECT_EQ(ga.DeepWater, gb.DeepWater);
        EXPECT_EQ(ga.ShallowWater, gb.ShallowWater);
        EXPECT_EQ(ga.Beach, gb.Beach);
        EXPECT_EQ(ga.Lowland, gb.Lowland);
        EXPECT_EQ(ga.Highland, gb.Highland);
        EXPECT_EQ(ga.Ice, gb.Ice);
        EXPECT_EQ(ga.Desert, gb.Desert);
        EXPECT_EQ(ga.CloudsEnabled, gb.CloudsEnabled);
        EXPECT_EQ(ga.AtmosphereColor, gb.AtmosphereColor);
    }
    ASSERT_EQ(a.Children.size(), b.Children.size());
    for (std::size_t i = 0; i < a.Children.size(); ++i)
        ExpectBodyEq(*a.Children[i], *b.Children[i]);
}

void FillSector(TVexaSector &s)
{
    s.Notes = "Sector notes";
    s.GMNotes = "GM only";
    s.EpochYear = 5000000000LL; // needs 64 bits
    s.Time = 12345.678;
    s.DateFormat = "yyyy-mm-dd";
    s.UnitStarMeasureName = "Parsecs";
    s.UpdateUnits();
    s.SizeX = 31;
    s.SizeY = 32;
    s.SizeZ = 33;
    s.Frequency = 7.5;
    s.Spherical = true;
    s.GridStyle = GRID_STYLE_SPHERE;
    s.GridX = 4;
    s.GridY = 5;
    s.GridZ = 6;
    s.GridTick = 15;
    s.GridTickLabels = false;
    s.GridColor = 0x00010203;
    s.GridsEnabled = false;
    s.BackgroundColor = 0x00202020;
    s.BaseFont = "Courier";
    s.FilterStyle = SECTOR_FILTER_NOLABEL;
    s.FilterHabitable = 1;
    s.FilterPopulation = 1000;
    s.FilterHideUnassignedSubsector = true;
    s.OriginCamera = {1, 2, 3};
    s.OriginTarget = {-1, -2, -3};
    s.SetField("RWSavePath", "/tmp/terrain");
    s.SetField("Author", "me");
    for (int t : {1, 100, 299}) {
        auto cfg = std::make_unique<TSystemDataConfig>();
        cfg->TypeID = t;
        cfg->Records = {{"Head " + std::to_string(t), "", "", false}, {"Mass", "mass", "", true}};
        s.SystemDataDefaults.SetConfigForType(std::move(cfg), t);
    }

    for (int i = 0; i < 3; ++i) {
        auto root = TStellarBody::Create();
        FillBody(*root, i * 10);
        root->TypeID = BODY_TYPE_STAR;
        auto child = TStellarBody::Create();
        FillBody(*child, i * 10 + 1);
        auto grandchild = TStellarBody::Create();
        FillBody(*grandchild, i * 10 + 2);
        grandchild->AtmElements.clear(); // a body without components
        grandchild->ClearFields();
        grandchild->SetSystemDataConfig(nullptr);
        grandchild->ClearGexColorGroup();
        child->AddChild(std::move(grandchild));
        root->AddChild(std::move(child));
        s.AddSystem(std::move(root));
    }

    auto sub = TVexaSubsector::Create();
    sub->Name = "Core";
    sub->Color = 0x00FF0000;
    sub->ShowLabel = true;
    sub->Shape = VEXA_SUBSECTOR_SPHERE;
    sub->Visible = true;
    sub->X = 1;
    sub->Y = 2;
    sub->Z = 3;
    sub->SizeX = 4;
    sub->SizeY = 5;
    sub->SizeZ = 6;
    sub->RotateX = 7;
    sub->RotateY = 8;
    sub->RotateZ = 9;
    sub->ShowGrid = true;
    sub->GridX = 10;
    sub->GridY = 11;
    sub->GridZ = 12;
    sub->GridTick = 13;
    sub->TickLabels = true;
    s.AddSubsector(std::move(sub));

    auto route = TStellarRoute::Create();
    route->Name = "Spinward Run";
    route->RouteType = "Trade";
    route->RoundTrip = true;
    route->Visible = false;
    route->Red = 0.25;
    route->Green = 0.5;
    route->Blue = 0.75;
    route->LineWidth = 2.5;
    route->LineStyle = ROUTE_LINE_DASH;
    route->Stipple = ROUTE_STIPPLEOGL_DASH;
    route->AddSystem(s.Systems[0].get());
    route->AddSystem(s.Systems[2].get());
    route->SetField("Toll", "5 Cr");
    s.AddRoute(std::move(route));

    auto view = std::make_unique<TVexaView>();
    view->Name = "Home";
    view->Camera = {10, 20, 30};
    view->Target = {1, 2, 3};
    view->FilterStyle = 1;
    view->FilterHabitable = 2;
    view->FilterPopulation = 3000;
    view->FilterHideUnassignedSubsector = true;
    view->PoliticalVisibility = {{"", true}, {"League 0", false}};
    view->RouteTypeVisibility = {{"Trade", false}};
    view->SubsectorVisibility = {{"Core", true}};
    s.Views.push_back(std::move(view));

    auto res = std::make_unique<TVexaImageResource>();
    res->ResourceName = "c:\\maps\\blazon.png";
    res->Data = {0x89, 'P', 'N', 'G', 0, 1, 2, 3};
    res->Loaded = true;
    s.ImageResources.Resources.push_back(std::move(res));
}

using RoundTripTest = TempDirTest;

TEST_F(RoundTripTest, EveryStoredMemberSurvives)
{
    TVexaSector a;
    FillSector(a);
    const std::string file = PathOf("round.VexaDB");
    std::string error;
    ASSERT_TRUE(SaveToFile(a, file, false, &error)) << error;
    EXPECT_EQ(a.Name, "round");
    EXPECT_EQ(a.FileName, file);

    TVexaSector b;
    ASSERT_TRUE(LoadFromFile(b, file, &error)) << error;
    EXPECT_EQ(b.Name, "round");
    EXPECT_EQ(b.IDString, a.IDString);
    EXPECT_EQ(b.Notes, a.Notes);
    EXPECT_EQ(b.GMNotes, a.GMNotes);
    EXPECT_EQ(b.EpochYear, 5000000000LL);
    EXPECT_EQ(b.Time, a.Time);
    EXPECT_EQ(b.DateFormat, a.DateFormat);
    EXPECT_EQ(b.UnitStarMeasureName, "Parsecs");
    EXPECT_EQ(b.UnitStarMeasureAbbrev, "pc");
    EXPECT_EQ(b.UnitStarMeasureRatio, 3.2616);
    EXPECT_EQ(b.SizeX, 31);
    EXPECT_EQ(b.SizeY, 32);
    EXPECT_EQ(b.SizeZ, 33);
    EXPECT_EQ(b.Frequency, 7.5);
    EXPECT_TRUE(b.Spherical);
    EXPECT_EQ(b.GridStyle, GRID_STYLE_SPHERE);
    EXPECT_EQ(b.GridX, 4);
    EXPECT_EQ(b.GridY, 5);
    EXPECT_EQ(b.GridZ, 6);
    EXPECT_EQ(b.GridTick, 15);
    EXPECT_FALSE(b.GridTickLabels);
    EXPECT_EQ(b.GridColor, 0x00010203u);
    EXPECT_FALSE(b.GridsEnabled);
    EXPECT_EQ(b.BackgroundColor, 0x00202020u);
    EXPECT_EQ(b.BaseFont, "Courier");
    EXPECT_EQ(b.FilterStyle, SECTOR_FILTER_NOLABEL);
    EXPECT_EQ(b.FilterHabitable, 1);
    EXPECT_EQ(b.FilterPopulation, 1000);
    EXPECT_TRUE(b.FilterHideUnassignedSubsector);
    EXPECT_EQ(b.OriginCamera, (TVexaPoint{1, 2, 3}));
    EXPECT_EQ(b.OriginTarget, (TVexaPoint{-1, -2, -3}));
    EXPECT_EQ(b.Camera, b.OriginCamera); // the camera is reset on load
    EXPECT_EQ(b.GetField("rwsavepath"), "/tmp/terrain");
    EXPECT_EQ(b.GetFieldCount(), 2);
    for (int t : {1, 100, 299}) {
        const TSystemDataConfig *cfg = b.SystemDataDefaults.GetConfigForType(t);
        ASSERT_NE(cfg, nullptr) << t;
        ASSERT_EQ(cfg->Count(), 2);
        EXPECT_EQ(cfg->Records[0].DisplayText, "Head " + std::to_string(t));
        EXPECT_EQ(cfg->Records[1].Source, "mass");
        EXPECT_TRUE(cfg->Records[1].HideIfEmpty);
    }

    // Roots come with their own members only.
    ASSERT_EQ(b.SystemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        TStellarBody *root = b.GetSystem(i);
        EXPECT_FALSE(root->Loaded);
        EXPECT_FALSE(root->TVexaBase::Modified);
        EXPECT_TRUE(root->Children.empty());
        b.DynaLoad(root);
        EXPECT_TRUE(root->Loaded);
        a.DynaLoad(a.GetSystem(i)); // the save unloaded it
        ExpectBodyEq(*a.GetSystem(i), *root);
        EXPECT_EQ(root->Children[0]->Parent, root);
        EXPECT_GT(root->Children[0]->RecordID, 0);
    }
    // Political affiliations of every stored body are known after the load.
    EXPECT_GE(b.FindPolitical("League 1"), 1);
    EXPECT_GE(b.FindPolitical("League 2"), 1);

    ASSERT_EQ(b.SubsectorCount(), 1);
    const TVexaSubsector &sa = *a.Subsectors[0], &sb = *b.Subsectors[0];
    EXPECT_EQ(sb.IDString, sa.IDString);
    EXPECT_EQ(sb.RecordID, sa.RecordID);
    EXPECT_EQ(sb.Name, "Core");
    EXPECT_EQ(sb.Color, sa.Color);
    EXPECT_EQ(sb.ShowLabel, sa.ShowLabel);
    EXPECT_EQ(sb.Shape, sa.Shape);
    EXPECT_EQ(sb.Visible, sa.Visible);
    EXPECT_EQ((std::vector<double>{sb.X, sb.Y, sb.Z, sb.SizeX, sb.SizeY, sb.SizeZ, sb.RotateX, sb.RotateY,
                                   sb.RotateZ, sb.GridX, sb.GridY, sb.GridZ, sb.GridTick}),
              (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(sb.ShowGrid, sa.ShowGrid);
    EXPECT_EQ(sb.TickLabels, sa.TickLabels);

    ASSERT_EQ(b.RouteCount(), 1);
    const TStellarRoute &ra = *a.Routes[0], &rb = *b.Routes[0];
    EXPECT_EQ(rb.IDString, ra.IDString);
    EXPECT_EQ(rb.Name, ra.Name);
    EXPECT_EQ(rb.RouteType, "Trade");
    EXPECT_EQ(rb.RoundTrip, true);
    // Loading applies the route-type filter to Visible; the stored flag is kept.
    EXPECT_EQ(QueryInt(file, "select visible from routes"), 0);
    EXPECT_EQ(rb.Red, 0.25);
    EXPECT_EQ(rb.Green, 0.5);
    EXPECT_EQ(rb.Blue, 0.75);
    EXPECT_EQ(rb.LineWidth, 2.5);
    EXPECT_EQ(rb.LineStyle, ROUTE_LINE_DASH);
    EXPECT_EQ(rb.Stipple, ROUTE_STIPPLEOGL_DASH);
    EXPECT_EQ(rb.GetField("toll"), "5 Cr");
    ASSERT_EQ(rb.WaypointCount(), 2);
    EXPECT_EQ(rb.Waypoints[0]->id, a.GetSystem(0)->IDString);
    EXPECT_EQ(rb.Waypoints[0]->Body, b.GetSystem(0));
    EXPECT_EQ(rb.Waypoints[1]->Body, b.GetSystem(2));
    EXPECT_EQ(rb.Waypoints[1]->X, a.GetSystem(2)->X);
    EXPECT_GE(b.FindRouteType("Trade"), 1);

    ASSERT_EQ(b.Views.size(), 1u);
    const TVexaView &vb = *b.Views[0];
    EXPECT_EQ(vb.Name, "Home");
    EXPECT_EQ(vb.Camera, (TVexaPoint{10, 20, 30}));
    EXPECT_EQ(vb.Target, (TVexaPoint{1, 2, 3}));
    EXPECT_EQ(vb.FilterStyle, 1);
    EXPECT_EQ(vb.FilterHabitable, 2);
    EXPECT_EQ(vb.FilterPopulation, 3000);
    EXPECT_TRUE(vb.FilterHideUnassignedSubsector);
    ASSERT_EQ(vb.PoliticalVisibility.size(), 2u);
    EXPECT_EQ(vb.PoliticalVisibility[1].Name, "League 0");
    EXPECT_FALSE(vb.PoliticalVisibility[1].Visible);
    ASSERT_EQ(vb.RouteTypeVisibility.size(), 1u);
    EXPECT_FALSE(vb.RouteTypeVisibility[0].Visible);
    ASSERT_EQ(vb.SubsectorVisibility.size(), 1u);
    EXPECT_EQ(vb.SubsectorVisibility[0].Name, "Core");

    ASSERT_EQ(b.ImageResources.Count(), 1);
    TVexaImageResource &res = *b.ImageResources.Resources[0];
    EXPECT_EQ(res.ResourceName, "c:\\maps\\blazon.png");
    EXPECT_EQ(res.IDString, a.ImageResources.Resources[0]->IDString);
    EXPECT_FALSE(res.Loaded);
    EXPECT_TRUE(res.Data.empty());
    b.DynaLoadResource(&res);
    EXPECT_TRUE(res.Loaded);
    EXPECT_EQ(res.Data, (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 0, 1, 2, 3}));
}

TEST_F(RoundTripTest, SavingDropsImageDataAndUnloadsUnselectedSystems)
{
    TVexaSector a;
    FillSector(a);
    a.SelectBody(a.GetSystem(1));
    const std::string file = PathOf("s.VexaDB");
    ASSERT_TRUE(SaveToFile(a, file, false));
    EXPECT_FALSE(a.GetSystem(0)->Loaded);
    EXPECT_TRUE(a.GetSystem(0)->Children.empty());
    EXPECT_TRUE(a.GetSystem(1)->Loaded); // selected: kept
    EXPECT_EQ(a.GetSystem(1)->ChildrenCount(), 1);
    EXPECT_FALSE(a.GetSystem(1)->TVexaBase::Modified);
    TVexaImageResource &res = *a.ImageResources.Resources[0];
    EXPECT_FALSE(res.Loaded);
    EXPECT_FALSE(res.Modified);
    EXPECT_TRUE(res.Data.empty());
    a.DynaLoadResource(&res);
    EXPECT_EQ(res.Data.size(), 8u);
    a.DynaLoad(a.GetSystem(0));
    EXPECT_EQ(CountBodies(*a.GetSystem(0)), 3);
}

} // namespace
} // namespace kalvion::test

namespace kalvion::test {
namespace {

// The compact members: a body with every optional text set, one with none,
// and identities that are not upper-case GUIDs, which must come back as the
// very bytes that were stored.
TEST_F(RoundTripTest, OptionalTextsAndOddIdentitiesSurviveEmptyOrSet)
{
    TVexaSector a;
    auto full = TStellarBody::Create();
    FillBody(*full, 4);
    full->Visible = true; // the sector's filters decide it again on loading
    full->IDString = "{0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d}"; // lower case, as an older tool wrote it
    auto bare = TStellarBody::Create();
    bare->Name = "Bare";
    bare->IDString = "legacy-7";
    auto child = TStellarBody::Create();
    child->Name = "Child";
    const std::string childId = child->IDString;
    bare->AddChild(std::move(child));
    a.AddSystem(std::move(full));
    a.AddSystem(std::move(bare));

    const std::string file = PathOf("texts.VexaDB");
    std::string error;
    ASSERT_TRUE(SaveToFile(a, file, false, &error)) << error;
    // Stored as before: the empty texts are empty texts, the identity its bytes.
    EXPECT_EQ(QueryText(file, "select quote(notes) || '|' || quote(gm_notes) || '|' || quote(model) "
                              "from bodies where name = 'Bare'"),
              "''|''|''");
    EXPECT_EQ(QueryText(file, "select id_string from bodies where name = 'Bare'"), "legacy-7");
    EXPECT_EQ(QueryText(file, "select id_string from bodies where name = 'Child'"), childId);

    TVexaSector b;
    ASSERT_TRUE(LoadFromFile(b, file, &error)) << error;
    ASSERT_EQ(b.SystemCount(), 2);
    for (auto &root : b.Systems)
        b.DynaLoad(root.get());
    ExpectBodyEq(*a.Systems[0], *b.Systems[0]);
    const TStellarBody &bareBack = *b.Systems[1];
    EXPECT_EQ(bareBack.IDString.str(), "legacy-7");
    EXPECT_FALSE(bareBack.IDString.IsBinaryGuid());
    for (const TCompactText *t : {&bareBack.BodyType, &bareBack.Spectral, &bareBack.AtmosphereNotes,
                                  &bareBack.PoliticalAffiliation, &bareBack.Notes, &bareBack.GMNotes,
                                  &bareBack.PreviewImageFile, &bareBack.BlazonImageFile, &bareBack.ModelFile})
        EXPECT_TRUE(t->empty());
    EXPECT_TRUE(bareBack.Fields.empty());
    ASSERT_EQ(bareBack.ChildrenCount(), 1);
    EXPECT_EQ(bareBack.GetChild(0)->IDString, childId);
    EXPECT_TRUE(bareBack.GetChild(0)->IDString.IsBinaryGuid());
}

} // namespace
} // namespace kalvion::test
