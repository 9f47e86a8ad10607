// The Filters menu: each item changes the sector's filter settings, marks
// the sector modified, reapplies the filters and refreshes.  The check
// marks follow the sector whenever the menu opens.
#include "app/MainWindow.h"

#include "app/ActionTable.h"

#include "base/TextEncoding.h"
#include "model/Subsector.h"
#include "model/VexaSector.h"

#include <QAction>
#include <QMenu>

namespace kalvion::app {

namespace {
constexpr int MAX_FILTER_ITEMS = 20;
QString Text(const std::string &s) { return QString::fromStdString(BytesToUtf8(s)); }
} // namespace

void TfrmVexaMain::FilterCommand(const QString &id)
{
    TVexaSector &s = *FSector;
    if (id == QLatin1String("Filters.HideFiltered"))
        s.FilterStyle = SECTOR_FILTER_HIDE;
    else if (id == QLatin1String("Filters.HideLabels"))
        s.FilterStyle = SECTOR_FILTER_NOLABEL;
    else if (id == QLatin1String("Filters.ShowAll"))
        s.ShowAll();
    else if (id == QLatin1String("Filters.Populated"))
        s.FilterPopulation = s.FilterPopulation > 0 ? 0 : 1;
    else if (id == QLatin1String("Filters.AnyHabitable"))
        s.FilterHabitable = 0;
    else if (id == QLatin1String("Filters.Habitable"))
        s.FilterHabitable = 1;
    else if (id == QLatin1String("Filters.Hospitable"))
        s.FilterHabitable = 2;
    else if (id == QLatin1String("Filters.AllSubsectors") || id == QLatin1String("Filters.HideAllSubsectors")) {
        const bool show = id == QLatin1String("Filters.AllSubsectors");
        for (auto &sub : s.Subsectors)
            sub->Visible = show;
        if (show)
            s.FilterHideUnassignedSubsector = false;
    } else if (id == QLatin1String("Filters.HideUnassigned"))
        s.FilterHideUnassignedSubsector = !s.FilterHideUnassignedSubsector;
    else if (id == QLatin1String("Filters.AllPolitical")) {
        for (auto &p : s.PoliticalList)
            p.Visible = true;
    } else if (id == QLatin1String("Filters.AllRoutes") || id == QLatin1String("Filters.HideAllRoutes")) {
        const bool show = id == QLatin1String("Filters.AllRoutes");
        for (auto &r : s.RouteTypeList)
            r.Visible = show;
    } else if (id.startsWith(QLatin1String("Filters.Subsector#"))) {
        const int i = id.section(QLatin1Char('#'), 1).toInt();
        if (TVexaSubsector *sub = s.GetSubsector(i))
            sub->Visible = !sub->Visible;
    } else if (id.startsWith(QLatin1String("Filters.Political#"))) {
        const auto i = static_cast<std::size_t>(id.section(QLatin1Char('#'), 1).toInt());
        if (i < s.PoliticalList.size())
            s.PoliticalList[i].Visible = !s.PoliticalList[i].Visible;
    } else if (id.startsWith(QLatin1String("Filters.Route#"))) {
        const auto i = static_cast<std::size_t>(id.section(QLatin1Char('#'), 1).toInt());
        if (i < s.RouteTypeList.size())
            s.RouteTypeList[i].Visible = !s.RouteTypeList[i].Visible;
    } else {
        return;
    }
    s.Modified = true;
    s.SetFilters();
    RefreshFilterMenu();
    SectorChanged(false);
}

void TfrmVexaMain::RefreshFilterMenu()
{
    const TVexaSector &s = *FSector;
    const auto check = [this](const char *id, bool on) { FActions->Action(QString::fromLatin1(id))->setChecked(on); };
    check("Filters.HideFiltered", s.FilterStyle == SECTOR_FILTER_HIDE);
    check("Filters.HideLabels", s.FilterStyle == SECTOR_FILTER_NOLABEL);
    check("Filters.Populated", s.FilterPopulation > 0);
    check("Filters.AnyHabitable", s.FilterHabitable == 0);
    check("Filters.Habitable", s.FilterHabitable == 1);
    check("Filters.Hospitable", s.FilterHabitable == 2);
    check("Filters.HideUnassigned", s.FilterHideUnassignedSubsector);

    // One check item per subsector, affiliation and route type (up to 20),
    // after the fixed items of each submenu.
    const auto refill = [this](const char *menuId, const char *prefix, const std::vector<std::pair<QString, bool>> &items) {
        QMenu *menu = FActions->Menu(QString::fromLatin1(menuId));
        for (QAction *a : menu->actions())
            if (a->objectName().startsWith(QString::fromLatin1(prefix)))
                delete a;
        for (int i = 0; i < static_cast<int>(items.size()) && i < MAX_FILTER_ITEMS; ++i) {
            const QString id = QString::fromLatin1(prefix) + QString::number(i);
            QAction *a = menu->addAction(items[static_cast<std::size_t>(i)].first);
            a->setObjectName(id);
            a->setCheckable(true);
            a->setChecked(items[static_cast<std::size_t>(i)].second);
            connect(a, &QAction::triggered, this, [this, id] { FilterCommand(id); });
        }
    };
    std::vector<std::pair<QString, bool>> items;
    for (const auto &sub : s.Subsectors)
        items.emplace_back(Text(sub->Name), sub->Visible);
    refill("Filters.SubsectorList", "Filters.Subsector#", items);
    items.clear();
    for (const auto &p : s.PoliticalList)
        items.emplace_back(p.Name.empty() ? QStringLiteral("(Unassigned)") : Text(p.Name), p.Visible);
    refill("Filters.PoliticalList", "Filters.Political#", items);
    items.clear();
    for (const auto &r : s.RouteTypeList)
        items.emplace_back(Text(r.Name), r.Visible);
    refill("Filters.RouteList", "Filters.Route#", items);
}

} // namespace kalvion::app
