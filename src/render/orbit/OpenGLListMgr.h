#pragma once
// TOpenGLListMgr: the display lists of the 3D system view, one entry per body
// (keyed by its IDString) with an orbit list and a body list per GL context.
// An entry is made on first need and lives until Clear, which the view calls
// whenever the shown system changes.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

struct TOpenGLSavedList {
    std::string Key;
    bool Textured = false;
    std::array<unsigned, 2> OrbitList{0, 0};
    std::array<unsigned, 2> BodyList{0, 0};
};

class TOpenGLListMgr {
public:
    TOpenGLListMgr() { Entries_.reserve(1000); }
    TOpenGLListMgr(const TOpenGLListMgr &) = delete;
    TOpenGLListMgr &operator=(const TOpenGLListMgr &) = delete;

    // The entry of a key, or null.
    TOpenGLSavedList *Find(std::string_view key);
    // The entry of a key, made empty when missing.
    TOpenGLSavedList &Get(std::string_view key);
    // Deletes a body list of one context (the orbit list stays).
    void DeleteBodyList(TOpenGLSavedList &entry, int context);
    // Deletes every list of one context and forgets every entry.  The
    // context must be current.
    void Clear(int context);
    std::size_t Count() const { return Entries_.size(); }
    const std::vector<TOpenGLSavedList> &Entries() const { return Entries_; }
    // Lists that exist in a context (orbit and body lists together).
    int ListCount(int context) const;

private:
    std::vector<TOpenGLSavedList> Entries_;
};

} // namespace kalvion
