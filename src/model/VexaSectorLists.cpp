// Filters, political affiliations, route types and units of the sector.
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"

namespace kalvion {

void TVexaSector::SetFilters()
{
    bool anySubsectorHidden = false;
    for (const auto &s : Subsectors)
        if (!s->Visible)
            anySubsectorHidden = true;
    // Each subsector's rotation is worked out once, not once per root.
    std::vector<TSubsectorRegion> regions;
    if (FilterHideUnassignedSubsector || anySubsectorHidden) {
        regions.reserve(Subsectors.size());
        for (const auto &s : Subsectors)
            regions.emplace_back(*s);
    }
    // A root's affiliation lives outside the root (a compact text): read it
    // only when some affiliation is hidden and it can change the answer.
    bool anyPoliticalHidden = false;
    for (const auto &p : PoliticalList)
        if (!p.Visible)
            anyPoliticalHidden = true;

    for (std::size_t i = Systems.size(); i-- > 0;) {
        TStellarBody &root = *Systems[i];
        bool visible = true;
        if (FilterHideUnassignedSubsector || anySubsectorHidden) {
            if (FilterHideUnassignedSubsector)
                visible = false;
            for (std::size_t k = 0; k < regions.size(); ++k)
                if (regions[k].Contains(root.X, root.Y, root.Z))
                    visible = Subsectors[k]->Visible;
        }
        if (FilterPopulation > 0 && root.ChildPopulation < FilterPopulation)
            visible = false;
        if (FilterHabitable > 0 && root.ChildHabitability < FilterHabitable)
            visible = false;
        if (visible && anyPoliticalHidden) {
            const int p = FindPolitical(root.PoliticalAffiliation);
            if (p >= 0)
                visible = PoliticalList[static_cast<std::size_t>(p)].Visible;
        }
        root.Visible = visible;
    }
    UpdateVisibleCount();

    for (auto &route : Routes) {
        const int t = FindRouteType(route->RouteType);
        if (t >= 0)
            route->Visible = RouteTypeList[static_cast<std::size_t>(t)].Visible;
    }
}

void TVexaSector::ShowAll()
{
    for (auto &root : Systems)
        root->Visible = true;
    for (auto &p : PoliticalList)
        p.Visible = true;
    FilterPopulation = 0;
    FilterHabitable = 0;
}

int TVexaSector::FindPolitical(std::string_view name) const
{
    for (std::size_t i = 0; i < PoliticalList.size(); ++i)
        if (SameText(PoliticalList[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

int TVexaSector::AddPolitical(const std::string &name)
{
    FHistory->TouchPart(TSectorPart::Settings);
    if (name.empty())
        return -1;
    const int i = FindPolitical(name);
    if (i >= 0)
        return i;
    PoliticalList.push_back({name, true});
    return -1;
}

void TVexaSector::UpdatePoliticalFrom(const TStellarBody &body)
{
    AddPolitical(body.PoliticalAffiliation);
}

void TVexaSector::BuildPoliticalList(bool reset)
{
    FHistory->TouchPart(TSectorPart::Settings);
    if (reset) {
        PoliticalList.clear();
        PoliticalList.push_back({"", true});
    }
    TStellarBodyList all;
    for (auto &rootPtr : Systems) {
        TStellarBody *root = rootPtr.get();
        // Only a rebuild that keeps the list loads stored systems for the scan.
        const bool loadForScan = !reset && !root->Loaded;
        if (loadForScan)
            DynaLoad(root);
        all.clear();
        root->GetAllChildren(all);
        for (TStellarBody *b : all)
            AddPolitical(b->PoliticalAffiliation);
        if (loadForScan)
            DynaUnload(root);
    }
}

int TVexaSector::FindRouteType(std::string_view name) const
{
    for (std::size_t i = 0; i < RouteTypeList.size(); ++i)
        if (SameText(RouteTypeList[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

int TVexaSector::AddRouteType(const std::string &name)
{
    FHistory->TouchPart(TSectorPart::Settings);
    if (name.empty())
        return -1;
    const int i = FindRouteType(name);
    if (i >= 0)
        return i;
    RouteTypeList.push_back({name, true});
    return -1;
}

void TVexaSector::BuildRouteTypeList(bool reset)
{
    FHistory->TouchPart(TSectorPart::Settings);
    if (reset) {
        RouteTypeList.clear();
        RouteTypeList.push_back({"", true});
    }
    for (const auto &route : Routes)
        AddRouteType(route->RouteType);
}

void TVexaSector::DeleteRouteType(std::string_view name)
{
    FHistory->TouchPart(TSectorPart::Settings);
    for (std::size_t i = Routes.size(); i-- > 0;)
        if (SameText(Routes[i]->RouteType, name))
            MoveRouteToDeleted(i);
}

void TVexaSector::UpdateUnits()
{
    if (UnitStarMeasureName == "Light Years") {
        UnitStarMeasureAbbrev = "ly";
        UnitStarMeasureRatio = 1;
    } else if (UnitStarMeasureName == "Parsecs") {
        UnitStarMeasureAbbrev = "pc";
        UnitStarMeasureRatio = 3.2616;
    }
}

std::string TVexaSector::DistanceString(double ly, bool withUnit) const
{
    std::string s = FormatFloat("0.0", DistanceInUnits(ly));
    if (withUnit)
        s += " " + UnitStarMeasureAbbrev;
    return s;
}

} // namespace kalvion
