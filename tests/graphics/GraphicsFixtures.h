#pragma once
// Sectors and pictures shared by the graphics tests.
#include "base/Colour.h"
#include "base/SharedRandom.h"
#include "generation/SystemGenerator.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include <QColor>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace kalvion::test {

inline TColor PixelAt(const QImage &image, int x, int y) { return ColorFromQRgb(image.pixel(x, y)); }

inline TStellarBody *AddRoot(TVexaSector &sector, const std::string &name, int type, double x, double y, double z)
{
    auto body = TStellarBody::Create();
    body->Name = name;
    body->TypeID = type;
    body->X = x;
    body->Y = y;
    body->Z = z;
    TStellarBody *raw = body.get();
    sector.AddSystem(std::move(body));
    return raw;
}

inline TStellarBody *AddChild(TStellarBody &parent, const std::string &name, int type, double distanceKm)
{
    auto body = TStellarBody::Create();
    body->Name = name;
    body->TypeID = type;
    body->Distance = distanceKm;
    body->Radius = 6000;
    body->Mass = 1;
    TStellarBody *raw = body.get();
    parent.AddChild(std::move(body));
    return raw;
}

// A sector of `count` generated systems spread through the box, with a few
// routes, all from fixed seeds.
inline std::unique_ptr<TVexaSector> GeneratedSector(int count, double size, std::int32_t seed)
{
    SetSharedRandomSeed(seed);
    auto sector = TVexaSector::Create();
    sector->Name = "Test Reach";
    sector->SizeX = sector->SizeY = sector->SizeZ = size;
    TSystemGenerator gen;
    gen.Seed = static_cast<std::uint32_t>(seed);
    gen.WithPopulations = true;
    gen.SetPickLists();
    for (int i = 0; i < count; ++i) {
        auto root = TStellarBody::Create();
        gen.GenerateSystemInfo(*root);
        root->Name = "Sys-" + std::to_string(i + 1);
        int k = 0;
        for (auto &c : root->Children)
            if (c->Name.empty())
                c->Name = root->Name + " " + static_cast<char>('b' + k++ % 24);
        root->X = (SharedRandomFloat() - 0.5) * size;
        root->Y = (SharedRandomFloat() - 0.5) * size;
        root->Z = (SharedRandomFloat() - 0.5) * size;
        root->Color = ColorRGB(255, 200 - (i % 5) * 30, 80 + (i % 3) * 60);
        root->LabelColor = ColorRGB(255, 80, 40);
        if (i % 17 == 0) {
            root->SphereInfluence = SPHERE_INFLUENCE_SPHERE;
            root->SphereInfluenceSize = size / 40;
            root->SphereInfluenceColor = ColorRGB(40, 120, 255);
        }
        sector->AddSystem(std::move(root));
    }
    for (int r = 0; r + 3 < count && r < 40; r += 4) {
        auto route = TStellarRoute::Create();
        route->Name = "Lane " + std::to_string(r / 4 + 1);
        route->Red = 0.1;
        route->Green = 0.8;
        route->Blue = 0.3;
        route->LineWidth = 2;
        for (int k = 0; k < 3; ++k)
            route->AddSystem(sector->GetSystem(r + k));
        sector->Routes.push_back(std::move(route));
    }
    return sector;
}

// Where pictures for a person to look at go: $KALVION_PICTURES when set,
// else a temporary folder.
inline std::string PictureDir()
{
    const char *env = std::getenv("KALVION_PICTURES");
    std::filesystem::path p = env && *env ? std::filesystem::path(env)
                                          : std::filesystem::temp_directory_path() / "kalvion-graphics-test";
    std::filesystem::create_directories(p);
    return p.string();
}

} // namespace kalvion::test
