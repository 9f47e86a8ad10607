// Stars, giants, free objects and multiple-star systems.
#include "generation/SystemGenerator.h"

#include "base/Rounding.h"
#include "model/StellarBody.h"
#include "base/PhysicalFormulas.h"
#include "science/ZentRand.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kalvion {

namespace {

struct TStarClass {
    char Letter;
    int R, G, B;
    double MassLo, MassHi;
};

// Main-sequence rows by class code; class M has no subclass digit.
constexpr TStarClass kStarClasses[] = {
    {'M', 255, 204, 111, 0.08, 0.5}, {'K', 255, 210, 161, 0.5, 0.8},  {'G', 255, 244, 234, 0.8, 1.05},
    {'F', 248, 247, 255, 1.05, 2},   {'A', 202, 215, 255, 2, 4},      {'B', 170, 191, 255, 4, 20},
    {'O', 155, 176, 255, 20, 100},
};

} // namespace

double CutStarLuminosity(double l)
{
    if (l >= 10)
        return std::trunc(l);
    if (l >= 1)
        return std::trunc(l * 10) / 10;
    if (l >= 0.1)
        return std::trunc(l * 1000) / 1000;
    return l;
}

namespace {

void CentreChildren(TStellarBody &body)
{
    if (body.Children.empty())
        return;
    double sx = 0, sy = 0, sz = 0;
    for (const auto &c : body.Children) {
        sx += c->X;
        sy += c->Y;
        sz += c->Z;
    }
    const double n = static_cast<double>(body.Children.size());
    sx /= n;
    sy /= n;
    sz /= n;
    for (auto &c : body.Children) {
        c->X -= sx;
        c->Y -= sy;
        c->Z -= sz;
    }
}

} // namespace

void TSystemGenerator::GenerateSystemInfo(TStellarBody &body)
{
    body.TypeID = PickSystemRootType();
    body.BodyType = NameFromBodyType(body.TypeID);
    GenerateSingle(body);
}

void TSystemGenerator::GenerateSingle(TStellarBody &body)
{
    switch (body.TypeID) {
    case BODY_TYPE_STAR: GenerateStarInfo(body); break;
    case BODY_TYPE_MULT: GenerateMultSystem2(body); break;
    case BODY_TYPE_BLACKHOLE: body.Mass = BLACK_HOLE_MASS; break;
    case BODY_TYPE_FREEOBJECT: GenerateFreePlanet(body); break;
    case BODY_TYPE_WHITEDWARF: GenerateWhiteDwarf(body); break;
    case BODY_TYPE_REDGIANT: GenerateRedGiant(body); break;
    case BODY_TYPE_BLUEGIANT: GenerateBlueGiant(body); break;
    case BODY_TYPE_CLOSEMULT: GenerateCloseMult(body); break;
    default: break;  // stations, neutron stars, nebulae …: type and label only
    }
}

void TSystemGenerator::StarRotation(TStellarBody &body)
{
    if (!(body.Mass > 0)) {
        body.Rotation = 0;
        return;
    }
    const int n = NRandom(30) + 5;
    const double rotation = body.Mass >= 1.5 ? n * body.Mass : n * (1 / body.Mass);
    body.Rotation = RoundToDecimals(2, rotation * 24);
    if (NRandom(100) <= 50)
        body.Rotation = -body.Rotation;
}

void TSystemGenerator::GenerateStarInfo(TStellarBody &body)
{
    int cls = WMin(8, 5);
    // Class S (7, about 3 stars in 100000) has no row of its own; it is made
    // an M dwarf so that no star comes out massless and dark.
    if (cls == STAR_TYPE_S)
        cls = STAR_TYPE_M;
    MainSequenceStar(body, cls);
    StarRotation(body);
    if (cls == STAR_TYPE_M && NRandom(5) == 0) {
        // A brown dwarf keeps type 1 and the rotation of the M mass drawn above.
        body.BodyType = "Brown Dwarf";
        body.Color = ColorRGB(200, 150, 100);
        body.Mass = WMinRange(0.01, 0.06, 2);
        body.Spectral = "L";
    }
    body.SetStarMetrics();
    body.Luminosity = CutStarLuminosity(body.Luminosity);
    body.OrbitalPlaneX = (NRandom(1800) - 900) / 10.0;
    body.OrbitalPlaneY = (NRandom(1800) - 900) / 10.0;
    body.OrbitalPlaneZ = (NRandom(1800) - 900) / 10.0;
    if (!StarsOnly)
        GeneratePlanets(body);
}

