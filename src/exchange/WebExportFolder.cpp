#include "exchange/WebExportFolder.h"

#include "base/SafeFile.h"
#include "exchange/WebExport.h"

#include <filesystem>
#include <system_error>

namespace kalvion {

namespace {

namespace fs = std::filesystem;

// What the page puts into its folder; "maps" is its folder of surface maps.
constexpr const char *WEB_EXPORT_FILES[] = {"index.html", WEB_EXPORT_DATA_FILE, "three.min.js", "OrbitControls.js",
                                            WEB_EXPORT_MARKER};

} // namespace

std::string WebExportFolderProblem(const std::string &outDir, bool force, bool *forceHelps)
{
    if (forceHelps)
        *forceHelps = false;
    const fs::path dir(outDir);
    std::error_code ec;
    const fs::file_status status = fs::status(dir, ec);
    if (!fs::exists(status))
        return {};  // made by the export
    if (!fs::is_directory(status))
        return "The folder " + outDir + " could not be created: a file of that name exists";
    for (const char *name : WEB_EXPORT_FILES) {
        const fs::file_status s = fs::symlink_status(dir / name, ec);
        if (fs::exists(s) && fs::is_directory(s))
            return "The web page cannot be written into " + outDir + ": " + name + " there is a folder";
    }
    const fs::file_status maps = fs::symlink_status(dir / "maps", ec);
    if (fs::exists(maps) && !fs::is_directory(maps))
        return "The web page cannot be written into " + outDir + ": maps there is not a folder";
    if (force)
        return {};
    if (fs::is_regular_file(fs::symlink_status(dir / WEB_EXPORT_MARKER, ec)))
        return {};
    fs::directory_iterator it(dir, ec);
    if (ec)
        return "The folder " + outDir + " cannot be read: " + ec.message();
    if (it == fs::directory_iterator())
        return {};
    if (forceHelps)
        *forceHelps = true;
    return "The folder " + outDir +
           " already holds files that are not an earlier web export; the page is only written into an empty "
           "folder or over an earlier export";
}

bool MarkWebExportFolder(const std::string &outDir, std::string &error)
{
    const std::string marker = (fs::path(outDir) / WEB_EXPORT_MARKER).string();
    std::error_code ec;
    if (fs::is_regular_file(fs::symlink_status(marker, ec)))
        return true;
    bool existed = false;
    if (CreateNewFile(marker, "Written by Kalvion's web export; the export replaces the page in this folder.\n",
                      &existed, &error))
        return true;
    if (existed)
        error = marker + " exists and is not a file";
    return false;
}

} // namespace kalvion
