#include "scripting/vbs/Variant.h"

#include "scripting/vbs/Errors.h"
#include "scripting/vbs/Object.h"

namespace kalvion::vbs {

void ReleaseCell(HeapCell *cell) noexcept
{
    if (--cell->Refs == 0)
        cell->LastRelease();
}

namespace {
const std::string kEmptyText;
}

Variant Variant::Str(std::string_view s)
{
    Variant v;
    v.FType = VT_BSTR;
    v.FP = nullptr;
    if (!s.empty()) {
        auto *c = new StrCell;
        c->Text.assign(s.data(), s.size());
        c->Refs = 1;
        v.FP = c;
    }
    return v;
}

Variant Variant::Str(std::string &&s)
{
    Variant v;
    v.FType = VT_BSTR;
    v.FP = nullptr;
    if (!s.empty()) {
        auto *c = new StrCell;
        c->Text = std::move(s);
        c->Refs = 1;
        v.FP = c;
    }
    return v;
}

Variant Variant::Arr(ArrCell *a)
{
    Variant v;
    v.FType = VT_ARRAY;
    v.FP = a;
    if (a)
        AddRefCell(a);
    return v;
}

Variant Variant::Integral(std::int64_t i)
{
    if (i >= -32768 && i <= 32767)
        return Int(static_cast<std::int32_t>(i));
    if (i >= INT32_MIN && i <= INT32_MAX)
        return Long(static_cast<std::int32_t>(i));
    return Dbl(static_cast<double>(i));
}

const std::string &Variant::RawStr() const noexcept
{
    if (FType == VT_BSTR && FP)
        return static_cast<StrCell *>(FP)->Text;
    return kEmptyText;
}

ArrCell *Variant::RawArr() const noexcept { return FType == VT_ARRAY ? static_cast<ArrCell *>(FP) : nullptr; }

void Variant::AppendStr(std::string_view s)
{
    CheckStringSize(RawStr().size() + s.size());
    if (FType == VT_BSTR && FP && FP->Refs == 1) {
        static_cast<StrCell *>(FP)->Text.append(s.data(), s.size());
        return;
    }
    std::string t = RawStr();
    t.append(s.data(), s.size());
    *this = Str(std::move(t));
}

ArrCell *Variant::MutableArr()
{
    auto *a = RawArr();
    // The references held for elements passed by reference do not share the
    // array: writes through the variable must reach those elements.
    if (!a || a->Refs - a->Locks <= 1)
        return a;
    auto *c = new ArrCell;
    c->Bounds = a->Bounds;
    c->Data = a->Data;
    c->Fixed = a->Fixed;
    c->Refs = 1;
    ReleaseCell(a);
    FP = c;
    return c;
}

} // namespace kalvion::vbs
