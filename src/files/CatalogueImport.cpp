// The nearby-star catalogue listing: read line by line, so only the line at
// hand and the stars found so far are held, however large the listing.
#include "files/SectorImport.h"

#include "base/AsciiText.h"
#include "base/LineSplitter.h"
#include "base/NumberParse.h"
#include "base/PhysicalFormulas.h"
#include "model/VexaSector.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvion {

namespace {

bool CatalogueError(std::string *error, const std::string &text)
{
    if (error)
        *error = text;
    return false;
}

std::string Quoted(const std::string &fileName)
{
    return "The catalogue \"" + fileName + "\"";
}

// Closes the descriptor on every way out.
struct TFd {
    int Fd = -1;
    ~TFd()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
};

// Hands each line of the listing (without its line end) to onLine; a line
// longer than CATALOGUE_MAX_LINE comes as an empty view with overlong set,
// its bytes passed over rather than kept.  Opened without waiting, so a pipe
// that nobody writes to reads as empty instead of blocking the open; an
// endless device ends at CATALOGUE_MAX_BYTES.  False with the reason when
// the listing cannot be read to its end.
bool ReadCatalogueLines(const std::string &fileName,
                        const std::function<void(std::string_view line, bool overlong)> &onLine, std::string *error)
{
    TFd fd{::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (fd.Fd < 0) {
        const int why = errno;
        if (why == ENOENT || why == ENOTDIR)
            return CatalogueError(error, Quoted(fileName) + " does not exist");
        return CatalogueError(error, Quoted(fileName) + " could not be opened: " + std::strerror(why));
    }
    struct stat st {};
    if (::fstat(fd.Fd, &st) != 0 || S_ISDIR(st.st_mode))
        return CatalogueError(error, Quoted(fileName) + " is a folder, not a listing");
    const int flags = ::fcntl(fd.Fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd.Fd, F_SETFL, flags & ~O_NONBLOCK);

    TBoundedLineSplitter lines(CATALOGUE_MAX_LINE);
    std::size_t total = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return CatalogueError(error, Quoted(fileName) + " could not be read: " + std::strerror(errno));
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
        if (total > CATALOGUE_MAX_BYTES)
            return CatalogueError(error, Quoted(fileName) + " is longer than " +
                                             std::to_string(CATALOGUE_MAX_BYTES >> 20) + " MB; nothing was imported");
        lines.Feed(std::string_view(buffer, static_cast<std::size_t>(n)), onLine);
    }
    lines.Finish(onLine);
    return true;
}

bool StartsWith(std::string_view line, std::string_view prefix)
{
    return line.substr(0, prefix.size()) == prefix;
}

// The rest of a line from a 1-based character position.
std::string_view RestFrom(std::string_view line, std::size_t position)
{
    return position - 1 < line.size() ? line.substr(position - 1) : std::string_view();
}

// "x, y, z)" in parsecs, as light years.  False when a number does not read
// or the star would lie beyond the largest sector: such a line is damaged.
bool ReadPosition(std::string_view rest, double (&v)[3])
{
    const std::size_t close = rest.find(')');
    if (close != std::string_view::npos)
        rest = rest.substr(0, close);
    std::size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t comma = k < 2 ? rest.find(',', start) : rest.size();
        if (comma == std::string_view::npos)
            return false;
        const auto num = ParseDouble(rest.substr(start, comma - start));
        if (!num)
            return false;
        v[k] = *num * 3.26;
        start = comma + 1;
    }
    const double reach = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return std::isfinite(reach) && reach <= SECTOR_MAX_SIZE;
}

} // namespace

int ImportGliese(TVexaSector &sector, const std::string &fileName, std::string *error, TCatalogueSkips *skips)
{
    std::vector<std::unique_ptr<TStellarBody>> stars;
    // The star being read stays current until the next entry starts, also
    // after its position line has placed it.
    std::unique_ptr<TStellarBody> pending;
    TStellarBody *current = nullptr;
    double reach = 0;
    TCatalogueSkips skipped;

    auto onLine = [&](std::string_view line, bool overlong) {
        if (overlong) {
            ++skipped.LongLines;
            return;
        }
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (StartsWith(line, "Gliese code:")) {
            if (pending)
                ++skipped.Unplaced;
            pending = TStellarBody::Create();
            current = pending.get();
            current->BodyType = "Star";
            current->TypeID = BODY_TYPE_STAR;
            return;
        }
        if (!current)
            return; // a property line before the first entry has no star
        if (StartsWith(line, "Spectral type:")) {
            current->Spectral = Trim(RestFrom(line, 15));
            current->Color = StarColorFromSpectral(current->Spectral);
        } else if (StartsWith(line, "Luminosity:")) {
            current->Luminosity = StrToFloatDef(RestFrom(line, 12), 0);
        } else if (StartsWith(line, "Remarks:")) {
            current->Name = Trim(RestFrom(line, 9));
        } else if (StartsWith(line, "Earth-based (")) {
            double v[3];
            if (!ReadPosition(RestFrom(line, 14), v))
                return; // a position that does not read leaves the star unplaced
            current->X = v[0];
            current->Y = v[1];
            current->Z = v[2];
            reach = std::max(reach, std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
            if (pending)
                stars.push_back(std::move(pending));
        }
    };
    if (!ReadCatalogueLines(fileName, onLine, error))
        return 0;
    if (pending)
        ++skipped.Unplaced;
    if (skips)
        *skips = skipped;
    if (stars.empty())
        return 0;

    const int added = static_cast<int>(stars.size());
    sector.Systems.reserve(sector.Systems.size() + stars.size());
    for (auto &s : stars)
        sector.AddSystem(std::move(s));
    sector.SizeX = sector.SizeY = sector.SizeZ = reach;
    sector.GridX = sector.GridY = sector.GridZ = reach / 2;
    for (auto &root : sector.Systems) {
        root->X += reach / 2;
        root->Y += reach / 2;
        root->Z += reach / 2;
        root->ModifySystem();
    }
    sector.UpdateRoutes();
    sector.Camera = {0, sector.SizeY / 4, -(sector.SizeX + sector.GridX)};
    sector.Target = {sector.SizeX / 2, sector.SizeY / 2, sector.SizeZ / 2};
    sector.Modified = true;
    return added;
}

} // namespace kalvion
