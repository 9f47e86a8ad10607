#include "model/StellarBody.h"
#include "science/Chemistry.h"

#include <gtest/gtest.h>

using namespace kalvion;

TEST(Chemistry, TableKeepsItsOrderAndValues)
{
    const auto &t = GasTable();
    ASSERT_EQ(t.size(), 22u);
    EXPECT_EQ(t[0].Name, "H2");
    EXPECT_EQ(t[6].Name, "N2");
    EXPECT_EQ(t[6].BoilingPoint, 27); // the same figure as neon's
    EXPECT_EQ(t[5].BoilingPoint, 27);
    EXPECT_EQ(t[1].Limit, -1);
    EXPECT_EQ(t[19].Name, "HCN");
    EXPECT_EQ(t[19].Limit, 0.0001);
    EXPECT_EQ(t[18].MolecularWeight, 30);
    EXPECT_EQ(t[21].Name, "HCl");
    EXPECT_EQ(t[21].BoilingPoint, 185);
    EXPECT_EQ(t[10].Color, ColorRGB(242, 172, 132));
    for (const auto &g : t)
        EXPECT_EQ(g.Amount, 0);
}

TEST(Chemistry, LookupIgnoresCaseButNotSpelling)
{
    TGasInfo a, b;
    ASSERT_TRUE(GetGasInfo("CO2", a));
    ASSERT_TRUE(GetGasInfo("cO2", b));
    EXPECT_EQ(a.Name, "CO2");
    EXPECT_EQ(b.Name, "CO2");
    EXPECT_EQ(b.MolecularWeight, 44);
    EXPECT_EQ(b.Limit, 0.01);

    for (const char *bad : {"C O2", "carbon dioxide", "", "CO22"}) {
        TGasInfo g;
        g.Name = "left over";
        EXPECT_FALSE(GetGasInfo(bad, g)) << bad;
        EXPECT_EQ(g.Name, "");
        EXPECT_EQ(g.MolecularWeight, 0);
        EXPECT_EQ(g.Limit, 0);
        EXPECT_EQ(g.Color, ColorRGB(255, 25, 255));
    }
}

TEST(Chemistry, AtmosphereColour)
{
    TStellarBody air;
    air.SetAtmElement("N2", 78);
    air.SetAtmElement("O2", 21);
    air.SetAtmElement("Ar", 1);
    EXPECT_EQ(DeriveAtmColor(air), ColorRGB(220, 220, 255));

    TStellarBody unknown;
    unknown.SetAtmElement("Unobtainium", 60);
    unknown.SetAtmElement("XX", 40);
    EXPECT_EQ(DeriveAtmColor(unknown), ColorRGB(255, 255, 255));
    EXPECT_EQ(DeriveAtmColor(TStellarBody()), ColorRGB(255, 255, 255));

    // Unknown gases carry no weight: the known one alone sets the colour.
    TStellarBody mixed;
    mixed.SetAtmElement("XX", 90);
    mixed.SetAtmElement("H2S", 10);
    EXPECT_EQ(DeriveAtmColor(mixed), ColorRGB(242, 172, 132));

    // Channels are truncated: (128 + 255) / 2 = 191.5.
    std::vector<TVexaAtmElement> half{{"CH4", 50}, {"NH3", 50}};
    EXPECT_EQ(DeriveAtmColor(half), ColorRGB(191, 223, 255));
}
