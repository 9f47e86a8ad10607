#pragma once
// TSectorHistory: the undo and redo history of one sector document.
//
// A step is opened and closed around a command (TEditStep).  While it is
// open the sector's operations touch what they are about to change: a
// system (its root alone while its children are not loaded, else its whole
// tree) or a part of the sector (settings, routes, subsectors, saved
// views).  The first touch keeps the state before; closing the step keeps
// the state after, and of the two only the bytes that differ (the common
// start and end are cut).  An undo rebuilds the state before from the
// document as it is now and that difference, so every step is checked
// against the document before anything changes: a document changed behind
// the history's back clears the history instead of being damaged.
#include "base/IdentityText.h"
#include "model/history/KeptState.h"
#include "model/history/PartState.h"
#include "model/history/StoredChanges.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kalvion {

class TVexaSector;
class TStellarBody;

inline constexpr int DEFAULT_UNDO_LIMIT = 100;

class TSectorHistory {
public:
    explicit TSectorHistory(TVexaSector &sector);
    ~TSectorHistory();
    TSectorHistory(const TSectorHistory &) = delete;
    TSectorHistory &operator=(const TSectorHistory &) = delete;

    // Steps nest: an inner step joins the outer one.  Closing a step that
    // changed nothing keeps nothing.
    void BeginStep(const std::string &name);
    void EndStep();
    // A document replaced within a step (New, Open) ends its recording: the
    // rest of that step belongs to the new document's start.
    bool Recording() const { return FDepth > 0 && !FApplying && FOpen; }

    // What a step is about to change.
    void TouchSystem(TStellarBody *body);
    void TouchPart(TSectorPart part);
    // An image of the sector, by its lower-case name; images added during
    // the step are found without a touch.
    void TouchResource(std::string_view name);
    // The stored surface map of a body, before a command writes the file.
    void TouchSurfaceMap(const TStellarBody &body);
    // Every system, part and image: for a script or plug-in, which may
    // change anything through the object model.
    void TouchEverything();

    // Called by the sector around its own structural changes.
    void SystemAdded(TStellarBody *root);
    void SystemLeaving(TStellarBody *root);
    void SystemLoaded(TStellarBody *root);
    // Before a save deletes the rows of deleted systems: the history takes
    // the stored trees it may still bring back, and their surface maps.
    void PrepareForSave();
    // After a save: the kept surface maps of bodies that are in the
    // document again, under the row ids the bodies have now.
    std::vector<std::pair<TStellarBody *, std::vector<TStoredSurfaceMap>>> TakeSurfaceMapsToRestore();

    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }
    std::string UndoName() const { return FUndo.empty() ? std::string() : FUndo.back().Name; }
    std::string RedoName() const { return FRedo.empty() ? std::string() : FRedo.back().Name; }
    int UndoCount() const { return static_cast<int>(FUndo.size()); }
    int RedoCount() const { return static_cast<int>(FRedo.size()); }
    // False (and the history cleared, the document untouched) when the
    // document no longer matches the step; LastError says so.
    bool Undo();
    bool Redo();
    void Clear();

    // The saved state: undoing or redoing back to it leaves the document
    // unmodified.
    void MarkClean() { FClean = static_cast<long>(FUndo.size()); }
    bool AtCleanPoint() const { return FClean && *FClean == static_cast<long>(FUndo.size()); }
    // The document as it stands is unsaved (a generated sector): no undo
    // or redo leads to a saved state.
    void LoseCleanPoint() { FClean.reset(); }

    // A system whose whole tree a step keeps stays loaded: read again from
    // the file it would come back in the file's order of siblings, which
    // need not be the order the step kept.
    bool KeepsTree(const TStellarBody &root) const;

    void SetLimit(int steps);
    std::size_t BytesHeld() const;
    std::string LastError;

private:
    // The row ids of the bodies of a whole-tree state, in state order.
    struct TRowIds {
        std::vector<std::int64_t> Before, After;
    };
    // What a change needs only while its step is open.
    struct TOpenSide {
        TStellarBody *Live = nullptr;
        bool HadBefore = false;
        std::string Before;
        TRowIds Rows;
    };
    struct TSystemChange {
        TIdentityText Id;
        std::int32_t BeforeIndex = -1, AfterIndex = -1;
        bool Full = false;
        TKeptState State;
        // Only where bodies come and go.
        std::unique_ptr<TRowIds> Rows;
        // A stored root the step took out: it waits in the deleted list,
        // with its rows still in the file, until the next save.
        TStellarBody *Pending = nullptr;
        std::unique_ptr<TOpenSide> Open;
    };
    struct TPartChange {
        TSectorPart Part{};
        TKeptState State;
        std::string OpenBefore;
    };
    struct TStep {
        std::string Name;
        std::vector<TSystemChange> Systems;
        std::vector<TPartChange> Parts;
        std::unordered_map<std::string, std::size_t> SystemById;
        std::array<int, SECTOR_PART_COUNT> PartIndex{-1, -1, -1, -1, -1};
        std::vector<TResourceChange> Resources;
        std::vector<TSurfaceMapChange> Maps;
        std::size_t ResourcesAtOpen = 0;
        long SavesAtOpen = 0;
        TStatePool Pool;
        std::size_t Bytes = 0;
    };

    TSystemChange *FindOpen(const std::string &id);
    TSystemChange &AddOpen(TStellarBody *root, int beforeIndex, bool hadBefore);
    int StartIndexOf(const TStellarBody *root);
    void CloseStep();
    void CloseStoredChanges(TStep &step);
    void ApplyStoredChanges(TStep &step, bool toBefore);
    void KeepSurfaceMapsOfDeleted();
    void PutSurfaceMaps(const std::string &body, const std::vector<TStoredSurfaceMap> &rows);
    bool Apply(TStep &step, bool toBefore);
    void Trim();
    void CountTrees(const TStep &step, int delta);
    static std::size_t StepBytes(const TStep &step);

    TVexaSector &FSector;
    int FDepth = 0;
    bool FApplying = false;
    int FLimit = DEFAULT_UNDO_LIMIT;
    std::optional<long> FClean = 0;
    std::unique_ptr<TStep> FOpen;
    std::unordered_map<const TStellarBody *, int> FStartIndex;
    bool FStartIndexBuilt = false;
    std::deque<TStep> FUndo, FRedo;
    std::unordered_map<std::string, int> FTreeRefs;
    long FSaves = 0;
    // Surface-map rows of bodies whose own rows the file lacks (a save
    // deleted them, and an undo brought the bodies back), by identity: they
    // are written once a save has stored the bodies again, under whatever
    // row ids the bodies have then.  No rows: the body has no map.
    std::unordered_map<std::string, std::vector<TStoredSurfaceMap>> FKeptMaps;
};

// Opens a step for its lifetime.
class TEditStep {
public:
    TEditStep(TSectorHistory &history, const std::string &name) : FHistory(history) { FHistory.BeginStep(name); }
    ~TEditStep() { FHistory.EndStep(); }
    TEditStep(const TEditStep &) = delete;
    TEditStep &operator=(const TEditStep &) = delete;

private:
    TSectorHistory &FHistory;
};

} // namespace kalvion
