// The structure every generated system keeps, checked over many systems.
#include "base/SharedRandom.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"
#include "science/Chemistry.h"
#include "base/PhysicalFormulas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kalvion {
namespace {

constexpr int kSystems = 10000;

double Orbit(int i)
{
    static const TSystemGenerator table;
    return table.Orbits[static_cast<std::size_t>(i)];
}

bool IsWorld(int t) { return t == BODY_TYPE_TERRESTRIAL || t == BODY_TYPE_GASGIANT || t == BODY_TYPE_PLANETOID; }

bool IsEarthlikeNotes(const std::string &n) { return n.find("atm (N2 ") != std::string::npos && n.find(", O2 ") != std::string::npos; }

struct Tally {
    std::set<int> rootTypes, planetTypes, childTypes;
    std::set<std::string> starKinds;
    int starRotations = 0, starRetro = 0;
    int worldRotations = 0, worldRetro = 0, locked = 0;
    int orbits = 0, retroOrbits = 0;
    int atmospheres = 0, earthlike = 0, hospitable = 0, populated = 0;
    int bodies = 0;
};

class GeneratedSystems : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetSharedRandomSeed(20240611);
        gen = new TSystemGenerator;
        gen->Seed = 987654321u;
        gen->PopulatedLabelColor = ColorRGB(255, 128, 64);
        gen->SetTerraformingLevel(10);
        roots = new std::vector<std::unique_ptr<TStellarBody>>;
        for (int i = 0; i < kSystems; ++i) {
            auto root = TStellarBody::Create();
            gen->GenerateSystemInfo(*root);
            gen->GeneratePopulations(*root);
            root->UpdateRootBody();
            roots->push_back(std::move(root));
        }
    }
    static void TearDownTestSuite()
    {
        delete roots;
        delete gen;
    }
    static TSystemGenerator *gen;
    static std::vector<std::unique_ptr<TStellarBody>> *roots;
};

TSystemGenerator *GeneratedSystems::gen = nullptr;
std::vector<std::unique_ptr<TStellarBody>> *GeneratedSystems::roots = nullptr;

// The slot whose table distance (or the middle of two slots, for giants) the
// planet sits on; 0 when none.  Distances are cut to whole km.
int PlanetSlot(const TSystemGenerator &g, const TStellarBody &p, double starMass, bool &between)
{
    for (int s = 1; s <= MAX_ORBITS - 1; ++s) {
        between = false;
        if (p.Distance == std::trunc(g.SlotDistance(s, starMass)))
            return s;
        between = true;
        if (p.Distance == std::trunc((g.Orbits[s] + g.Orbits[s + 1]) / 2 * AU * starMass))
            return s + 1;  // a giant's orbit elements use the upper slot
    }
    return 0;
}

void CheckOrbitElements(const TStellarBody &b, int slot)
{
    EXPECT_GE(b.Eccentricity, 0);
    EXPECT_LE(b.Eccentricity, slot / 26.0 + 1e-9);
    EXPECT_LE(b.Inclination, slot / 26.0 * 60 + 1e-9);
    EXPECT_LT(b.AnglePeriapsis, 360.0001);
    EXPECT_LT(b.AxialTilt, 90.0001);
    EXPECT_GE(b.TimeOffset, 0);
    EXPECT_LE(b.TimeOffset, b.YearLength());
}

