// Atmospheres, greenhouse heating, habitability, Earth-like worlds and populations.
#include "generation/SystemGenerator.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/Rounding.h"
#include "model/StellarBody.h"
#include "science/Chemistry.h"
#include "base/PhysicalFormulas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace kalvion {

namespace {

// Rows of the gas table, by position.
enum Gas : int {
    H2, He, CH4, NH3, H2O, Ne, N2, CO, NO, O2, H2S, Ar, CO2, NO2, O3, SO2, Kr, Xe,
};

using Amounts = std::array<double, GAS_COUNT>;

double Sum(const Amounts &a)
{
    double s = 0;
    for (double v : a)
        s += v;
    return s;
}

// A share in percent as the pattern "000" writes it.  Only a value within a
// hair of a half needs the full formatter (it rounds the shortest decimal
// form half away from zero); every other value rounds the same directly.
int SharePercent(double percent)
{
    const double whole = std::floor(percent);
    const double frac = percent - whole;
    if (std::fabs(frac - 0.5) > 1e-9)
        return static_cast<int>(frac > 0.5 ? whole + 1 : whole);
    return std::stoi(FormatFloat("000", percent));
}

// "0.17 atm (O2 90%,N2 6%,Kr 2%)": the largest shares first, at most four,
// none below 2 %.  The listing is ordered as the texts "090 O2", "006 N2" …
// sort ignoring case: by the three-digit share, then by name.  Each listed
// share is also stored as a component of the body.
void WriteComposition(TStellarBody &body, const Amounts &amounts, double total, double pressure)
{
    const auto &table = GasTable();
    struct Line {
        int Percent;
        int Row;
    };
    std::array<Line, GAS_COUNT> lines;
    int count = 0;
    for (int i = 0; i < GAS_COUNT; ++i) {
        const double share = amounts[static_cast<std::size_t>(i)] / total;
        if (share > 0.01)
            lines[static_cast<std::size_t>(count++)] = {SharePercent(share * 100), i};
    }
    std::sort(lines.begin(), lines.begin() + count, [&table](const Line &a, const Line &b) {
        if (a.Percent != b.Percent)
            return a.Percent < b.Percent;
        return CompareText(table[static_cast<std::size_t>(a.Row)].Name, table[static_cast<std::size_t>(b.Row)].Name) <
               0;
    });

    std::string notes = FormatFloat("###0.##", pressure) + " atm (";
    int listed = 0;
    for (int k = count - 1; k >= 0 && listed < 4; --k) {
        const Line &line = lines[static_cast<std::size_t>(k)];
        if (line.Percent < 2)
            break;
        const std::string &name = table[static_cast<std::size_t>(line.Row)].Name;
        if (listed > 0)
            notes += ',';
        notes += name;
        notes += ' ';
        notes += std::to_string(line.Percent);
        notes += '%';
        body.SetAtmElement(name, line.Percent);
        ++listed;
    }
    notes += ')';
    body.AtmosphereNotes = std::move(notes);
}

int HabitabilityOf(const TStellarBody &body, const Amounts &amounts, double total)
{
    const double g = body.GetSurfaceGravity();
    if (!(g > 0.3 && g < 1.5 && body.Temp > 193 && body.Temp < 333 && body.Atmosphere > 0.01 &&
          body.Atmosphere < 20))
        return HAB_INHOSPITABLE;
    if (g > 1.3)
        return HAB_HABITABLE;
    const auto &table = GasTable();
    for (int i = 0; i < GAS_COUNT; ++i) {
        const double limit = table[static_cast<std::size_t>(i)].Limit;
        if (limit > 0 && amounts[static_cast<std::size_t>(i)] / total * body.Atmosphere > limit)
            return HAB_HABITABLE;
    }
    if (amounts[O2] / total * body.Atmosphere < 0.1)
        return HAB_HABITABLE;
    return HAB_HOSPITABLE;
}

} // namespace

std::string GeneralFloatText(double value)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

