#pragma once
// The values of the "New Star Sector" dialog: their defaults, how they are
// kept in the settings, how they set up the sector and what they hand to
// the sector generator.
#include "base/Colour.h"
#include "generation/SectorGenerator.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

class TVexaSector;

// The subsector counts offered per axis; the settings keep the list index.
inline constexpr std::array<std::int32_t, 11> SUBSECTOR_COUNTS = {1, 2, 3, 4, 5, 8, 10, 16, 20, 25, 32};

// The frequency sliders, in dialog order.
enum TGeneratorFreq {
    FREQ_SINGLE_STAR, FREQ_MULT, FREQ_BLACK_HOLE, FREQ_FREE_OBJECT, FREQ_STATION, FREQ_NEUTRON, FREQ_NEBULA,
    FREQ_WHITE_DWARF, FREQ_GIANT_STAR, FREQ_TERRESTRIAL, FREQ_GAS_GIANT, FREQ_PLANET_SYSTEM, FREQ_ASTEROID_BELT,
    FREQ_PLANETOID, FREQ_SLIDER_COUNT
};

struct TGeneratorFreqSlider {
    const char *SettingName;  // "GeneratorFreqSingleStar"
    const char *ShortName;    // the same without "GeneratorFreq", for the command line
    std::int32_t Types[2];    // the body types it sets; 0 for none
};
extern const std::array<TGeneratorFreqSlider, FREQ_SLIDER_COUNT> GENERATOR_FREQ_SLIDERS;

struct TNewSectorOptions {
    bool Spherical = false;
    double Width = 20, Height = 20, Depth = 20;  // in the chosen unit
    double Radius = 10;
    std::int32_t TotalSystems = 0;
    std::string Unit = "Light Years";  // or "Parsecs"
    bool Subsectors = true;
    std::int32_t SubsectorX = 2, SubsectorY = 2, SubsectorZ = 2;  // counts from SUBSECTOR_COUNTS
    TColor ColorLabel = ColorRGB(255, 0, 0);
    TColor ColorPopulated = ColorRGB(255, 128, 64);
    TColor ColorSubsector = ColorRGB(0, 128, 192);
    bool Placements = true;
    std::int32_t Frequency = 5;  // 1 … 100
    std::int32_t Distribution = DISTRIBUTION_EVEN;
    std::int32_t SystemData = GENERATE_EXTENDED;
    std::string NameTable;
    bool Populations = true;
    bool OrganicNaming = false;
    std::array<std::int32_t, FREQ_SLIDER_COUNT> Freq{10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10};
    std::int32_t Terraforming = 10;  // 0 … 10
    std::string SaveAs;
};

// Where the dialog's values are kept between runs (the program's settings).
class TSettingsValues {
public:
    virtual ~TSettingsValues() = default;
    virtual std::optional<std::string> Read(std::string_view name) const = 0;
    virtual void Write(std::string_view name, const std::string &value) = 0;
};

// The name-table files of "LangData/", sorted.
std::vector<std::string> NameTableFiles();

// The dialog's defaults for the current sector: its shape, and its sizes in
// the given unit rounded to 3 decimals.
TNewSectorOptions DefaultNewSectorOptions(const TVexaSector &current, const std::string &nameTable);
// The values as the dialog opens: the defaults, then what the settings keep
// (read in order, the unit second, up to the first missing value; a missing
// "GeneratorPopulations" or "OrganicNaming" counts as on), then the current
// sector's shape and sizes.
TNewSectorOptions ReadNewSectorOptions(const TSettingsValues &settings, const TVexaSector &current,
                                       const std::string &defaultNameTable);
void WriteNewSectorOptions(TSettingsValues &settings, const TNewSectorOptions &options);

// Sizes, unit, shape, grid and frequency of the sector to generate.
void SetUpNewSector(TVexaSector &sector, const TNewSectorOptions &options);
// What the generator's start operation takes.
TSectorGenerateParams GenerateParamsFrom(const TNewSectorOptions &options);

} // namespace kalvion
