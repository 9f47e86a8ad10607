#pragma once
// The two folders the window takes plug-ins from, each ending in "/": the
// program's "Plugins/" and the user's, below the application-data folder.
// The scan lists both, and scripts find their "#insert" files there.
#include <QString>

namespace kalvion::app {

// programFolder ends in a separator.
QString ProgramPluginFolder(const QString &programFolder);
QString UserPluginFolder();

} // namespace kalvion::app
