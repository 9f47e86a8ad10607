#pragma once
// Which folders a web page may be exported into.  The page's file names
// (index.html, sector-data.js, ...) are common ones, so a folder the user
// chose by mistake could hold a site or data of their own under the same
// names: the export writes only into an empty folder, a missing one, or one
// that an earlier export marked as its own.
#include <string>

namespace kalvion {

// The file an export leaves in its folder to recognise the folder again.
inline constexpr const char *WEB_EXPORT_MARKER = ".kalvion-web";

// Why the page cannot be written into outDir, or "" when it can.  A name the
// page needs that is taken by something of the wrong kind (a folder called
// index.html, a file called maps) is refused even with `force`; `force`
// only allows a folder that holds other things, and *forceHelps says when
// that is the only problem.
std::string WebExportFolderProblem(const std::string &outDir, bool force, bool *forceHelps = nullptr);

// Claims outDir as a web export folder; false with the reason.
bool MarkWebExportFolder(const std::string &outDir, std::string &error);

} // namespace kalvion
