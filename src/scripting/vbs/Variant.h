#pragma once
// The script language's value type.  A variant is 16 bytes: a subtype tag and
// either an inline number or a pointer to a reference-counted heap cell
// (string, array, object).  Reference counts are not atomic: one engine runs on
// one thread; only the halt flag is shared with other threads.
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalvion::vbs {

enum VarTypeCode : std::uint16_t {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UI1 = 17,
    VT_ARRAY = 8192,
};

struct HeapCell {
    std::int32_t Refs = 0;
    virtual ~HeapCell() = default;
    // Called when the last reference goes; class instances run their
    // terminate handler here before they are deleted.
    virtual void LastRelease() noexcept { delete this; }
};

void ReleaseCell(HeapCell *cell) noexcept;
inline void AddRefCell(HeapCell *cell) noexcept { ++cell->Refs; }

struct StrCell final : HeapCell {
    std::string Text;
};

class Variant;
struct ArrCell;
class Object;

class Variant {
public:
    Variant() noexcept : FType(VT_EMPTY), FI(0) {}
    ~Variant() { if (IsHeap()) ReleaseCell(FP); }
    Variant(const Variant &o) noexcept : FType(o.FType), FI(o.FI) { if (IsHeap()) AddRefCell(FP); }
    Variant(Variant &&o) noexcept : FType(o.FType), FI(o.FI) { o.FType = VT_EMPTY; o.FI = 0; }
    Variant &operator=(const Variant &o) noexcept
    {
        if (o.IsHeap()) AddRefCell(o.FP);
        Variant old(std::move(*this));
        FType = o.FType;
        FI = o.FI;
        return *this;
    }
    Variant &operator=(Variant &&o) noexcept
    {
        if (this != &o) {
            Variant old(std::move(*this));
            FType = o.FType;
            FI = o.FI;
            o.FType = VT_EMPTY;
            o.FI = 0;
        }
        return *this;
    }

    static Variant Null() { Variant v; v.FType = VT_NULL; return v; }
    static Variant Int(std::int32_t i) { Variant v; v.FType = VT_I2; v.FI = i; return v; }
    static Variant Long(std::int32_t i) { Variant v; v.FType = VT_I4; v.FI = i; return v; }
    static Variant Byte(std::uint8_t i) { Variant v; v.FType = VT_UI1; v.FI = i; return v; }
    static Variant Bool(bool b) { Variant v; v.FType = VT_BOOL; v.FI = b ? -1 : 0; return v; }
    static Variant Dbl(double d) { Variant v; v.FType = VT_R8; v.FD = d; return v; }
    static Variant Sng(float d) { Variant v; v.FType = VT_R4; v.FD = d; return v; }
    static Variant Cur(double d) { Variant v; v.FType = VT_CY; v.FD = d; return v; }
    static Variant Date(double d) { Variant v; v.FType = VT_DATE; v.FD = d; return v; }
    static Variant Error(std::int32_t code) { Variant v; v.FType = VT_ERROR; v.FI = code; return v; }
    static Variant Str(std::string_view s);
    static Variant Str(std::string &&s);
    static Variant Obj(Object *o);  // adds a reference; nullptr is Nothing
    static Variant Arr(ArrCell *a); // adds a reference
    // The smallest integer subtype that holds i (Integer, Long, else Double).
    static Variant Integral(std::int64_t i);

    std::uint16_t Type() const noexcept { return FType; }
    bool IsHeap() const noexcept { return (FType == VT_BSTR || FType == VT_DISPATCH || FType == VT_ARRAY) && FP; }
    bool IsEmpty() const noexcept { return FType == VT_EMPTY; }
    bool IsNull() const noexcept { return FType == VT_NULL; }
    bool IsString() const noexcept { return FType == VT_BSTR; }
    bool IsObject() const noexcept { return FType == VT_DISPATCH; }
    bool IsArray() const noexcept { return FType == VT_ARRAY; }
    bool IsIntegral() const noexcept { return FType == VT_I2 || FType == VT_I4 || FType == VT_UI1 || FType == VT_BOOL; }
    bool IsFloatLike() const noexcept { return FType == VT_R4 || FType == VT_R8 || FType == VT_CY || FType == VT_DATE; }
    bool IsNumeric() const noexcept { return IsIntegral() || IsFloatLike() || FType == VT_EMPTY; }

    std::int64_t RawInt() const noexcept { return FI; }
    double RawDbl() const noexcept { return FD; }
    const std::string &RawStr() const noexcept;
    inline Object *RawObj() const noexcept; // defined in Object.h
    ArrCell *RawArr() const noexcept;
    HeapCell *Cell() const noexcept { return FP; }

    // Overwrites the value in place (hot loops): no temporary variant.
    void SetDouble(double d) noexcept
    {
        if (IsHeap())
            ReleaseCell(FP);
        FType = VT_R8;
        FD = d;
    }
    // Integer, Long, or Double beyond 32 bits; never narrower than `minType`.
    void SetIntegral(std::int64_t i, std::uint16_t minType) noexcept
    {
        if (IsHeap())
            ReleaseCell(FP);
        if (minType == VT_I2 && i >= -32768 && i <= 32767) {
            FType = VT_I2;
            FI = i;
        } else if (i >= INT32_MIN && i <= INT32_MAX) {
            FType = VT_I4;
            FI = i;
        } else {
            FType = VT_R8;
            FD = static_cast<double>(i);
        }
    }
    // Appends in place when this variant holds the only reference to its text.
    void AppendStr(std::string_view s);
    // Makes the array cell unshared before an element is written.
    ArrCell *MutableArr();

private:
    std::uint16_t FType;
    union {
        std::int64_t FI;
        double FD;
        HeapCell *FP;
    };
    friend class Object;
};

static_assert(sizeof(Variant) == 16);

// Dynamic and fixed arrays.  Elements are stored with the first index varying
// fastest, so growing the last dimension keeps every element in place.
struct ArrCell final : HeapCell {
    std::vector<std::int32_t> Bounds; // upper bound per dimension (lower bounds are 0)
    std::vector<Variant> Data;
    bool Fixed = false;
    std::int32_t Locks = 0;
};

} // namespace kalvion::vbs
