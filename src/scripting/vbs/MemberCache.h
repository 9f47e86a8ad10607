#pragma once

namespace kalvion::vbs {

// What one call site found last time (a member of a registered class), so
// that a loop does not look the same name up on every turn.
struct MemberCache {
    const void *Owner = nullptr; // the class the member was found on
    const void *Member = nullptr;
    int Kind = 0;
};

} // namespace kalvion::vbs
