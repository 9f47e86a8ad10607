#include "model/history/KeptState.h"

#include <algorithm>
#include <functional>

namespace kalvion {

namespace {

std::uint64_t HashOf(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }
// A check that the document still holds the bytes kept, not a key: four
// bytes of the hash with the size beside it.
std::uint32_t CheckOf(std::string_view bytes) { return static_cast<std::uint32_t>(HashOf(bytes)); }

} // namespace

std::uint32_t TStatePool::Add(std::string_view bytes)
{
    const std::uint64_t h = HashOf(bytes);
    const auto [from, to] = FIndex.equal_range(h);
    for (auto it = from; it != to; ++it)
        if (it->second.second == bytes.size() && At(it->second.first, it->second.second) == bytes)
            return it->second.first;
    const auto offset = static_cast<std::uint32_t>(FBytes.size());
    FBytes.append(bytes);
    FIndex.emplace(h, std::make_pair(offset, static_cast<std::uint32_t>(bytes.size())));
    return offset;
}

void TStatePool::Seal()
{
    decltype(FIndex)().swap(FIndex);
    FBytes.shrink_to_fit();
}

void TKeptState::Keep(const std::string *before, const std::string *after, TStatePool &pool)
{
    FHasBefore = before != nullptr;
    FHasAfter = after != nullptr;
    FWhole = false;
    FPrefix = FSuffix = 0;
    FBeforeSize = before ? static_cast<std::uint32_t>(before->size()) : 0;
    FAfterSize = after ? static_cast<std::uint32_t>(after->size()) : 0;
    FBeforeHash = before ? CheckOf(*before) : 0;
    FAfterHash = after ? CheckOf(*after) : 0;
    std::string_view b = before ? std::string_view(*before) : std::string_view();
    std::string_view a = after ? std::string_view(*after) : std::string_view();
    if (before && after) {
        const std::size_t n = std::min(b.size(), a.size());
        std::size_t p = 0;
        while (p < n && b[p] == a[p])
            ++p;
        std::size_t s = 0;
        while (s < n - p && b[b.size() - 1 - s] == a[a.size() - 1 - s])
            ++s;
        FPrefix = static_cast<std::uint32_t>(p);
        FSuffix = static_cast<std::uint32_t>(s);
        b = b.substr(p, b.size() - p - s);
        a = a.substr(p, a.size() - p - s);
    }
    FBeforeLen = static_cast<std::uint32_t>(b.size());
    FAfterLen = static_cast<std::uint32_t>(a.size());
    if (b.empty() && a.empty()) {
        FOffset = 0;
        return;
    }
    std::string both;
    both.reserve(b.size() + a.size());
    both.append(b).append(a);
    FOffset = pool.Add(both);
}

void TKeptState::KeepWhole(const std::string &before, const std::string &after, TStatePool &pool)
{
    Keep(&before, nullptr, pool); // sizes and checks of the before side
    const std::uint32_t beforeHash = FBeforeHash, beforeSize = FBeforeSize;
    std::string both = before + after;
    FOffset = pool.Add(both);
    FBeforeLen = static_cast<std::uint32_t>(before.size());
    FAfterLen = static_cast<std::uint32_t>(after.size());
    FBeforeHash = beforeHash;
    FBeforeSize = beforeSize;
    FAfterSize = static_cast<std::uint32_t>(after.size());
    FAfterHash = CheckOf(after);
    FHasBefore = FHasAfter = true;
    FWhole = true;
    FPrefix = FSuffix = 0;
}

bool TKeptState::Rebuild(bool wantBefore, std::string_view current, const TStatePool &pool, std::string &out) const
{
    const bool haveWanted = wantBefore ? FHasBefore : FHasAfter;
    const bool haveOther = wantBefore ? FHasAfter : FHasBefore;
    if (!haveWanted)
        return false;
    const std::string_view wanted = wantBefore ? pool.At(FOffset, FBeforeLen) : pool.At(FOffset + FBeforeLen, FAfterLen);
    if (!haveOther || FWhole) {
        out.assign(wanted);
        return true;
    }
    const std::uint32_t otherSize = wantBefore ? FAfterSize : FBeforeSize;
    const std::uint32_t otherHash = wantBefore ? FAfterHash : FBeforeHash;
    if (current.size() != otherSize || CheckOf(current) != otherHash)
        return false;
    out.clear();
    out.reserve(FPrefix + wanted.size() + FSuffix);
    out.append(current.substr(0, FPrefix));
    out.append(wanted);
    out.append(current.substr(current.size() - FSuffix));
    return true;
}

} // namespace kalvion
