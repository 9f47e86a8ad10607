#include "app/WindowCaption.h"

#include "base/NumberFormat.h"
#include "model/VexaPoint.h"
#include "model/VexaSector.h"

#include <QFileInfo>

namespace kalvion::app {

namespace {
QString Count(double v) { return QString::fromStdString(FormatFloat("#,##0", v)); }
} // namespace

QString SectorCaption(const TVexaSector &sector, double bodyCount)
{
    QString caption;
    if (sector.FileName.empty())
        caption = QStringLiteral("(Untitled) Sector (");
    else
        caption = QFileInfo(QString::fromStdString(sector.FileName)).completeBaseName() + QStringLiteral(" Sector (");
    const int systems = sector.SystemCount();
    caption += Count(systems) + QStringLiteral(" Systems");
    if (sector.VisibleCount != systems)
        caption += QStringLiteral("; ") + Count(sector.VisibleCount) + QStringLiteral(" visible");
    caption += QStringLiteral("; ") + Count(bodyCount) + QStringLiteral(" total bodies) ");
    return caption;
}

QString PointText(const TVexaPoint &p)
{
    const auto f = [](double v) { return QString::fromStdString(FormatFloat("0.##", v)); };
    return QStringLiteral("(") + f(p.X) + QStringLiteral(", ") + f(p.Y) + QStringLiteral(", ") + f(p.Z) +
           QStringLiteral(")");
}

} // namespace kalvion::app
