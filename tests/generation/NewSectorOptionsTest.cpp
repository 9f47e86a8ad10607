// The New Star Sector values: defaults, the settings they are kept in, the
// sector set-up and the frequency table they make.
#include "generation/NewSectorOptions.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace kalvion {
namespace {

class TMapSettings final : public TSettingsValues {
public:
    std::map<std::string, std::string, std::less<>> Values;
    std::optional<std::string> Read(std::string_view name) const override
    {
        const auto it = Values.find(name);
        return it == Values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void Write(std::string_view name, const std::string &value) override { Values[std::string(name)] = value; }
};

TEST(NewSectorOptions, DefaultsFollowTheCurrentSector)
{
    TVexaSector current;
    current.SizeX = 32.616;
    current.SizeY = 10;
    current.SizeZ = 5;
    current.Spherical = true;
    const TNewSectorOptions o = DefaultNewSectorOptions(current, "A.ilt");
    EXPECT_TRUE(o.Spherical);
    EXPECT_EQ(o.Width, 32.616);
    EXPECT_EQ(o.Radius, 16.308);
    EXPECT_EQ(o.Unit, "Light Years");
    EXPECT_EQ(o.NameTable, "A.ilt");
    EXPECT_EQ(o.Frequency, 5);
    EXPECT_EQ(o.Distribution, DISTRIBUTION_EVEN);
    EXPECT_EQ(o.SystemData, GENERATE_EXTENDED);
    EXPECT_EQ(o.SubsectorX, 2);
    EXPECT_EQ(o.ColorPopulated, ColorRGB(255, 128, 64));
    EXPECT_EQ(o.ColorSubsector, ColorRGB(0, 128, 192));
    EXPECT_TRUE(o.Populations);
    EXPECT_FALSE(o.OrganicNaming);
    EXPECT_EQ(o.Terraforming, 10);

    // A stored unit of parsecs turns the sizes into parsecs, 3 decimals.
    TMapSettings settings;
    settings.Values = {{"GeneratorSpherical", "false"}, {"GeneratorUnit", "Parsecs"}};
    const TNewSectorOptions pc = ReadNewSectorOptions(settings, current, "A.ilt");
    EXPECT_EQ(pc.Unit, "Parsecs");
    EXPECT_EQ(pc.Width, 10);
    EXPECT_EQ(pc.Height, 3.066);
    EXPECT_TRUE(pc.Spherical) << "the current sector's shape wins";
}

TEST(NewSectorOptions, SettingsRoundTripAndStopAtTheFirstMissingValue)
{
    TVexaSector current;
    TNewSectorOptions o = DefaultNewSectorOptions(current, "Std.ilt");
    o.TotalSystems = 1234;
    o.SubsectorX = 8;
    o.SubsectorZ = 32;
    o.ColorLabel = 0x00ABCDEF;
    o.Frequency = 77;
    o.Distribution = DISTRIBUTION_CLUSTERED;
    o.SystemData = GENERATE_STARS;
    o.NameTable = "Other.ilt";
    o.Populations = false;
    o.OrganicNaming = true;
    o.Freq[FREQ_NEBULA] = 0;
    o.Freq[FREQ_PLANETOID] = 50;
    o.Terraforming = 3;
    TMapSettings settings;
    WriteNewSectorOptions(settings, o);
    EXPECT_EQ(settings.Values.at("GeneratorSubsectorX"), "5") << "the list index is stored";
    EXPECT_EQ(settings.Values.at("GeneratorUnit"), "Light Years");

    TNewSectorOptions back = ReadNewSectorOptions(settings, current, "Std.ilt");
    EXPECT_EQ(back.TotalSystems, 1234);
    EXPECT_EQ(back.SubsectorX, 8);
    EXPECT_EQ(back.SubsectorZ, 32);
    EXPECT_EQ(back.ColorLabel, 0x00ABCDEFu);
    EXPECT_EQ(back.Frequency, 77);
    EXPECT_EQ(back.Distribution, DISTRIBUTION_CLUSTERED);
    EXPECT_EQ(back.SystemData, GENERATE_STARS);
    EXPECT_EQ(back.NameTable, "Other.ilt");
    EXPECT_FALSE(back.Populations);
    EXPECT_TRUE(back.OrganicNaming);
    EXPECT_EQ(back.Freq, o.Freq);
    EXPECT_EQ(back.Terraforming, 3);

    // Without "GeneratorFrequency" everything after it keeps its default.
    TMapSettings gap = settings;
    gap.Values.erase("GeneratorFrequency");
    back = ReadNewSectorOptions(gap, current, "Std.ilt");
    EXPECT_EQ(back.ColorLabel, 0x00ABCDEFu);
    EXPECT_EQ(back.Frequency, 5);
    EXPECT_EQ(back.SystemData, GENERATE_EXTENDED);
    EXPECT_EQ(back.NameTable, "Std.ilt");
    EXPECT_EQ(back.Freq[FREQ_PLANETOID], 10);

    // An unreadable value stops reading as a missing one does.
    TMapSettings bad = settings;
    bad.Values["GeneratorDistribution"] = "sideways";
    back = ReadNewSectorOptions(bad, current, "Std.ilt");
    EXPECT_EQ(back.Frequency, 77);
    EXPECT_EQ(back.Distribution, DISTRIBUTION_EVEN);
    EXPECT_EQ(back.Terraforming, 10);

    // Missing populations and organic-naming values count as on and reading
    // goes on; values out of range are held to it.
    TMapSettings older = settings;
    older.Values.erase("GeneratorPopulations");
    older.Values.erase("OrganicNaming");
    older.Values["GeneratorTerraforming"] = "-4";
    back = ReadNewSectorOptions(older, current, "Std.ilt");
    EXPECT_TRUE(back.Populations);
    EXPECT_TRUE(back.OrganicNaming);
    EXPECT_EQ(back.Freq[FREQ_PLANETOID], 50);
    EXPECT_EQ(back.Terraforming, 0);
}

TEST(NewSectorOptions, SetUpAndFrequencyTable)
{
    TNewSectorOptions o;
    o.Unit = "Parsecs";
    o.Spherical = true;
    o.Radius = 5;
    o.Frequency = 12;
    TVexaSector s;
    s.GridX = 0;
    SetUpNewSector(s, o);
    EXPECT_DOUBLE_EQ(s.SizeX, 32.616);
    EXPECT_EQ(s.SizeZ, s.SizeX);
    EXPECT_EQ(s.GridStyle, GRID_STYLE_SPHERE);
    EXPECT_EQ(s.UnitStarMeasureAbbrev, "pc");
    EXPECT_EQ(s.UnitStarMeasureRatio, 3.2616);
    EXPECT_EQ(s.GridX, s.SizeX);
    EXPECT_EQ(s.GridY, 20);
    EXPECT_EQ(s.Frequency, 12);

    TNewSectorOptions box;
    box.Width = 0.5;
    box.Height = 30;
    box.Depth = -1;
    TVexaSector t;
    SetUpNewSector(t, box);
    EXPECT_FALSE(t.Spherical);
    EXPECT_EQ(t.SizeX, 10);
    EXPECT_EQ(t.SizeY, 30);
    EXPECT_EQ(t.SizeZ, 10);
    // Sizes beyond what can be drawn or filled are capped, units included.
    box.Width = 1e308;
    box.Unit = "Parsecs";
    box.Height = 999999;
    SetUpNewSector(t, box);
    EXPECT_EQ(t.SizeX, SECTOR_MAX_SIZE);
    EXPECT_EQ(t.SizeY, SECTOR_MAX_SIZE);
    box.Unit = "Light Years";
    box.Width = 0.5;
    box.Height = 30;

    box.Freq.fill(0);
    box.Freq[FREQ_MULT] = 7;
    box.Freq[FREQ_GIANT_STAR] = 9;
    box.Freq[FREQ_PLANET_SYSTEM] = 3;
    const TSectorGenerateParams p = GenerateParamsFrom(box);
    EXPECT_EQ(p.Frequencies[BODY_TYPE_MULT], 7);
    EXPECT_EQ(p.Frequencies[BODY_TYPE_CLOSEMULT], 7);
    EXPECT_EQ(p.Frequencies[BODY_TYPE_REDGIANT], 9);
    EXPECT_EQ(p.Frequencies[BODY_TYPE_BLUEGIANT], 9);
    EXPECT_EQ(p.Frequencies[BODY_TYPE_PLANETSYSTEM], 3);
    EXPECT_EQ(p.Frequencies[BODY_TYPE_STAR], 0);
    EXPECT_EQ(p.Frequencies[BODY_TYPE_BROWNDWARF], 10) << "types without a slider keep 10";
    EXPECT_EQ(p.Frequencies[BODY_TYPE_RING], 10);
}

TEST(NewSectorOptions, NameTablesAreListedSorted)
{
    const auto files = NameTableFiles();
    ASSERT_FALSE(files.empty());
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
    EXPECT_NE(std::find(files.begin(), files.end(), "Kalvion Standard Names.ilt"), files.end());
}

} // namespace
} // namespace kalvion
