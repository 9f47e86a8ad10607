// Fixed seeds pin the generator's draws one by one.  The expected values come
// from data/reference_generator.py, a separate transcription of the
// generation recipe in Python (run it to print them again); a difference
// means a draw moved, changed its random state or its formula.
#include "base/SharedRandom.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kalvion {
namespace {

std::string G17(double x)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

void Dump(const TStellarBody &b, int depth, std::vector<std::string> &out)
{
    out.push_back(std::to_string(depth) + "|" + std::to_string(b.TypeID) + "|" + b.Name + "|" + G17(b.Distance) +
                  "|" + G17(b.Radius) + "|" + G17(b.Mass) + "|" + G17(b.Temp) + "|" + G17(b.Rotation) + "|" +
                  G17(b.Eccentricity) + "|" + G17(b.TimeOffset) + "|" + G17(b.Atmosphere) + "|" +
                  b.AtmosphereNotes + "|" + std::to_string(b.Habitability) + "|" + G17(b.Population) + "|" +
                  G17(b.X));
    for (const auto &c : b.Children)
        Dump(*c, depth + 1, out);
}

struct StarCase {
    std::int32_t SharedSeed;
    std::uint32_t GenSeed;
    const char *Spectral;
    double Mass, Rotation, Luminosity, Radius, PlaneX, PlaneY, PlaneZ;
};

TEST(GeneratorDrawOrder, SingleStarClassSubclassMassLuminosity)
{
    // reference_generator.py, "single stars": a brown dwarf, a G3, an M and a G5 star.
    const StarCase cases[] = {
        {1234, 5678, "L", 0.015756523134186864, -6217.9399999999996, 4.9103378021276935e-07, 0.036138349453591179,
         50.1, -69.3, -36.5},
        {99, 31337, "G3V", 0.84156771762063731, 827.02999999999997, 0.546, 0.87110649956039476, -71.7, 33.9,
         -38.9},
        {2024, 7, "MV", 0.13158617073204368, -2006.29, 0.00082648670286146367, 0.19740956840616805,
         44.3, -86.4, 59.6},
        {5, 424242, "G5V", 0.84493064450798561, 880.54999999999995, 0.554, 0.87389016024687638, 42.8, 29.3, -24.4},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.GenSeed);
        SetSharedRandomSeed(c.SharedSeed);
        auto star = TStellarBody::Create();
        star->TypeID = BODY_TYPE_STAR;
        TSystemGenerator gen;
        gen.Seed = c.GenSeed;
        gen.StarsOnly = true;
        gen.GenerateStarInfo(*star);
        EXPECT_EQ(star->Spectral, c.Spectral);
        EXPECT_DOUBLE_EQ(star->Mass, c.Mass);
        EXPECT_DOUBLE_EQ(star->Rotation, c.Rotation);
        EXPECT_DOUBLE_EQ(star->Luminosity, c.Luminosity);
        EXPECT_DOUBLE_EQ(star->Radius, c.Radius);
        EXPECT_DOUBLE_EQ(star->OrbitalPlaneX, c.PlaneX);
        EXPECT_DOUBLE_EQ(star->OrbitalPlaneY, c.PlaneY);
        EXPECT_DOUBLE_EQ(star->OrbitalPlaneZ, c.PlaneZ);
        EXPECT_TRUE(star->Children.empty());
    }
    SetSharedRandomSeed(1234);
    auto dwarf = TStellarBody::Create();
    TSystemGenerator gen;
    gen.Seed = 5678;
    gen.StarsOnly = true;
    gen.GenerateStarInfo(*dwarf);
    EXPECT_EQ(dwarf->BodyType, "Brown Dwarf");
    EXPECT_EQ(dwarf->Color, ColorRGB(200, 150, 100));
}

struct AtmCase {
    std::uint32_t GenSeed;
    double Mass, Radius, Temp;
    const char *Notes;
    double Atmosphere, TempAfter, Water;
    int Habitability;
    std::vector<std::pair<const char *, double>> Components;
};

