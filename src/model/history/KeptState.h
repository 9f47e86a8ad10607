#pragma once
// Two states of one thing as the edit history keeps them: what differs
// between them (the common start and end cut off), in a byte pool that a
// whole step shares, where equal pieces are kept once (a mass edit gives
// a thousand systems the same new value).
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace kalvion {

class TStatePool {
public:
    // Where the bytes stand: added now, or the same bytes added before.
    std::uint32_t Add(std::string_view bytes);
    std::string_view At(std::uint32_t offset, std::uint32_t length) const
    {
        return std::string_view(FBytes).substr(offset, length);
    }
    // Done adding for now: lets go of the index and the spare capacity.
    void Seal();
    std::size_t Bytes() const { return FBytes.capacity(); }

private:
    std::string FBytes;
    std::unordered_multimap<std::uint64_t, std::pair<std::uint32_t, std::uint32_t>> FIndex;
};

class TKeptState {
public:
    void Keep(const std::string *before, const std::string *after, TStatePool &pool);
    // Both states whole, used whatever the document holds now: for a value
    // that moves on outside edits.
    void KeepWhole(const std::string &before, const std::string &after, TStatePool &pool);
    bool HasSide(bool before) const { return before ? FHasBefore : FHasAfter; }
    // The state on one side from the bytes of the other side as the document
    // holds them now.  False when those bytes are not the ones kept.
    bool Rebuild(bool wantBefore, std::string_view current, const TStatePool &pool, std::string &out) const;
    bool Unchanged() const
    {
        return FHasBefore && FHasAfter && !FWhole && FBeforeLen == 0 && FAfterLen == 0 && FBeforeSize == FAfterSize;
    }

private:
    std::uint32_t FOffset = 0, FBeforeLen = 0, FAfterLen = 0;
    std::uint32_t FPrefix = 0, FSuffix = 0, FBeforeSize = 0, FAfterSize = 0;
    std::uint32_t FBeforeHash = 0, FAfterHash = 0;
    bool FHasBefore = false, FHasAfter = false, FWhole = false;
};

} // namespace kalvion
