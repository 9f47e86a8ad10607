#include "app/edit/BodyKinds.h"

#include "generation/PlanetTemplates.h"
#include "generation/QuickGenerate.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"

#include <array>

namespace kalvion::app {

namespace {

using M = TBodyKindMenu;

// clang-format off
constexpr std::array<TBodyKind, 28> KINDS = {{
    {M::Star, "Blank", BODY_TYPE_STAR, "Star, Blank", 0, 0},
    {M::Star, "Red Dwarf", BODY_TYPE_STAR, "Star, Red Dwarf", 0, 0},
    {M::Star, "Yellow", BODY_TYPE_STAR, "Star, Yellow", 0, 0},
    {M::Star, "White / Blue", BODY_TYPE_STAR, "Star, White / Blue", 0, 0},
    {M::Star, "Red Giant", BODY_TYPE_STAR, "Star, Red Giant", 0, 0},
    {M::Star, "Blue Giant", BODY_TYPE_STAR, "Star, Blue Giant", 0, 0},
    {M::Star, "White Dwarf", BODY_TYPE_WHITEDWARF, "Star, White Dwarf", 0, 0},
    {M::Star, "Brown Dwarf", BODY_TYPE_STAR, "Star, Brown Dwarf", 0, 0},
    {M::Top, "Close Multiple", BODY_TYPE_CLOSEMULT, nullptr, 0, 0},
    {M::Planet, "Blank", BODY_TYPE_TERRESTRIAL, nullptr, 0, 0},
    {M::Planet, "Earthlike", BODY_TYPE_TERRESTRIAL, nullptr, BODY_TEMPLATE_EARTHLIKE, 0},
    {M::Planet, "Large, Barren", BODY_TYPE_TERRESTRIAL, nullptr, BODY_TEMPLATE_LARGE_BARREN, 0},
    {M::Planet, "Large, Thick Atmosphere", BODY_TYPE_TERRESTRIAL, nullptr, BODY_TEMPLATE_THICK_ATM, 0},
    {M::Planet, "Small, Rocky", BODY_TYPE_TERRESTRIAL, nullptr, BODY_TEMPLATE_MARSLIKE, 0},
    {M::GasGiant, "Blank", BODY_TYPE_GASGIANT, nullptr, 0, 0},
    {M::GasGiant, "Small", BODY_TYPE_GASGIANT, nullptr, BODY_TEMPLATE_GAS_GIANT, 1},
    {M::GasGiant, "Large", BODY_TYPE_GASGIANT, nullptr, BODY_TEMPLATE_GAS_GIANT, 2},
    {M::GasGiant, "Massive", BODY_TYPE_GASGIANT, nullptr, BODY_TEMPLATE_GAS_GIANT, 3},
    {M::Top, "Asteroid Belt", BODY_TYPE_ASTEROIDBELT, nullptr, 0, 0},
    {M::Top, "Planetoid", BODY_TYPE_PLANETOID, nullptr, 0, 0},
    {M::Top, "Small Bodies", BODY_TYPE_SMALLBODY, nullptr, 0, 0},
    {M::Top, "Planetary System", BODY_TYPE_PLANETSYSTEM, nullptr, 0, 0},
    {M::Top, "Ring", BODY_TYPE_RING, nullptr, 0, 0},
    {M::Top, "Space Station", BODY_TYPE_STATION, nullptr, 0, 0},
    {M::Top, "Mega Structure", BODY_TYPE_MEGASTRUCTURE, nullptr, 0, 0},
    {M::Top, "Fleet", BODY_TYPE_FLEET, nullptr, 0, 0},
    {M::Top, "Ship", BODY_TYPE_SHIP, nullptr, 0, 0},
    {M::Top, "Marker", BODY_TYPE_MARKER, nullptr, 0, 0},
}};
// clang-format on

constexpr int KIND_COUNT = static_cast<int>(KINDS.size());

} // namespace

int BodyKindCount() { return KIND_COUNT; }

const TBodyKind &BodyKindAt(int index)
{
    if (index < 0 || index >= KIND_COUNT)
        index = 0;
    return KINDS[static_cast<std::size_t>(index)];
}

std::unique_ptr<TStellarBody> NewBodyOfKind(int index)
{
    auto body = TStellarBody::Create();
    body->TypeID = BodyKindAt(index).TypeID;
    return body;
}

void FillBodyOfKind(TStellarBody &body, int index, const std::string &nameTable)
{
    const TBodyKind &k = BodyKindAt(index);
    if (k.TypedCreation) {
        TSystemGeneratorOptions options;
        options.NameTableFile = nameTable;
        CreateSystemOfType(body, k.TypedCreation, options);
        return;
    }
    switch (k.Template) {
    case BODY_TEMPLATE_EARTHLIKE:
        PlanetEarthlike(body, nameTable);
        break;
    case BODY_TEMPLATE_LARGE_BARREN:
        PlanetLargeBarren(body, nameTable);
        break;
    case BODY_TEMPLATE_THICK_ATM:
        PlanetLargeThickAtm(body, nameTable);
        break;
    case BODY_TEMPLATE_MARSLIKE:
        PlanetMarslike(body, nameTable);
        break;
    case BODY_TEMPLATE_GAS_GIANT:
        GasGiant(body, k.GiantSize, nameTable);
        break;
    default:
        break;
    }
}

TStellarBody *AddChildOfKind(TStellarBody &parent, int index, const std::string &nameTable)
{
    auto owned = NewBodyOfKind(index);
    TStellarBody *body = owned.get();
    parent.AddChild(std::move(owned));
    FillBodyOfKind(*body, index, nameTable);
    parent.GetRootBody()->UpdateRootBody();
    parent.ModifySystem();
    return body;
}

TStellarBody *InsertBodyOfKind(TStellarBody &at, int index, const std::string &nameTable)
{
    if (!at.Parent)
        return nullptr;
    auto owned = NewBodyOfKind(index);
    TStellarBody *body = owned.get();
    if (at.InsertBefore(owned) < 0)
        return nullptr;
    FillBodyOfKind(*body, index, nameTable);
    at.GetRootBody()->UpdateRootBody();
    at.ModifySystem();
    return body;
}

} // namespace kalvion::app
