#pragma once
// Objects a script created that nothing else owns yet: a body not added to
// a system, a route not added to a sector, a list, a generator.  The pool
// owns them until an owner takes them (Release) or the script frees them
// (Free); a script reference to a pooled object sees it die with it.
#include "model/VexaBase.h"

#include <memory>
#include <type_traits>
#include <unordered_map>

namespace kalvion {

class TScriptObjectPool {
public:
    TScriptObjectPool() = default;
    ~TScriptObjectPool() { Clear(); }
    TScriptObjectPool(const TScriptObjectPool &) = delete;
    TScriptObjectPool &operator=(const TScriptObjectPool &) = delete;

    template <class T>
    T *Adopt(std::unique_ptr<T> obj)
    {
        T *raw = obj.release();
        TEntry e;
        e.Delete = [](void *p) { delete static_cast<T *>(p); };
        if constexpr (std::is_base_of_v<TVexaBase, T>)
            e.Token = raw->LifetimeToken().lock();
        else
            e.Token = std::make_shared<int>(0);
        FEntries.emplace(raw, std::move(e));
        return raw;
    }
    bool Owns(const void *p) const { return p && FEntries.count(p) != 0; }
    // The lifetime token of a pooled object; empty when not pooled.
    std::weak_ptr<void> TokenOf(const void *p) const
    {
        auto it = FEntries.find(p);
        return it == FEntries.end() ? std::weak_ptr<void>() : std::weak_ptr<void>(it->second.Token);
    }
    // Hands a pooled object over to a new owner; nullptr when not pooled.
    template <class T>
    std::unique_ptr<T> Release(T *p)
    {
        auto it = FEntries.find(p);
        if (it == FEntries.end())
            return nullptr;
        FEntries.erase(it);
        return std::unique_ptr<T>(p);
    }
    // Frees a pooled object; false when it is not pooled.
    bool Free(const void *p)
    {
        auto it = FEntries.find(p);
        if (it == FEntries.end())
            return false;
        TEntry e = std::move(it->second);
        FEntries.erase(it);
        e.Token.reset();
        e.Delete(const_cast<void *>(p));
        return true;
    }
    void Clear()
    {
        while (!FEntries.empty())
            Free(FEntries.begin()->first);
    }
    std::size_t Count() const { return FEntries.size(); }
    // A token that lives as long as the pool: for objects of the host.
    std::weak_ptr<void> SelfToken() const { return FSelf; }

private:
    struct TEntry {
        void (*Delete)(void *) = nullptr;
        std::shared_ptr<void> Token; // non-model objects: the pool's token
    };
    std::unordered_map<const void *, TEntry> FEntries;
    std::shared_ptr<int> FSelf = std::make_shared<int>(0);
};

} // namespace kalvion