void TSystemGenerator::MainSequenceStar(TStellarBody &body, std::int32_t cls)
{
    if (cls < STAR_TYPE_M || cls > STAR_TYPE_O)
        cls = STAR_TYPE_M;
    const TStarClass &row = kStarClasses[cls];
    if (cls == STAR_TYPE_M) {
        body.Spectral = "MV";
    } else {
        const int d = 9 - WMin(9, 2);
        const char text[3] = {row.Letter, static_cast<char>('0' + d), 'V'};
        body.Spectral = std::string_view(text, 3);
    }
    body.Color = ColorRGB(row.R, row.G, row.B);
    body.Mass = WMinRange(row.MassLo, row.MassHi, 2);
}

void TSystemGenerator::GenerateRedGiant(TStellarBody &body)
{
    body.TypeID = BODY_TYPE_STAR;
    body.BodyType = "Red Giant";
    body.Color = ColorRGB(255, 50, 50);
    body.Mass = WMinRange(2, 10, 2);
    body.SetStarMetrics();
    body.Luminosity = Round(body.Luminosity * 1.5);
    body.Radius = NRandom(10) * body.Radius + 1;
    body.Spectral = "gM" + std::to_string(NRandom(10));
    StarRotation(body);
}

void TSystemGenerator::GenerateBlueGiant(TStellarBody &body)
{
    body.TypeID = BODY_TYPE_STAR;
    body.BodyType = "Giant";
    body.Mass = WMinRange(100, 1000, 3);
    body.SetStarMetrics();
    body.Luminosity = Round(body.Luminosity * 1.5);
    switch (NRandom(3)) {
    case 0:
        body.Spectral = "gO" + RomanNumeral(NRandom(4));
        body.Color = ColorRGB(155, 176, 255);
        break;
    case 1:
        body.Spectral = "gB" + RomanNumeral(NRandom(4));
        body.Color = ColorRGB(170, 191, 255);
        break;
    default:
        body.Spectral = "gA" + RomanNumeral(NRandom(4));
        body.Color = ColorRGB(202, 215, 255);
        break;
    }
    StarRotation(body);
}

void TSystemGenerator::GenerateWhiteDwarf(TStellarBody &) {}

void TSystemGenerator::GenerateFreePlanet(TStellarBody &body)
{
    body.Distance = 0;
    if (NRandom(100) > 69) {
        body.TypeID = BODY_TYPE_GASGIANT;
        body.Temp = NRandom(80);
        body.Radius = WMinRange(10000, 150000, 3);
        body.Density = (NRandom(26) + 10) / 100.0;
        body.Mass = MassRelEarth(body.Radius, body.Density);
        GenerateMoons(body);
        CalcPlanetRotation(body);
    } else {
        body.TypeID = BODY_TYPE_TERRESTRIAL;
        body.Temp = NRandom(40);
        body.Radius = WMinRange(1000, 15000, 2);
        body.Density = (NRandom(10) + 4) / 10.0;
        body.Mass = MassRelEarth(body.Radius, body.Density);
        GenerateMoons(body);
        CalcPlanetRotation(body);
        GenerateAtmosphere(body);
    }
}

