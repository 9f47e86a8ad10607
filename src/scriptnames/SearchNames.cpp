// The searcher (TVexaSearcher3), its creation routines and the sort
// variables of VexaSearch3SortByProp.
#include "model/VexaSector.h"
#include "scriptnames/NameHelpers.h"
#include "search/SearchColumns.h"
#include "search/Searcher.h"

#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace kalvion::names {

namespace {

using Srch = TVexaSearcher3;
constexpr const char *C = "TVexaSearcher3";

// What a script searcher holds besides the searcher itself: its sector and
// the results of its last search, each through its lifetime token.  A
// sector the script freed, or a result body freed or removed since, is never
// read again.
struct TSearchHold {
    TObjectRef<TVexaSector> Sector;
    std::vector<TObjectRef<TStellarBody>> Results;
};

// One table per host: its searchers are the ones its pool owns.
using THolds = std::unordered_map<const Srch *, TSearchHold>;
using THoldsPtr = std::shared_ptr<THolds>;

// The searcher's sector, checked; a script error naming the routine when it
// has none or the sector is gone (the searcher then forgets it and its results).
TVexaSector *SectorOf(THolds &holds, Srch &s, const char *routine)
{
    TSearchHold &h = holds[&s];
    if (s.Sector && !h.Sector.Alive()) {
        s.Sector = nullptr;
        s.Results.clear();
        h.Results.clear();
    }
    if (!s.Sector)
        throw std::runtime_error(std::string(routine) + ": the searcher has no sector");
    return s.Sector;
}

// SearchAll and SearchRootOnly add to the results already there: of those,
// only the bodies still alive stay, so the searcher never reads a freed one.
void KeepLiveResults(THolds &holds, Srch &s)
{
    s.Results.clear();
    for (const TObjectRef<TStellarBody> &r : holds[&s].Results)
        if (TStellarBody *b = r.Get())
            s.Results.push_back(b);
}

// Takes the references of a search's results while they are sure to be alive.
void HoldResults(THolds &holds, Srch &s)
{
    auto &held = holds[&s].Results;
    held.clear();
    held.reserve(s.Results.size());
    for (TStellarBody *b : s.Results)
        held.emplace_back(b);
}

TScriptValue NewSearcher(const TNames &n, THolds &holds, TVexaSector *sector)
{
    auto s = CreateVexaSearcher(sector);
    std::erase_if(holds, [&n](auto &e) { return !n.Pool().Owns(e.first); });
    holds[s.get()] = TSearchHold{TObjectRef<TVexaSector>(sector), {}};
    return n.Adopt(C, std::move(s));
}

} // namespace