void CheckAtmosphere(const TStellarBody &b, Tally &t)
{
    ++t.atmospheres;
    const double g = b.GetSurfaceGravity();
    if (IsEarthlikeNotes(b.AtmosphereNotes)) {
        ++t.earthlike;
        EXPECT_GE(b.Habitability, HAB_HABITABLE);
        EXPECT_EQ(b.GetAtmElementCount(), 4);
        return;
    }
    if (b.AtmosphereNotes == "None") {
        EXPECT_EQ(b.GetAtmElementCount(), 0);
        EXPECT_LE(b.Atmosphere, 0.0501);
    } else {
        EXPECT_GT(b.Atmosphere, 0.0499) << b.AtmosphereNotes;
        const int n = b.GetAtmElementCount();
        EXPECT_LE(n, 4);
        // "1.23 atm (N2 50%,O2 20%)": no spaces after the commas, largest first.
        EXPECT_EQ(b.AtmosphereNotes.find(", "), std::string::npos);
        EXPECT_EQ(b.AtmosphereNotes.back(), ')');
        double prev = 101;
        for (int i = 0; i < n; ++i) {
            const double v = b.GetAtmElementPercent(i);
            EXPECT_GE(v, 2);
            EXPECT_LE(v, prev);
            prev = v;
        }
    }
    if (b.Habitability >= HAB_HABITABLE) {
        EXPECT_GT(g, 0.3);
        EXPECT_LT(g, 1.5);
        EXPECT_GT(b.Temp, 193);
        EXPECT_LT(b.Temp, 333);
        EXPECT_GT(b.Atmosphere, 0.0099);
        EXPECT_LT(b.Atmosphere, 20.0001);
    }
    if (b.Habitability == HAB_HOSPITABLE) {
        ++t.hospitable;
        EXPECT_LE(g, 1.3);
        // No listed gas may be clearly above its partial-pressure limit.
        for (int i = 0; i < b.GetAtmElementCount(); ++i) {
            TGasInfo info;
            ASSERT_TRUE(GetGasInfo(b.GetAtmElement(i), info));
            if (info.Limit > 0) {
                EXPECT_LE((b.GetAtmElementPercent(i) - 0.5) / 100 * b.Atmosphere, info.Limit) << b.AtmosphereNotes;
            }
        }
    }
}

void CheckRotation(const TStellarBody &b, Tally &t)
{
    if (b.Rotation == 0) {
        ++t.locked;
        // Locked bodies' years are no longer than the slowest braked turn.
        EXPECT_LE(b.YearLength() * 24, 44 * std::pow(1.1, 50) * 1.0001);
        return;
    }
    EXPECT_GT(b.YearLength() * 24 * 1.0001 + 1e-3, std::fabs(b.Rotation)) << "unlocked body turns slower than it orbits";
    if (b.TypeID != BODY_TYPE_GASGIANT) {
        ++t.worldRotations;
        if (b.Rotation < 0)
            ++t.worldRetro;
    }
}

void CheckMoons(const TStellarBody &planet, Tally &t)
{
    const double r = planet.Radius;
    const double hill = planet.GetHillSphere();
    for (const auto &c : planet.Children) {
        const TStellarBody &m = *c;
        t.childTypes.insert(m.TypeID);
        if (m.TypeID == BODY_TYPE_SMALLBODY) {
            EXPECT_EQ(m.Name, "Smaller Bodies");
            EXPECT_GE(m.Radius, 10);
            EXPECT_LE(m.Radius, 49.5);
            continue;
        }
        // Distances from the surface on the moon slots; the planet's radius was
        // cut to whole km after its moons were placed.
        int slot = 0;
        double best = 1e300;
        for (int i = 2; i <= MAX_ORBITS; ++i) {
            const double diff = std::fabs(m.Distance - (r + r * 2 * Orbit(i)));
            if (diff <= 1.5 + 2 * Orbit(i) && diff < best) {
                best = diff;
                slot = i;
            }
        }
        ASSERT_NE(slot, 0) << "moon off the slot table at " << m.Distance;
        if (hill > 0) {
            EXPECT_LE(m.Distance, hill * (1 + 1e-6) + 1);
        }
        if (m.TypeID == BODY_TYPE_RING) {
            EXPECT_EQ(m.Name, "Ring");
            EXPECT_LT(RocheFactor(r + 1, planet.Density, m.Density, m.Distance), 1);
            EXPECT_LE(m.Radius, std::round(0.19 * (r + 1)) + 1);
        } else {
            ASSERT_EQ(m.TypeID, BODY_TYPE_TERRESTRIAL);
            EXPECT_GE(RocheFactor(r, planet.Density, m.Density, m.Distance), 1);
            CheckOrbitElements(m, slot);
            CheckAtmosphere(m, t);
            CheckRotation(m, t);
        }
    }
}


