#pragma once
// The external terrain program as the main window's surface map commands use
// it: a planet's map rendered while the window waits, and the planet opened
// in the program to be worked on there.  Background maps of the 3D views go
// through the surface map manager's own worker instead.
#include <functional>
#include <optional>
#include <string>

namespace kalvion {
class TRWIntegrate;
class TStellarBody;
} // namespace kalvion

namespace kalvion::app {

struct TExternalTerrainSetup {
    std::string ProgramFile;     // chosen in the preferences
    std::string ColoringFolder;  // where the user's own colourings lie
    std::string SaveFolder;      // worlds and images, with a trailing separator
    // The program's missing-file message and failures to start it.
    std::function<void(const std::string &)> OnMessage;
};

// The planet's values as the program's command line describes them: its
// distance from its star, the star's luminosity (0 without a star).
void FillExternalTerrain(TRWIntegrate &rw, const TStellarBody &planet, const TExternalTerrainSetup &setup);

// Renders a map `width` wide and keeps it as a PNG file in the save folder
// (named after the planet's IDString); the file, none when no image came
// back.
std::optional<std::string> ExternalSurfaceMapFile(const TStellarBody &planet, int width,
                                                  const TExternalTerrainSetup &setup);
// Opens the planet in the program and returns at once; false when it could
// not be started.
bool OpenPlanetInExternalProgram(const TStellarBody &planet, const TExternalTerrainSetup &setup);

} // namespace kalvion::app
