// The built-in display fields of every body type.
#include "model/BodyTypes.h"
#include "model/SystemDataConfig.h"

#include <initializer_list>

namespace kalvion {

namespace {

struct Line {
    const char *Caption;
    const char *Source;
    bool Hide;
    const char *Field = "";
};

void Put(TSystemDataConfigHolder &holder, int type, std::initializer_list<Line> lines)
{
    auto config = TSystemDataConfig::CreateSystemDataConfig();
    config->TypeID = type;
    for (const Line &l : lines)
        config->Records.push_back({l.Caption, l.Source, l.Field, l.Hide});
    holder.SetConfigForType(std::move(config), type);
}

// The two-line layout shared by the stars that carry planets.
void PutStarLike(TSystemDataConfigHolder &holder, int type, const char *heading)
{
    Put(holder, type, {{heading, "", false}, {"Spectral Class", "spectral", true}, {"Planets", "children", true}});
}

void PutPlanet(TSystemDataConfigHolder &holder, int type, const char *heading)
{
    Put(holder, type,
        {{heading, "", false},
         {"Distance", "distance", true},
         {"Radius", "radius", true},
         {"Gravity", "gravity", true},
         {"Orbit Period", "orbitperiod", true},
         {"Rotation", "rotation", true},
         {"Mean Temp", "temperature", true},
         {"Political", "political", true},
         {"Population", "population", true},
         {"Moons", "children", true}});
}

void PutBelt(TSystemDataConfigHolder &holder, int type, const char *heading, const char *widthCaption)
{
    Put(holder, type,
        {{heading, "", false},
         {"Distance", "distance", true},
         {widthCaption, "radius", true},
         {"Political", "political", true},
         {"Population", "population", true},
         {"Contents", "children", true}});
}

} // namespace

void SetDefaultSystemDataConfig(TSystemDataConfigHolder &holder)
{
    holder.Clear();
    Put(holder, BODY_TYPE_NOTASSIGNED, {{"Not Assigned", "", false}});
    Put(holder, BODY_TYPE_STAR,
        {{"Spectral Class", "spectral", false},
         {"Mass", "mass", true},
         {"Radius", "solradius", true},
         {"Luminosity", "luminosity", true},
         {"Political", "political", true},
         {"Planets", "children", true}});
    Put(holder, BODY_TYPE_MULT,
        {{"Multiple Star System", "", false},
         {"Political", "political", true},
         {"System Population", "systempopulation", true},
         {"Components", "children", true}});
    Put(holder, BODY_TYPE_BLACKHOLE,
        {{"Black Hole", "", false},
         {"Distance", "distance", true},
         {"Political", "political", true},
         {"Planets", "children", true}});
    Put(holder, BODY_TYPE_STATION,
        {{"Space Station", "", false},
         {"Distance", "distance", true},
         {"Political", "political", true},
         {"Population", "population", true},
         {"Contents", "children", true}});
    Put(holder, BODY_TYPE_FREEOBJECT, {{"Free Object", "", false}, {"Planets", "children", true}});
    Put(holder, BODY_TYPE_NEUTRON, {{"Neutron Star", "", false}, {"Planets", "children", true}});
    Put(holder, BODY_TYPE_NEBULA, {{"Nebula", "", false}, {"Contents", "children", true}});
    PutStarLike(holder, BODY_TYPE_WHITEDWARF, "White Dwarf");
    PutStarLike(holder, BODY_TYPE_REDGIANT, "Red Giant");
    PutStarLike(holder, BODY_TYPE_BLUEGIANT, "Blue Giant");
    PutStarLike(holder, BODY_TYPE_BROWNDWARF, "Brown Dwarf");
    Put(holder, BODY_TYPE_CLOSEMULT,
        {{"Close Multiple", "", false},
         {"Orbital Distance", "orbitalring", true},
         {"Political", "political", true},
         {"System Population", "systempopulation", true},
         {"Components", "children", true}});
    Put(holder, BODY_TYPE_DSO, {{"Deep Space Object", "", false}});

    Put(holder, BODY_TYPE_TERRESTRIAL,
        {{"Distance", "distance", true},
         {"Radius", "radius", true},
         {"Gravity", "gravity", true},
         {"Orbit Period", "orbitperiod", true},
         {"Rotation", "rotation", true},
         {"Mean Temp", "temperature", true},
         {"Atmosphere", "atmosphere", true},
         {"Water / Ice Index", "water", true},
         {"", "habitability", true},
         {"Population", "population", true},
         {"Political", "political", true},
         {"Moons", "children", true}});
    PutPlanet(holder, BODY_TYPE_GASGIANT, "Gas Giant");
    PutPlanet(holder, BODY_TYPE_PLANETOID, "Planetoid");
    PutBelt(holder, BODY_TYPE_ASTEROIDBELT, "Asteroid Belt", "Belt Width");
    PutBelt(holder, BODY_TYPE_RING, "Ring", "Ring Width");
    Put(holder, BODY_TYPE_PLANETSYSTEM,
        {{"Planet System", "", false}, {"Distance", "distance", true}, {"Political", "political", true},
         {"Planets", "children", true}});
    Put(holder, BODY_TYPE_SMALLBODY, {{"Small Bodies", "", true}, {"Political", "political", true}});
    Put(holder, BODY_TYPE_MEGASTRUCTURE,
        {{"Mega Structure", "", false}, {"Distance", "distance", true}, {"Political", "political", true},
         {"Contents", "children", true}});

    Put(holder, BODY_TYPE_FLEET,
        {{"Fleet", "", false},
         {"Political", "political", true},
         {"Commander", "custom field", true, "fleet_com"},
         {"Ships", "children", true}});
    Put(holder, BODY_TYPE_SHIP,
        {{"Ship", "", false},
         {"Political", "political", true},
         {"Size", "custom field", true, "ship_size"},
         {"Crew", "custom field", true, "ship_crew"},
         {"Weaponry", "custom field", true, "ship_weapons"},
         {"Small Craft", "children", true}});
    Put(holder, BODY_TYPE_MARKER, {{"Marker", "", false}, {"Contents", "children", true}});
}

} // namespace kalvion