void TSystemGenerator::GenerateAtmosphere(TStellarBody &body)
{
    const double p0 = WMin(10000, 7) * body.Mass / 100;

    Amounts a{};
    a[H2] = (NRandom(50) + 50) * 1000.0;
    a[He] = NRandom(50) * 250.0 + 12500;
    a[CH4] = NRandom(1000);
    a[NH3] = NRandom(500);
    a[H2O] = NRandom(1000) * 5.0;
    a[Ne] = NRandom(100);
    a[N2] = NRandom(1000) * 15.0;
    a[CO] = NRandom(1000);
    a[NO] = NRandom(500);
    a[O2] = NRandom(100) * 100.0;
    a[H2S] = NRandom(500);
    a[Ar] = NRandom(1000);
    a[CO2] = NRandom(1000) * 10.0;
    a[NO2] = NRandom(500);
    a[O3] = NRandom(500);
    a[SO2] = NRandom(1000);
    a[Kr] = NRandom(500);
    a[Xe] = NRandom(400);
    const double t0 = Sum(a);

    // The drawn gases stand in the table by rising molecular weight, and a
    // heavier molecule is held whenever a lighter one is: the test can stop at
    // the first gas kept.  The rows after Xe are never drawn and stay 0.
    const auto &table = GasTable();
    for (int i = H2; i <= Xe; ++i) {
        if (AtmosphereIsGasRetained(table[static_cast<std::size_t>(i)].MolecularWeight, body.Mass, body.Radius,
                                    body.Temp))
            break;
        a[static_cast<std::size_t>(i)] = 0;
    }

    // Hydrogen and then methane burn with the oxygen into water and carbon dioxide.
    if (a[H2] > a[O2]) {
        a[H2O] += a[O2];
        a[H2] -= a[O2];
        a[O2] = 0;
    } else if (a[O2] > a[H2]) {
        a[H2O] += a[H2];
        a[O2] -= a[H2];
        a[H2] = 0;
    }
    const double burnt = std::min(a[CH4], a[O2]);
    a[CH4] -= burnt;
    a[O2] -= burnt;
    a[H2O] += burnt;
    a[CO2] += burnt;

    if (body.Temp > 238 && body.Temp < 373)  // liquid water binds carbon dioxide
        a[CO2] = std::max(a[CO2] - 10 * a[H2O], 0.0);

    body.Water = 0;
    if (body.Temp < 353 && a[H2O] > 0) {
        body.Water = std::min(a[H2O] / 10000, 1.0);
        a[H2O] = a[H2O] / 100;
    }

    if (WithPopulations && isTerraformingCandidate(body) && NRandom(100) < TerraformingChance)
        for (int g : {H2, CH4, NH3, CO, NO, H2S, CO2, NO2, O3, SO2})
            a[static_cast<std::size_t>(g)] = 0;

    const double t1 = Sum(a);
    const double p = t1 / t0 * p0;
    body.Atmosphere = RoundToDecimals(4, p);

    // A new composition replaces any earlier one.
    body.ResetAtmElements();
    if (p > 0.05)
        WriteComposition(body, a, t1, p);
    else
        body.AtmosphereNotes = "None";

    if (t1 > 0) {
        const double g = (a[H2O] * 10 + a[CO2] + a[CH4] * 5) / t1 * p;
        body.Temp = CalcGreenhouseTemp(g, body.Temp);
    }
    body.Temp = Round(body.Temp);

    body.Habitability = t1 > 0 ? HabitabilityOf(body, a, t1) : HAB_INHOSPITABLE;
}

double TSystemGenerator::CalcGreenhouseTemp(double pressure, double temperature)
{
    return temperature * (1 + std::sqrt(pressure * 10) / 20);
}

bool TSystemGenerator::isTerraformingCandidate(const TStellarBody &b) const
{
    const double g = b.GetSurfaceGravity();
    return g >= 0.35 && g <= 1.3 && b.Temp >= 173 && b.Temp <= 333 && b.Rotation != 0 && b.Rotation <= 200;
}

void ApplyEarthlikeAir(TSystemGenerator &gen, TStellarBody &body, double co2Lo, std::int32_t co2Count)
{
    double rest = 100;
    const double n2 = RoundToDecimals(2, gen.NRandom(100) / 10.0 + 70);
    rest -= n2;
    const double o2 = RoundToDecimals(2, rest * gen.WMinRange(0.9, 0.99, 1));
    rest -= o2;
    const double ar = RoundToDecimals(2, rest * gen.WMinRange(0.1, 0.5, 1));
    rest -= ar;
    const double co2 = RoundToDecimals(2, rest * gen.WMinRange(co2Lo, 0.9, co2Count));
    body.ResetAtmElements();
    body.SetAtmElement("N2", n2);
    body.SetAtmElement("O2", o2);
    body.SetAtmElement("Ar", ar);
    body.SetAtmElement("CO2", co2);
    body.Atmosphere = RoundToDecimals(4, (gen.NRandom(40) + 80) / 100.0);
    body.AtmosphereNotes = FormatFloat("0.00", body.Atmosphere) + " atm (N2 " + GeneralFloatText(n2) + "%, O2 " +
                           GeneralFloatText(o2) + "%, Ar " + GeneralFloatText(ar) + "%, CO2 " +
                           GeneralFloatText(co2) + "%)";
}

