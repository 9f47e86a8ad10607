#include "app/OlderSectorFiles.h"

#include "files/LegacyConvert.h"
#include "files/LegacySectorFiles.h"

#include <QFileInfo>

namespace kalvion::app {

bool IsOlderSectorFile(const QString &file)
{
    const int version = GetVexaFileVersion(QFileInfo(file).absoluteFilePath().toStdString());
    return version == 1 || version == 2;
}

QString ConvertBesideOriginal(const QString &file, QString *error)
{
    const QFileInfo info(file);
    const QString stem = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    QString target = stem + QStringLiteral(".VexaDB");
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = stem + QStringLiteral(" (") + QString::number(n) + QStringLiteral(").VexaDB");
    std::string reason;
    if (!ConvertLegacySector(info.absoluteFilePath().toStdString(), target.toStdString(), &reason)) {
        if (error)
            *error = QString::fromStdString(reason);
        return QString();
    }
    return target;
}

} // namespace kalvion::app
