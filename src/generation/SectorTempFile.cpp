// Moving a generated sector from its scratch file to the file the user named.
#include "generation/SectorGenerator.h"

#include "base/Paths.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace kalvion {

namespace fs = std::filesystem;

namespace {

bool Fail(std::string *error, const std::string &text)
{
    if (error)
        *error = text;
    return false;
}

// The copy must be on disk before it replaces the target.
bool SyncFile(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// Replaces target by source.  A rename does it in one step; across file
// systems the source is copied beside the target first and renamed there,
// and only then removed.
bool MoveReplacing(const std::string &source, const std::string &target, std::string *error)
{
    std::error_code ec;
    fs::rename(source, target, ec);
    if (!ec)
        return true;
    if (ec != std::errc::cross_device_link)
        return Fail(error, "\"" + source + "\" could not be moved to \"" + target + "\": " + ec.message());
    const std::string temp = target + ".saving~";
    fs::remove(temp, ec);
    ec.clear();
    fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec);
    if (ec || !SyncFile(temp)) {
        const std::string why = ec ? ec.message() : std::string("the copy could not be written to disk");
        fs::remove(temp, ec);
        return Fail(error, "\"" + source + "\" could not be copied to \"" + target + "\": " + why);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        const std::string why = ec.message();
        fs::remove(temp, ec);
        return Fail(error, "\"" + target + "\" could not be replaced: " + why);
    }
    // The sector is safe at the target now; a scratch file left behind
    // costs only space.
    fs::remove(source, ec);
    return true;
}

} // namespace

bool SaveGenerateTempFile(TVexaSector &sector, const std::string &fileName, std::string *error)
{
    if (fileName.empty())
        return Fail(error, "No file name");
    // A sector left under the temporary name of a failed save is not moved
    // from there: a plain save to the chosen name carries it over.
    if (sector.FileName.empty() || sector.FileNameUnconfirmed || SameFilePath(sector.FileName, fileName))
        return SaveToFile(sector, fileName, false, error);
    if (!SaveToFile(sector, sector.FileName, false, error))
        return false;
    sector.DynaClearActiveDB();

    std::error_code ec;
    const fs::path folder = fs::path(fileName).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec)
            return Fail(error, "The folder \"" + folder.string() + "\" could not be created: " + ec.message());
    }
    if (!MoveReplacing(sector.FileName, fileName, error))
        return false;
    fs::remove(sector.FileName + "-journal", ec);
    sector.FileName = fileName;
    sector.Name = ExtractFileBaseName(fileName);
    AttachSectorStore(sector);
    return true;
}

} // namespace kalvion
