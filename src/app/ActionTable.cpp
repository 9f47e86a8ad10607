#include "app/ActionTable.h"

#include <QAction>
#include <QKeySequence>

#include <iterator>

namespace kalvion::app {

TActionTable::TActionTable(QObject *owner) : FOwner(owner) {}

QAction *TActionTable::Add(const TActionDef &def)
{
    auto *a = new QAction(QString::fromUtf8(def.Text), FOwner);
    const QString id = QString::fromLatin1(def.Id);
    a->setObjectName(id);
    if (*def.Shortcut)
        a->setShortcut(QKeySequence(QString::fromLatin1(def.Shortcut)));
    if (*def.Hint) {
        a->setToolTip(QString::fromUtf8(def.Hint));
        a->setStatusTip(QString::fromUtf8(def.Hint));
    }
    a->setCheckable(def.Checkable);
    FActions.insert(id, a);
    return a;
}

QAction *TActionTable::Action(const QString &id) const { return FActions.value(id); }

namespace {

// clang-format off
const TActionDef DEFS[] = {
    // File
    {"File.NewBlank", "Blank Sector", "", "", false},
    {"File.NewStandard", "Kalvion Standard Generator", "Ctrl+N", "New Sector", false},
    {"File.Open", "&Open", "Ctrl+O", "Open", false},
    {"File.Save", "&Save", "Ctrl+S", "Save", false},
    {"File.SaveAs", "Save &As", "", "", false},
    {"File.ExportImage", "Export as Image File...", "", "", false},
    {"File.Export2D", "Export as 2D Map...", "Ctrl+B", "", false},
    {"File.Preferences", "Program Preferences", "", "", false},
    {"File.ImportMerge", "Merge and Update Sectors", "", "", false},
    {"File.ImportCsv", "Import CSV Data", "", "", false},
    {"File.Report", "Generate Sector Report", "", "", false},
    {"File.Print", "&Print", "Ctrl+P", "Print", false},
    {"File.Recent1", "", "", "", false},
    {"File.Recent2", "", "", "", false},
    {"File.Recent3", "", "", "", false},
    {"File.Exit", "Exit", "", "", false},
    // Edit: the texts name the step ("Undo Delete Systems") once there is one.
    {"Edit.Undo", "Undo", "Ctrl+Z", "Undo the last change", false},
    {"Edit.Redo", "Redo", "Ctrl+Shift+Z", "Redo the change undone last", false},
    // Sector
    {"Sector.Properties", "Sector Properties", "Ctrl+D", "", false},
    {"Sector.Subsectors", "Edit Subsectors", "", "", false},
    {"Sector.DisplayGrids", "Display Grids", "", "", true},
    {"Sector.DisplayDate", "Display Date", "", "", true},
    {"Sector.Lock", "Lock Systems In Place", "", "", true},
    {"Sector.Date", "Set Sector Date...", "", "", false},
    {"Sector.GridStyles", "Set Grid Styles", "Ctrl+G", "", false},
    // Navigation
    {"Navigation.ResetView", "Reset View", "Alt+R", "Reset View", false},
    {"Navigation.Center", "Center on target", "Alt+C", "Center on selected system", false},
    {"Navigation.Slide", "Slide Camera to Selected", "", "Slide Camera to Selected", false},
    {"Navigation.ComboSlide", "Combined Slide", "", "Combined Slide - Look at one system from another", false},
    {"Navigation.OriginCurrent", "Current View", "", "", false},
    {"Navigation.OriginRestore", "Restore Default", "", "", false},
    // Actions
    {"Actions.NewSystem", "New System", "", "Place a new system on your map", false},
    {"Actions.DeleteSystems", "Delete Systems", "", "Delete selected systems", false},
    {"Actions.MassPolitical", "Political Affiliations", "", "", false},
    {"Actions.MassDisplayStyle", "Display Style", "", "", false},
    {"Actions.MassLabelDistances", "Label Display Distances", "", "", false},
    {"Actions.MassBlazons", "Blazons", "", "", false},
    {"Actions.MassSphere", "Sphere of Influence", "", "", false},
    {"Actions.MassDeleteRoutes", "Delete Routes", "", "", false},
    {"Actions.CreateRoute", "Create Route...", "", "Create Route", false},
    {"Actions.ProximityRoutes", "Create Proximity Routes...", "", "Create Proximity Routes", false},
    {"Actions.PlanRoute", "Plan Route...", "", "Plan a route between two systems", false},
    {"Actions.Search", "Search", "Ctrl+F", "Search", false},
    // Views
    {"Views.Add", "Add as View", "", "", false},
    {"Views.Saved", "Saved Views...", "", "", false},
    // Orbits
    {"Orbits.Forwards", "Forwards", "", "", true},
    {"Orbits.Backwards", "Backwards", "", "", true},
    {"Orbits.Stopped", "Stopped", "", "", true},
    {"Orbits.RealTime", "Real Time", "", "", true},
    {"Orbits.Minute", "Minute per Second", "", "", true},
    {"Orbits.Hours", "Hours per Second", "", "", true},
    {"Orbits.Days", "Days per Second", "", "", true},
    {"Orbits.Week", "Week per Second", "", "", true},
    {"Orbits.Month", "Month per Second", "", "", true},
    {"Orbits.Year", "Year per Second", "", "", true},
    {"Orbits.DisplayText", "Display Text", "", "", true},
    {"Orbits.BodyNames", "Body Names", "", "", true},
    {"Orbits.OrbitalPaths", "Orbital Paths", "", "", true},
    {"Orbits.PlanetAxis", "Planet Axis", "", "", true},
    // Filters
    {"Filters.HideFiltered", "Hide Filtered Systems", "", "", true},
    {"Filters.HideLabels", "Hide Labels Only", "", "", true},
    {"Filters.ShowAll", "Show All", "Ctrl+A", "", false},
    {"Filters.Populated", "Populated Systems Only", "", "", true},
    {"Filters.AnyHabitable", "Any Habitable", "", "", true},
    {"Filters.Habitable", "Habitable Systems Only", "", "", true},
    {"Filters.Hospitable", "Hospitable Systems Only", "", "", true},
    {"Filters.AllSubsectors", "All Subsectors", "", "", false},
    {"Filters.HideAllSubsectors", "Hide All Subsectors", "", "", false},
    {"Filters.HideUnassigned", "Hide Unassigned Systems", "", "", true},
    {"Filters.AllPolitical", "All Political Affiliations", "", "", false},
    {"Filters.AllRoutes", "All Routes", "", "", false},
    {"Filters.HideAllRoutes", "Hide All Routes", "", "", false},
    // Animations
    {"Animations.Rotate", "Rotate 360", "", "Rotate Animation", false},
    {"Animations.Whirl", "Whirl", "", "", false},
    {"Animations.TourGuide", "Tour Guide", "", "Tour Guide Animation", false},
    {"Animations.BonVoyage", "Bon Voyage", "", "", false},
    {"Animations.RecordVideo", "Record Video", "", "Record Video", false},
    // Plugins
    {"Plugins.Halt", "Halt Script", "", "Halt Script", false},
    {"Plugins.RunFile", "Run from file...", "", "", false},
    // Help
    {"Help.Contents", "Contents...", "F1", "", false},
    {"Help.Updates", "Check for Updates", "", "", false},
    {"Help.About", "About...", "", "", false},
    // Toolbar modes
    {"Mode.Pan", "Pan", "", "Pan - Use this to move around your map", true},
    {"Mode.Pointer", "Pointer", "", "Pointer - Use this to select systems on your map", true},
    // Right-click menu
    {"Body.Properties", "Properties", "", "", false},
    {"Body.CloseMultiple", "Close Multiple", "", "", false},
    {"Body.DeleteBody", "Delete this body", "", "", false},
    {"Body.DeleteContents", "Delete System Contents", "", "", false},
    {"Body.DeleteRoute", "Delete Route", "", "", false},
    {"Body.Regenerate", "Completely Regenerate System", "", "", false},
    {"Body.GenerateContents", "Generate System Contents", "", "", false},
    {"Body.GenerateContentsKeepName", "Generate System Contents (Keep Name)", "", "", false},
    {"Body.ConvertToRoot", "Convert to root body", "", "", false},
    {"Body.TravelCalculator", "Travel Calculator", "", "", false},
    {"Body.CreateSurfaceMap", "Create Surface Map", "", "", false},
    {"Body.EditSurfaceMap", "Edit Surface Map", "", "", false},
    {"Body.SystemDiagram", "Show System Diagram", "", "", false},
    {"Body.SectorMap", "Show Sector Map", "", "", false},
};
// clang-format on

} // namespace

const TActionDef *MainActionDefs(int &count)
{
    count = static_cast<int>(std::size(DEFS));
    return DEFS;
}

} // namespace kalvion::app
