#pragma once
// The Query Builder of the search window: what its controls hold, and the
// query they stand for.  Kept apart from the widgets so the wording of the
// query can be checked without a window.
#include <QString>
#include <QStringList>

namespace kalvion::app {

struct TQueryBuilderInputs {
    bool ReturnRootBodies = false; // "Systems with"
    bool RootBodiesOnly = false;   // "Root only"
    QString Name;
    bool NameExact = false;        // "Is Exactly" rather than "Contains"
    QString Habitability;          // "Any", "Inhospitable", "Habitable", "Hospitable"
    QString Type;                  // "Any" or a body type display name
    QString ParentType;
    QString PopulationAtLeast;
    QString WithinDistance;
    bool ConnectedByRoute = false; // "On route"
};

inline constexpr const char *QUERY_BUILDER_ANY = "Any";

// The pieces in the order of the controls, joined by ", ".
QString BuildQueryText(const TQueryBuilderInputs &in);

// "Any" followed by the body type display names.
QStringList QueryBuilderTypeNames();

} // namespace kalvion::app