void CheckPlanets(const TSystemGenerator &g, const TStellarBody &star, Tally &t)
{
    for (const auto &c : star.Children) {
        const TStellarBody &p = *c;
        t.planetTypes.insert(p.TypeID);
        bool between = false;
        const int slot = PlanetSlot(g, p, star.Mass, between);
        ASSERT_NE(slot, 0) << "planet off the slot table at " << p.Distance;
        if (between) {
            EXPECT_TRUE(p.TypeID == BODY_TYPE_GASGIANT || p.Albedo >= 0.6) << "only giants sit between slots";
        }
        CheckOrbitElements(p, slot);
        ++t.orbits;
        if (p.RetrogradeOrbit)
            ++t.retroOrbits;
        if (p.TypeID == BODY_TYPE_TERRESTRIAL) {
            CheckAtmosphere(p, t);
            CheckRotation(p, t);
        } else if (p.TypeID == BODY_TYPE_GASGIANT) {
            EXPECT_TRUE(AtmosphereIsGasRetained(1, p.Mass, p.Radius, p.Temp));
            CheckRotation(p, t);
        }
        if (p.TypeID == BODY_TYPE_PLANETSYSTEM) {
            EXPECT_GE(p.ChildrenCount(), 2);
            EXPECT_LE(p.ChildrenCount(), 3);
            double sx = 0;
            for (const auto &m : p.Children) {
                sx += m->X;
                EXPECT_EQ(std::trunc(m->Distance), p.Distance);
                CheckAtmosphere(*m, t);
                CheckMoons(*m, t);
            }
            EXPECT_LE(std::fabs(sx), 2.0);
        }
        if (IsWorld(p.TypeID))
            CheckMoons(p, t);
    }
}

void CheckPopulation(const TStellarBody &b, Tally &t)
{
    ++t.bodies;
    if (b.Population > 0) {
        ++t.populated;
        const int ty = b.TypeID;
        EXPECT_TRUE(ty == BODY_TYPE_TERRESTRIAL || ty == BODY_TYPE_ASTEROIDBELT || ty == BODY_TYPE_PLANETOID ||
                    ty == BODY_TYPE_STATION)
            << "population on type " << ty;
        if (ty != BODY_TYPE_STATION) {
            EXPECT_GE(b.Population, 10);
        }
        EXPECT_EQ(b.Population, std::trunc(b.Population));
    }
    for (const auto &c : b.Children)
        CheckPopulation(*c, t);
}

void CheckStar(const TSystemGenerator &g, const TStellarBody &s, Tally &t)
{
    t.starKinds.insert(s.BodyType);
    if (s.Rotation != 0) {
        ++t.starRotations;
        if (s.Rotation < 0)
            ++t.starRetro;
    }
    if (s.Spectral.rfind("g", 0) == 0) {
        EXPECT_TRUE(s.Children.empty()) << "giants have no planets";
        return;
    }
    EXPECT_GT(s.Mass, 0) << "every main-sequence star has a mass";
    EXPECT_GE(s.OrbitalPlaneX, -90);
    EXPECT_LE(s.OrbitalPlaneX, 89.9);
    CheckPlanets(g, s, t);
}

void Walk(const TSystemGenerator &g, const TStellarBody &b, Tally &t)
{
    if (b.TypeID == BODY_TYPE_STAR) {
        CheckStar(g, b, t);
        return;
    }
    if (b.TypeID == BODY_TYPE_MULT || b.TypeID == BODY_TYPE_CLOSEMULT) {
        double sx = 0, sy = 0, sz = 0;
        for (const auto &c : b.Children) {
            sx += c->X;
            sy += c->Y;
            sz += c->Z;
        }
        EXPECT_NEAR(sx, 0, 1e-6);
        EXPECT_NEAR(sy, 0, 1e-6);
        EXPECT_NEAR(sz, 0, 1e-6);
        if (b.TypeID == BODY_TYPE_CLOSEMULT) {
            const double c = b.Distance;
            const double d = (c / 10) / (b.ChildrenCount() - 1);
            EXPECT_GE(b.ChildrenCount(), 2);
            EXPECT_LE(b.ChildrenCount(), 4);
            double lum = 0;
            for (const auto &s : b.Children) {
                lum += s->Luminosity;
                EXPECT_EQ(s->Distance, c);
                for (const auto &p : s->Children) {
                    EXPECT_TRUE(p->Distance <= d || p->Distance >= 10 * c) << "planet inside the group";
                }
            }
            EXPECT_NEAR(b.Luminosity, lum, 1e-9 * (1 + lum));
        }
        for (const auto &c : b.Children) {
            Walk(g, *c, t);
        }
        return;
    }
    if (b.TypeID == BODY_TYPE_TERRESTRIAL || b.TypeID == BODY_TYPE_GASGIANT) {
        // Free objects: no parent, a rotation of 5 … 44 hours, never retrograde.
        EXPECT_GE(b.Rotation, 5);
        EXPECT_LE(b.Rotation, 44);
        CheckMoons(b, t);
        if (b.TypeID == BODY_TYPE_TERRESTRIAL)
            CheckAtmosphere(b, t);
    }
}