void TSystemGenerator::GenerateMultSystem2(TStellarBody &body)
{
    const int v = NRandom(100) + 1;
    int closeCount = 0, singleCount = 0;
    if (v <= 45) {
        singleCount = 2;
    } else if (v <= 60) {
        closeCount = 1;
        singleCount = 1;
    } else if (v <= 75) {
        closeCount = 1;
        singleCount = 2;
    } else if (v <= 94) {
        singleCount = 3;
    } else if (v <= 96) {
        closeCount = 2;
    } else {
        singleCount = 4;
    }
    for (int i = 0; i < closeCount; ++i) {
        auto cm = NewChild(body);
        cm->TypeID = BODY_TYPE_CLOSEMULT;
        cm->BodyType = "Close Mult";
        GenerateCloseMult(*cm);
        body.AddChild(std::move(cm));
    }
    // The positions come from a copy of the seed taken before the stars are
    // made; writing it back afterwards discards the stars' own draws from the
    // generator's stream.
    TZentRandom zr(static_cast<std::int32_t>(Seed));
    for (int i = 0; i < singleCount; ++i) {
        auto star = NewChild(body);
        star->TypeID = BODY_TYPE_STAR;
        star->BodyType = "Star";
        GenerateStarInfo(*star);
        star->X = zr.NextRange(-5000, 5000);
        star->Y = zr.NextRange(-5000, 5000);
        star->Z = zr.NextRange(-5000, 5000);
        body.AddChild(std::move(star));
    }
    Seed = static_cast<std::uint32_t>(zr.Seed());
    CentreChildren(body);
}

void TSystemGenerator::GenerateMultSystem(TStellarBody &body)
{
    const int n = WMin(4, 6) + 2;
    int r = 0, g = 0, b = 0;
    for (int i = 0; i < n; ++i) {
        auto star = NewChild(body);
        star->TypeID = BODY_TYPE_STAR;
        star->BodyType = "Star";
        GenerateStarInfo(*star);
        r = std::max(r, ColorRed(star->Color));
        g = std::max(g, ColorGreen(star->Color));
        b = std::max(b, ColorBlue(star->Color));
        body.AddChild(std::move(star));
    }
    body.Color = ColorRGB(r, g, b);
}

void TSystemGenerator::GenerateCloseMult(TStellarBody &body)
{
    TZentRandom zr(static_cast<std::int32_t>(Seed));
    if (body.Parent) {
        body.X = zr.NextRange(-5000, 5000);
        body.Y = zr.NextRange(-5000, 5000);
        body.Z = zr.NextRange(-5000, 5000);
    }
    const int n = WMin(3, 4) + 2;
    double sum = 0;
    int brightest = 0;
    double brightestLum = 0;
    for (int i = 0; i < n; ++i) {
        auto star = NewChild(body);
        star->TypeID = BODY_TYPE_STAR;
        star->BodyType = "Star";
        star->X = zr.NextRange(-1000, 1000);
        star->Y = zr.NextRange(-1000, 1000);
        star->Z = zr.NextRange(-1000, 1000);
        GenerateStarInfo(*star);
        sum += star->Luminosity;
        if (i == 0 || star->Luminosity > brightestLum) {
            brightest = i;
            brightestLum = star->Luminosity;
        }
        body.AddChild(std::move(star));
    }
    body.Luminosity = sum;
    CentreChildren(body);

    // The brightest star's planets are made again as if the whole group shone
    // from it.  Its old planets were never stored, so they are simply freed.
    TStellarBody &main = *body.Children[static_cast<std::size_t>(brightest)];
    main.Children.clear();
    const double ownLum = main.Luminosity;
    main.Luminosity = sum;
    if (!StarsOnly)
        GeneratePlanets(main);
    main.Luminosity = ownLum;

    double c = 0;
    for (const auto &star : body.Children)
        c = std::max(c, (NRandom(5) + 1) * star->Mass * AU);
    body.Distance = c;
    const double d = (c / 10) / (n - 1);

    // Planets survive close to their star (at most d) or, around the brightest
    // star, far outside the group (at least 10c).
    for (int i = 0; i < n; ++i) {
        TStellarBody &star = *body.Children[static_cast<std::size_t>(i)];
        star.Distance = c;
        auto &kids = star.Children;
        for (std::size_t k = kids.size(); k-- > 0;) {
            const double dist = kids[k]->Distance;
            const bool drop = i == brightest ? (dist > d && dist < 10 * c) : dist > d;
            if (drop)
                kids.erase(kids.begin() + static_cast<std::ptrdiff_t>(k));
        }
    }

    body.ChildPopulation = 0;
    for (auto &star : body.Children) {
        star->ChildPopulation = star->GetChildPopulation();
        body.ChildPopulation += star->ChildPopulation;
    }
}

} // namespace kalvion
