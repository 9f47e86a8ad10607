#pragma once
// The sector as a web page for players: a folder with index.html, one data
// file (the sector's systems, routes, subsectors and grid as JSON in a
// script), the 3D library the page draws with and the stored surface maps.
// Nothing is written outside the folder, and the page never fetches
// anything from the network.
#include <functional>
#include <string>

namespace kalvion {

class TVexaSector;

struct TWebExportOptions {
    std::string Title;          // empty: the sector's name
    bool OnlyVisible = false;   // leave out systems the filters hide
    bool HideNotes = false;     // leave out the notes
    bool GameMaster = false;    // include GM notes and user fields
    // Write into a folder that holds other things too (WebExportFolder.h).
    bool Force = false;
    // Where the page's 3D library comes from (Debian's libjs-three).
    std::string ThreeFolder = "/usr/share/javascript/three/";
    // Told the fraction done; true cancels.
    std::function<bool(double)> Progress;
};

struct TWebExportResult {
    bool Ok = false;
    std::string Error;
    int Systems = 0, Bodies = 0, Routes = 0, Subsectors = 0, Maps = 0;
    std::string IndexFile;
};

// The name of the data file beside index.html.
inline constexpr const char *WEB_EXPORT_DATA_FILE = "sector-data.js";

// Writes the page into outDir (created when missing) and marks the folder as
// an export; a folder that WebExportFolderProblem refuses is left untouched.
// Systems are loaded one at a time and unloaded again when they were not
// loaded before.
TWebExportResult ExportSectorWebPage(TVexaSector &sector, const std::string &outDir,
                                     const TWebExportOptions &options);

} // namespace kalvion
