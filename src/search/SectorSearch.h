#pragma once
// TSectorSearch: a search that answers from the sector file what the file's
// columns can answer, so that a system that is not in memory is loaded only
// when the user opens one of its results.  Systems in memory, and queries
// with a condition only a loaded body can answer, go through the searcher's
// own walk, so the results are the same bodies in the same order either way.
#include "search/SearchFileSQL.h"
#include "search/Searcher.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kalvion {

class TVexaSector;
class TZentSqliteInterface;
class TZentStatement;

struct TSearchHit {
    TStellarBody *Root = nullptr;
    // Null while the body's system is not in memory.
    TStellarBody *Body = nullptr;
    // The body's row in the file; 0 for a body never saved.
    std::int64_t BodyID = 0;
};

class TSectorSearch {
public:
    explicit TSectorSearch(TVexaSector *sector);
    ~TSectorSearch();

    TVexaSector *Sector = nullptr;
    bool RootOnly = false;
    // Stop after the system that reaches this many results; below 1: no limit.
    std::int32_t ResultLimit = 0;
    std::vector<TSearchHit> Hits;
    std::string ErrorText;
    // How the last search went.
    std::int32_t SystemsAnswered = 0;  // from the file, not loaded
    std::int32_t SystemsLoaded = 0;
    std::int32_t TreesRead = 0;  // systems whose rows were read to order their matches

    // Parses and runs the query; false on an error (ErrorText).
    bool Search(std::string_view query);
    // The hit's body, its system loaded first when it is not in memory; null
    // when the system no longer holds it.
    TStellarBody *Open(TSearchHit &hit);
    // The parsed query: its columns and options.
    const TVexaQueryLanguage &Parser() const { return FWalk.Parser; }

private:
    // One system's rows in the file, with the place of each in a walk over
    // the loaded tree and its nearest star above.
    struct TTreeRow {
        std::int64_t ID, Parent;
        bool Star;
        std::int32_t Position;  // -1: not reached from the root
        std::int64_t ParentStar;
    };
    struct TSystemTree {
        std::vector<TTreeRow> Rows;  // by id
        std::vector<std::int32_t> ByParent;
        std::vector<std::pair<std::int32_t, std::int64_t>> Stack;
        std::int32_t Find(std::int64_t id) const;
    };
    TVexaSearcher3 FWalk;
    std::unique_ptr<TZentSqliteInterface> FDb;
    std::unique_ptr<TZentStatement> FTree;
    std::unique_ptr<TZentStatement> FParentOf;
    struct TFileHit {
        std::int64_t System, ID, Parent;
        bool operator<(const TFileHit &o) const { return System != o.System ? System < o.System : ID < o.ID; }
    };
    std::vector<TFileHit> FFileHits;  // sorted by system, then id
    std::unordered_set<std::int64_t> FParentStars;
    bool FNeedsParentStar = false;
    TSystemTree FTreeRows;
    std::vector<std::pair<std::int32_t, std::int64_t>> FOrdered;

    // The matches of the systems (root row ids) the file answers for.
    bool ReadFile(const TSearchFileSQL &sql, const std::vector<std::int64_t> &systems);
    bool ReadTree(std::int64_t rootID, TSystemTree &tree);
    // Whether the walk from the root reaches the row `id` (0: the root's own
    // parent, so the root itself); false when the file cannot say.
    bool Reaches(std::int64_t rootID, std::int64_t id, bool &reached);
    // The system's matches in walk order; false when the file cannot say.
    bool FileMatches(const TStellarBody *root, std::vector<std::int64_t> &ids);
    void CloseFile();
};

} // namespace kalvion
