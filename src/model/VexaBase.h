#pragma once
// The base of every stored model object: a permanent identity, database
// bookkeeping, change flags and an ordered list of user-defined fields.
#include "base/CompactList.h"
#include "base/IdentityText.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

struct TVexaFieldRec {
    std::string Name;  // lower case, at most FIELD_NAME_MAX characters
    std::string Value;
};

inline constexpr std::size_t FIELD_NAME_MAX = 256;

// The user fields of an object: most objects have none.
using TFieldList = TCompactList<TVexaFieldRec>;

class TVexaBase {
public:
    TVexaBase();
    virtual ~TVexaBase();
    TVexaBase(const TVexaBase &) = delete;
    TVexaBase &operator=(const TVexaBase &) = delete;

    // The two flags share the identity's last word.
    TIdentityText IDString;
    bool Loaded = true;
    bool Modified = true;
    std::int64_t RecordID = 0;
    TFieldList Fields;

    // Positions of the object and of its children in an older record file;
    // 0 for every object that did not come from one, which is nearly all.
    std::int64_t DBOffset() const { return FRecordPlace ? FRecordPlace->Offset : 0; }
    std::int64_t DBChildOffset() const { return FRecordPlace ? FRecordPlace->ChildOffset : 0; }
    void SetDBOffset(std::int64_t offset) { RecordPlace().Offset = offset; }
    void SetDBChildOffset(std::int64_t offset) { RecordPlace().ChildOffset = offset; }

    std::string GetField(std::string_view name) const;
    void SetField(std::string_view name, std::string_view value);
    // Takes a field back as it was stored: an empty value is kept (a field
    // emptied by the user is still a field) and the object stays unmodified.
    void RestoreField(std::string_view name, std::string_view value);
    int GetFieldIndex(std::string_view name) const;
    std::string GetFieldByIndex(int index) const;
    std::string GetFieldNameByIndex(int index) const;
    int GetFieldCount() const { return static_cast<int>(Fields.size()); }
    void ClearFields() { Fields.clear(); }

    // Scripts, views and dialogs hold a weak reference to this token to find
    // out that the object is gone instead of touching freed memory.  The token
    // is made on first request; copies of an object never share it.
    std::weak_ptr<void> LifetimeToken() const;
    // Ends every checked reference to the object while it lives on: for an
    // object removed from the document that waits in a deleted list.
    void EndLifetime() { FLifetime.reset(); }

protected:
    // For copies that take their identity from the original: drawing a new
    // one would be wasted (and costs more than the rest of a copy).
    struct TNoIdentity {};
    explicit TVexaBase(TNoIdentity) noexcept {}

private:
    struct TRecordPlace {
        std::int64_t Offset = 0;
        std::int64_t ChildOffset = 0;
    };
    TRecordPlace &RecordPlace()
    {
        if (!FRecordPlace)
            FRecordPlace = std::make_unique<TRecordPlace>();
        return *FRecordPlace;
    }
    std::unique_ptr<TRecordPlace> FRecordPlace;
    // Held through a pointer: few objects are ever referenced this way.
    mutable std::unique_ptr<std::shared_ptr<void>> FLifetime;
};

// The lookup key of a field name: its first 256 characters, lower-cased.
std::string FieldKey(std::string_view name);

// A checked reference to a model object.
template <class T>
class TObjectRef {
public:
    TObjectRef() = default;
    explicit TObjectRef(T *obj) : FObj(obj), FToken(obj ? obj->LifetimeToken() : std::weak_ptr<void>()) {}
    T *Get() const { return FToken.expired() ? nullptr : FObj; }
    bool Alive() const { return FObj && !FToken.expired(); }
    // Set to an object that has gone since (not the same as never set).
    bool Gone() const { return FObj && FToken.expired(); }

private:
    T *FObj = nullptr;
    std::weak_ptr<void> FToken;
};

// A checked reference that reads as a pointer, for a member the program
// keeps on someone else's behalf (a waypoint's system, the window's current
// body): every read is nullptr once the object is gone, so code written for
// a plain pointer that tests it before use stays right.
template <class T>
class TCheckedPtr {
public:
    TCheckedPtr() = default;
    explicit TCheckedPtr(T *obj) : FRef(obj) {}
    TCheckedPtr &operator=(T *obj)
    {
        FRef = TObjectRef<T>(obj);
        return *this;
    }
    TCheckedPtr &operator=(std::nullptr_t)
    {
        FRef = {};
        return *this;
    }
    T *Get() const { return FRef.Get(); }
    bool Gone() const { return FRef.Gone(); }
    operator T *() const { return FRef.Get(); }
    T *operator->() const { return FRef.Get(); }

private:
    TObjectRef<T> FRef;
};

} // namespace kalvion
