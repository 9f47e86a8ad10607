#pragma once
// TVexaSearcher3: runs a query against a sector and lists the matching
// bodies.  It walks the root systems in sector order, applies the system
// filters (visibility, distance to the selection, routes, subsectors), asks
// the sector file whether an unloaded system can match before loading it,
// and unloads again what it loaded for nothing.
#include "model/VexaBase.h"
#include "model/StellarBody.h"
#include "model/Subsector.h"
#include "search/QueryLanguage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kalvion {

class TVexaSector;
class TVexaSubsector;
struct TBodyProperty;

class TVexaSearcher3 : public TVexaBase {
public:
    TVexaSearcher3();
    ~TVexaSearcher3() override;

    TVexaSector *Sector = nullptr;
    bool RootOnly = false;
    TVexaQueryLanguage Parser;
    // Stop once this many results are found; below 1: no limit.
    std::int32_t ResultLimit = 500;
    TStellarBodyList Results;
    std::string ErrorText;
    std::vector<TVexaSubsector *> SubsectorFilter;
    TStellarBodyList RouteSystems;
    std::string PrefilterSQL;

    // Off only to measure what the database test saves.
    bool UsePrefilter = true;
    // What the last SearchAll did with the systems that were not in memory.
    std::int32_t SystemsLoaded = 0;
    std::int32_t SystemsSkipped = 0;

    void Clear() { Results.clear(); }
    void Search(std::string_view query);
    // The parse and the per-search state of Search without the walk over the
    // systems, for a caller that walks them itself; false on an error, which
    // ErrorText holds.
    bool Prepare(std::string_view query);
    // Appends the matches of one system, loading it first when it is not in
    // memory and unloading it again when nothing matched; false once the
    // result limit is reached.
    bool SearchSystem(TStellarBody *root);
    bool PassesSystemFilters(const TStellarBody *root) const;
    void SearchAll();
    void SearchRootOnly();
    bool Match(TStellarBody *body, TStellarBody *root);
    static bool TextCompare(std::string_view search, std::string_view op, std::string_view text, bool negate);
    static bool NumCompare(double value, std::string_view op, double bodyValue, double high, bool negate);
    void BuildSubsectorList();
    bool WithinRange(const TStellarBody *root) const;
    int GetResultCount() const { return static_cast<int>(Results.size()); }
    int ResultCount() const { return GetResultCount(); }
    // Counting from 1; none outside 1 … count.
    TStellarBody *GetResult(int position) const;

private:
    // SubsectorFilter's regions, rotations worked out once per search.
    std::vector<TSubsectorRegion> FSubsectorRegions;
    enum class Kind { Text, Habit, Type, Number, Field, AtmComp, Subsector, Never };
    enum class Op { Eq, Ne, Like, Gt, Lt, Between, None };
    struct Condition {
        Kind kind = Kind::Never;
        Op op = Op::None;
        bool negate = false;
        std::int32_t scope = 0;
        const TBodyProperty *property = nullptr;
        int habit = -1;
    };
    std::vector<Condition> FConditions;
    std::unordered_set<const TStellarBody *> FRouteSet;
    TStellarBodyList FBodies;

    void Compile();
    // The compiled conditions and the route set, as a walk needs them.
    void PrepareWalk();
    bool MatchCompiled(TStellarBody *body, TStellarBody *root) const;
    bool ResultLimitReached() const;
};

// A searcher on a sector with no result limit.
std::unique_ptr<TVexaSearcher3> CreateVexaSearcher(TVexaSector *sector);

} // namespace kalvion
