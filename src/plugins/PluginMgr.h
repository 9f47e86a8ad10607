#pragma once
// TVexaPluginMgr: finds the plug-ins in the "Plugins/" folders, reads their
// headers and answers what the window builds from them: menu places, button
// bitmaps, open-dialog filters, file handlers, the generator and travel
// method lists, and which plug-ins the user switched off.
#include "plugins/PluginInfo.h"

#include <functional>
#include <string>
#include <vector>

namespace kalvion {

inline constexpr const char *STANDARD_GENERATOR_NAME = "Kalvion Standard Generator";

class TVexaPluginMgr {
public:
    // Folders searched in this order, each ending in a path separator: the
    // program's "Plugins/" first, then the user's.
    std::vector<std::string> PluginFolders;
    // Plug-ins in discovery order; the index is the identity menu items and
    // buttons keep.
    std::vector<TVexaPluginInfo> Plugins;
    // What the scan had to leave out and why, one line each (files that
    // could not be read, names that are no regular file, button images
    // refused).
    std::vector<std::string> ScanMessages;
    // Width and height of an image file; false when it cannot be read as one.
    std::function<bool(const std::string &path, int &width, int &height)> ImageSize;

    // Plug-in files and any single header stay within this size.
    static constexpr std::size_t kMaxPluginBytes = std::size_t(16) << 20;

    // Lists "*.VexaScript" then "*.vbs" (extensions ignoring case, names
    // sorted) in each folder and keeps every file that names a kind.
    void Scan();
    // Adds one file; false (and a line in ScanMessages) when it cannot be
    // read or is not a regular file, which is then never opened for reading.
    // A readable file without a kind directive is no plug-in.
    bool AddFile(const std::string &path, const std::string &folder);

    // Each name clears Active of the first plug-in of exactly that name.
    void ApplyDisabled(const std::vector<std::string> &names);
    // The names of the inactive plug-ins, in discovery order.
    std::vector<std::string> DisabledNames() const;

    // The item's place in a top-level menu as (menu, position), both 0-based,
    // or (-1, -1) for the kind's own menu.  menuCount is the number of
    // top-level menus; itemCount(i) the number of items of menu i.
    static std::pair<int, int> MenuPlace(const TVexaPluginInfo &p, int menuCount,
                                         const std::function<int(int)> &itemCount);

    // The open dialog's filter with one entry per file handler.
    std::string OpenFilter(const std::string &base) const;
    // The file handler for a path: the first kind-4 plug-in whose extension
    // equals the file's ignoring case; -1 for none and for sector files.
    int FindFileHandler(const std::string &path) const;
    // The first plug-in of that kind and exact name; -1 for none.
    int FindByName(int kind, const std::string &name) const;

    // The New System dialog's generator list: the standard generator, then
    // the body generators sorted.
    std::vector<std::string> BodyGeneratorNames() const;
    // Travel-calculator plug-ins, sorted.
    std::vector<std::string> TravelMethodNames() const;
    // Indexes of the plug-ins of one kind, in discovery order.
    std::vector<int> OfKind(int kind) const;

private:
    void AcceptButton(TVexaPluginInfo &p, const std::string &folder);
};

// The file's extension with its dot ("" when it has none).
std::string PluginFileExtension(const std::string &path);

} // namespace kalvion
