#pragma once
// The random-table engine: a loaded set of ".ilt" table files and the markup
// language that expands their entries.
//
// A TTKTableApplication holds the tables of one file and everything it
// includes, the file-level declarations and the live variables.  Go picks from
// the main table and expands the picked text; ProcessLine expands any text.
// Table files are outside input, so the expansion is bounded everywhere: pick
// nesting, the passes of one line, pick and dice counts, the length of the
// working text and the total work of one generation.
#include "tables/TKTableConst.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kalvion {

struct TTKTableItem {
    std::int32_t Low = 0;   // weight, or the first roll value of a lookup entry
    std::int32_t High = 0;  // last roll value of a range, 0 without one
    bool Dealt = false;     // dealt by a deck pick, out of play until shuffled
    std::string Text;
};

using TTKVarList = std::vector<std::pair<std::string, std::string>>;

class TTKTable {
public:
    std::int32_t Type = TK_TYPE_WEIGHTED;
    std::string Roll;     // "roll:" dice expression, empty for the table's own range
    std::string Default;  // text used when no entry matches a roll
    std::vector<TTKTableItem> Items;
    std::int32_t LastRoll = -1;  // -1 before a pick, 0 when the default was used
    TTKVarList VariableDefs;     // "set:" lines of the table, expanded when used
    TTKVarList Definitions;      // "define:" lines of the table, taken literally
    std::vector<std::string> ShuffleList;

    void Clear();
    // Rolls the table (its "roll:" expression, else 1 .. the total of the
    // entries in play) and returns the matching entry's text.
    const std::string &RandomPick(bool deal);
    // The entry for a roll, or the default text (LastRoll 0).
    const std::string &GetItem(std::int32_t roll, bool deal);
    void AddVariableDef(std::string_view name, std::string_view value);
    void AddDefinition(std::string_view name, std::string_view value);
    // Puts every dealt entry back in play.
    void Shuffle() noexcept;
    // The span of a plain roll: the weights (0 counting as 1) or the ranges of
    // the entries in play.  May be 0 or negative for odd weights.
    std::int64_t Total() const noexcept;

private:
    bool FAnyDealt = false;
};

struct TTKPrompt {
    std::string Definition;  // label {option|option} default
    std::string Value;       // chosen by the host; the default until then
};

class TTKTableApplication {
public:
    TTKTableApplication();
    TTKTableApplication(const TTKTableApplication &) = delete;
    TTKTableApplication &operator=(const TTKTableApplication &) = delete;

    // --- Loading (the tables of earlier loads stay) -----------------------
    // libraryFolder: where "use:" looks besides the name itself; empty means
    // the program's "Common/" folder.  False with LastError() and
    // TK_LAST_ERROR set when the file is missing or unreadable.
    bool Load(const std::string &file, const std::string &libraryFolder = "");
    // The file with every include appended once; unresolvable includes become
    // "//could not include NAME".  Empty with an error when there is no file.
    std::string OutputILT();
    bool ExportILT(const std::string &file);
    const std::string &LastError() const noexcept { return FLastError; }

    // --- Generating ------------------------------------------------------
    // n results of the main table, each followed by CR LF.
    std::string Go(std::int32_t n);
    // As Go, from a table of the caller's choice (kalvion-cli table FILE TABLE).
    std::string GoTable(TTKTable &table, std::int32_t n);
    // n expansions of a text, without re-initialising the variables.
    std::string RunExpression(std::string_view text, std::int32_t n);

    // --- Tables --------------------------------------------------------
    std::int32_t TableCount() const noexcept { return static_cast<std::int32_t>(FTables.size()); }
    TTKTable &Table(std::int32_t index) { return *FTables[static_cast<std::size_t>(index)].second; }
    const std::string &TableName(std::int32_t index) const { return FTables[static_cast<std::size_t>(index)].first; }
    // The last table of that name (any case), nullptr when absent.
    TTKTable *GetTableByName(std::string_view name);
    // Ends with the application and its tables: references to a table that
    // are held elsewhere (scripts) check it rather than the table's own life.
    std::weak_ptr<void> TablesToken() const
    {
        if (!FTablesToken)
            FTablesToken = std::make_shared<int>(0);
        return FTablesToken;
    }

    // --- Variables -----------------------------------------------------
    void SetVar(std::string_view name, std::string_view value);
    std::string GetVar(std::string_view name) const;
    const TTKVarList &Variables() const noexcept { return FVariables; }
    void ClearAllVars() noexcept;
    void InitializeVariables();
    void InitializeTableVars(TTKTable &table);
    // A "define:" the host adds to the file-level ones (kalvion-cli --var);
    // it survives the re-initialisation of every repetition.
    void AddHostDefinition(std::string_view name, std::string_view value);
    // Forgets every host definition (a namer sets new ones before each name).
    void ClearHostDefinitions() noexcept { FHostDefinitions.clear(); }
    void ShuffleForTable(TTKTable &table);
    void ShuffleAll() noexcept;
    void CallTable() noexcept {}