TEST_F(GeneratedSystems, KeepTheirStructure)
{
    Tally t;
    for (const auto &root : *roots) {
        t.rootTypes.insert(root->TypeID);
        Walk(*gen, *root, t);
        CheckPopulation(*root, t);
        EXPECT_EQ(root->ChildPopulation, root->GetChildPopulation());
        const int style = root->ChildPopulation > 10000  ? LABEL_FONT_BOLDUNDERLINE
                          : root->ChildPopulation > 1000 ? LABEL_FONT_UNDERLINE
                                                         : LABEL_FONT_NORMAL;
        EXPECT_EQ(root->FontStyle, style);
        if (root->ChildPopulation > 0) {
            EXPECT_EQ(root->LabelColor, ColorRGB(255, 128, 64));
        }
        if (::testing::Test::HasFailure())
            break;
    }
    // Every root type of the pick list occurs (giants become type 1 with
    // their own labels), and every planet type.
    for (int ty : {BODY_TYPE_STAR, BODY_TYPE_MULT, BODY_TYPE_BLACKHOLE, BODY_TYPE_STATION, BODY_TYPE_TERRESTRIAL,
                   BODY_TYPE_GASGIANT, BODY_TYPE_NEUTRON, BODY_TYPE_NEBULA, BODY_TYPE_WHITEDWARF,
                   BODY_TYPE_CLOSEMULT})
        EXPECT_TRUE(t.rootTypes.count(ty)) << "root type " << ty;
    for (int ty : {BODY_TYPE_TERRESTRIAL, BODY_TYPE_GASGIANT, BODY_TYPE_PLANETSYSTEM, BODY_TYPE_ASTEROIDBELT,
                   BODY_TYPE_PLANETOID, BODY_TYPE_STATION})
        EXPECT_TRUE(t.planetTypes.count(ty)) << "planet type " << ty;
    EXPECT_TRUE(t.childTypes.count(BODY_TYPE_RING));
    EXPECT_TRUE(t.childTypes.count(BODY_TYPE_SMALLBODY));
    for (const char *kind : {"Star", "Brown Dwarf", "Red Giant", "Giant"}) {
        EXPECT_TRUE(t.starKinds.count(kind)) << kind;
    }

    // Shares: stars turn backwards 51 in 100, worlds 10 in 100 (of those not
    // locked), orbits 1 in 20.
    EXPECT_NEAR(static_cast<double>(t.starRetro) / t.starRotations, 0.51, 0.03);
    EXPECT_NEAR(static_cast<double>(t.worldRetro) / t.worldRotations, 0.10, 0.02);
    EXPECT_NEAR(static_cast<double>(t.retroOrbits) / t.orbits, 0.05, 0.01);
    EXPECT_GT(t.locked, 0);
    EXPECT_GT(t.earthlike, 0);
    EXPECT_GT(t.hospitable, 0);
    EXPECT_GT(t.populated, 0);
}

TEST(GeneratedSystemsStarsOnly, HaveNoPlanets)
{
    SetSharedRandomSeed(5);
    TSystemGenerator gen;
    gen.Seed = 6;
    gen.StarsOnly = true;
    for (int i = 0; i < 2000; ++i) {
        auto root = TStellarBody::Create();
        gen.GenerateSystemInfo(*root);
        TStellarBodyList all;
        root->GetAllChildren(all);
        all.push_back(root.get());
        // Free objects are worlds themselves and keep their moons; stars get nothing.
        for (const TStellarBody *b : all)
            if (b->TypeID == BODY_TYPE_STAR) {
                ASSERT_TRUE(b->Children.empty()) << "stars-only system with a planet";
            }
    }
}

} // namespace
} // namespace kalvion
