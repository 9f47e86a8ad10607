#include "model/BodyTypes.h"

#include "base/AsciiText.h"

#include <algorithm>

namespace kalvion {

namespace {

struct TypeEntry {
    int code;
    const char *name;
    const char *search; // "" for none
};

constexpr TypeEntry kTypes[] = {
    {0, "Not Assigned", ""},
    {1, "Star", "star"},
    {2, "Multiple Star System", "multiple"},
    {3, "Black Hole", "blackhole"},
    {4, "Space Station", "spacestation"},
    {5, "Free Object", "freeobject"},
    {6, "Neutron Star", "neutronstar"},
    {7, "Nebula", "nebula"},
    {8, "White Dwarf", "whitedwarf"},
    {9, "Red Giant", "redgiant"},
    {10, "Blue Giant", "bluegiant"},
    {11, "Brown Dwarf", "browndwarf"},
    {12, "Close Multiple System", "closemultiple"},
    {13, "Deep Space Object", "deepspaceobject"},
    {100, "Terrestrial", "terrestrial"},
    {101, "Gas Giant", "gasgiant"},
    {102, "Asteroid Belt", "asteroidbelt"},
    {103, "Planetoid", "planetoid"},
    {104, "Ring", "ring"},
    {105, "Planet System", "planetsystem"},
    {106, "Small Body", "smallbody"},
    {107, "Mega Structure", "megastructure"},
    {200, "Fleet", "fleet"},
    {201, "Ship", "ship"},
    {202, "Marker", "marker"},
};

} // namespace

std::string NameFromBodyType(int code)
{
    for (const auto &t : kTypes)
        if (t.code == code)
            return t.name;
    return "Not Assigned";
}

int BodyTypeFromText(std::string_view text)
{
    const std::string lower = AsciiLower(text);
    for (const auto &t : kTypes)
        if (AsciiLower(t.name) == lower)
            return t.code;
    return 0;
}

int BodyTypeFromSearchText(std::string_view word)
{
    const std::string lower = AsciiLower(word);
    if (lower.empty())
        return 0;
    for (const auto &t : kTypes)
        if (lower == t.search)
            return t.code;
    return 0;
}

std::string SearchTextFromBodyType(std::string_view displayName)
{
    for (const auto &t : kTypes)
        if (displayName == t.name)
            return t.search;
    return {};
}

void GetBodyTypeList(std::vector<std::string> &list)
{
    list.clear();
    for (const auto &t : kTypes)
        list.emplace_back(t.name);
    std::sort(list.begin(), list.end());
}

const std::vector<int> &AllBodyTypeCodes()
{
    static const std::vector<int> codes = [] {
        std::vector<int> v;
        for (const auto &t : kTypes)
            v.push_back(t.code);
        return v;
    }();
    return codes;
}

bool IsKnownBodyType(int code)
{
    for (const auto &t : kTypes)
        if (t.code == code)
            return true;
    return false;
}

std::string HabitNameFromHabitCode(int code)
{
    switch (code) {
    case HAB_HABITABLE: return "Habitable";
    case HAB_HOSPITABLE: return "Hospitable";
    default: return "Inhospitable";
    }
}

bool IsStarLikeComponent(int t)
{
    return t == 1 || t == 8 || t == 9 || t == 10 || t == 11;
}

bool IsRotationCarrier(int t)
{
    switch (t) {
    case 1: case 3: case 5: case 6: case 8: case 9: case 10: case 11:
    case 100: case 101: case 103: case 107:
        return true;
    default:
        return false;
    }
}

bool IsNonOrbitalParent(int t)
{
    switch (t) {
    case 0: case 2: case 7: case 12: case 13:
    case 102: case 104: case 105: case 106:
    case 200: case 201: case 202:
        return true;
    default:
        return false;
    }
}

bool IsSolidParent(int t)
{
    return t == 100 || t == 101 || t == 103;
}

bool IsGroupingType(int t)
{
    return t == 2 || t == 12 || t == 105;
}

} // namespace kalvion
