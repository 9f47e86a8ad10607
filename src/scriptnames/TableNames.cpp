// The random-table engine: TTKTable, TTKTableApplication, the markup text
// routines, TK_LAST_ERROR, the TK_ constants and CreateIloomTable.
#include "scriptnames/IloomTables.h"

#include "base/Paths.h"
#include "scriptnames/HelperClasses.h"
#include "scriptnames/OwnedObjects.h"
#include "tables/ClassTKTable.h"
#include "tables/TKTableFiles.h"
#include "tables/TKTableText.h"

#include <stdexcept>

namespace kalvion::names {

namespace {

using App = TTKTableApplication;
using Table = TTKTable;
constexpr const char *AC = "TTKTableApplication";
constexpr const char *TC = "TTKTable";

// Repetitions a script may ask of one call, as many as a table file's own
// "reps:" may.
std::int32_t Reps(const TScriptValue &v, const char *routine)
{
    return CheckedCount(v, TK_MAX_PICK_COUNT, routine);
}

// The tables of an application live as long as it does (its next Clear
// makes a new application in its place): a script reference to a table ends
// with them, whoever frees the application.
TScriptValue TableRef(const TNames &n, App &app, Table *table)
{
    if (!table)
        return TScriptValue::FromObject({});
    return n.Tracked(TC, table, app.TablesToken());
}

TScriptValue NewApp(const TNames &n)
{
    TScriptValue v = n.Adopt(AC, std::make_unique<App>());
    return v;
}

void RegisterTable(const TNames &n)
{
    n.Reg.AddConstructor(TC, [n] { return n.Adopt(TC, std::make_unique<Table>()).Obj; });
    n.Method<Table>(TC, "Clear", {}, TNone(), [](Table &t, TScriptArgs &) {
        t.Clear();
        return VNone();
    });
    n.Method<Table>(TC, "RandomPick", {TBool()}, TStr(), [](Table &t, TScriptArgs &a) { return VStr(t.RandomPick(a[0].AsBool())); });
    n.Method<Table>(TC, "GetItem", {TInt(), TBool()}, TStr(),
                    [](Table &t, TScriptArgs &a) { return VStr(t.GetItem(I32(a[0]), a[1].AsBool())); });
    n.Method<Table>(TC, "AddVariableDef", {TStr(), TStr()}, TNone(), [](Table &t, TScriptArgs &a) {
        t.AddVariableDef(a[0].Str, a[1].Str);
        return VNone();
    });
    n.Method<Table>(TC, "AddDefinition", {TStr(), TStr()}, TNone(), [](Table &t, TScriptArgs &a) {
        t.AddDefinition(a[0].Str, a[1].Str);
        return VNone();
    });
    n.Method<Table>(TC, "Shuffle", {}, TNone(), [](Table &t, TScriptArgs &) {
        t.Shuffle();
        return VNone();
    });
    n.Prop(TC, "Type", &Table::Type);
    n.Prop(TC, "Roll", &Table::Roll);
    n.Prop(TC, "Default", &Table::Default);
    n.PropRO(TC, "LastRoll", &Table::LastRoll);
}

void RegisterApplication(const TNames &n)
{
    n.Reg.AddConstructor(AC, [n] { return NewApp(n).Obj; });
    n.Method<App>(AC, "Clear", {}, TNone(), [](App &app, TScriptArgs &) {
        app.~App();
        new (&app) App();
        return VNone();
    });
    n.Method<App>(AC, "Load", {TStr(), TStr()}, TNone(), [](App &app, TScriptArgs &a) {
        if (!app.Load(a[0].Str, a[1].Str))
            throw std::runtime_error("Load: " + app.LastError());
        return VNone();
    });
    n.Method<App>(AC, "ExportILT", {TStr()}, TNone(), [](App &app, TScriptArgs &a) {
        if (!app.ExportILT(a[0].Str))
            throw std::runtime_error("ExportILT: " + app.LastError());
        return VNone();
    });
    n.Method<App>(AC, "OutputILT", {}, TStr(), [](App &app, TScriptArgs &) { return VStr(app.OutputILT()); });
    // The file-level declarations, as the table's own "set:" and "define:" lines.
    n.Method<App>(AC, "AddVariableDef", {TStr(), TStr()}, TNone(), [](App &app, TScriptArgs &a) {
        app.GlobalVariableDefs.emplace_back(a[0].Str, a[1].Str);
        return VNone();
    });
    n.Method<App>(AC, "AddDefinition", {TStr(), TStr()}, TNone(), [](App &app, TScriptArgs &a) {
        app.AddHostDefinition(a[0].Str, a[1].Str);
        return VNone();
    });
    n.Method<App>(AC, "ClearAllVars", {}, TNone(), [](App &app, TScriptArgs &) {
        app.ClearAllVars();
        return VNone();
    });
    n.Method<App>(AC, "ShuffleAll", {}, TNone(), [](App &app, TScriptArgs &) {
        app.ShuffleAll();
        return VNone();
    });
    n.Method<App>(AC, "GetTableByName", {TStr()}, TObj(TC),
                  [n](App &app, TScriptArgs &a) { return TableRef(n, app, app.GetTableByName(a[0].Str)); });
    n.Method<App>(AC, "SetVar", {TStr(), TStr()}, TNone(), [](App &app, TScriptArgs &a) {
        app.SetVar(a[0].Str, a[1].Str);
        return VNone();
    });
    n.Method<App>(AC, "GetVar", {TStr()}, TStr(), [](App &app, TScriptArgs &a) { return VStr(app.GetVar(a[0].Str)); });
    n.Method<App>(AC, "InitializeVariables", {}, TNone(), [](App &app, TScriptArgs &) {
        app.InitializeVariables();
        return VNone();
    });
    n.Method<App>(AC, "InitializeTableVars", {TObj(TC)}, TNone(), [](App &app, TScriptArgs &a) {
        app.InitializeTableVars(Need<Table>(a[0], "InitializeTableVars"));
        return VNone();
    });
    n.Method<App>(AC, "ShuffleForTable", {TObj(TC)}, TNone(), [](App &app, TScriptArgs &a) {
        app.ShuffleForTable(Need<Table>(a[0], "ShuffleForTable"));
        return VNone();
    });
    n.Method<App>(AC, "SelectAll", {}, TNone(), [](App &app, TScriptArgs &) {
        app.SelectAll();
        return VNone();
    });
    n.Method<App>(AC, "InvertSelected", {}, TNone(), [](App &app, TScriptArgs &) {
        app.InvertSelected();
        return VNone();
    });
    n.Method<App>(AC, "DeleteSelected", {}, TNone(), [](App &app, TScriptArgs &) {
        app.DeleteSelected();
        return VNone();
    });
    n.Method<App>(AC, "Go", {TInt()}, TStr(), [](App &app, TScriptArgs &a) { return VStr(app.Go(Reps(a[0], "Go"))); });
    // The engine's CallTable does nothing; the registered (name, count)
    // form answers an empty text after checking its count.
    n.Method<App>(AC, "CallTable", {TStr(), TInt()}, TStr(), [](App &app, TScriptArgs &a) {
        Reps(a[1], "CallTable");
        app.CallTable();
        return VStr("");
    });
    n.Method<App>(AC, "RunExpression", {TStr(), TInt()}, TStr(),
                  [](App &app, TScriptArgs &a) { return VStr(app.RunExpression(a[0].Str, Reps(a[1], "RunExpression"))); });
    n.Method<App>(AC, "ProcessLineOld", {TStr(), TInt()}, TStr(),
                  [](App &app, TScriptArgs &a) { return VStr(app.ProcessLineOld(a[0].Str, I32(a[1]))); });
    n.Method<App>(AC, "GetTKTag", {TStr()}, TInt(), [](App &, TScriptArgs &a) { return VInt(App::GetTKTag(a[0].Str)); });
    n.Method<App>(AC, "ProcessLine", {TStr(), TInt()}, TStr(),
                  [](App &app, TScriptArgs &a) { return VStr(app.ProcessLine(a[0].Str, I32(a[1]))); });
    n.Method<App>(AC, "ProcessWhen", {TBool(), TStr(), TInt()}, TStr(),
                  [](App &app, TScriptArgs &a) { return VStr(app.ProcessWhen(a[0].AsBool(), a[1].Str, I32(a[2]))); });
    n.Method<App>(AC, "ProcessAAn", {TStr()}, TStr(), [](App &app, TScriptArgs &a) { return VStr(app.ProcessAAn(a[0].Str)); });
    // (numbered pick, deal, literal, count, expression) as registered.
    n.Method<App>(AC, "DoTablePick", {TBool(), TBool(), TBool(), TInt(), TStr()}, TStr(), [](App &app, TScriptArgs &a) {
        std::string result;
        app.DoTablePick(a[0].AsBool(), a[1].AsBool(), result, a[4].Str, Reps(a[3], "DoTablePick"), a[2].AsBool());
        return VStr(result);
    });
    using TFilter = std::string (App::*)(std::string_view, std::string_view) const;
    const std::pair<const char *, TFilter> filters[] = {{"ProcessFilterLeft", &App::ProcessFilterLeft},
                                                        {"ProcessFilterRight", &App::ProcessFilterRight},
                                                        {"ProcessFilterSubstr", &App::ProcessFilterSubstr},
                                                        {"ProcessFilterAt", &App::ProcessFilterAt},
                                                        {"ProcessFilterReplace", &App::ProcessFilterReplace}};
    for (const auto &[name, f] : filters) {
        TFilter fn = f;
        n.Method<App>(AC, name, {TStr(), TStr()}, TStr(),
                      [fn](App &app, TScriptArgs &a) { return VStr((app.*fn)(a[0].Str, a[1].Str)); });
    }
    n.Method<App>(AC, "ResultsAsString", {}, TStr(), [](App &app, TScriptArgs &) { return VStr(app.ResultsAsString()); });
    n.Method<App>(AC, "GetResult", {TInt()}, TStr(), [](App &app, TScriptArgs &a) { return VStr(app.GetResult(I32(a[0]))); });
    n.Method<App>(AC, "SetPrompt", {TInt(), TStr()}, TNone(), [](App &app, TScriptArgs &a) {
        app.SetPrompt(I32(a[0]), a[1].Str);
        return VNone();
    });
    n.Prop(AC, "Title", &App::Title);
    n.Prop(AC, "Header", &App::Header);
    n.Prop(AC, "Footer", &App::Footer);
    n.Prop(AC, "Formatting", &App::Formatting);
    n.PropRO(AC, "FileName", &App::FileName);
}

void RegisterTextRoutines(const TNames &n)
{
    n.Routine("ExtractTKTag", {TStr(), TStr(), TStr()}, TStr(),
              [](TScriptArgs &a) { return VStr(ExtractTKTag(a[0].Str, a[1].Str, a[2].Str)); });
    // (text, start, opener, closer); the opener is one text.
    n.Routine("FindClose", {TStr(), TInt(), TArr(), TStr()}, TInt(),
              [](TScriptArgs &a) { return VInt(FindClose(a[0].Str, I32(a[1]), a[2].Str, a[3].Str)); });
    // (text, …, condition, yes text, no text, …): the split of a "[when]"
    // inside into its three parts.
    n.Routine("SplitTags", {TStr(), TStr(), TArr(), TStr(), TVarStr(), TVarStr(), TVarStr(), TInt()}, TBool(),
              [](TScriptArgs &a) {
                  std::string cond, yes, no;
                  const bool ok = SplitTags(a[0].Str, cond, yes, no);
                  a[4] = VStr(cond);
                  a[5] = VStr(yes);
                  a[6] = VStr(no);
                  return VBool(ok);
              });
    n.Routine("SplitAtTag", {TStr(), TStr(), TVarStr(), TVarStr()}, TBool(), [](TScriptArgs &a) {
        std::string left, right;
        const bool ok = SplitAtTag(a[0].Str, a[1].Str, left, right);
        a[2] = VStr(left);
        a[3] = VStr(right);
        return VBool(ok);
    });
    n.Routine("EvalConditional", {TStr()}, TBool(), [](TScriptArgs &a) { return VBool(EvalConditional(a[0].Str)); });
    n.Routine("FullEvalExpression", {TStr(), TVarDbl(), TVarStr()}, TBool(), [](TScriptArgs &a) {
        double value = 0;
        std::string message;
        const bool ok = FullEvalExpression(a[0].Str, value, message);
        a[1] = VDbl(value);
        a[2] = VStr(message);
        return VBool(ok);
    });
    // (text, list, separator, …): the pieces are appended to the list.
    n.Routine("SplitToList", {TStr(), TObj("TStringList"), TStr(), TArr(), TStr()}, TBool(), [](TScriptArgs &a) {
        TScriptStrings &list = NeedStrings(a[1], "SplitToList");
        const std::size_t before = list.Items.size();
        SplitToList(a[0].Str, a[2].Str, list.Items);
        return VBool(list.Items.size() > before);
    });
    n.Routine("PosEsc", {TStr(), TStr(), TInt()}, TInt(),
              [](TScriptArgs &a) { return VInt(PosEsc(a[0].Str, a[1].Str, I32(a[2]))); });
    n.Routine("UnEsc", {TStr()}, TStr(), [](TScriptArgs &a) { return VStr(UnEsc(a[0].Str)); });
    n.Routine("SplitEsc", {TStr(), TStr(), TObj("TStringList")}, TNone(), [](TScriptArgs &a) {
        SplitEsc(a[0].Str, a[1].Str, NeedStrings(a[2], "SplitEsc").Items);
        return VNone();
    });
    n.Routine("IsAAN_AN_Exception", {TStr()}, TBool(), [](TScriptArgs &a) { return VBool(IsAAN_AN_Exception(a[0].Str)); });
    n.Routine("IsAAN_A_Exception", {TStr()}, TBool(), [](TScriptArgs &a) { return VBool(IsAAN_A_Exception(a[0].Str)); });
    n.Routine("GetPromptLabel", {TStr()}, TStr(), [](TScriptArgs &a) { return VStr(GetPromptLabel(a[0].Str)); });
    n.Routine("GetPromptOptions", {TStr(), TObj("TStringList")}, TNone(), [](TScriptArgs &a) {
        for (auto &s : GetPromptOptions(a[0].Str))
            NeedStrings(a[1], "GetPromptOptions").Items.push_back(std::move(s));
        return VNone();
    });
    n.Routine("GetPromptDefault", {TStr()}, TStr(), [](TScriptArgs &a) { return VStr(GetPromptDefault(a[0].Str)); });
    n.Reg.AddVariable(
        "TK_LAST_ERROR", TStr(), [] { return VStr(TKLastError()); },
        [](const TScriptValue &v) { SetTKLastError(v.Str); });
}

void RegisterTableConstants(const TNames &n)
{
    n.Const("TK_MAX_REPS", TK_MAX_REPS);
    n.Const("TK_MAX_ARRAY_SIZE", TK_MAX_ARRAY_SIZE);
    n.Const("TK_MAKE_LINELEN", TK_MAKE_LINELEN);
    n.Const("TK_ROLL_RANDOM", TK_ROLL_RANDOM);
    n.Const("TK_ROLL_DICE", TK_ROLL_DICE);
    n.Const("TK_TYPE_WEIGHTED", TK_TYPE_WEIGHTED);
    n.Const("TK_TYPE_LOOKUP", TK_TYPE_LOOKUP);
    auto s = [&n](const char *name, std::string_view v) { n.Reg.AddConstant(name, VStr(std::string(v))); };
    s("TK_APP_NAME", TK_APP_NAME);
    s("TK_NEWLINE", TK_NEWLINE);
    s("TK_NEWLINE_CRLF", TK_NEWLINE_CRLF);
    s("TK_NEWLINE_LF", TK_NEWLINE_LF);
    s("TK_ESC_CHAR", TK_ESC_CHAR);
    s("TK_VERSION", TK_VERSION);
    s("TK_OS", TK_OS);
    s("TK_DIR_SEPERATOR", TK_DIR_SEPERATOR);
    s("TK_LIB_PATH", TK_LIB_PATH);
    s("TK_TABLE_PATH", TK_TABLE_PATH);
    n.Const("TK_FORMATTING_HTML", TK_FORMATTING_HTML);
    n.Const("TK_FORMATTING_TEXT", TK_FORMATTING_TEXT);
    n.Const("TK_TAG_NONE", TK_TAG_NONE);
    n.Const("TK_TAG_SUBTABLE", TK_TAG_SUBTABLE);
    n.Const("TK_TAG_NUMPICK", TK_TAG_NUMPICK);
    n.Const("TK_TAG_DECKPICK", TK_TAG_DECKPICK);
    n.Const("TK_TAG_INLINE", TK_TAG_INLINE);
    n.Const("TK_TAG_VAR", TK_TAG_VAR);
    n.Const("TK_TAG_MATH", TK_TAG_MATH);
    n.Const("TK_TAG_DICE", TK_TAG_DICE);
    n.Const("TK_TAG_LITERAL", TK_TAG_LITERAL);
    n.Const("TK_TAG_WHEN", TK_TAG_WHEN);
}

} // namespace

TIloomTableFile FindIloomTable(const TScriptAppHost &host, const std::string &name)
{
    const std::string folder = host.IdealoomTablesFolder();
    if (name.find_first_of("/\\") != std::string::npos)
        return {name, folder};
    if (!folder.empty())
        return {JoinPath(folder, name), folder};
    // Without the random-table program, the tables this program installs:
    // includes then come from its "Common/" folder as everywhere else.
    const std::string program = host.ProgramDirectory();
    for (const char *sub : {"LangData", "Common"}) {
        const std::string candidate = JoinPath(JoinPath(program, sub), name);
        if (!FindFileIgnoreCase(candidate).empty())
            return {candidate, {}};
    }
    return {JoinPath(JoinPath(program, "LangData"), name), {}};
}

void RegisterTableNames(const TNames &n)
{
    RegisterTable(n);
    RegisterApplication(n);
    RegisterTextRoutines(n);
    RegisterTableConstants(n);
    TScriptAppHost *H = &n.Host;
    // A table file of the separately installed random-table program, from
    // its "Tables/" folder (a name with a folder is taken as it is).
    n.Routine("CreateIloomTable", {TStr()}, TObj(AC), [n, H](TScriptArgs &a) {
        TScriptValue v = NewApp(n);
        auto *app = static_cast<App *>(v.Obj.Get());
        const TIloomTableFile found = FindIloomTable(*H, a[0].Str);
        if (!app->Load(found.File, found.Library)) {
            const std::string why = app->LastError();
            n.Pool().Free(app);
            throw std::runtime_error("CreateIloomTable: " + why);
        }
        return v;
    });
}

} // namespace kalvion::names
