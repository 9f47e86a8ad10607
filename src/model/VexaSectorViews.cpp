// Saved views: the camera with the filters and visibility lists, by name.
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include "base/AsciiText.h"

namespace kalvion {

namespace {

template <class Entry>
std::vector<TVexaVisibilityEntry> VisibilityOf(const std::vector<Entry> &list)
{
    std::vector<TVexaVisibilityEntry> out;
    out.reserve(list.size());
    for (const Entry &e : list)
        out.push_back({e.Name, e.Visible});
    return out;
}

// Hides every entry, then gives the entries named in the view their flag;
// names that came up after the view was saved stay hidden.
template <class Entry, class Find>
void ApplyVisibility(std::vector<Entry> &list, const std::vector<TVexaVisibilityEntry> &saved, Find find)
{
    for (Entry &e : list)
        e.Visible = false;
    for (const TVexaVisibilityEntry &v : saved) {
        const int i = find(v.Name);
        if (i >= 0)
            list[static_cast<std::size_t>(i)].Visible = v.Visible;
    }
}

} // namespace

void TVexaSector::ChangeSubsectorName(TVexaSubsector *subsector, const std::string &newName)
{
    FHistory->TouchPart(TSectorPart::Subsectors);
    FHistory->TouchPart(TSectorPart::Views);
    if (!subsector)
        return;
    const std::string oldName = subsector->Name;
    subsector->Name = newName;
    for (auto &view : Views) {
        for (TVexaVisibilityEntry &e : view->SubsectorVisibility) {
            if (SameText(e.Name, oldName)) {
                e.Name = newName;
                view->Modified = true;
            }
        }
    }
}

int TVexaSector::FindView(std::string_view name) const
{
    for (std::size_t i = 0; i < Views.size(); ++i)
        if (SameText(Views[i]->Name, name))
            return static_cast<int>(i);
    return -1;
}

void TVexaSector::AddCurrentViewAsView(const std::string &name)
{
    FHistory->TouchPart(TSectorPart::Views);
    DeleteView(name);
    auto view = std::make_unique<TVexaView>();
    view->Name = name;
    view->Camera = Camera;
    view->Target = Target;
    // Views never carry the filter style: it belongs to the user's drawing
    // preference, not to what is shown.
    view->FilterStyle = 0;
    view->FilterHabitable = FilterHabitable;
    view->FilterPopulation = FilterPopulation;
    view->FilterHideUnassignedSubsector = FilterHideUnassignedSubsector;
    view->PoliticalVisibility = VisibilityOf(PoliticalList);
    view->RouteTypeVisibility = VisibilityOf(RouteTypeList);
    view->SubsectorVisibility.reserve(Subsectors.size());
    for (const auto &s : Subsectors)
        view->SubsectorVisibility.push_back({s->Name, s->Visible});
    Views.push_back(std::move(view));
}

void TVexaSector::DeleteView(std::string_view name)
{
    FHistory->TouchPart(TSectorPart::Views);
    const int i = FindView(name);
    if (i >= 0)
        Views.erase(Views.begin() + i);
}

void TVexaSector::LoadView(std::string_view name)
{
    const int i = FindView(name);
    if (i < 0)
        return;
    const TVexaView &view = *Views[static_cast<std::size_t>(i)];
    Camera = view.Camera;
    Target = view.Target;
    FilterHabitable = view.FilterHabitable;
    FilterHideUnassignedSubsector = view.FilterHideUnassignedSubsector;
    FilterPopulation = view.FilterPopulation;

    ApplyVisibility(PoliticalList, view.PoliticalVisibility, [this](std::string_view n) { return FindPolitical(n); });
    ApplyVisibility(RouteTypeList, view.RouteTypeVisibility, [this](std::string_view n) { return FindRouteType(n); });

    // Subsectors made after the view was saved stay visible.
    for (auto &s : Subsectors)
        s->Visible = true;
    for (const TVexaVisibilityEntry &v : view.SubsectorVisibility)
        for (auto &s : Subsectors)
            if (SameText(s->Name, v.Name))
                s->Visible = v.Visible;

    SetFilters();
}

void TVexaSector::ViewsToList(std::vector<std::string> &list) const
{
    for (const auto &v : Views)
        list.push_back(v->Name);
}

} // namespace kalvion
