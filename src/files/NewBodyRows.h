#pragma once
// The rows of new bodies and of their gases, inserted many to a statement.
//
// Inserting one row per statement opens and closes a cursor on the table
// and on each of its indexes for every row, and each index insert then
// searches its tree from the top.  A statement of many rows keeps the
// cursors open, so rows that land at the end of a tree (as new bodies do)
// cost a search of the last page only: a large save writes its bodies in
// about half the time.
//
// Ids are handed out here, the highest stored id plus one onwards, the ids
// SQLite itself would pick: a body knows its id (and a root its system id)
// before its row is written, and its children can be queued at once.
//
// New roots are written after the other new rows.  Their ids come first, so
// that the roots of a sector lie side by side in the file; but a system
// index entry of a root sorts before those of its bodies, and roots written
// first would make every body's entry an insert into the middle of the
// index, which costs more than the rows themselves.
#include "base/IdentityText.h"
#include "files/ZentDatabaseSQLite.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kalvion {

class TStellarBody;
struct TVexaAtmElement;

// Binds the body's 62 stored values (every column but id) from position
// first on.  The identity is written into identity, which must outlive the
// statement's step.
void BindBodyValues(TZentStatement &st, int first, const TStellarBody &b, std::int64_t parentId,
                    std::int64_t systemId, TIdentityText::TBuffer &identity);

class TNewBodyRows {
public:
    explicit TNewBodyRows(TZentSqliteInterface &db);
    ~TNewBodyRows();

    // Reads the next free id; false when the file cannot be read.
    bool Start();

    // Queues the body's row and returns its id, or 0 when the row could not
    // be written (the connection holds the error).  A root (systemId 0) is
    // stored as its own system.  The body and its texts must stay as they
    // are until Flush.
    std::int64_t Add(const TStellarBody &body, std::int64_t parentId, std::int64_t systemId);
    // The same under the given id while no row holds it: a body brought back
    // (by an undo) takes the place its row had, which keeps it among its
    // siblings where it stood.  Another id when that one is taken.
    std::int64_t AddWithId(const TStellarBody &body, std::int64_t parentId, std::int64_t systemId, std::int64_t id);
    void AddGas(std::int64_t bodyId, const TVexaAtmElement &gas);

    // Writes what is queued; false on a failed statement.
    bool Flush();

    // Rows in one multi-row statement.
    static constexpr int BODIES_PER_STATEMENT = 64;
    static constexpr int GASES_PER_STATEMENT = 128;

private:
    struct TPendingBody {
        const TStellarBody *Body;
        std::int64_t Id;
        std::int64_t ParentId;
        std::int64_t SystemId;
    };
    struct TPendingGas {
        std::int64_t BodyId;
        const TVexaAtmElement *Gas;
    };

    bool FlushBodies(std::vector<TPendingBody> &rows);
    bool FlushGases();
    // A file whose ids reach the top of the range: SQLite picks each id.
    std::int64_t AddWithStoredId(const TStellarBody &body, std::int64_t parentId, std::int64_t systemId);

    TZentSqliteInterface &FDb;
    TZentStatement FBodyMany, FBodyOne, FGasMany, FGasOne, FSetSystem;
    TIdentityText::TBuffer FIdentities[BODIES_PER_STATEMENT];
    class TReusedBindings;
    std::unique_ptr<TReusedBindings> FManyBindings;
    std::vector<TPendingBody> FBodies;
    std::vector<TPendingBody> FRoots;
    std::vector<TPendingGas> FGases;
    std::int64_t FNextId = 0;  // 0: ids picked by SQLite
    bool FGasesFailed = false;
};

} // namespace kalvion
