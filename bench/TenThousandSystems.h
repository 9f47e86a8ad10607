#pragma once
// The sectors the benchmarks share: 10,000 systems of 25 bodies each (a
// star, planets and their moons), built in memory.
#include "model/VexaSector.h"

#include <memory>
#include <string>

namespace kalvion::bench {

constexpr int kSystems = 10000;
constexpr int kBodiesPerSystem = 25;

// A system of the shared shape.  The model benchmarks give some planets a
// population and the bodies designations; the file benchmarks store a
// spectral class and a name on every body instead.
inline std::unique_ptr<TStellarBody> MakeSystemOf(int i, bool named)
{
    auto root = TStellarBody::Create();
    root->TypeID = BODY_TYPE_STAR;
    root->Name = "System " + std::to_string(i);
    if (named)
        root->Spectral = "G2V";
    root->X = (i % 100) - 50;
    root->Y = (i / 100 % 100) - 50;
    root->Z = (i % 7) - 3;
    root->PoliticalAffiliation = (i % 3 == 0) ? "League" : "";
    int made = 1;
    for (int p = 0; made < kBodiesPerSystem; ++p) {
        auto planet = TStellarBody::Create();
        planet->TypeID = BODY_TYPE_TERRESTRIAL;
        planet->Distance = 1e7 * (p + 1);
        if (named) {
            planet->Name = root->Name + " " + std::to_string(p + 1);
        } else {
            planet->Population = (p == 2) ? 1000.0 * i : 0;
            planet->Habitability = (p == 2 && i % 2) ? HAB_HABITABLE : 0;
        }
        ++made;
        for (int m = 0; m < 3 && made < kBodiesPerSystem; ++m, ++made) {
            auto moon = TStellarBody::Create();
            moon->TypeID = BODY_TYPE_TERRESTRIAL;
            if (named)
                moon->Name = planet->Name + " " + static_cast<char>('a' + m);
            moon->Distance = 1e5 * (m + 1);
            planet->AddChild(std::move(moon));
        }
        root->AddChild(std::move(planet));
    }
    if (!named)
        root->SetChildDesignations(root->Name);
    return root;
}

inline std::unique_ptr<TStellarBody> MakeSystem(int i) { return MakeSystemOf(i, false); }
inline std::unique_ptr<TStellarBody> MakeNamedSystem(int i) { return MakeSystemOf(i, true); }

} // namespace kalvion::bench
