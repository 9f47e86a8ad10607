#include "model/Subsector.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

using namespace kalvion;

namespace {

std::unique_ptr<TVexaSubsector> Box(double sx, double sy, double sz)
{
    auto s = TVexaSubsector::Create();
    s->Shape = VEXA_SUBSECTOR_RECT;
    s->SizeX = sx;
    s->SizeY = sy;
    s->SizeZ = sz;
    return s;
}

} // namespace

TEST(Subsector, SphereIsClosed)
{
    TVexaSubsector s;
    s.Shape = VEXA_SUBSECTOR_SPHERE;
    s.SizeX = 5;
    EXPECT_TRUE(s.ContainsPoint(3, 4, 0));
    EXPECT_FALSE(s.ContainsPoint(3, 4, 0.1));
    s.X = 10;
    EXPECT_TRUE(s.ContainsPoint(15, 0, 0));
    EXPECT_FALSE(s.ContainsPoint(3, 4, 0));
}

TEST(Subsector, BoxHasOpenLowerAndClosedUpperFaces)
{
    auto p = Box(10, 10, 10);
    TVexaSubsector &s = *p;
    EXPECT_TRUE(s.ContainsPoint(5, 5, 5));
    EXPECT_FALSE(s.ContainsPoint(-5, 0, 0));
    EXPECT_FALSE(s.ContainsPoint(0, -5, 0));
    EXPECT_FALSE(s.ContainsPoint(0, 0, -5));
    EXPECT_TRUE(s.ContainsPoint(-4.999, 0, 0));
    EXPECT_FALSE(s.ContainsPoint(5.001, 0, 0));
    // Off-centre boxes measure from their centre.
    s.X = 100;
    EXPECT_TRUE(s.ContainsPoint(105, 0, 0));
    EXPECT_FALSE(s.ContainsPoint(95, 0, 0));
}

TEST(Subsector, BoxRotationsTurnXThenYThenZ)
{
    auto ps = Box(10, 2, 2);
    TVexaSubsector &s = *ps;
    EXPECT_FALSE(s.ContainsPoint(0, 3, 0));
    s.RotateZ = 90;
    EXPECT_TRUE(s.ContainsPoint(0, 3, 0));

    // The order matters: X first, then Z.  Z first and X second would give
    // the opposite answers.
    auto pt = Box(10, 2, 2);
    TVexaSubsector &t = *pt;
    t.RotateX = 90;
    t.RotateZ = 90;
    EXPECT_TRUE(t.ContainsPoint(0, 0, 4));
    EXPECT_FALSE(t.ContainsPoint(0, 4, 0));

    // A rotation about the centre, not about the origin.
    auto pu = Box(10, 2, 2);
    TVexaSubsector &u = *pu;
    u.X = 50;
    u.Y = 50;
    u.RotateZ = 90;
    EXPECT_TRUE(u.ContainsPoint(50, 54, 0));
    EXPECT_FALSE(u.ContainsPoint(54, 50, 0));
}

TEST(Subsector, CopyToCopiesValuesButNotIdentityOrFields)
{
    TVexaSubsector a;
    a.Name = "Core";
    a.Color = ColorRGB(1, 2, 3);
    a.ShowLabel = true;
    a.Shape = 1;
    a.Visible = true;
    a.X = 1;
    a.Y = 2;
    a.Z = 3;
    a.SizeX = 4;
    a.SizeY = 5;
    a.SizeZ = 6;
    a.RotateX = 7;
    a.RotateY = 8;
    a.RotateZ = 9;
    a.ShowGrid = true;
    a.GridX = 10;
    a.GridY = 11;
    a.GridZ = 12;
    a.GridTick = 13;
    a.TickLabels = true;
    a.RecordID = 77;
    a.SetField("Owner", "Guild");

    TVexaSubsector b;
    a.CopyTo(b);
    EXPECT_EQ(b.Name, "Core");
    EXPECT_EQ(b.Color, ColorRGB(1, 2, 3));
    EXPECT_TRUE(b.ShowLabel && b.Visible && b.ShowGrid && b.TickLabels);
    EXPECT_EQ(b.Shape, 1);
    EXPECT_EQ(b.Z, 3);
    EXPECT_EQ(b.SizeZ, 6);
    EXPECT_EQ(b.RotateY, 8);
    EXPECT_EQ(b.GridZ, 12);
    EXPECT_EQ(b.GridTick, 13);
    EXPECT_NE(b.IDString, a.IDString);
    EXPECT_EQ(b.RecordID, 0);
    EXPECT_EQ(b.GetFieldCount(), 0);

    EXPECT_EQ(a.GetField("OWNER"), "Guild");
    EXPECT_EQ(a.GetFieldNameByIndex(0), "owner");
    a.ClearFields();
    EXPECT_EQ(a.GetFieldCount(), 0);
}

