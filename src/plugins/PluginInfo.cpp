#include "plugins/PluginInfo.h"

#include "base/AsciiText.h"
#include "base/NumberParse.h"

#include <array>

namespace kalvion {

namespace {

struct TKindWord {
    const char *Word;
    int Kind;
    const char *Name;
};

constexpr std::array<TKindWord, 7> KIND_WORDS = {{
    {"#plugin", PLUGIN_KIND_FEATURE, "feature"},
    {"#generator", PLUGIN_KIND_GENERATOR, "generator"},
    {"#bodygen", PLUGIN_KIND_BODYGEN, "body gen"},
    {"#filehandler", PLUGIN_KIND_FILEHANDLER, "file handler"},
    {"#popmenu", PLUGIN_KIND_POPMENU, "pop menu"},
    {"#travelcalc", PLUGIN_KIND_TRAVELCALC, "travel calc"},
    {"#filter", PLUGIN_KIND_FILTER, "filter"},
}};

bool Starts(std::string_view lower, std::string_view word) { return lower.substr(0, word.size()) == word; }

// The value trimmed and cut to the cap, never inside a UTF-8 sequence.
std::string ValueAfter(std::string_view line, std::string_view word)
{
    std::string_view value = TrimView(line.substr(word.size()));
    if (value.size() > kMaxPluginHeaderValue) {
        std::size_t cut = kMaxPluginHeaderValue;
        for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80; ++back)
            --cut;
        value = TrimView(value.substr(0, cut));
    }
    return std::string(value);
}

// "2 1": both numbers or nothing.
bool ReadMenuInsert(std::string_view value, std::int32_t &index, std::int32_t &position)
{
    value = TrimView(value);
    const std::size_t blank = value.find_first_of(" \t");
    if (blank == std::string_view::npos)
        return false;
    const auto a = ParseInt32(value.substr(0, blank));
    const auto b = ParseInt32(value.substr(blank + 1));
    if (!a || !b)
        return false;
    index = *a;
    position = *b;
    return true;
}

void ReadLine(std::string_view line, TVexaPluginInfo &info)
{
    if (line.empty() || line[0] != '#')
        return;
    const std::string lower = AsciiLower(line.substr(0, 16));
    for (const TKindWord &k : KIND_WORDS) {
        if (Starts(lower, k.Word)) {
            info.Kind = k.Kind;
            info.PluginName = ValueAfter(line, k.Word);
            return;
        }
    }
    const auto field = [&](const char *word, std::string &out) {
        if (!Starts(lower, word))
            return false;
        out = ValueAfter(line, word);
        return true;
    };
    if (field("#menuhotkey", info.MenuHotkey) || field("#author", info.Author) ||
        field("#version", info.Version) || field("#desc", info.Description) ||
        field("#button", info.ButtonName) || field("#fileext", info.FileExt) || field("#extdesc", info.ExtDesc))
        return;
    if (Starts(lower, "#menuinsert"))
        ReadMenuInsert(line.substr(11), info.MenuIndex, info.MenuPosition);
}

} // namespace

const char *PluginKindName(int kind) noexcept
{
    for (const TKindWord &k : KIND_WORDS)
        if (k.Kind == kind)
            return k.Name;
    return "";
}

std::optional<TVexaPluginInfo> ParsePluginHeader(std::string_view text)
{
    TVexaPluginInfo info;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        ReadLine(text.substr(start, end - start), info);
        if (end == text.size())
            break;
        // CR LF, LF and a lone CR all end a line.
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    if (info.Kind == 0)
        return std::nullopt;
    return info;
}

} // namespace kalvion
