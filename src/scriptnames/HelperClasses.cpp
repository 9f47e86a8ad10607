#include "scriptnames/HelperClasses.h"

#include "files/AppFileStream.h"
#include "generation/SectorGenerator.h"
#include "model/VexaBase.h"

#include <stdexcept>

namespace kalvion::names {

namespace {

// Lists grow one Add at a time under the engine's step limit; an index
// from a script is checked before it is used.
std::size_t Index(const TScriptValue &v, std::size_t size, const char *routine)
{
    if (v.Int < 0 || static_cast<std::uint64_t>(v.Int) >= size)
        throw std::runtime_error(std::string(routine) + ": list index out of bounds (" + std::to_string(v.Int) + ")");
    return static_cast<std::size_t>(v.Int);
}

void RegisterList(const TNames &n)
{
    using L = TScriptList;
    constexpr const char *C = "TList";
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, std::make_unique<L>()).Obj; });
    n.Method<L>(C, "Count", {}, TInt(), [](L &l, TScriptArgs &) { return VInt(static_cast<std::int64_t>(l.Items.size())); });
    n.Method<L>(C, "Add", {TObj("TObject")}, TInt(), [](L &l, TScriptArgs &a) {
        l.Items.push_back(a[0].Obj);
        return VInt(static_cast<std::int64_t>(l.Items.size()) - 1);
    });
    n.Method<L>(C, "Items", {TInt()}, TObj("TObject"), [](L &l, TScriptArgs &a) {
        return TScriptValue::FromObject(l.Items[Index(a[0], l.Items.size(), "Items")]);
    });
    n.Method<L>(C, "Clear", {}, TNone(), [](L &l, TScriptArgs &) {
        l.Items.clear();
        return VNone();
    });
    n.Method<L>(C, "Delete", {TInt()}, TNone(), [](L &l, TScriptArgs &a) {
        l.Items.erase(l.Items.begin() + static_cast<std::ptrdiff_t>(Index(a[0], l.Items.size(), "Delete")));
        return VNone();
    });
    n.Method<L>(C, "IndexOf", {TObj("TObject")}, TInt(), [](L &l, TScriptArgs &a) {
        const void *p = a[0].Obj.Get();
        for (std::size_t i = 0; i < l.Items.size(); ++i)
            if (l.Items[i].Get() == p)
                return VInt(static_cast<std::int64_t>(i));
        return VInt(-1);
    });
}

void RegisterStrings(const TNames &n)
{
    using L = TScriptStrings;
    constexpr const char *C = "TStrings";
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, std::make_unique<L>()).Obj; });
    n.Reg.AddConstructor("TStringList", [n] { return n.Adopt("TStringList", std::make_unique<L>()).Obj; });
    n.Method<L>(C, "Count", {}, TInt(), [](L &l, TScriptArgs &) { return VInt(static_cast<std::int64_t>(l.Items.size())); });
    n.Method<L>(C, "Add", {TStr()}, TInt(), [](L &l, TScriptArgs &a) {
        l.Items.push_back(a[0].Str);
        return VInt(static_cast<std::int64_t>(l.Items.size()) - 1);
    });
    n.Method<L>(C, "Items", {TInt()}, TStr(),
                [](L &l, TScriptArgs &a) { return VStr(l.Items[Index(a[0], l.Items.size(), "Items")]); });
    n.Method<L>(C, "Clear", {}, TNone(), [](L &l, TScriptArgs &) {
        l.Items.clear();
        return VNone();
    });
    n.Method<L>(C, "Delete", {TInt()}, TNone(), [](L &l, TScriptArgs &a) {
        l.Items.erase(l.Items.begin() + static_cast<std::ptrdiff_t>(Index(a[0], l.Items.size(), "Delete")));
        return VNone();
    });
    n.Method<L>(C, "IndexOf", {TStr()}, TInt(), [](L &l, TScriptArgs &a) {
        for (std::size_t i = 0; i < l.Items.size(); ++i)
            if (l.Items[i] == a[0].Str)
                return VInt(static_cast<std::int64_t>(i));
        return VInt(-1);
    });
    n.Reg.AddProperty(
        C, "Text", TStr(), [](void *s) { return VStr(JoinLines(*static_cast<L *>(s))); },
        [](void *s, const TScriptValue &v) {
            auto &l = *static_cast<L *>(s);
            l.Items.clear();
            AppendLines(l, v.Str);
        });
}