TEST(Subsector, SectorLookupsRenameAndDelete)
{
    TVexaSector sector;
    for (const char *n : {"Rim", "core", "Core"}) {
        auto s = TVexaSubsector::Create();
        s->Name = n;
        sector.AddSubsector(std::move(s));
    }
    EXPECT_EQ(sector.GetSubsectorIndexByName("CORE"), 1);
    EXPECT_EQ(sector.GetSubsectorIndexByName("none"), -1);
    EXPECT_EQ(sector.GetSubsector(3), nullptr);

    // A view that hides "core" keeps it hidden under the new name.
    sector.GetSubsector(1)->Visible = false;
    sector.GetSubsector(2)->Visible = false;
    sector.GetSubsector(0)->Visible = true;
    sector.AddCurrentViewAsView("Hidden core");
    sector.ChangeSubsectorName(sector.GetSubsector(1), "Heart");
    EXPECT_EQ(sector.GetSubsector(1)->Name, "Heart");
    const auto &entries = sector.Views[0]->SubsectorVisibility;
    ASSERT_EQ(entries.size(), 3u);
    // Both entries named like the old name (ignoring case) follow the rename.
    EXPECT_EQ(entries[1].Name, "Heart");
    EXPECT_EQ(entries[2].Name, "Heart");
    EXPECT_EQ(entries[0].Name, "Rim");

    sector.GetSubsector(1)->Visible = true;
    sector.GetSubsector(0)->Visible = false;
    sector.LoadView("hidden core");
    EXPECT_FALSE(sector.GetSubsector(1)->Visible);
    EXPECT_TRUE(sector.GetSubsector(0)->Visible);

    sector.DeleteSubsector(5);
    EXPECT_EQ(sector.SubsectorCount(), 3);
    sector.DeleteSubsector(0);
    EXPECT_EQ(sector.SubsectorCount(), 2);
    EXPECT_EQ(sector.DeletedObjects.size(), 1u);
}

TEST(Subsector, FiltersLetTheLastContainingSubsectorDecide)
{
    TVexaSector sector;
    auto addRoot = [&](double x) {
        auto b = TStellarBody::Create();
        b->X = x;
        TStellarBody *raw = b.get();
        sector.AddSystem(std::move(b));
        return raw;
    };
    TStellarBody *outside = addRoot(100);
    TStellarBody *inHidden = addRoot(1);
    TStellarBody *inBoth = addRoot(9);

    auto hidden = TVexaSubsector::Create();
    hidden->Shape = VEXA_SUBSECTOR_SPHERE;
    hidden->SizeX = 10;
    hidden->Visible = false;
    sector.AddSubsector(std::move(hidden));
    auto shown = TVexaSubsector::Create();
    shown->Shape = VEXA_SUBSECTOR_SPHERE;
    shown->X = 10;
    shown->SizeX = 2;
    shown->Visible = true;
    sector.AddSubsector(std::move(shown));

    sector.SetFilters();
    EXPECT_TRUE(outside->Visible);
    EXPECT_FALSE(inHidden->Visible);
    EXPECT_TRUE(inBoth->Visible);
    EXPECT_EQ(sector.VisibleCount, 2);

    sector.FilterHideUnassignedSubsector = true;
    sector.SetFilters();
    EXPECT_FALSE(outside->Visible);
    EXPECT_TRUE(inBoth->Visible);
}
