#include "render/orbit/OpenGLListMgr.h"

#include "render/GLHeaders.h"

namespace kalvion {

TOpenGLSavedList *TOpenGLListMgr::Find(std::string_view key)
{
    for (auto &entry : Entries_)
        if (entry.Key == key)
            return &entry;
    return nullptr;
}

TOpenGLSavedList &TOpenGLListMgr::Get(std::string_view key)
{
    if (TOpenGLSavedList *entry = Find(key))
        return *entry;
    Entries_.push_back({std::string(key), false, {0, 0}, {0, 0}});
    return Entries_.back();
}

void TOpenGLListMgr::DeleteBodyList(TOpenGLSavedList &entry, int context)
{
    unsigned &list = entry.BodyList[static_cast<std::size_t>(context)];
    if (list != 0)
        glDeleteLists(list, 1);
    list = 0;
}

void TOpenGLListMgr::Clear(int context)
{
    const auto c = static_cast<std::size_t>(context);
    for (auto &entry : Entries_) {
        if (entry.OrbitList[c] != 0)
            glDeleteLists(entry.OrbitList[c], 1);
        if (entry.BodyList[c] != 0)
            glDeleteLists(entry.BodyList[c], 1);
    }
    Entries_.clear();
}

int TOpenGLListMgr::ListCount(int context) const
{
    const auto c = static_cast<std::size_t>(context);
    int n = 0;
    for (const auto &entry : Entries_)
        n += (entry.OrbitList[c] != 0) + (entry.BodyList[c] != 0);
    return n;
}

} // namespace kalvion
