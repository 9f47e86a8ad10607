// Model objects reach scripts as checked references: a body deleted by the
// program while a script still holds it gives "Object required".
#include "model/StellarBody.h"
#include "scripting/ModelRefs.h"
#include "scripting/vbs/Bridge.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kalvion;

namespace {

TEST(ModelRefs, DeletedBodyIsObjectRequired)
{
    TScriptRegistry reg;
    reg.AddClass("TVexaBase");
    reg.AddClass("TStellarBody", "TVexaBase");
    reg.AddProperty(
        "TStellarBody", "Name", ArgOf(TScriptType::String),
        [](void *s) { return TScriptValue::FromString(static_cast<TStellarBody *>(s)->Name); },
        [](void *s, const TScriptValue &v) { static_cast<TStellarBody *>(s)->Name = v.Str; });
    reg.AddMethod("TVexaBase", "SetField", {ArgOf(TScriptType::String), ArgOf(TScriptType::String)}, {},
                  [](void *s, TScriptArgs &a) {
                      static_cast<TVexaBase *>(s)->SetField(a[0].Str, a[1].Str);
                      return TScriptValue::None();
                  });
    auto body = std::make_unique<TStellarBody>();
    body->Name = "Sol";
    reg.AddRoutine("TheBody", {}, ArgObj("TStellarBody"),
                   [&](TScriptArgs &) { return TScriptValue::FromObject(ScriptRefOf(reg, "TStellarBody", body.get())); });
    reg.AddRoutine("DropBody", {}, {}, [&](TScriptArgs &) {
        body.reset();
        return TScriptValue::None();
    });
    reg.AddRoutine("NameOf", {ArgObj("TStellarBody")}, ArgOf(TScriptType::String), [](TScriptArgs &a) {
        TStellarBody *b = ModelObjectOf<TStellarBody>(a[0]);
        return TScriptValue::FromString(b ? b->Name : "none");
    });

    vbs::Interpreter in;
    vbs::RegistryNames names(reg);
    in.Names = &names;
    in.Execute("Set b = TheBody()\nb.Name = b.Name & \" III\"\nb.SetField \"Note\", \"home\"\n");
    ASSERT_TRUE(body);
    EXPECT_EQ(body->Name, "Sol III");
    EXPECT_EQ(body->GetField("note"), "home");
    try {
        in.Execute("DropBody\nx = (b Is Nothing)\nIf Not x Then Err.Raise 1\ny = b.Name\n");
        FAIL() << "expected an error";
    } catch (const vbs::ScriptError &e) {
        EXPECT_EQ(e.Number, 424);
        EXPECT_EQ(e.Line, 3);
    }
    EXPECT_THROW(in.Execute("z = NameOf(b)"), vbs::ScriptError);
}

} // namespace
