#include "plugins/PluginMgr.h"

#include "base/AsciiText.h"
#include "base/RegularFileRead.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

namespace kalvion {

namespace fs = std::filesystem;

namespace {

bool EndsWithText(const std::string &name, std::string_view suffix)
{
    return name.size() > suffix.size() && SameText(std::string_view(name).substr(name.size() - suffix.size()), suffix);
}

std::vector<std::string> FilesWithSuffix(const std::string &folder, std::string_view suffix)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    // Every name that matches goes to AddFile, folders and pipes included, so
    // that what is left out is said rather than silently passed over.
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (EndsWithText(name, suffix))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The button file's path when it lies inside the folder, else empty.
std::string ConfinedPath(const std::string &folder, std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.empty() || name[0] == '/' || (name.size() > 1 && name[1] == ':'))
        return {};
    const fs::path rel(name);
    for (const fs::path &part : rel)
        if (part == "..")
            return {};
    std::error_code ec;
    const fs::path base = fs::weakly_canonical(fs::path(folder), ec);
    if (ec)
        return {};
    const fs::path full = fs::weakly_canonical(base / rel, ec);
    if (ec)
        return {};
    // A link inside the folder may still lead out of it.
    const std::string b = base.string() + "/", f = full.string();
    if (f.compare(0, b.size(), b) != 0)
        return {};
    return f;
}

std::vector<std::string> SortedIgnoringCase(std::vector<std::string> names)
{
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string &a, const std::string &b) { return CompareText(a, b) < 0; });
    return names;
}

} // namespace

std::string PluginFileExtension(const std::string &path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot);
}

void TVexaPluginMgr::Scan()
{
    Plugins.clear();
    ScanMessages.clear();
    for (const std::string &folder : PluginFolders)
        for (const char *suffix : {".VexaScript", ".vbs"})
            for (const std::string &name : FilesWithSuffix(folder, suffix))
                AddFile(folder + name, folder);
}

bool TVexaPluginMgr::AddFile(const std::string &path, const std::string &folder)
{
    // Only a regular file is opened: a pipe named like a script would keep
    // the window from ever starting, a device would feed it without end.
    std::string text;
    switch (ReadRegularFile(path, kMaxPluginBytes, text)) {
    case TRegularFileRead::Ok:
        break;
    case TRegularFileRead::NotRegular:
        ScanMessages.push_back("Plug-in file is not a regular file, skipped: " + path);
        return false;
    case TRegularFileRead::TooLarge:
        ScanMessages.push_back("Plug-in file is too large to read: " + path);
        return false;
    case TRegularFileRead::Missing:
    case TRegularFileRead::Unreadable:
        ScanMessages.push_back("Plug-in file could not be read: " + path);
        return false;
    }
    auto info = ParsePluginHeader(text);
    if (!info)
        return true;
    info->FileName = path;
    info->Active = true;
    AcceptButton(*info, folder);
    Plugins.push_back(std::move(*info));
    return true;
}

void TVexaPluginMgr::AcceptButton(TVexaPluginInfo &p, const std::string &folder)
{
    p.ButtonBitmap.clear();
    if (p.ButtonName.empty())
        return;
    const std::string path = ConfinedPath(folder, p.ButtonName);
    if (path.empty()) {
        ScanMessages.push_back("Button image outside the plug-in folder ignored: " + p.ButtonName + " (" +
                               p.FileName + ")");
        return;
    }
    std::error_code ec;
    int w = 0, h = 0;
    if (!fs::is_regular_file(path, ec) || !ImageSize || !ImageSize(path, w, h))
        return;
    if (h == 16 || w == 16 || w == 32)
        p.ButtonBitmap = path;
}

void TVexaPluginMgr::ApplyDisabled(const std::vector<std::string> &names)
{
    for (const std::string &name : names) {
        auto it = std::find_if(Plugins.begin(), Plugins.end(),
                               [&](const TVexaPluginInfo &p) { return p.PluginName == name; });
        if (it != Plugins.end())
            it->Active = false;
    }
}

std::vector<std::string> TVexaPluginMgr::DisabledNames() const
{
    std::vector<std::string> names;
    for (const TVexaPluginInfo &p : Plugins)
        if (!p.Active)
            names.push_back(p.PluginName);
    return names;
}

std::pair<int, int> TVexaPluginMgr::MenuPlace(const TVexaPluginInfo &p, int menuCount,
                                              const std::function<int(int)> &itemCount)
{
    if (p.MenuIndex > 0 && p.MenuPosition > 0 && p.MenuIndex <= menuCount &&
        p.MenuPosition <= itemCount(p.MenuIndex - 1))
        return {p.MenuIndex - 1, p.MenuPosition - 1};
    return {-1, -1};
}

std::string TVexaPluginMgr::OpenFilter(const std::string &base) const
{
    std::string filter = base;
    for (const TVexaPluginInfo &p : Plugins) {
        if (p.Kind != PLUGIN_KIND_FILEHANDLER || p.FileExt.empty())
            continue;
        if (p.ExtDesc.empty())
            filter += "|(*" + p.FileExt + ")|*" + p.FileExt;
        else
            filter += "|" + p.ExtDesc + " (*" + p.FileExt + ")|*" + p.FileExt;
    }
    return filter;
}

int TVexaPluginMgr::FindFileHandler(const std::string &path) const
{
    const std::string ext = PluginFileExtension(path);
    if (ext.empty() || SameText(ext, ".VexaDB"))
        return -1;
    for (std::size_t i = 0; i < Plugins.size(); ++i)
        if (Plugins[i].Kind == PLUGIN_KIND_FILEHANDLER && SameText(Plugins[i].FileExt, ext))
            return static_cast<int>(i);
    return -1;
}

int TVexaPluginMgr::FindByName(int kind, const std::string &name) const
{
    for (std::size_t i = 0; i < Plugins.size(); ++i)
        if (Plugins[i].Kind == kind && Plugins[i].PluginName == name)
            return static_cast<int>(i);
    return -1;
}

std::vector<int> TVexaPluginMgr::OfKind(int kind) const
{
    std::vector<int> out;
    for (std::size_t i = 0; i < Plugins.size(); ++i)
        if (Plugins[i].Kind == kind)
            out.push_back(static_cast<int>(i));
    return out;
}

std::vector<std::string> TVexaPluginMgr::BodyGeneratorNames() const
{
    std::vector<std::string> names;
    for (int i : OfKind(PLUGIN_KIND_BODYGEN))
        names.push_back(Plugins[static_cast<std::size_t>(i)].PluginName);
    names = SortedIgnoringCase(std::move(names));
    names.insert(names.begin(), STANDARD_GENERATOR_NAME);
    return names;
}

std::vector<std::string> TVexaPluginMgr::TravelMethodNames() const
{
    std::vector<std::string> names;
    for (int i : OfKind(PLUGIN_KIND_TRAVELCALC))
        names.push_back(Plugins[static_cast<std::size_t>(i)].PluginName);
    return SortedIgnoringCase(std::move(names));
}

} // namespace kalvion
