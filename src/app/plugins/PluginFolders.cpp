#include "app/plugins/PluginFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace kalvion::app {

namespace {

QString WithSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString ProgramPluginFolder(const QString &programFolder)
{
    return WithSlash(QDir::cleanPath(programFolder + QStringLiteral("Plugins")));
}

QString UserPluginFolder()
{
    return WithSlash(QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                     QStringLiteral("/Plugins")));
}

} // namespace kalvion::app
