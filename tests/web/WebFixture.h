#pragma once
// Sectors for the web export tests: a small hand-made one with hostile names
// and notes of every kind, and a folder of its own for each test.
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <unistd.h>

namespace kalvion::test {

namespace fs = std::filesystem;

inline const char *HostileName = "<img src=x onerror=\"document.body.dataset.pwned=1\">";
inline const char *ScriptCloser = "</script><script>document.body.dataset.pwned=2</script>";

inline TStellarBody *AddSystem(TVexaSector &sector, const std::string &name, double x, double y, double z)
{
    auto root = TStellarBody::Create();
    root->Name = name;
    root->TypeID = BODY_TYPE_STAR;
    root->Spectral = "G2V";
    root->Luminosity = 1;
    root->X = x;
    root->Y = y;
    root->Z = z;
    TStellarBody *raw = root.get();
    sector.AddSystem(std::move(root));
    return raw;
}

inline TStellarBody *AddPlanet(TStellarBody &parent, const std::string &name)
{
    auto planet = TStellarBody::Create();
    planet->Name = name;
    planet->TypeID = BODY_TYPE_TERRESTRIAL;
    planet->Radius = 6378;
    planet->Mass = 1;
    planet->Density = 1;
    planet->Temp = 288;
    planet->Population = 1500000;
    planet->Notes = "Open notes";
    planet->GMNotes = "Secret GM notes";
    planet->SetField("secret field", "hidden value");
    TStellarBody *raw = planet.get();
    parent.AddChild(std::move(planet));
    return raw;
}

// Three systems, one of them with a planet, two with hostile names, and a route.
inline std::unique_ptr<TVexaSector> SmallSector()
{
    auto sector = TVexaSector::Create();
    sector->Name = "Border \"Reach\" & <Co>";
    TStellarBody *home = AddSystem(*sector, "Home", 0, 0, 0);
    AddPlanet(*home, "Homeworld");
    TStellarBody *hostile = AddSystem(*sector, HostileName, 3, 0, 0);
    AddSystem(*sector, ScriptCloser, 0, 3, 0);
    sector->CreateRouteSegment(home, hostile, "Trade", "Lane 'one'", ColorRGB(0, 255, 0), 1, 1);
    return sector;
}

inline std::string ReadText(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline fs::path FreshFolder(const std::string &name)
{
    const fs::path dir = fs::temp_directory_path() / ("kalvion-web-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

} // namespace kalvion::test
