// Planets around a star, planet systems, moons and rings, rotation and orbits.
#include "generation/SystemGenerator.h"

#include "base/Rounding.h"
#include "base/SharedRandom.h"
#include "model/StellarBody.h"
#include "base/PhysicalFormulas.h"
#include "science/ZentRand.h"

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

void TruncFields(TStellarBody &b)
{
    b.Distance = std::trunc(b.Distance);
    b.Radius = std::trunc(b.Radius);
    b.Temp = std::trunc(b.Temp);
}

} // namespace

void TSystemGenerator::MakeTerrestrial(TStellarBody &planet)
{
    planet.Radius = WMinRange(1000, 15000, 2);
    planet.Density = (NRandom(10) + 4) / 10.0;
    planet.Mass = MassRelEarth(planet.Radius, planet.Density);
}

void TSystemGenerator::GeneratePlanets(TStellarBody &star)
{
    if (StarsOnly)
        return;
    double chance = 0.4;
    if (star.Mass < 0.4)
        chance = star.Mass;
    if (star.Spectral.find('O') != std::string::npos)
        chance = 0.05;
    if (star.Spectral.find('B') != std::string::npos)
        chance = 0.1;
    if (star.Spectral.find('A') != std::string::npos)
        chance = 0.2;

    for (int s = 1; s <= MAX_ORBITS - 1;) {
        if (SharedRandomFloat() >= chance) {
            ++s;
            continue;
        }
        auto planet = NewChild(star);
        TStellarBody &p = *planet;
        p.TypeID = PickPlanetType();

        if (EarthlikeChance >= 1 && SharedRandomInt(100) < EarthlikeChance) {
            const double dist = SlotDistance(s, star.Mass);
            const double t = star.TempAt(dist, EARTH_ALBEDO);
            if (t > 223 && t < 333) {
                p.Distance = dist;
                PlaceEarthlike(p);
                TruncFields(p);
                GenerateOrbitalInfo(p, s);
                star.AddChild(std::move(planet));
                ++s;
                continue;
            }
        }

        if (p.TypeID == BODY_TYPE_GASGIANT) {
            // A giant sits between two slots and takes both.
            p.Albedo = (NRandom(20) + 60) / 100.0;
            p.Distance = (Orbits[static_cast<std::size_t>(s)] + Orbits[static_cast<std::size_t>(s) + 1]) / 2 * AU *
                         star.Mass;
            ++s;
        } else {
            p.Distance = SlotDistance(s, star.Mass);
            p.Albedo = (NRandom(50) + 15) / 100.0;
        }
        p.Temp = star.TempAt(p.Distance, p.Albedo);

        switch (p.TypeID) {
        case BODY_TYPE_GASGIANT:
            p.Radius = WMinRange(10000, 150000, 3);
            p.Density = (NRandom(26) + 10) / 100.0;
            p.Mass = MassRelEarth(p.Radius, p.Density);
            CalcPlanetRotation(p);
            if (!AtmosphereIsGasRetained(1, p.Mass, p.Radius, p.Temp)) {
                // Too hot to hold hydrogen: a rocky world in the giant's orbit.
                p.TypeID = BODY_TYPE_TERRESTRIAL;
                MakeTerrestrial(p);
                CalcPlanetRotation(p);
                GenerateAtmosphere(p);
            }
            GenerateMoons(p);
            break;
        case BODY_TYPE_ASTEROIDBELT:
            p.Radius = Round(SharedRandomFloat() *
                             (Orbits[static_cast<std::size_t>(s) + 1] - Orbits[static_cast<std::size_t>(s) - 1]) * AU *
                             star.Mass);
            break;
        case BODY_TYPE_PLANETOID:
            p.Radius = WMinRange(100, 1000, 2);
            p.Density = (NRandom(12) + 3) / 10.0;
            p.Mass = MassRelEarth(p.Radius, p.Density);
            GenerateMoons(p);
            break;
        case BODY_TYPE_RING: break;
        case BODY_TYPE_PLANETSYSTEM: GeneratePlanetSystem(p); break;
        case BODY_TYPE_TERRESTRIAL:
            MakeTerrestrial(p);
            GenerateMoons(p);
            CalcPlanetRotation(p);
            GenerateAtmosphere(p);
            break;
        default: break;  // a station
        }
        TruncFields(p);
        GenerateOrbitalInfo(p, s);
        star.AddChild(std::move(planet));
        ++s;
    }
}

