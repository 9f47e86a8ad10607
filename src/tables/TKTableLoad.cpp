#include "base/AsciiText.h"
#include "base/NumberParse.h"
#include "base/Paths.h"
#include "base/SafeFile.h"
#include "tables/ClassTKTable.h"
#include "tables/TKTableFiles.h"
#include "tables/TKTableText.h"

#include <algorithm>

namespace kalvion {

struct TTKTableApplication::TLoadState {
    TTKTable *Current = nullptr;  // between "table:" and "endtable:"
    TTKTable *Last = nullptr;     // the last table this load declared
    std::size_t Budget = TK_MAX_LOAD_BYTES;
};

namespace {

bool IsCommentLine(std::string_view line) noexcept
{
    return line.starts_with("//") || line.starts_with("#") || line.starts_with(";");
}

std::string_view CutComment(std::string_view line) noexcept
{
    const std::size_t p = line.find("//");
    return p == std::string_view::npos ? line : line.substr(0, p);
}

std::string_view TrimLeftView(std::string_view s) noexcept
{
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= 32)
        ++i;
    return s.substr(i);
}

void TrimRightInPlace(std::string &s)
{
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.pop_back();
}

bool StartsWithText(std::string_view text, std::string_view prefix) noexcept
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

// The en dash: byte 150 of Windows-1252, or its three UTF-8 bytes.
std::size_t EnDashAt(std::string_view s, std::size_t i) noexcept
{
    if (static_cast<unsigned char>(s[i]) == 0x96)
        return 1;
    if (s.substr(i, 3) == "\xE2\x80\x93")
        return 3;
    return 0;
}

std::string NumberPart(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (const std::size_t n = EnDashAt(s, i)) {
            out.push_back('-');
            i += n;
        } else {
            out.push_back(s[i++]);
        }
    }
    return out;
}

// The ":" that ends an entry's number part: within its first 11 characters,
// an en dash counting as one character however it is encoded.
std::size_t EntryColon(std::string_view s) noexcept
{
    std::size_t i = 0;
    for (int chars = 0; i < s.size() && chars < 11; ++chars) {
        if (s[i] == ':')
            return i;
        const std::size_t n = EnDashAt(s, i);
        i += n ? n : 1;
    }
    return std::string_view::npos;
}

void SplitDeclaration(std::string_view rest, std::string &name, std::string &value)
{
    const std::size_t eq = rest.find('=');
    if (eq == std::string_view::npos) {
        name = Trim(rest);
        value.clear();
    } else {
        name = Trim(rest.substr(0, eq));
        value.assign(rest.substr(eq + 1));
    }
}

void SetListVar(TTKVarList &list, std::string_view name, std::string_view value)
{
    std::string key = AsciiLower(name);
    for (auto &entry : list)
        if (entry.first == key) {
            entry.second.assign(value);
            return;
        }
    list.emplace_back(std::move(key), std::string(value));
}

} // namespace

TTKTableApplication::TTKTableApplication() = default;

void TTKTableApplication::SetError(std::string text)
{
    FLastError = text;
    SetTKLastError(std::move(text));
}

TTKTable &TTKTableApplication::AddTable(std::string name)
{
    FTableStore.push_back(std::make_unique<TTKTable>());
    TTKTable *table = FTableStore.back().get();
    FTableIndex[name] = table;
    FTables.emplace_back(std::move(name), table);
    return *table;
}

TTKTable *TTKTableApplication::GetTableByName(std::string_view name)
{
    // Names are stored lower case; most lookups already are.
    auto it = FTableIndex.find(std::string(name));
    if (it == FTableIndex.end()) {
        it = FTableIndex.find(AsciiLower(name));
        if (it == FTableIndex.end())
            return nullptr;
    }
    return it->second;
}

bool TTKTableApplication::Load(const std::string &file, const std::string &libraryFolder)
{
    const std::string path = FindFileIgnoreCase(file);
    if (path.empty()) {
        SetError("Missing File " + file);
        return false;
    }
    TLoadState st;
    std::vector<std::string> lines;
    if (!ReadTableLines(path, lines, st.Budget)) {
        SetError("Cannot Read File " + file);
        return false;
    }
    FLastError.clear();
    FileName = file;
    FLibraryFolder = libraryFolder.empty() ? ProgramSubfolder("Common") : NormalizeStoredPath(libraryFolder);
    // The file itself counts as included, so a file that uses itself does
    // not declare its tables twice.
    IncludedFiles.assign(1, CanonicalFileName(path));
    GlobalVariableDefs.clear();
    GlobalDefinitions.clear();
    MaxReps = 0;
    Header.clear();
    Footer.clear();
    for (std::size_t i = 0; i < lines.size(); ++i)
        ProcessFileLine(st, lines, i);
    return true;
}