void RegisterGenerateOptions(const TNames &n)
{
    using O = TVexaGenerateOptions;
    constexpr const char *C = "TVexaGenerateOptions";
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, std::make_unique<O>()).Obj; });
    n.Prop(C, "BodyType", &O::BodyType);
    n.Prop(C, "BodyTypeID", &O::BodyTypeID);
    n.Prop(C, "Generator", &O::Generator);
    n.Prop(C, "NameGenerator", &O::NameGenerator);
    n.Prop(C, "GenContents", &O::GenContents);
    n.Prop(C, "GenPopulations", &O::GenPopulations);
}

// Streams in memory, for the objects' SaveToStream and LoadFromStream.
void RegisterStreams(const TNames &n)
{
    constexpr const char *C = "TAppFileStream";
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, TAppFileStream::Memory()).Obj; });
    n.Reg.AddProperty(
        C, "Position", TInt(), [](void *s) { return VInt(static_cast<TAppFileStream *>(s)->Position()); },
        [](void *s, const TScriptValue &v) { static_cast<TAppFileStream *>(s)->Seek(v.Int, TAppFileStream::Origin::Begin); });
    n.Reg.AddProperty(C, "Size", TInt(), [](void *s) { return VInt(static_cast<TAppFileStream *>(s)->Size()); }, {});
}

} // namespace

void AppendLines(TScriptStrings &list, const std::string &text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            list.Items.push_back(text.substr(start));
            return;
        }
        list.Items.push_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

std::string JoinLines(const TScriptStrings &list)
{
    std::string out;
    for (const auto &s : list.Items) {
        out += s;
        out += "\r\n";
    }
    return out;
}

TScriptStrings &NeedStrings(const TScriptValue &v, const char *routine)
{
    return Need<TScriptStrings>(v, routine);
}

void RegisterFieldMethods(const TNames &n, const char *cls)
{
    using V = TVexaBase;
    n.Method<V>(cls, "SetField", {TStr(), TStr()}, TNone(), [](V &o, TScriptArgs &a) {
        o.SetField(a[0].Str, a[1].Str);
        return VNone();
    });
    n.Method<V>(cls, "GetField", {TStr()}, TStr(), [](V &o, TScriptArgs &a) { return VStr(o.GetField(a[0].Str)); });
    n.Method<V>(cls, "GetFieldIndex", {TStr()}, TInt(), [](V &o, TScriptArgs &a) { return VInt(o.GetFieldIndex(a[0].Str)); });
    n.Method<V>(cls, "GetFieldByIndex", {TInt()}, TStr(),
                [](V &o, TScriptArgs &a) { return VStr(o.GetFieldByIndex(I32(a[0]))); });
    n.Method<V>(cls, "GetFieldNameByIndex", {TInt()}, TStr(),
                [](V &o, TScriptArgs &a) { return VStr(o.GetFieldNameByIndex(I32(a[0]))); });
    n.Method<V>(cls, "GetFieldCount", {}, TInt(), [](V &o, TScriptArgs &) { return VInt(o.GetFieldCount()); });
    n.Method<V>(cls, "ClearFields", {}, TNone(), [](V &o, TScriptArgs &) {
        o.ClearFields();
        return VNone();
    });
}

void RegisterHelperClassNames(const TNames &n)
{
    RegisterList(n);
    RegisterStrings(n);
    RegisterGenerateOptions(n);
    RegisterStreams(n);
}

} // namespace kalvion::names