void TSystemGenerator::GeneratePlanetSystem(TStellarBody &body)
{
    const TStellarBody *sun = body.Parent;
    auto fill = [&](TStellarBody &p) {
        p.TypeID = BODY_TYPE_TERRESTRIAL;
        p.Distance = body.Distance;
        p.Density = (NRandom(10) + 4) / 10.0;
        p.Mass = MassRelEarth(p.Radius, p.Density);
        p.Albedo = (NRandom(50) + 15) / 100.0;
        // Without a parent there is no star to warm the planets; they keep 0 K.
        if (sun)
            p.Temp = sun->TempAt(body.Distance, p.Albedo);
        CalcPlanetRotation(p);
        GenerateAtmosphere(p);
        GenerateMoons(p);
    };

    auto first = NewChild(body);
    first->Radius = WMinRange(1000, 15000, 2);
    first->Name = body.Name;
    fill(*first);
    double prevRadius = first->Radius;
    body.AddChild(std::move(first));

    const int more = WMin(2, 5) + 1;
    for (int i = 0; i < more; ++i) {
        auto p = NewChild(body);
        p->Radius = (NRandom(50) + 50) / 100.0 * prevRadius;
        fill(*p);
        prevRadius = p->Radius;
        body.AddChild(std::move(p));
    }

    TZentRandom zr(static_cast<std::int32_t>(Seed));
    double sx = 0, sy = 0, sz = 0;
    for (auto &p : body.Children) {
        p->X = zr.NextRange(-250, 250) * 1000;
        p->Y = zr.NextRange(-250, 250) * 1000;
        p->Z = zr.NextRange(-250, 250) * 1000;
        sx += p->X;
        sy += p->Y;
        sz += p->Z;
    }
    Seed = static_cast<std::uint32_t>(zr.Seed());
    const double n = static_cast<double>(body.Children.size());
    sx /= n;
    sy /= n;
    sz /= n;
    for (auto &p : body.Children) {
        p->X = Round(p->X - sx);
        p->Y = Round(p->Y - sy);
        p->Z = Round(p->Z - sz);
    }
}

void TSystemGenerator::GenerateMoons(TStellarBody &planet)
{
    const double r = planet.Radius;
    const double hill = planet.GetHillSphere();
    double b = r;
    if (planet.TypeID == BODY_TYPE_GASGIANT && r > 10000) {
        b = 16000;
        planet.Children.reserve(20);
    }
    const double chance = std::sqrt(planet.Mass) / 26;

    for (int i = 2; i <= MAX_ORBITS; ++i) {
        const double centre = r + r * Orbits[static_cast<std::size_t>(i)] * 2;
        if (hill > 0 && centre > hill)
            continue;
        if (SharedRandomFloat() >= chance)
            continue;
        auto moon = NewChild(planet);
        TStellarBody &m = *moon;
        m.TypeID = BODY_TYPE_TERRESTRIAL;
        m.Density = (NRandom(14) + 1) / 10.0;
        m.Distance = Round(centre);
        m.Albedo = (NRandom(50) + 15) / 100.0;
        if (RocheFactor(r, planet.Density, m.Density, m.Distance) >= 1) {
            m.Radius = Round(WMinRange(100, b / 2, 3));
            m.Mass = MassRelEarth(m.Radius, m.Density);
            m.Temp = planet.Temp;
            const double toStar = m.DistanceToParentStar();
            if (toStar > -1)
                if (const TStellarBody *star = m.GetParentStar())
                    m.Temp = Round(star->TempAt(toStar, m.Albedo));
            // Air before rotation: a moon is never a terraforming candidate.
            GenerateAtmosphere(m);
            CalcPlanetRotation(m);
            GenerateOrbitalInfo(m, i);
        } else {
            m.TypeID = BODY_TYPE_RING;
            m.Name = "Ring";
            m.Radius = Round(NRandom(20) / 100.0 * r);
        }
        planet.AddChild(std::move(moon));
    }

    const double e = std::clamp(std::trunc(std::max(r / EARTH_RADIUS_KM, 0.5) * 20), 40.0, 90.0);
    if (NRandom(100) < e) {
        auto small = NewChild(planet);
        small->TypeID = BODY_TYPE_SMALLBODY;
        small->Name = "Smaller Bodies";
        small->Radius = (NRandom(80) + 20) / 100.0 * 50;
        small->Temp = Round(planet.Temp);
        planet.AddChild(std::move(small));
    }
}

void TSystemGenerator::CalcPlanetRotation(TStellarBody &body)
{
    double b = NRandom(40) + 5;
    const TStellarBody *parent = body.GetParentBody();
    if (!parent) {
        body.Rotation = b;
        return;
    }
    double pr = parent->Radius, pd = parent->Density;
    if (parent->TypeID == BODY_TYPE_STAR) {
        pr = parent->Radius * SUN_RADIUS_KM;
        pd = 1.5;
    }
    const double f = RocheFactor(pr, pd, body.Density, body.Distance);
    // Tidal braking: the closer to the primary, the slower the turn.
    for (int i = 50; i >= 1; --i)
        if (i > f)
            b *= 1.1;
    if (!(body.YearLength() * 24 > b))
        b = 0;  // tidally locked
    body.Rotation = RoundToDecimals(4, b);
    if (body.TypeID != BODY_TYPE_GASGIANT && NRandom(100) < 10)
        body.Rotation = -body.Rotation;
}

void TSystemGenerator::GenerateOrbitalInfo(TStellarBody &body, std::int32_t slot)
{
    body.RetrogradeOrbit = NRandom(20) == 1;
    const double reach = slot / 26.0;
    body.Eccentricity = RoundToDecimals(4, WMinRange(0, reach, 3));
    body.Inclination = RoundToDecimals(4, WMinRange(0, reach * 60, 4));
    body.AnglePeriapsis = RoundToDecimals(4, WMinRange(0, 360, 1));
    body.AngleAscendingNode = RoundToDecimals(4, WMinRange(0, 360, 1));
    body.TimeOffset = std::trunc(SharedRandomFloat() * body.YearLength());
    body.AxialTilt = RoundToDecimals(4, WMinRange(0, 90, 3));
}

} // namespace kalvion
