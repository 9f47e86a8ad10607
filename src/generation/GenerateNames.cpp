// Which bodies of a generated system get proper names, and how a system takes
// the name of its most important member.  The names themselves come from
// RandomSystemName; every chance is NRandom(100) < p on the generator's seed.
#include "generation/SystemGenerator.h"

#include "model/StellarBody.h"

#include <vector>

namespace kalvion {

namespace {

constexpr const char *kNamePad = "00";

void CollectNamingCandidates(TStellarBody &body, std::vector<TStellarBody *> &out)
{
    const int t = body.TypeID;
    if (t != BODY_TYPE_STAR && t != BODY_TYPE_SMALLBODY && t != BODY_TYPE_RING)
        out.push_back(&body);
    for (auto &c : body.Children)
        CollectNamingCandidates(*c, out);
}

bool IsWorld(const TStellarBody *b)
{
    return b && (b->TypeID == BODY_TYPE_TERRESTRIAL || b->TypeID == BODY_TYPE_GASGIANT);
}

} // namespace

void TSystemGenerator::GenerateMultNames(TStellarBody &body)
{
    std::string name;
    for (auto &c : body.Children) {
        if (c->TypeID == BODY_TYPE_CLOSEMULT)
            GenerateCloseMultNames(*c);
        else
            GenerateSolarSystemNames(*c);
        if (!c->Name.empty())
            name = c->Name;
    }
    if (name.empty())
        return;
    for (std::size_t i = 0; i < body.Children.size(); ++i)
        if (body.Children[i]->Name.empty())
            body.Children[i]->Name = name + " " + static_cast<char>(('A' + i) & 0xFF);
    body.Name = name;
}

void TSystemGenerator::GenerateCloseMultNames(TStellarBody &body)
{
    std::string name;
    for (auto &c : body.Children) {
        GenerateSolarSystemNames(*c);
        if (!c->Name.empty())
            name = c->Name;
    }
    if (name.empty())
        return;
    for (std::size_t i = 0; i < body.Children.size(); ++i)
        if (body.Children[i]->Name.empty())
            body.Children[i]->Name = name + "-" + std::to_string(i + 1);
    body.Name = name;
}

void TSystemGenerator::GenerateSolarSystemNames(TStellarBody &body)
{
    if (body.TypeID == BODY_TYPE_STAR)
        GenerateStarName(body);

    std::vector<TStellarBody *> bodies;
    CollectNamingCandidates(body, bodies);

    // Each body's own population decides its chance: a settled moon of an
    // empty system is as likely to be named as a settled planet.
    TStellarBody *mostPopulous = nullptr;
    for (TStellarBody *b : bodies) {
        if (b->Population > 0 && (!mostPopulous || b->Population > mostPopulous->Population))
            mostPopulous = b;
        if (b->Population > 100) {
            if (NRandom(100) < 90)
                b->Name = RandomSystemName(b, false, kNamePad);
            if (b->Name.empty() && b->Population > 10000 && NRandom(100) < 90)
                b->Name = RandomSystemName(b, false, kNamePad);
        } else if (NRandom(100) < 20) {
            b->Name = RandomSystemName(b, false, kNamePad);
        }
    }

    // Organic naming: named moons make their planet named, named planets
    // make their moons named.
    if (OrganicNaming) {
        for (TStellarBody *b : bodies) {
            if (!b->Parent)
                continue;
            TStellarBody *parent = b->Parent;
            if (!b->Name.empty() && IsWorld(parent) && parent->Name.empty() && NRandom(100) < 75)
                parent->Name = RandomSystemName(parent, false, kNamePad);
            const TStellarBody *orbital = b->GetParentBody();
            if (b->Name.empty() && IsWorld(parent) && orbital && !orbital->Name.empty() && NRandom(100) < 75)
                b->Name = RandomSystemName(b, false, kNamePad);
        }
    }

    for (TStellarBody *b : bodies)
        if (b->TypeID == BODY_TYPE_PLANETSYSTEM)
            GeneratePlanetSystemName(*b);

    if (body.Name.empty() && mostPopulous && !mostPopulous->Name.empty() && NRandom(100) < 75)
        body.Name = mostPopulous->Name;
}

void TSystemGenerator::GenerateStarName(TStellarBody &body)
{
    if (body.TypeID != BODY_TYPE_STAR)
        return;
    const int chance = body.GetChildPopulation() >= 1000 ? 75 : 20;
    if (NRandom(100) < chance)
        body.Name = RandomSystemName(&body, false, kNamePad);
}

void TSystemGenerator::GeneratePlanetSystemName(TStellarBody &body)
{
    if (body.Name.empty()) {
        for (const auto &c : body.Children)
            if (!c->Name.empty()) {
                if (NRandom(100) < 75)
                    body.Name = c->Name;
                break;
            }
    }
    if (!body.Name.empty())
        body.SetChildDesignations(body.Name);
}

} // namespace kalvion
