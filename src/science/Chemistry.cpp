#include "science/Chemistry.h"

#include "base/AsciiText.h"
#include "base/Rounding.h"
#include "model/StellarBody.h"

#include <algorithm>

namespace kalvion {

namespace {

TGasInfo Gas(const char *name, double weight, double boiling, double limit, int r, int g, int b)
{
    return TGasInfo{name, weight, boiling, 0, limit, ColorRGB(r, g, b)};
}

// The values are the table's own, odd ones included (nitrogen boils at the
// same 27 K as neon; the last three rows share 185 K): generated atmospheres
// depend on them exactly as they stand.
std::array<TGasInfo, GAS_COUNT> BuildTable()
{
    return {{
        Gas("H2", 2, 20, 0.01, 220, 220, 255),
        Gas("He", 4, 4, -1, 220, 220, 255),
        Gas("CH4", 16, 109, 0.01, 128, 192, 255),
        Gas("NH3", 17, 240, 0.01, 255, 255, 255),
        Gas("H2O", 18, 373, 0.2, 255, 255, 255),
        Gas("Ne", 20, 27, -1, 255, 128, 128),
        Gas("N2", 28, 27, 3, 220, 220, 255),
        Gas("CO", 28, 82, 0.01, 220, 220, 255),
        Gas("NO", 30, 121, 0.01, 220, 220, 255),
        Gas("O2", 32, 90, 0.5, 220, 220, 255),
        Gas("H2S", 34, 314, 0.01, 242, 172, 132),
        Gas("Ar", 40, 87, 1.5, 220, 220, 255),
        Gas("CO2", 44, 195, 0.01, 220, 220, 255),
        Gas("NO2", 46, 294, 0.01, 220, 220, 255),
        Gas("O3", 48, -1, 0.01, 200, 200, 255),
        Gas("SO2", 64, 263, 0.01, 255, 255, 128),
        Gas("Kr", 84, -1, 0.4, 255, 255, 255),
        Gas("Xe", 131, -1, 0.2, 255, 255, 255),
        Gas("C2H6", 30, 185, 0.01, 221, 200, 85),
        Gas("HCN", 27, 299, 0.0001, 128, 128, 255),
        Gas("PH3", 34, 185, 0.01, 128, 128, 255),
        Gas("HCl", 36, 185, 0.01, 128, 128, 255),
    }};
}

int Channel(double sum, double weight)
{
    return std::clamp(TruncToInt32Clamped(sum / weight), 0, 255);
}

} // namespace

const std::array<TGasInfo, GAS_COUNT> &GasTable()
{
    static const std::array<TGasInfo, GAS_COUNT> table = BuildTable();
    return table;
}

bool GetGasInfo(std::string_view name, TGasInfo &info)
{
    for (const TGasInfo &g : GasTable())
        if (SameText(g.Name, name)) {
            info = g;
            return true;
        }
    info = TGasInfo{};
    info.Color = ColorRGB(255, 25, 255);
    return false;
}

TColor DeriveAtmColor(const std::vector<TVexaAtmElement> &elements)
{
    double r = 0, g = 0, b = 0, weight = 0;
    for (const TVexaAtmElement &e : elements) {
        const TGasInfo *gas = nullptr;
        for (const TGasInfo &row : GasTable())
            if (SameText(row.Name, e.Gas)) {
                gas = &row;
                break;
            }
        if (!gas || gas->MolecularWeight <= 0)
            continue;
        r += ColorRed(gas->Color) * e.Percent;
        g += ColorGreen(gas->Color) * e.Percent;
        b += ColorBlue(gas->Color) * e.Percent;
        weight += e.Percent;
    }
    if (!(weight > 0))
        return ColorRGB(255, 255, 255);
    return ColorRGB(Channel(r, weight), Channel(g, weight), Channel(b, weight));
}

TColor DeriveAtmColor(const TStellarBody &body) { return DeriveAtmColor(body.AtmElements.vec()); }

} // namespace kalvion
