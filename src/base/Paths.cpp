#include "base/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace kalvion {

namespace {

std::string WithSlash(std::string s)
{
    if (s.empty() || s.back() != '/')
        s.push_back('/');
    return s;
}

} // namespace

std::string ExecutableFolder()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return WithSlash(fs::current_path(ec).string());
    return WithSlash(exe.parent_path().string());
}

std::string ProgramFolder()
{
    if (const char *env = std::getenv("KALVION_DATA_DIR"); env && *env)
        return WithSlash(env);
    const std::string exeDir = ExecutableFolder();
    std::error_code ec;
    // The installed layout counts only when it holds the program's data (its
    // schema): an empty or stray share/kalvion beside a build tree must not
    // hide the data lying next to the executable.
    const fs::path share = fs::path(exeDir) / ".." / "share" / "kalvion";
    if (fs::is_regular_file(share / "Vexa3DB.ddl", ec))
        return WithSlash(fs::weakly_canonical(share, ec).string());
    return exeDir;
}

std::string ProgramSubfolder(std::string_view name)
{
    return WithSlash(ProgramFolder() + std::string(name));
}

std::string UserDataFolder()
{
    if (const char *xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return WithSlash(std::string(xdg)) + "kalvion/";
    const char *home = std::getenv("HOME");
    const std::string base = (home && *home) ? std::string(home) : std::string("/tmp");
    return WithSlash(base) + ".local/share/kalvion/";
}

std::string NormalizeStoredPath(std::string_view path)
{
    std::string out(path);
    for (char &c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string out(folder);
    while (!out.empty() && (out.back() == '/' || out.back() == '\\'))
        out.pop_back();
    std::size_t b = 0;
    while (b < name.size() && (name[b] == '/' || name[b] == '\\'))
        ++b;
    out.push_back('/');
    out.append(name.substr(b));
    return out;
}

std::string ExtractFileName(std::string_view path)
{
    const std::size_t p = path.find_last_of("/\\");
    return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFileBaseName(std::string_view path)
{
    std::string name = ExtractFileName(path);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

bool FileExists(const std::string &path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string &path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

} // namespace kalvion
