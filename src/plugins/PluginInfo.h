#pragma once
// One discovered plug-in and the reading of its header lines.  A plug-in is a
// script file whose "#" lines announce what it is; the script host blanks
// those lines, so they never reach the engine.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvion {

inline constexpr int PLUGIN_KIND_FEATURE = 1;
inline constexpr int PLUGIN_KIND_GENERATOR = 2;
inline constexpr int PLUGIN_KIND_BODYGEN = 3;
inline constexpr int PLUGIN_KIND_FILEHANDLER = 4;
inline constexpr int PLUGIN_KIND_POPMENU = 5;
inline constexpr int PLUGIN_KIND_TRAVELCALC = 6;
inline constexpr int PLUGIN_KIND_FILTER = 7;

// A header value is kept to this many bytes: the name becomes a menu caption,
// a button hint and a list entry, and a name of megabytes would stall every
// menu that shows it.
inline constexpr std::size_t kMaxPluginHeaderValue = 512;

// "feature", "generator", … as the plug-in list shows the kind; "" outside 1–7.
const char *PluginKindName(int kind) noexcept;

struct TVexaPluginInfo {
    int Kind = 0;
    bool Active = true;
    std::string FileName; // full path of the script file
    std::string PluginName;
    std::string Author;
    std::string Version;
    std::string Description;
    std::string MenuHotkey;
    std::int32_t MenuIndex = 0;    // 1-based top-level menu, 0: none
    std::int32_t MenuPosition = 0; // 1-based position in that menu, 0: none
    std::string ButtonName;        // the "#button" value as written
    std::string ButtonBitmap;      // full path of the accepted bitmap, or empty
    std::string FileExt;
    std::string ExtDesc;
};

// Reads the header directives of a plug-in file's text.  Every line counts;
// a directive is the lower-cased line starting with its word in the first
// column, its value the rest of the original line trimmed (and cut to
// kMaxPluginHeaderValue bytes); later lines win and the last kind directive
// decides.  Nothing when the text names no kind.
std::optional<TVexaPluginInfo> ParsePluginHeader(std::string_view text);

} // namespace kalvion
