#pragma once
// The kept state of one system for the edit history: the root's own values,
// and its whole tree when the system is loaded.  Restoring a state reuses the
// bodies that still carry its identities (from the pool), so references and
// stored row ids of unchanged bodies survive an undo.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kalvion {

class TStellarBody;

// With `rowIds`, the stored row id of each body in the order the state
// holds them.  They are kept beside the state, not in it: a save hands new
// bodies their ids, and the state must still match the document after it.
void WriteSystemState(const TStellarBody &root, bool withChildren, std::string &out,
                      std::vector<std::int64_t> *rowIds = nullptr);
// The tail of a whole-tree state: the children of the root.  A root-only
// state ends with an empty child list, which this replaces.
void WriteChildrenState(const TStellarBody &root, std::string &out, std::vector<std::int64_t> *rowIds = nullptr);
inline constexpr std::size_t EMPTY_CHILDREN_BYTES = 4;

// Bodies taken out of their trees while an undo rebuilds them, by identity.
class TBodyPool {
public:
    // The body goes in; with its descendants (and its children waiting for
    // their rows to be deleted) when `withTree`, else it keeps its children.
    // Of two bodies of one identity the first added is reused.
    void Add(std::unique_ptr<TStellarBody> body, bool withTree);
    std::unique_ptr<TStellarBody> Take(const std::string &id);
    // What no state asked for.
    std::vector<std::unique_ptr<TStellarBody>> TakeRest();

private:
    std::unordered_map<std::string, std::unique_ptr<TStellarBody>> FBodies;
    // Bodies whose identity the pool already held (copies of a dropped
    // system): never reused, handed back with the rest.
    std::vector<std::unique_ptr<TStellarBody>> FSeconds;
};

// The system a state describes.  A root-only state keeps the children the
// pooled root brought along.  False when the state is damaged.
// A body made anew (none of the pool has its identity) takes its row id
// from `rowIds`: its row, or the place of the row it had, is found again.
bool ReadSystemState(std::string_view state, bool withChildren, TBodyPool &pool, std::unique_ptr<TStellarBody> &root,
                     const std::vector<std::int64_t> *rowIds = nullptr);

} // namespace kalvion
