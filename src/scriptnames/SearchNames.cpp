// The searcher (TVexaSearcher3), its creation routines and the sort
// variables of VexaSearch3SortByProp.
#include "model/VexaSector.h"
#include "scriptnames/NameHelpers.h"
#include "search/SearchColumns.h"
#include "search/Searcher.h"

#include <stdexcept>
#include <unordered_map>

namespace kalvion::names {

namespace {

using Srch = TVexaSearcher3;
constexpr const char *C = "TVexaSearcher3";

// The sector each script searcher searches, by its token: a searcher whose
// sector a script freed must not search it.
std::unordered_map<const Srch *, std::weak_ptr<void>> &SectorTokens()
{
    static std::unordered_map<const Srch *, std::weak_ptr<void>> m;
    return m;
}

TVexaSector *SectorOf(Srch &s, const char *routine)
{
    auto &m = SectorTokens();
    auto it = m.find(&s);
    if (s.Sector && it != m.end() && it->second.expired())
        s.Sector = nullptr;
    if (!s.Sector)
        throw std::runtime_error(std::string(routine) + ": the searcher has no sector");
    return s.Sector;
}

TScriptValue NewSearcher(const TNames &n, TVexaSector *sector)
{
    auto s = CreateVexaSearcher(sector);
    auto &m = SectorTokens();
    std::erase_if(m, [&n](auto &e) { return !n.Pool().Owns(e.first); });
    if (sector)
        m[s.get()] = sector->LifetimeToken();
    return n.Adopt(C, std::move(s));
}

} // namespace

void RegisterSearchNames(const TNames &n)
{
    n.Reg.AddConstructor(C, [n] { return NewSearcher(n, nullptr).Obj; });
    n.Routine("CreateVexaSearcher", {TObj("TVexaSector")}, TObj(C), [n](TScriptArgs &a) {
        return NewSearcher(n, &Need<TVexaSector>(a[0], "CreateVexaSearcher"));
    });
    n.Routine("DeleteVexaSearcher", {TObj(C)}, TNone(), [n](TScriptArgs &a) {
        void *p = a[0].Obj.Get();
        if (p && !n.Pool().Free(p))
            throw std::runtime_error("DeleteVexaSearcher: the searcher belongs to the program");
        return VNone();
    });
    n.Routine("VexaSearch3SortByProp", {TPtr(), TPtr()}, TInt(), [](TScriptArgs &a) {
        const auto *x = Maybe<TStellarBody>(a[0]);
        const auto *y = Maybe<TStellarBody>(a[1]);
        if (!x || !y || !a[0].Obj.Class() || !a[1].Obj.Class())
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

    n.Method<Srch>(C, "Clear", {}, TNone(), [](Srch &s, TScriptArgs &) {
        s.Clear();
        return VNone();
    });
    n.Method<Srch>(C, "Search", {TStr()}, TNone(), [](Srch &s, TScriptArgs &a) {
        SectorOf(s, "Search");
        s.Search(a[0].Str);
        if (!s.ErrorText.empty())
            throw std::runtime_error("Search: " + s.ErrorText);
        return VNone();
    });
    n.Method<Srch>(C, "SearchRootOnly", {}, TNone(), [](Srch &s, TScriptArgs &) {
        SectorOf(s, "SearchRootOnly");
        s.SearchRootOnly();
        return VNone();
    });
    n.Method<Srch>(C, "SearchAll", {}, TNone(), [](Srch &s, TScriptArgs &) {
        SectorOf(s, "SearchAll");
        s.SearchAll();
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
    n.Method<Srch>(C, "BuildSubsectorList", {}, TNone(), [](Srch &s, TScriptArgs &) {
        SectorOf(s, "BuildSubsectorList");
        s.BuildSubsectorList();
        return VNone();
    });
    n.Method<Srch>(C, "WithinRange", {TObj("TStellarBody")}, TBool(),
                   [](Srch &s, TScriptArgs &a) { return VBool(s.WithinRange(&Need<TStellarBody>(a[0], "WithinRange"))); });
    n.Method<Srch>(C, "GetResultCount", {}, TInt(), [](Srch &s, TScriptArgs &) { return VInt(s.GetResultCount()); });
    n.Method<Srch>(C, "GetResult", {TInt()}, TObj("TStellarBody"),
                   [n](Srch &s, TScriptArgs &a) { return n.Model("TStellarBody", s.GetResult(I32(a[0]))); });
    n.Prop(C, "RootOnly", &Srch::RootOnly);
    n.Prop(C, "ResultLimit", &Srch::ResultLimit);
    n.PropRO(C, "ErrorText", &Srch::ErrorText);
}

} // namespace kalvion::names