bool TTKTableApplication::IncludeFile(TLoadState &st, std::vector<std::string> &lines, std::string_view name)
{
    const std::string lower = AsciiLower(NormalizeStoredPath(name));
    const std::string candidates[] = {
        std::string(name), lower, JoinPath(FLibraryFolder, lower),
        JoinPath(JoinPath(FLibraryFolder, "Common"), lower)};
    for (const auto &candidate : candidates) {
        const std::string path = FindFileIgnoreCase(candidate);
        if (path.empty())
            continue;
        const std::string canon = CanonicalFileName(path);
        if (std::find(IncludedFiles.begin(), IncludedFiles.end(), canon) != IncludedFiles.end())
            return true;
        IncludedFiles.push_back(canon);
        // An include always starts outside any table.
        lines.emplace_back();
        lines.emplace_back("EndTable:");
        ReadTableLines(path, lines, st.Budget);
        return true;
    }
    return false;
}

void TTKTableApplication::ProcessFileLine(TLoadState &st, std::vector<std::string> &lines, std::size_t &index)
{
    if (IsCommentLine(lines[index]))
        return;
    const std::string line(CutComment(lines[index]));
    const std::string_view t = TrimLeftView(line);
    if (TrimView(t).empty())
        return;

    struct Directive {
        std::string_view Word;
        int Id;
    };
    static constexpr Directive kDirectives[] = {
        {"use:", 0},     {"maxreps:", 1}, {"prompt:", 2}, {"title:", 3},     {"header:", 4},
        {"footer:", 5},  {"formatting:", 6}, {"set:", 7}, {"define:", 8},    {"table:", 9},
        {"endtable:", 10}, {"roll:", 11}, {"shuffle:", 12}, {"type:", 13},   {"default:", 14}};
    for (const auto &d : kDirectives) {
        if (!StartsWithText(t, d.Word))
            continue;
        const std::string_view rest = t.substr(d.Word.size());
        const std::string value = Trim(rest);
        switch (d.Id) {
        case 0:
            IncludeFile(st, lines, value);
            break;
        case 1:
            if (MaxReps <= 0)
                if (auto v = ParseInt32(value); v && *v > 0)
                    MaxReps = *v;
            break;
        case 2:
            if (Prompts.size() < static_cast<std::size_t>(TK_MAX_PROMPTS))
                Prompts.push_back({value, GetPromptDefault(value)});
            break;
        case 3:
            if (Title.empty())
                Title = value;
            break;
        case 4:
            if (Header.empty())
                Header = value;
            break;
        case 5:
            if (Footer.empty())
                Footer = value;
            break;
        case 6:
            Formatting = value == "text" ? TK_FORMATTING_TEXT : TK_FORMATTING_HTML;
            break;
        case 7:
        case 8: {
            std::string name, val;
            SplitDeclaration(rest, name, val);
            if (name.empty())
                break;
            TTKVarList &list = st.Current ? (d.Id == 7 ? st.Current->VariableDefs : st.Current->Definitions)
                                          : (d.Id == 7 ? GlobalVariableDefs : GlobalDefinitions);
            SetListVar(list, name, val);
            break;
        }
        case 9:
            if (!value.empty()) {
                TTKTable &table = AddTable(AsciiLower(value));
                st.Current = st.Last = &table;
            }
            break;
        case 10:
            st.Current = nullptr;
            break;
        case 11:
            if (st.Last)
                st.Last->Roll = value;
            break;
        case 12:
            if (st.Last && !value.empty())
                st.Last->ShuffleList.push_back(AsciiLower(value));
            break;
        case 13:
            if (st.Last)
                st.Last->Type = SameText(value, "lookup") ? TK_TYPE_LOOKUP : TK_TYPE_WEIGHTED;
            break;
        case 14:
            if (st.Last)
                st.Last->Default = value;
            break;
        }
        return;
    }
    if (!st.Current)
        return;

    std::string entry = Trim(t);
    while (!entry.empty() && entry.back() == '&') {
        entry.pop_back();
        if (index + 1 >= lines.size())
            break;
        ++index;
        entry.append(TrimLeftView(CutComment(lines[index])));
        TrimRightInPlace(entry);
    }
    if (entry.empty())
        return;

    TTKTableItem item;
    const std::size_t colon = EntryColon(entry);
    if (colon == std::string::npos) {
        item.Text = std::move(entry);
    } else {
        const std::string number = NumberPart(std::string_view(entry).substr(0, colon));
        const std::size_t dash = number.find('-', 1);
        if (dash == std::string::npos) {
            item.Low = item.High = StrToIntDef(Trim(number), 0);
        } else {
            item.Low = StrToIntDef(Trim(std::string_view(number).substr(0, dash)), 0);
            item.High = StrToIntDef(Trim(std::string_view(number).substr(dash + 1)), 0);
            st.Current->Type = TK_TYPE_LOOKUP;
        }
        item.Text = entry.substr(colon + 1);
    }
    st.Current->Items.push_back(std::move(item));
}