    // --- Results -------------------------------------------------------
    std::string ResultsAsString() const;
    std::string GetResult(std::int32_t index) const;
    std::int32_t ResultCount() const noexcept { return static_cast<std::int32_t>(Results.size()); }
    void SelectAll();
    void InvertSelected();
    void DeleteSelected();

    // --- Prompts (1-based) ---------------------------------------------
    std::int32_t PromptCount() const noexcept { return static_cast<std::int32_t>(Prompts.size()); }
    void SetPrompt(std::int32_t index, std::string_view value);

    // --- Markup expansion ----------------------------------------------
    std::string ProcessLine(std::string_view text, std::int32_t roll);
    std::string ProcessLineOld(std::string_view text, std::int32_t roll) { return ProcessLine(text, roll); }
    // Picks count times from the table expression (name >> filters) into
    // result; a numbered pick looks up the roll count instead; a literal
    // takes the expression's first piece as its single value.
    void DoTablePick(bool numberPick, bool deal, std::string &result, std::string_view expression, std::int32_t count,
                     bool literal, std::int32_t roll = 0);
    // The inside of a "[when]" (positive) or "[when not]" tag.
    std::string ProcessWhen(bool positive, std::string_view text, std::int32_t roll);
    std::string ProcessAAn(std::string_view text) const;
    static std::int32_t GetTKTag(std::string_view text) noexcept;

    std::string ProcessFilterLeft(std::string_view value, std::string_view filter) const;
    std::string ProcessFilterRight(std::string_view value, std::string_view filter) const;
    std::string ProcessFilterSubstr(std::string_view value, std::string_view filter) const;
    std::string ProcessFilterAt(std::string_view value, std::string_view filter) const;
    std::string ProcessFilterReplace(std::string_view value, std::string_view filter) const;

    // --- Public state ----------------------------------------------------
    std::string FileName;
    std::vector<std::string> IncludedFiles;
    std::string Title, Header, Footer;
    std::int32_t Formatting = TK_FORMATTING_HTML;
    std::string HostLanguage, ExePath, CommandLine, BuildDate;
    std::string AppName{TK_APP_NAME};
    std::vector<TTKPrompt> Prompts;
    std::vector<std::string> Results;
    std::vector<bool> Selected;
    TTKVarList GlobalVariableDefs;  // file-level "set:"
    TTKVarList GlobalDefinitions;   // file-level "define:"
    std::int32_t MaxReps = 0;
    bool NoBuiltIns = false;

private:
    struct TLoadState;
    void SetError(std::string text);
    void ProcessFileLine(TLoadState &st, std::vector<std::string> &lines, std::size_t &index);
    bool IncludeFile(TLoadState &st, std::vector<std::string> &lines, std::string_view name);
    TTKTable &AddTable(std::string name);
    std::string Generate(TTKTable *table, std::string_view text, std::int32_t n);

    // Markup internals (TKTableMarkup.cpp).
    bool ExpandFirstTag(std::string &s, std::int32_t roll);
    std::string TagValue(std::int32_t kind, std::string_view inner, std::int32_t roll);
    std::string PickTagValue(std::int32_t kind, std::string_view body, std::int32_t roll);
    std::string InlineValue(std::string_view body, std::int32_t roll);
    std::string MathValue(std::string_view body);
    std::string LiteralValue(std::string_view body, std::int32_t roll);
    void ApplyFilters(std::vector<std::string> &list, const std::vector<std::string_view> &filters,
                      std::string &result) const;
    std::string ApplyTextFilter(std::string_view value, std::string_view filter) const;
    bool Spend(std::int64_t units) noexcept;
    void StartWork() noexcept;

    std::vector<std::pair<std::string, TTKTable *>> FTables;
    std::vector<std::unique_ptr<TTKTable>> FTableStore;
    std::unordered_map<std::string, TTKTable *> FTableIndex;  // lower-case name -> last table
    TTKVarList FVariables;
    std::size_t FVarBytes = 0;
    TTKVarList FHostDefinitions;
    std::string FLastError;
    std::string FLibraryFolder;

    // Expansion bounds: nesting of ProcessLine and of picks, and the work
    // left to the current generation.
    std::int32_t FLineDepth = 0;
    std::int32_t FPickDepth = 0;
    std::int64_t FWorkLeft = TK_WORK_BUDGET;
    bool FInGeneration = false;
    mutable std::shared_ptr<void> FTablesToken;
};

// Prompt definitions: "label {option|option} default".
std::string GetPromptLabel(std::string_view definition);
std::vector<std::string> GetPromptOptions(std::string_view definition);
std::string GetPromptDefault(std::string_view definition);

} // namespace kalvion