TEST(GeneratorDrawOrder, AtmosphereNotesAndComponents)
{
    // reference_generator.py, "atmospheres": a body without a star, populations off.
    const AtmCase cases[] = {
        {11, 1.0, 6378.14, 288, "2.05 atm (O2 52%,N2 24%,Ar 6%,CO 4%)", 2.0488, 293, 0.0785, 1,
         {{"O2", 52}, {"N2", 24}, {"AR", 6}, {"CO", 4}}},
        {4242, 0.5, 5000, 250, "0.52 atm (N2 36%,O2 33%,SO2 7%,CO 7%)", 0.51649999999999996, 255,
         0.43780000000000002, 1, {{"N2", 36}, {"O2", 33}, {"SO2", 7}, {"CO", 7}}},
        {77, 2.0, 8000, 300, "9.88 atm (He 52%,N2 29%,O2 14%)", 9.8820999999999994, 313, 0.27079999999999999, 1,
         {{"HE", 52}, {"N2", 29}, {"O2", 14}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Notes);
        auto body = TStellarBody::Create();
        body->TypeID = BODY_TYPE_TERRESTRIAL;
        body->Mass = c.Mass;
        body->Radius = c.Radius;
        body->Temp = c.Temp;
        body->Density = c.Mass / ((c.Radius / 6378.14) * (c.Radius / 6378.14) * (c.Radius / 6378.14));
        TSystemGenerator gen;
        gen.Seed = c.GenSeed;
        gen.WithPopulations = false;
        gen.GenerateAtmosphere(*body);
        EXPECT_EQ(body->AtmosphereNotes, c.Notes);
        EXPECT_DOUBLE_EQ(body->Atmosphere, c.Atmosphere);
        EXPECT_DOUBLE_EQ(body->Temp, c.TempAfter);
        EXPECT_DOUBLE_EQ(body->Water, c.Water);
        EXPECT_EQ(body->Habitability, c.Habitability);
        ASSERT_EQ(body->GetAtmElementCount(), static_cast<int>(c.Components.size()));
        for (std::size_t i = 0; i < c.Components.size(); ++i) {
            EXPECT_EQ(body->GetAtmElement(static_cast<int>(i)), c.Components[i].first);
            EXPECT_DOUBLE_EQ(body->GetAtmElementPercent(static_cast<int>(i)), c.Components[i].second);
        }
    }
}

// One line per body, depth first: depth|type|name|distance|radius|mass|temp|
// rotation|eccentricity|time offset|atmosphere|notes|habitability|population|x
const char *const kSystem1_2[] = {
    "0|1||0|0.23668132828451105|0.16508400535210965|0|-4797.5600000000004|0|0|0||0|0|0",
    "1|100||5988833|1836|0.021472234180352885|212|0|0.044200000000000003|0|0.00029999999999999997|None|0|0|0",
    "2|106|Smaller Bodies|0|27|0|212|0|0|0|0||0|0|0",
    "1|101||139768250|79338|500.43805414197999|41|21|0.014|702|0||0|0|0",
    "2|100||112820|160|1.894344889687402e-05|57|0|0.0166|0|0|None|0|0|0",
    "2|100||122817|1502|0.01697739319598205|49|0|0.024|0|0.035200000000000002|None|0|0|0",
    "2|100||135987|576|0.00029460851724418479|56|0|0.043700000000000003|0|0|None|0|0|0",
    "2|104|Ring|152965|8727|0|0|0|0|0|0||0|0|0",
    "2|100||203742|526|0.00067306395821228947|55|0|0.024799999999999999|0|0|None|0|0|0",
    "2|100||241032|905|0.0017140158936340131|52|-0|0.0057000000000000002|0|0|None|0|0|0",
    "2|100||289587|1740|0.0060909755512393712|55|0|0.042200000000000001|0|0.002|None|0|0|0",
    "2|100||352741|411|8.0272091191756586e-05|55|0|0.0041000000000000003|0|0|None|0|0|0",
    "2|100||434777|2951|0.029713016213038783|53|0|0.094799999999999995|0|0.1394|0.14 atm (N2 51%,O2 30%,CO2 9%,Ar 3%)|0|0|0",
    "2|100||679935|264|2.8365446791956741e-05|57|0|0.028400000000000002|0|0|None|0|0|0",
    "2|100||860193|272|3.8778818512642532e-05|56|0|0.018599999999999998|2|0|None|0|0|0",
    "2|100||1094560|410|0.00018593770528056188|58|0|0.0286|6|0|None|0|0|0",
    "2|100||1399063|232|9.6252453155387586e-06|53|0|0.048899999999999999|3|0|None|0|0|0",
    "2|100||1794647|290|4.6998268142279105e-05|57|0|0.2465|9|0|None|0|0|0",
    "2|100||2308763|691|0.00076296259931704809|49|205.94900000000001|0.0041999999999999997|2|0|None|0|0|0",
    "2|100||2978384|1276|0.0080070009468638081|49|13|0.073599999999999999|7|0.0027000000000000001|None|0|0|0",
    "2|100||3847938|2513|0.055047529380341235|53|11|0.067900000000000002|25|0.082900000000000001|0.08 atm (N2 42%,O2 21%,CO2 21%,SO2 3%)|0|0|0",
    "2|100||4979312|1997|0.024555118725499994|52|35|0.15190000000000001|8|0.096600000000000005|0.1 atm (CO2 42%,N2 30%,O2 14%,Ar 4%)|0|0|0",
    "2|100||6448669|1169|0.0067725789330955266|58|33|0.29239999999999999|6|0.0022000000000000001|None|0|0|0",
    "2|100||8360737|3952|0.1189429399233744|49|19|0.17660000000000001|53|0.11070000000000001|0.11 atm (N2 45%,CO2 24%,O2 9%,Ar 4%)|0|0|0",
    "2|100||14074727|1966|0.017571937406408791|55|44|0.080600000000000005|214|0.0025000000000000001|None|0|0|0",
    "2|106|Smaller Bodies|0|42|0|42|0|0|0|0||0|0|0",
    "1|101||674577218|10709|1.278324824572191|20|43|0.14829999999999999|7691|0||0|0|0",
};

const char *const kSystem314159_271828[] = {
    "0|1||0|0.25526996526054119|0.1814469402609393|0|2248.5900000000001|0|0|0||0|0|0",
    "1|102||4397340|1612494|0|348|0|0.0030000000000000001|3|0||0|0|0",
    "1|100||18824419|3783|0.18786068464772315|137|275.79250000000002|0.0067999999999999996|20|1.0497000000000001|1.05 atm (N2 43%,O2 28%,CO2 20%,CO 2%)|0|0|0",
    "1|101||118158177|43210|37.313028208195185|51|460.02969999999999|0.045999999999999999|258|0||0|0|0",
    "2|100||74062|1817|0.0046239447297282566|59|0|0.0053|0|0.0001|None|0|0|0",
    "2|100||83309|1634|0.0067256459977296686|66|0|0.0557|0|0.00029999999999999997|None|0|0|0",
    "2|100||131273|1723|0.021685346913584033|65|0|0.1099|1|0.032099999999999997|None|0|0|0",
    "2|100||157718|1501|0.0065167331513943678|61|0|0.095299999999999996|0|0.0016000000000000001|None|0|0|0",
    "2|100||192113|1146|0.0069607006281831698|60|0|0.010699999999999999|2|0.0043|None|0|0|0",
    "2|100||1257419|3856|0.28725810072528934|58|31|0.1303|19|0.59260000000000002|0.59 atm (He 60%,N2 23%,CO2 6%,Ar 3%)|0|0|0",
    "2|100||2095699|256|7.1126336124796328e-05|69|15|0.0224|58|0|None|0|0|0",
    "2|100||2711877|4763|0.58302561659405461|75|5|0.3019|11|6.0861999999999998|6.09 atm (H2 71%,He 15%,CO2 6%,N2 4%)|0|0|0",
    "2|100||4553500|1652|0.024326297929608349|69|35|0.47589999999999999|120|0.14069999999999999|0.14 atm (N2 37%,CO2 29%,O2 25%,SO2 2%)|0|0|0",
    "2|106|Smaller Bodies|0|18|0|52|0|0|0|0||0|0|0",
    "1|103||838209172|311|9.3575613718969848e-05|24|0|0.017100000000000001|3589|0||0|0|0",
    "2|106|Smaller Bodies|0|16.5|0|25|0|0|0|0||0|0|0",
};

// A planet system, a station with people, belts and planetoids.
const char *const kSystem7_10[] = {
    "0|1||0|0.88876324507103288|0.86294398813042794|0|333.74000000000001|0|0|0||0|0|0",
    "1|102||16136824|4609728|0|723|0|0.00080000000000000004|10|0||0|0|0",
    "1|100||24076142|4153|0.11044771933736833|465|0|0.0073000000000000001|5|0.0053|None|0|0|0",
    "1|100||171050344|8241|2.8050743369821349|300|7|0.093299999999999994|261|22.956399999999999|22.96 atm (He 31%,N2 28%,CO2 21%,O2 14%)|0|0|0",
    "2|100||36644|130|1.0160829400984427e-05|216|0|0.14080000000000001|0|0|None|0|0|0",
    "2|100||89359|1545|0.0099495020997029948|219|0|0.019800000000000002|1|0|None|0|0|0",
    "2|106|Smaller Bodies|0|42|0|222|0|0|0|0||0|0|0",
    "1|100||289171903|1974|0.032647105401795738|153|-25|0.1993|241|0.042700000000000002|None|0|0|0",
    "1|103||635274525|276|4.0571793694427823e-05|111|0|0.0048999999999999998|434|0||0|0|0",
    "1|100||825947249|1683|0.014718668739999633|96|18|0.097299999999999998|3887|0.0001|None|0|0|0",
    "1|4||1073679786|0|0|77|0|0.042299999999999997|2915|0||0|2|0",
    "1|103||1395512623|137|1.1104339364958412e-05|65|0|0.041399999999999999|4392|0||0|0|0",
    "2|106|Smaller Bodies|0|29.5|0|66|0|0|0|0||0|0|0",
    "1|105||1813779127|0|0|62|0|0.043200000000000002|772|0||0|0|0",
    "2|100||1813779127.3655837|8250.5322890356183|0.86581230322688141|65|36|0|0|5.1969000000000003|5.2 atm (H2 70%,He 14%,N2 10%)|0|0|6191",
    "3|100||113824|1149|0.0058462575365173701|62|0|0.0040000000000000001|3|0.0035000000000000001|None|0|0|0",
    "3|106|Smaller Bodies|0|24.5|0|65|0|0|0|0||0|0|0",
    "2|100||1813779127.3655837|4702.8034047503024|0.28059916127511758|66|40|0|0|1.0676000000000001|1.07 atm (He 60%,N2 15%,CO2 13%,CO 3%)|0|0|-6191",
    "1|102||3065996745|495666660|0|46|0|0.13650000000000001|26064|0||0|0|0",
};

void ExpectSystem(std::int32_t sharedSeed, std::uint32_t genSeed, const char *const *expected, std::size_t count)
{
    SetSharedRandomSeed(sharedSeed);
    auto star = TStellarBody::Create();
    star->TypeID = BODY_TYPE_STAR;
    TSystemGenerator gen;
    gen.Seed = genSeed;
    gen.GenerateStarInfo(*star);
    gen.GeneratePopulations(*star);
    std::vector<std::string> got;
    Dump(*star, 0, got);
    ASSERT_EQ(got.size(), count);
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(got[i], expected[i]) << "body " << i;
}

TEST(GeneratorDrawOrder, WholeSingleStarSystems)
{
    ExpectSystem(1, 2, kSystem1_2, std::size(kSystem1_2));
    ExpectSystem(314159, 271828, kSystem314159_271828, std::size(kSystem314159_271828));
    ExpectSystem(7, 10, kSystem7_10, std::size(kSystem7_10));
}

} // namespace
} // namespace kalvion
