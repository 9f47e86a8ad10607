#pragma once
// A small sector for the orbit view's window tests: a star with two planets
// (one ringed) and a second star, saved to a file the window opens.
#include "files/SectorFile.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/orbit/OrbitViewMath.h"

#include <QString>

#include <string>

namespace kalvion::app::test {

inline TStellarBody *AddOrbitStar(TVexaSector &s, const std::string &name, double x)
{
    TStellarBody *star = s.NewSystem(1);
    star->Name = name;
    star->TypeID = BODY_TYPE_STAR;
    star->X = x;
    star->Mass = 1;
    star->Radius = 1;
    for (int i = 1; i <= 2; ++i) {
        auto planet = TStellarBody::Create();
        planet->Name = name + (i == 1 ? " I" : " II");
        planet->TypeID = BODY_TYPE_TERRESTRIAL;
        planet->Distance = i * ORBIT_KM_PER_AU;
        planet->Radius = 6000;
        planet->Mass = 1;
        if (i == 2) {
            auto ring = TStellarBody::Create();
            ring->Name = name + " II Ring";
            ring->TypeID = BODY_TYPE_RING;
            ring->Distance = 9000;
            ring->Radius = 5000;
            planet->AddChild(std::move(ring));
        }
        star->AddChild(std::move(planet));
    }
    return star;
}

inline bool WriteOrbitSector(const QString &file)
{
    TVexaSector s;
    AddOrbitStar(s, "Aldra", -2);
    AddOrbitStar(s, "Brisk", 2);
    s.UpdateRootAttribs();
    return SaveToFile(s, file.toStdString(), false);
}

} // namespace kalvion::app::test