std::string TTKTableApplication::OutputILT()
{
    if (FileName.empty()) {
        SetError("No File Assigned");
        return {};
    }
    const std::string path = FindFileIgnoreCase(FileName);
    std::vector<std::string> lines;
    std::size_t budget = TK_MAX_LOAD_BYTES;
    if (path.empty() || !ReadTableLines(path, lines, budget)) {
        SetError("Missing File " + FileName);
        return {};
    }
    std::vector<std::string> included{CanonicalFileName(path)};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsCommentLine(lines[i]))
            continue;
        const std::string_view t = TrimLeftView(CutComment(lines[i]));
        if (!StartsWithText(t, "use:"))
            continue;
        const std::string name = Trim(t.substr(4));
        const std::string lower = AsciiLower(NormalizeStoredPath(name));
        std::string found;
        for (const auto &candidate : {name, lower, JoinPath(FLibraryFolder, lower),
                                      JoinPath(JoinPath(FLibraryFolder, "Common"), lower)})
            if (found = FindFileIgnoreCase(candidate); !found.empty())
                break;
        if (found.empty()) {
            lines[i] = "//could not include " + name;
            continue;
        }
        lines[i].clear();
        const std::string canon = CanonicalFileName(found);
        if (std::find(included.begin(), included.end(), canon) != included.end())
            continue;
        included.push_back(canon);
        lines.emplace_back();
        lines.emplace_back("EndTable:");
        ReadTableLines(found, lines, budget);
    }
    std::string out;
    for (const auto &line : lines) {
        out += line;
        out += TK_NEWLINE;
    }
    return out;
}

bool TTKTableApplication::ExportILT(const std::string &file)
{
    const std::string text = OutputILT();
    if (!FLastError.empty() && text.empty())
        return false;
    std::string reason;
    if (!ReplaceFileContents(file, text, &reason)) {
        SetError("Cannot Write File " + file + ": " + reason);
        return false;
    }
    return true;
}

void TTKTableApplication::SetPrompt(std::int32_t index, std::string_view value)
{
    if (index < 1 || index > PromptCount())
        return;
    Prompts[static_cast<std::size_t>(index - 1)].Value.assign(value);
}

std::string GetPromptLabel(std::string_view definition)
{
    const std::int32_t open = PosEsc("{", definition);
    return Trim(open < 0 ? definition : definition.substr(0, static_cast<std::size_t>(open)));
}

std::vector<std::string> GetPromptOptions(std::string_view definition)
{
    std::vector<std::string> options;
    const std::int32_t open = PosEsc("{", definition);
    if (open < 0)
        return options;
    const std::int32_t close = PosEsc("}", definition, open + 1);
    const std::size_t from = static_cast<std::size_t>(open) + 1;
    const std::size_t to = close < 0 ? definition.size() : static_cast<std::size_t>(close);
    SplitEsc(definition.substr(from, to - from), "|", options);
    return options;
}

std::string GetPromptDefault(std::string_view definition)
{
    const std::int32_t close = PosEsc("}", definition);
    if (close < 0)
        return {};
    return Trim(definition.substr(static_cast<std::size_t>(close) + 1));
}

} // namespace kalvion
