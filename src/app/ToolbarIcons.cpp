#include "app/ToolbarIcons.h"

#include <QAction>
#include <QKeySequence>

// Resources in a static library are registered only when asked for.
static void RegisterToolbarIcons()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(toolbar_icons);
        return true;
    }();
    (void)registered;
}

namespace kalvion::app {

namespace {

struct TToolbarPicture {
    const char *Id;
    const char *Theme; // freedesktop name, "" where none fits
    const char *Own;   // our icon, under :/icons/
    const char *Tip;
};

constexpr TToolbarPicture PICTURES[] = {
    {"File.NewStandard", "document-new", "new", "Start a new sector with the standard generator"},
    {"File.Open", "document-open", "open", "Open a sector file"},
    {"File.Save", "document-save", "save", "Save the sector to its file"},
    {"File.Print", "document-print", "print", "Print the map of the sector"},
    {"Actions.Search", "edit-find", "find", "Search the sector for bodies"},
    {"Edit.Undo", "edit-undo", "undo", "Undo the last change"},
    {"Edit.Redo", "edit-redo", "redo", "Redo the change undone last"},
    {"Actions.NewSystem", "", "new-system", "Place a new system on the map"},
    {"Actions.DeleteSystems", "edit-delete", "delete", "Delete the selected systems"},
    {"Actions.CreateRoute", "", "route", "Join the selected systems with a route"},
    {"Actions.ProximityRoutes", "", "proximity", "Join nearby systems with routes"},
    {"Actions.PlanRoute", "", "plan-route", "Plan a trip from one system to another"},
    {"Navigation.ResetView", "zoom-fit-best", "reset", "Return the camera to the sector's home view"},
    {"Navigation.Center", "", "center", "Turn the camera to the selected system"},
    {"Navigation.Slide", "", "slide", "Slide the camera to the selected system"},
    {"Navigation.ComboSlide", "", "combined", "Look at one selected system from the other"},
    {"Animations.TourGuide", "", "tour", "Fly from system to system until stopped"},
    {"Animations.Rotate", "", "rotate", "Turn the camera once around the sector"},
    {"Mode.Pan", "", "pan", "Drag to move around the map"},
    {"Mode.Pointer", "", "pointer", "Click to select systems on the map"},
    {"Plugins.Halt", "", "halt", "Stop the script that is running"},
    {"Animations.RecordVideo", "", "record", "Record the next animation as a video file"},
};

const TToolbarPicture *Find(const QString &id)
{
    for (const TToolbarPicture &p : PICTURES)
        if (id == QLatin1String(p.Id))
            return &p;
    return nullptr;
}

} // namespace

QIcon ToolbarIcon(const QString &actionId)
{
    RegisterToolbarIcons();
    const TToolbarPicture *p = Find(actionId);
    const QString own = QStringLiteral(":/icons/") + QLatin1String(p ? p->Own : "plugin") + QStringLiteral(".svg");
    QIcon fallback(own);
    if (p && *p->Theme && QIcon::hasThemeIcon(QLatin1String(p->Theme)))
        return QIcon::fromTheme(QLatin1String(p->Theme), fallback);
    return fallback;
}

QString ToolbarTip(const QString &actionId)
{
    const TToolbarPicture *p = Find(actionId);
    return p ? QString::fromUtf8(p->Tip) : QString();
}

void DressToolbarAction(QAction &action, const QString &actionId)
{
    if (action.icon().isNull())
        action.setIcon(ToolbarIcon(actionId));
    QString name = action.iconText();
    const QString keys = action.shortcut().toString(QKeySequence::NativeText);
    if (!keys.isEmpty())
        name += QStringLiteral(" (") + keys + QLatin1Char(')');
    QString tip = ToolbarTip(actionId);
    if (tip.isEmpty())
        tip = action.statusTip();
    action.setToolTip(tip.isEmpty() || tip == action.iconText() ? name : name + QLatin1Char('\n') + tip);
}

} // namespace kalvion::app
