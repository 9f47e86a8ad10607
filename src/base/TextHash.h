#pragma once
// Hash and equality ignoring ASCII case, for maps keyed by names that are
// looked up with any text (std::string keys found from a string_view
// without a copy).
#include "base/AsciiText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kalvion {

struct TextNoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept
    {
        // FNV-1a over the folded bytes, so texts equal ignoring case hash alike.
        std::uint64_t h = 14695981039346656037ull;
        for (char c : text) {
            h ^= static_cast<unsigned char>(AsciiLowerChar(c));
            h *= 1099511628211ull;
        }
        return static_cast<std::size_t>(h);
    }
};

struct TextNoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return SameText(a, b); }
};

} // namespace kalvion
