#include "app/search/QueryBuilder.h"

#include "app/DialogValues.h"
#include "model/BodyTypes.h"

#include <string>
#include <vector>

namespace kalvion::app {

namespace {

QString TypeWord(const QString &displayName)
{
    return QString::fromStdString(SearchTextFromBodyType(displayName.toStdString()));
}

bool Chosen(const QString &listText) { return !listText.isEmpty() && listText != QLatin1String(QUERY_BUILDER_ANY); }

} // namespace

QString BuildQueryText(const TQueryBuilderInputs &in)
{
    QStringList pieces;
    if (in.ReturnRootBodies)
        pieces << QStringLiteral("Systems with");
    if (in.RootBodiesOnly)
        pieces << QStringLiteral("Root only");
    const QString name = in.Name.trimmed();
    if (!name.isEmpty()) {
        QString quoted = name;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        pieces << QStringLiteral("Name ") + (in.NameExact ? QStringLiteral("= ") : QStringLiteral("like ")) +
                      QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    if (Chosen(in.Habitability))
        pieces << in.Habitability;
    if (Chosen(in.Type))
        pieces << QStringLiteral("Type is ") + TypeWord(in.Type);
    if (Chosen(in.ParentType))
        pieces << QStringLiteral("Parent is ") + TypeWord(in.ParentType);
    // A number is written trimmed, with a decimal point the parser reads.
    if (NumberFromText(in.PopulationAtLeast))
        pieces << QStringLiteral("Population > ") + PointDecimalText(in.PopulationAtLeast);
    if (NumberFromText(in.WithinDistance))
        pieces << QStringLiteral("Within ") + PointDecimalText(in.WithinDistance);
    if (in.ConnectedByRoute)
        pieces << QStringLiteral("On route");
    return pieces.join(QStringLiteral(", "));
}

QStringList QueryBuilderTypeNames()
{
    QStringList names{QString::fromLatin1(QUERY_BUILDER_ANY)};
    std::vector<std::string> types;
    GetBodyTypeList(types);
    for (const std::string &t : types)
        names << QString::fromStdString(t);
    return names;
}

} // namespace kalvion::app