void TSystemGenerator::PlaceEarthlike(TStellarBody &body)
{
    body.TypeID = BODY_TYPE_TERRESTRIAL;
    const bool moonOfWorld = body.Parent && body.Parent->TypeID == BODY_TYPE_TERRESTRIAL;
    body.Radius = 0;
    if (moonOfWorld)
        body.Radius = (NRandom(200) + 300) / 1000.0 * EARTH_RADIUS_KM;
    if (body.Radius == 0)
        body.Radius = (NRandom(400) + 800) / 1000.0 * EARTH_RADIUS_KM;
    body.Density = (NRandom(40) + 80) / 100.0;
    body.Mass = MassRelEarth(body.Radius, body.Density);
    body.Albedo = (NRandom(40) + 80) / 100.0 * 0.39;
    body.Water = (NRandom(40) + 80) / 100.0 * 0.67;
    CalcPlanetRotation(body);

    ApplyEarthlikeAir(*this, body, 0.1, 1);

    body.Habitability = HAB_HABITABLE;
    if (const TStellarBody *star = body.GetParentStar(); star && body.Distance > 0)
        body.Temp =
            RoundToDecimals(0, star->TempAt(body.DistanceFromParentStar(), body.Albedo) + body.Atmosphere * 20);
    const double c = body.Temp - KELVIN_BASE;
    const double g = SurfaceGravity(body.Radius, body.Density);
    if (c > -100 && c < 60 && g > 0.35 && g < 1.25)
        body.Habitability = HAB_HOSPITABLE;
    if (!moonOfWorld)
        GenerateMoons(body);
}

namespace {

template <class F>
void EachDepthFirst(TStellarBody &b, F &&f)
{
    f(b);
    for (auto &c : b.Children)
        EachDepthFirst(*c, f);
}

} // namespace

void TSystemGenerator::GeneratePopulations(TStellarBody &body)
{
    if (!WithPopulations)
        return;
    const int m = body.GetMaxHabitability();
    const int base = m == HAB_INHOSPITABLE ? -2 : (m == HAB_HOSPITABLE ? 2 : 0);
    EachDepthFirst(body, [&](TStellarBody &b) {
        b.Population = 0;
        switch (b.TypeID) {
        case BODY_TYPE_TERRESTRIAL:
        case BODY_TYPE_ASTEROIDBELT:
        case BODY_TYPE_PLANETOID: {
            int e = base;
            if (b.Habitability == HAB_INHOSPITABLE)
                e -= 5;
            else if (b.Habitability == HAB_HABITABLE)
                e -= 2;
            else if (b.Habitability == HAB_HOSPITABLE)
                e += 1;
            if (b.TypeID != BODY_TYPE_TERRESTRIAL)
                e -= 1;
            if (b.Temp > 373)
                e -= 1;
            if (b.Temp > 473)
                e -= 1;
            const int r1 = NRandom(10);
            const int r2 = NRandom(10);
            e += (r1 + r2) / 2 - 2;
            if (e > 1) {
                const double n = std::pow(10.0, e) * NRandom(1000) / 100;
                b.Population = n < 10 ? 0 : std::trunc(n);
            }
            break;
        }
        case BODY_TYPE_STATION: {
            const int e = WMin(7, 2) - 1;
            const double n = std::pow(10.0, e) * NRandom(1000) / 100;
            b.Population = n < 1 ? 0 : std::trunc(n);
            break;
        }
        default: break;
        }
    });
    body.ChildPopulation = body.GetChildPopulation();
    if (body.ChildPopulation > 0 && PopulatedLabelColor != 0)
        body.LabelColor = PopulatedLabelColor;
    if (body.ChildPopulation > 10000)
        body.FontStyle = LABEL_FONT_BOLDUNDERLINE;
    else if (body.ChildPopulation > 1000)
        body.FontStyle = LABEL_FONT_UNDERLINE;
}

} // namespace kalvion
