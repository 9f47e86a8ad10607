#include "tables/TKTableFiles.h"

#include "base/AsciiText.h"
#include "base/Paths.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace kalvion {

bool ReadTableLines(const std::string &path, std::vector<std::string> &lines, std::size_t &budget)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    const auto size = fs::file_size(path, ec);
    if (ec || size > budget)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string data(static_cast<std::size_t>(size), '\0');
    in.read(data.data(), static_cast<std::streamsize>(size));
    data.resize(static_cast<std::size_t>(in.gcount()));
    budget -= data.size();

    std::size_t from = 0;
    while (from < data.size()) {
        std::size_t nl = data.find('\n', from);
        if (nl == std::string::npos)
            nl = data.size();
        std::size_t end = nl;
        // CR LF files: the CR goes before anything else looks at the line, or
        // a trailing "&" would not be seen.
        if (end > from && data[end - 1] == '\r')
            --end;
        lines.emplace_back(data, from, end - from);
        from = nl + 1;
    }
    return true;
}

std::string FindFileIgnoreCase(std::string_view path)
{
    if (path.empty())
        return {};
    const std::string normal = NormalizeStoredPath(path);
    std::error_code ec;
    if (fs::is_regular_file(normal, ec))
        return normal;

    const fs::path p(normal);
    fs::path current = p.root_path();
    for (const auto &part : p.relative_path()) {
        const std::string name = part.string();
        if (name.empty() || name == ".")
            continue;
        const fs::path candidate = current.empty() ? part : current / part;
        if (name == ".." || fs::exists(candidate, ec)) {
            current = candidate;
            continue;
        }
        std::string found;
        const fs::path dir = current.empty() ? fs::path(".") : current;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            if (SameText(it->path().filename().string(), name)) {
                found = it->path().filename().string();
                break;
            }
        if (found.empty())
            return {};
        current = current.empty() ? fs::path(found) : current / found;
    }
    if (fs::is_regular_file(current, ec))
        return current.string();
    return {};
}

std::string CanonicalFileName(const std::string &path)
{
    std::error_code ec;
    const fs::path canon = fs::weakly_canonical(path, ec);
    return ec ? path : canon.string();
}

} // namespace kalvion
