#pragma once
// Looking for an installed external terrain program at start-up, and the
// question whether to use it instead of the built-in terrain.
#include <QString>
#include <QStringList>

namespace kalvion::app {

class TAppMessages;
struct TAppSettings;

// The file types the program registers for its worlds, asked in this order.
QStringList TerrainProgramMimeTypes();
// The names the program is found by on the PATH, in this order.
QStringList TerrainProgramNames();

// The program of a desktop entry's Exec line: its first word without
// quotes, looked up on the PATH when it names no folder; "" when none.
QString DesktopEntryProgram(const QString &desktopFile);
// The installed program: the default handler of its world files (asked
// through xdg-mime), else its name on the PATH; "" when neither is found.
QString DetectTerrainProgram();

// What start-up does with a program found there: an empty program file in
// the settings becomes it, and an engine not chosen yet is asked about
// ("Select Terrain Engine"; Yes chooses the external program).  An engine
// still not chosen becomes the built-in one.
void ApplyDetectedTerrainProgram(TAppSettings &settings, TAppMessages &messages, const QString &found);

} // namespace kalvion::app
