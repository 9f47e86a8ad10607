#include "generation/PlanetTemplates.h"

#include "base/NumberFormat.h"
#include "base/Rounding.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"
#include "base/PhysicalFormulas.h"

namespace kalvion {

namespace {

bool IsMoonOfWorld(const TStellarBody &body)
{
    return body.Parent && body.Parent->TypeID == BODY_TYPE_TERRESTRIAL;
}

// Moons of rocky worlds are small; everything else is near the base size.
double TemplateRadius(TSystemGenerator &gen, const TStellarBody &body, double base)
{
    if (IsMoonOfWorld(body))
        return (gen.NRandom(200) + 300) / 1000.0 * base;
    return (gen.NRandom(400) + 800) / 1000.0 * base;
}

// The equilibrium temperature at the body's distance from its star, or
// nothing when it has no star to warm it.
bool StarTemp(const TStellarBody &body, double &temp)
{
    const TStellarBody *star = body.GetParentStar();
    if (!star || !(body.Distance > 0))
        return false;
    temp = star->TempAt(body.DistanceFromParentStar(), body.Albedo);
    return true;
}

void Finish(TSystemGenerator &gen, TStellarBody &body, bool moons)
{
    if (moons && !IsMoonOfWorld(body))
        gen.GenerateMoons(body);
    gen.GeneratePopulations(body);
    // Without a name table the generator's own names ("Ring" …) stay.
    if (gen.Namer) {
        body.Name = gen.RandomSystemName(&body);
        body.ClearChildrenNames();
        gen.ReGenerateNames(body, 4);
    }
}

std::string Pct(double v) { return GeneralFloatText(v); }

} // namespace

void FillPlanetEarthlike(TSystemGenerator &gen, TStellarBody &body) { gen.PlaceEarthlike(body); }

void FillPlanetLargeBarren(TSystemGenerator &gen, TStellarBody &body)
{
    body.TypeID = BODY_TYPE_TERRESTRIAL;
    body.Radius = TemplateRadius(gen, body, EARTH_RADIUS_KM);
    body.Density = (gen.NRandom(40) + 80) / 100.0;
    body.Mass = MassRelEarth(body.Radius, body.Density);
    body.Albedo = (gen.NRandom(60) + 40) / 100.0 * 0.39;
    body.Water = gen.NRandom(40) / 100.0;
    gen.CalcPlanetRotation(body);
    double rest = 100;
    const double co2 = RoundToDecimals(2, rest * gen.WMinRange(0.6, 0.95, 1));
    rest -= co2;
    const double n2 = RoundToDecimals(2, rest * gen.WMinRange(0.2, 0.95, 1));
    rest -= n2;
    const double ar = RoundToDecimals(2, rest * gen.WMinRange(0.5, 0.99, 1));
    rest -= ar;
    const double o2 = RoundToDecimals(2, rest * gen.WMinRange(0.1, 0.5, 1));
    body.ResetAtmElements();
    body.SetAtmElement("CO2", co2);
    body.SetAtmElement("N2", n2);
    body.SetAtmElement("Ar", ar);
    body.SetAtmElement("O2", o2);
    body.Atmosphere = RoundToDecimals(4, (gen.NRandom(80) + 20) / 100.0);
    body.AtmosphereNotes = FormatFloat("0.00", body.Atmosphere) + " atm (CO2 " + Pct(co2) + "%, N2 " + Pct(n2) +
                           "%, Ar " + Pct(ar) + "%, O2 " + Pct(o2) + "%)";
    body.Habitability = HAB_HABITABLE;
    if (double t; StarTemp(body, t))
        body.Temp = RoundToDecimals(0, t + body.Atmosphere * 20);
}

void FillPlanetLargeThickAtm(TSystemGenerator &gen, TStellarBody &body)
{
    body.TypeID = BODY_TYPE_TERRESTRIAL;
    body.Radius = TemplateRadius(gen, body, EARTH_RADIUS_KM);
    body.Density = (gen.NRandom(40) + 80) / 100.0;
    body.Mass = MassRelEarth(body.Radius, body.Density);
    body.Albedo = (gen.NRandom(60) + 40) / 100.0 * 0.39;
    body.Water = 0;
    gen.CalcPlanetRotation(body);
    const double co2 = RoundToDecimals(2, 100 * gen.WMinRange(0.85, 0.99, 1));
    const double n2 = RoundToDecimals(2, (100 - co2) * gen.WMinRange(0.5, 0.95, 1));
    body.ResetAtmElements();
    body.SetAtmElement("CO2", co2);
    body.SetAtmElement("N2", n2);
    body.Atmosphere = RoundToDecimals(4, gen.WMinRange(2, 100, 2));
    // "C02" and " %" are how these notes have always been written.
    body.AtmosphereNotes =
        FormatFloat("0.00", body.Atmosphere) + " atm (C02 " + Pct(co2) + " %, N2 " + Pct(n2) + "%)";
    body.Habitability = HAB_HABITABLE;
    if (double t; StarTemp(body, t))
        body.Temp = RoundToDecimals(0, TSystemGenerator::CalcGreenhouseTemp(body.Atmosphere, t));
}

void FillPlanetMarslike(TSystemGenerator &gen, TStellarBody &body)
{
    body.TypeID = BODY_TYPE_TERRESTRIAL;
    const double base = IsMoonOfWorld(body) ? body.Parent->Radius : 3398;
    body.Radius = TemplateRadius(gen, body, base);
    body.Density = (gen.NRandom(40) + 80) / 100.0 * 0.714;
    body.Albedo = (gen.NRandom(60) + 40) / 100.0 * 0.16;
    body.Mass = MassRelEarth(body.Radius, body.Density);
    body.Water = gen.NRandom(10) / 100.0;
    gen.CalcPlanetRotation(body);
    double rest = 100;
    const double co2 = RoundToDecimals(2, rest * gen.WMinRange(0.8, 0.99, 1));
    rest -= co2;
    const double n2 = RoundToDecimals(2, rest * gen.WMinRange(0.5, 0.9, 1));
    rest -= n2;
    const double ar = RoundToDecimals(2, rest * gen.WMinRange(0.5, 0.99, 1));
    body.ResetAtmElements();
    body.SetAtmElement("CO2", co2);
    body.SetAtmElement("N2", n2);
    body.SetAtmElement("Ar", ar);
    body.Atmosphere = RoundToDecimals(4, gen.NRandom(1000) / 2000.0);
    body.AtmosphereNotes = FormatFloat("0.00", body.Atmosphere) + " atm (CO2 " + Pct(co2) + "%, N2 " + Pct(n2) +
                           "%, Ar " + Pct(ar) + "%)";
    body.Habitability = HAB_HABITABLE;
    if (double t; StarTemp(body, t))
        body.Temp = RoundToDecimals(0, t + 20);
}

void FillGasGiant(TSystemGenerator &gen, TStellarBody &body, std::int32_t sizeClass)
{
    body.TypeID = BODY_TYPE_GASGIANT;
    switch (sizeClass) {
    case 1: body.Radius = gen.WMinRange(10000, 50000, 1); break;
    case 2: body.Radius = gen.WMinRange(50000, 100000, 1); break;
    case 3: body.Radius = gen.WMinRange(100000, 150000, 2); break;
    default: body.Radius = gen.WMinRange(10000, 150000, 3); break;
    }
    body.Density = (gen.NRandom(26) + 10) / 100.0;
    body.Mass = MassRelEarth(body.Radius, body.Density);
    gen.CalcPlanetRotation(body);
    body.Habitability = HAB_INHOSPITABLE;
    if (double t; StarTemp(body, t))
        body.Temp = t + 20;
}

namespace {

template <class F>
void RunTemplate(TStellarBody &body, const std::string &nameTableFile, bool moons, F &&fill)
{
    TSystemGenerator gen;
    gen.NameTableFile = nameTableFile;
    fill(gen, body);
    Finish(gen, body, moons);
}

} // namespace

void PlanetEarthlike(TStellarBody &body, const std::string &nameTableFile)
{
    // PlaceEarthlike makes its own moons.
    RunTemplate(body, nameTableFile, false, FillPlanetEarthlike);
}

void PlanetMarslike(TStellarBody &body, const std::string &nameTableFile)
{
    RunTemplate(body, nameTableFile, true, FillPlanetMarslike);
}

void PlanetLargeBarren(TStellarBody &body, const std::string &nameTableFile)
{
    RunTemplate(body, nameTableFile, true, FillPlanetLargeBarren);
}

void PlanetLargeThickAtm(TStellarBody &body, const std::string &nameTableFile)
{
    RunTemplate(body, nameTableFile, true, FillPlanetLargeThickAtm);
}

void GasGiant(TStellarBody &body, std::int32_t sizeClass, const std::string &nameTableFile)
{
    RunTemplate(body, nameTableFile, true,
                [sizeClass](TSystemGenerator &gen, TStellarBody &b) { FillGasGiant(gen, b, sizeClass); });
}

void BreathableAir(TStellarBody &body)
{
    TSystemGenerator gen;
    ApplyEarthlikeAir(gen, body, 0.001, 3);
}

void RegenerateAtmosphere(TStellarBody &body)
{
    TSystemGenerator gen;
    gen.GenerateAtmosphere(body);
}

} // namespace kalvion
