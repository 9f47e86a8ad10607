#include "search/SectorSearch.h"

#include "files/ZentDatabaseSQLite.h"
#include "model/BodyTypes.h"
#include "model/VexaSector.h"

#include <algorithm>
#include <filesystem>

namespace kalvion {

TSectorSearch::TSectorSearch(TVexaSector *sector) : Sector(sector) {}

TSectorSearch::~TSectorSearch() { CloseFile(); }

void TSectorSearch::CloseFile()
{
    FTree.reset();
    FParentOf.reset();
    if (FDb)
        FDb->Close();
    FDb.reset();
    FFileHits.clear();
    FParentStars.clear();
}

bool TSectorSearch::ReadFile(const TSearchFileSQL &sql, const std::vector<std::int64_t> &systems)
{
    std::error_code ec;
    if (Sector->FileName.empty() || !std::filesystem::is_regular_file(Sector->FileName, ec))
        return false;
    FDb = std::make_unique<TZentSqliteInterface>(Sector->FileName, std::string(), std::string(), std::string(),
                                                 TZentOpenMode::ExistingOnly);
    if (!FDb->Open())
        return false;
    // A system filter that leaves a few systems: their rows through the index
    // on system_id rather than every row of the sector.
    const bool few = systems.size() * 8 < Sector->Systems.size();
    auto run = [&](const std::string &text, auto &&row) {
        TZentStatement st(*FDb, text);
        if (!st.Prepared())
            return false;
        if (few) {
            for (std::int64_t id : systems) {
                st.BindInt(1, id);
                while (st.Step())
                    row(st);
                st.Reset();
                if (FDb->HasError)
                    return false;
            }
        } else {
            while (st.Step())
                row(st);
        }
        return !FDb->HasError;
    };
    FNeedsParentStar = !sql.ParentStars.empty();
    if (FNeedsParentStar) {
        if (!run(few ? sql.ParentStarsInSystem : sql.ParentStars,
                 [&](TZentStatement &st) { FParentStars.insert(st.ColumnInt64(0)); }))
            return false;
        if (FParentStars.empty())
            return true;  // no star qualifies, so no body below one does
    }
    if (!run(few ? sql.CandidatesInSystem : sql.Candidates, [&](TZentStatement &st) {
            FFileHits.push_back({st.ColumnInt64(0), st.ColumnInt64(1), st.ColumnInt64(2)});
        }))
        return false;
    std::sort(FFileHits.begin(), FFileHits.end());
    return true;
}

bool TSectorSearch::ReadTree(std::int64_t rootID, TSystemTree &tree)
{
    tree.Rows.clear();
    if (!FTree) {
        // The planner would take the narrower index on system_id and read
        // every row; a file without the covering index still answers.
        FTree = std::make_unique<TZentStatement>(
            *FDb, "select id, parent_id, type_id from bodies indexed by i_system_tree where system_id = ?1");
        if (!FTree->Prepared()) {
            FDb->ClearError();
            FTree = std::make_unique<TZentStatement>(*FDb,
                                                     "select id, parent_id, type_id from bodies where system_id = ?1");
        }
        if (!FTree->Prepared())
            return false;
    }
    TZentStatement &st = *FTree;
    st.BindInt(1, rootID);
    while (st.Step())
        tree.Rows.push_back({st.ColumnInt64(0), st.ColumnInt64(1), st.ColumnInt64(2) == BODY_TYPE_STAR, -1, 0});
    st.Reset();
    if (FDb->HasError)
        return false;
    auto &rows = tree.Rows;
    std::sort(rows.begin(), rows.end(), [](const TTreeRow &a, const TTreeRow &b) { return a.ID < b.ID; });
    // Children are read in the order of their ids.
    auto &byParent = tree.ByParent;
    byParent.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        byParent[i] = static_cast<std::int32_t>(i);
    std::sort(byParent.begin(), byParent.end(), [&](std::int32_t a, std::int32_t b) {
        return rows[a].Parent != rows[b].Parent ? rows[a].Parent < rows[b].Parent : rows[a].ID < rows[b].ID;
    });
    const std::int32_t root = tree.Find(rootID);
    if (root < 0 || rows[root].Parent != 0)
        return false;
    auto &stack = tree.Stack;
    stack.assign(1, {root, 0});
    std::int32_t position = 0;
    while (!stack.empty()) {
        const auto [index, star] = stack.back();
        stack.pop_back();
        TTreeRow &row = rows[index];
        if (row.Position >= 0)
            return false;  // a loop of parents: the file is damaged
        row.Position = position++;
        row.ParentStar = star;
        const std::int64_t below = row.Star ? row.ID : star;
        auto first = std::lower_bound(byParent.begin(), byParent.end(), row.ID,
                                      [&](std::int32_t i, std::int64_t parent) { return rows[i].Parent < parent; });
        auto last = first;
        while (last != byParent.end() && rows[*last].Parent == row.ID)
            ++last;
        while (last != first)
            stack.push_back({*--last, below});
    }
    return true;
}

bool TSectorSearch::Reaches(std::int64_t rootID, std::int64_t id, bool &reached)
{
    reached = false;
    if (id == 0) {
        reached = true;  // the match is the root itself
        return true;
    }
    if (!FParentOf) {
        FParentOf = std::make_unique<TZentStatement>(*FDb, "select parent_id from bodies where id = ?1");
        if (!FParentOf->Prepared())
            return false;
    }
    std::vector<std::int64_t> chain;
    for (;;) {
        if (id == rootID) {
            reached = true;
            return true;
        }
        // A row met twice is a loop of parents, which no walk from a root enters.
        if (std::find(chain.begin(), chain.end(), id) != chain.end())
            return true;
        chain.push_back(id);
        FParentOf->BindInt(1, id);
        const bool row = FParentOf->Step();
        id = row ? FParentOf->ColumnInt64(0) : 0;
        FParentOf->Reset();
        if (FDb->HasError)
            return false;
        if (!row || id == 0)
            return true;
    }
}

std::int32_t TSectorSearch::TSystemTree::Find(std::int64_t id) const
{
    const auto it = std::lower_bound(Rows.begin(), Rows.end(), id, [](const TTreeRow &r, std::int64_t v) { return r.ID < v; });
    return it != Rows.end() && it->ID == id ? static_cast<std::int32_t>(it - Rows.begin()) : -1;
}

bool TSectorSearch::FileMatches(const TStellarBody *root, std::vector<std::int64_t> &ids)
{
    ids.clear();
    const auto first = std::lower_bound(FFileHits.begin(), FFileHits.end(), TFileHit{root->RecordID, 0, 0},
                                        [](const TFileHit &a, const TFileHit &b) { return a.System < b.System; });
    auto last = first;
    while (last != FFileHits.end() && last->System == root->RecordID)
        ++last;
    if (first == last)
        return true;
    // Siblings are read in the order of their ids: matches that share one
    // parent need no tree to be put in order.
    const bool siblings =
        std::all_of(first, last, [&](const TFileHit &h) { return h.Parent == first->Parent; });
    if (siblings && !FNeedsParentStar) {
        bool reached = false;
        if (!Reaches(root->RecordID, first->Parent, reached))
            return false;
        // Rows without a parent are roots: only the system's own is in it.
        if (reached)
            for (auto h = first; h != last; ++h)
                if (h->Parent != 0 || h->ID == root->RecordID)
                    ids.push_back(h->ID);
        return true;
    }
    ++TreesRead;
    if (!ReadTree(root->RecordID, FTreeRows))
        return false;
    FOrdered.clear();
    for (auto h = first; h != last; ++h) {
        const std::int32_t i = FTreeRows.Find(h->ID);
        // A row that the walk from the root does not reach is not loaded.
        if (i < 0 || FTreeRows.Rows[i].Position < 0)
            continue;
        if (FNeedsParentStar && !FParentStars.count(FTreeRows.Rows[i].ParentStar))
            continue;
        FOrdered.emplace_back(FTreeRows.Rows[i].Position, h->ID);
    }
    std::sort(FOrdered.begin(), FOrdered.end());
    for (const auto &o : FOrdered)
        ids.push_back(o.second);
    return true;
}

bool TSectorSearch::Search(std::string_view query)
{
    Hits.clear();
    ErrorText.clear();
    SystemsAnswered = 0;
    SystemsLoaded = 0;
    TreesRead = 0;
    FWalk.Sector = Sector;
    FWalk.ResultLimit = 0;
    if (!Sector)
        return true;
    if (!FWalk.Prepare(query)) {
        ErrorText = FWalk.ErrorText;
        return false;
    }
    const auto &parser = FWalk.Parser;
    const std::int32_t limit = parser.FirstCount > 0 ? parser.FirstCount : ResultLimit;
    if (RootOnly || parser.RootOnly) {
        FWalk.ResultLimit = limit;
        FWalk.SearchRootOnly();
        for (TStellarBody *b : FWalk.Results)
            Hits.push_back({b, b, b->RecordID});
        FWalk.Results.clear();
        return true;
    }

    // The file answers for a system only as it was last saved.
    auto inFile = [](const TStellarBody *root) {
        return !root->Loaded && root->RecordID > 0 && !root->TVexaBase::Modified;
    };
    TStellarBodyList passing;
    std::vector<std::int64_t> fileSystems;
    for (auto &owned : Sector->Systems)
        if (FWalk.PassesSystemFilters(owned.get())) {
            passing.push_back(owned.get());
            if (inFile(owned.get()))
                fileSystems.push_back(owned->RecordID);
        }
    const TSearchFileSQL sql = BuildSearchFileSQL(parser.Params);
    const bool fromFile = !fileSystems.empty() && sql.Answerable && ReadFile(sql, fileSystems);
    if (!fromFile)
        CloseFile();

    std::vector<std::int64_t> ids;
    for (TStellarBody *root : passing) {
        if (fromFile && inFile(root) && FileMatches(root, ids)) {
            ++SystemsAnswered;
            if (parser.SystemsWith && !ids.empty())
                Hits.push_back({root, root, root->RecordID});
            else
                for (std::int64_t id : ids)
                    Hits.push_back({root, id == root->RecordID ? root : nullptr, id});
        } else {
            FWalk.Results.clear();
            FWalk.SystemsLoaded = 0;
            FWalk.SearchSystem(root);
            SystemsLoaded += FWalk.SystemsLoaded;
            for (TStellarBody *b : FWalk.Results)
                Hits.push_back({root, b, b->RecordID});
        }
        if (limit > 0 && Hits.size() >= static_cast<std::size_t>(limit))
            break;
    }
    FWalk.Results.clear();
    CloseFile();
    return true;
}

TStellarBody *TSectorSearch::Open(TSearchHit &hit)
{
    if (hit.Body || !hit.Root || !Sector)
        return hit.Body;
    if (!hit.Root->Loaded)
        Sector->DynaLoad(hit.Root);
    TStellarBodyList bodies;
    hit.Root->GetAllChildren(bodies);
    for (TStellarBody *b : bodies)
        if (b->RecordID == hit.BodyID) {
            hit.Body = b;
            break;
        }
    return hit.Body;
}

} // namespace kalvion
