#include "base/AsciiText.h"
#include "tables/ClassTKTable.h"
#include "tables/TKTableText.h"

#include <ctime>

namespace kalvion {

namespace {

std::string NowText(const char *format)
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char buf[64];
    const std::size_t n = std::strftime(buf, sizeof buf, format, &parts);
    return std::string(buf, n);
}

std::string Replaced(std::string_view text, char from, std::string_view to)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == from)
            out.append(to);
        else
            out.push_back(c);
    }
    return out;
}

} // namespace

// --- Variables -----------------------------------------------------------

void TTKTableApplication::SetVar(std::string_view name, std::string_view value)
{
    for (auto &entry : FVariables)
        if (SameText(entry.first, name)) {
            // The byte limit keeps a runaway table from filling memory with
            // ever longer values; such an assignment is dropped.
            const std::size_t bytes = FVarBytes - entry.second.size() + value.size();
            if (bytes > TK_MAX_VARIABLE_BYTES)
                return;
            FVarBytes = bytes;
            entry.second.assign(value);
            return;
        }
    if (FVariables.size() >= TK_MAX_VARIABLES || FVarBytes + value.size() > TK_MAX_VARIABLE_BYTES)
        return;
    FVarBytes += value.size();
    FVariables.emplace_back(AsciiLower(name), std::string(value));
}

std::string TTKTableApplication::GetVar(std::string_view name) const
{
    for (const auto &entry : FVariables)
        if (SameText(entry.first, name))
            return entry.second;
    return {};
}

void TTKTableApplication::ClearAllVars() noexcept
{
    FVariables.clear();
    FVarBytes = 0;
}

void TTKTableApplication::AddHostDefinition(std::string_view name, std::string_view value)
{
    const std::string key = AsciiLower(name);
    for (auto &entry : FHostDefinitions)
        if (entry.first == key) {
            entry.second.assign(value);
            return;
        }
    FHostDefinitions.emplace_back(key, std::string(value));
}

void TTKTableApplication::InitializeVariables()
{
    ClearAllVars();
    for (const auto &[name, value] : GlobalDefinitions)
        SetVar(name, value);
    for (const auto &[name, value] : FHostDefinitions)
        SetVar(name, value);
    for (const auto &[name, value] : GlobalVariableDefs)
        SetVar(name, ProcessLine(value, 0));
    for (std::size_t i = 0; i < Prompts.size(); ++i)
        SetVar("prompt" + std::to_string(i + 1), Prompts[i].Value);
    if (!NoBuiltIns) {
        SetVar("app", AppName);
        SetVar("version", TK_VERSION);
        SetVar("builddate", BuildDate);
        SetVar("os", TK_OS);
        SetVar("cli", CommandLine);
        SetVar("hostlanguage", HostLanguage);
        SetVar("date", NowText("%x"));
        SetVar("time", NowText("%X"));
        const std::string full = Replaced(FileName, '\\', "/");
        const std::size_t slash = full.rfind('/');
        SetVar("fullpath", full);
        SetVar("docpath", slash == std::string::npos ? std::string() : full.substr(0, slash + 1));
        SetVar("self", slash == std::string::npos ? full : full.substr(slash + 1));
        SetVar("exepath", Replaced(ExePath, '\\', "\\\\"));
    }
    SetVar("formatting", Formatting == TK_FORMATTING_TEXT ? "text" : "html");
}

void TTKTableApplication::InitializeTableVars(TTKTable &table)
{
    for (const auto &[name, value] : table.Definitions)
        SetVar(name, value);
    for (const auto &[name, value] : table.VariableDefs)
        SetVar(name, ProcessLine(value, 0));
}

void TTKTableApplication::ShuffleForTable(TTKTable &table)
{
    for (const auto &name : table.ShuffleList)
        if (TTKTable *other = GetTableByName(name))
            other->Shuffle();
}

void TTKTableApplication::ShuffleAll() noexcept
{
    for (auto &entry : FTables)
        entry.second->Shuffle();
}

// --- Generating ----------------------------------------------------------

void TTKTableApplication::StartWork() noexcept
{
    FWorkLeft = TK_WORK_BUDGET;
}

bool TTKTableApplication::Spend(std::int64_t units) noexcept
{
    if (FWorkLeft <= 0)
        return false;
    FWorkLeft -= units;
    return true;
}

std::string TTKTableApplication::Go(std::int32_t n)
{
    if (FTables.empty()) {
        Results.clear();
        Selected.clear();
        return {};
    }
    return Generate(FTables.front().second, {}, n);
}

std::string TTKTableApplication::GoTable(TTKTable &table, std::int32_t n)
{
    return Generate(&table, {}, n);
}

std::string TTKTableApplication::RunExpression(std::string_view text, std::int32_t n)
{
    return Generate(nullptr, text, n);
}

std::string TTKTableApplication::Generate(TTKTable *table, std::string_view text, std::int32_t n)
{
    Results.clear();
    Selected.clear();
    if (MaxReps > 0 && MaxReps < n)
        n = MaxReps;
    std::string out;
    // Every repetition gets the whole work budget, shared by the variable
    // initialisation and the expansion.
    FInGeneration = true;
    for (std::int32_t i = 1; i <= n; ++i) {
        StartWork();
        std::string result;
        if (table) {
            InitializeVariables();
            SetVar("rep", std::to_string(i));
            ShuffleAll();
            InitializeTableVars(*table);
            const std::string picked = table->RandomPick(false);
            result = UnEsc(ProcessLine(picked, table->LastRoll));
        } else {
            SetVar("rep", std::to_string(i));
            ShuffleAll();
            result = UnEsc(ProcessLine(text, 0));
        }
        out += result;
        out += TK_NEWLINE;
        Results.push_back(std::move(result));
        Selected.push_back(false);
    }
    FInGeneration = false;
    return out;
}

// --- Results -------------------------------------------------------------

std::string TTKTableApplication::ResultsAsString() const
{
    std::string out;
    for (const auto &r : Results) {
        out += r;
        out += TK_NEWLINE;
    }
    return out;
}

std::string TTKTableApplication::GetResult(std::int32_t index) const
{
    if (index < 0 || index >= ResultCount())
        return {};
    return Results[static_cast<std::size_t>(index)];
}

void TTKTableApplication::SelectAll()
{
    Selected.assign(Results.size(), true);
}

void TTKTableApplication::InvertSelected()
{
    Selected.resize(Results.size(), false);
    for (std::size_t i = 0; i < Selected.size(); ++i)
        Selected[i] = !Selected[i];
}

void TTKTableApplication::DeleteSelected()
{
    Selected.resize(Results.size(), false);
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < Results.size(); ++i)
        if (!Selected[i])
            kept.push_back(std::move(Results[i]));
    Results = std::move(kept);
    Selected.assign(Results.size(), false);
}

} // namespace kalvion