void RegisterSearchNames(const TNames &n)
{
    const THoldsPtr H = std::make_shared<THolds>();
    n.Reg.AddConstructor(C, [n, H] { return NewSearcher(n, *H, nullptr).Obj; });
    n.Routine("CreateVexaSearcher", {TObj("TVexaSector")}, TObj(C), [n, H](TScriptArgs &a) {
        return NewSearcher(n, *H, &Need<TVexaSector>(a[0], "CreateVexaSearcher"));
    });
    n.Routine("DeleteVexaSearcher", {TObj(C)}, TNone(), [n](TScriptArgs &a) {
        void *p = a[0].Obj.Get();
        if (p && !n.Pool().Free(p))
            throw std::runtime_error("DeleteVexaSearcher: the searcher belongs to the program");
        return VNone();
    });
    n.Routine("VexaSearch3SortByProp", {TPtrTo("TStellarBody"), TPtrTo("TStellarBody")}, TInt(), [n](TScriptArgs &a) {
        const auto *x = MaybeOf<TStellarBody>(n, a[0], "TStellarBody");
        const auto *y = MaybeOf<TStellarBody>(n, a[1], "TStellarBody");
        if (!x || !y)
            throw std::runtime_error("VexaSearch3SortByProp: two bodies expected");
        return VInt(VexaSearch3SortByProp(x, y));
    });
    n.Reg.AddVariable(
        "VexaSearch3SortPropertyName", TStr(), [] { return VStr(VexaSearch3SortPropertyName); },
        [](const TScriptValue &v) { VexaSearch3SortPropertyName = v.Str; });
    n.Reg.AddVariable(
        "VexaSearch3SortFieldName", TStr(), [] { return VStr(VexaSearch3SortFieldName); },
        [](const TScriptValue &v) { VexaSearch3SortFieldName = v.Str; });
    n.Reg.AddVariable(
        "VexaSearch3SortTarget", TInt(), [] { return VInt(VexaSearch3SortTarget); },
        [](const TScriptValue &v) { VexaSearch3SortTarget = I32(v); });

    n.Method<Srch>(C, "Clear", {}, TNone(), [H](Srch &s, TScriptArgs &) {
        s.Clear();
        (*H)[&s].Results.clear();
        return VNone();
    });
    n.Method<Srch>(C, "Search", {TStr()}, TNone(), [H](Srch &s, TScriptArgs &a) {
        SectorOf(*H, s, "Search");
        s.Search(a[0].Str);
        HoldResults(*H, s);
        if (!s.ErrorText.empty())
            throw std::runtime_error("Search: " + s.ErrorText);
        return VNone();
    });
    n.Method<Srch>(C, "SearchRootOnly", {}, TNone(), [H](Srch &s, TScriptArgs &) {
        SectorOf(*H, s, "SearchRootOnly");
        KeepLiveResults(*H, s);
        s.SearchRootOnly();
        HoldResults(*H, s);
        return VNone();
    });
    n.Method<Srch>(C, "SearchAll", {}, TNone(), [H](Srch &s, TScriptArgs &) {
        SectorOf(*H, s, "SearchAll");
        KeepLiveResults(*H, s);
        s.SearchAll();
        HoldResults(*H, s);
        return VNone();
    });
    n.Method<Srch>(C, "Match", {TObj("TStellarBody"), TObj("TStellarBody")}, TBool(), [](Srch &s, TScriptArgs &a) {
        return VBool(s.Match(&Need<TStellarBody>(a[0], "Match"), &Need<TStellarBody>(a[1], "Match")));
    });
    n.Method<Srch>(C, "TextCompare", {TStr(), TStr(), TStr(), TBool()}, TBool(), [](Srch &, TScriptArgs &a) {
        return VBool(Srch::TextCompare(a[0].Str, a[1].Str, a[2].Str, a[3].AsBool()));
    });
    n.Method<Srch>(C, "NumCompare", {TDbl(), TStr(), TDbl(), TDbl(), TBool()}, TBool(), [](Srch &, TScriptArgs &a) {
        return VBool(Srch::NumCompare(a[0].Dbl, a[1].Str, a[2].Dbl, a[3].Dbl, a[4].AsBool()));
    });
    n.Method<Srch>(C, "BuildSubsectorList", {}, TNone(), [H](Srch &s, TScriptArgs &) {
        SectorOf(*H, s, "BuildSubsectorList");
        s.BuildSubsectorList();
        return VNone();
    });
    n.Method<Srch>(C, "WithinRange", {TObj("TStellarBody")}, TBool(), [H](Srch &s, TScriptArgs &a) {
        const TStellarBody &root = Need<TStellarBody>(a[0], "WithinRange");
        SectorOf(*H, s, "WithinRange");
        return VBool(s.WithinRange(&root));
    });
    n.Method<Srch>(C, "GetResultCount", {}, TInt(), [](Srch &s, TScriptArgs &) { return VInt(s.GetResultCount()); });
    // A result freed or removed since the search is nil, as a position past the end.
    n.Method<Srch>(C, "GetResult", {TInt()}, TObj("TStellarBody"), [n, H](Srch &s, TScriptArgs &a) {
        const auto &held = (*H)[&s].Results;
        if (a[0].Int < 1 || a[0].Int > static_cast<std::int64_t>(held.size()) || held.size() != s.Results.size())
            return TScriptValue::FromObject({});
        return n.Model("TStellarBody", held[static_cast<std::size_t>(a[0].Int - 1)].Get());
    });
    n.Prop(C, "RootOnly", &Srch::RootOnly);
    n.Prop(C, "ResultLimit", &Srch::ResultLimit);
    n.PropRO(C, "ErrorText", &Srch::ErrorText);
}

} // namespace kalvion::names
