// The name registry and its bridge to the language: registration rules,
// conversions both ways, errors with positions, and checked object references.
#include "scripting/ScriptRegistry.h"
#include "scripting/vbs/Bridge.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace kalvion;
using namespace kalvion::vbs;

namespace {

struct Thing {
    std::string Name = "thing";
    std::shared_ptr<int> Life = std::make_shared<int>(0);
};

struct Other {
    std::shared_ptr<int> Life = std::make_shared<int>(0);
};

class BridgeTest : public ::testing::Test {
protected:
    TScriptRegistry Reg;
    std::vector<std::unique_ptr<Thing>> Things;
    Other AnOther;
    int Counter = 0;
    std::vector<std::string> Shown;

    struct Capture final : HostServices {
        std::vector<std::string> *Out;
        int MsgBox(const std::string &p, int, const std::string &) override
        {
            Out->push_back(p);
            return 1;
        }
        std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &) override
        {
            return std::string();
        }
    };

    TScriptObjectRef RefOf(Thing *t) { return TScriptObjectRef(t, Reg.FindClass("tthing"), t->Life); }

    void SetUp() override
    {
        Reg.AddClass("TThing");
        Reg.AddClass("TSpecialThing", "TThing");
        Reg.AddClass("TOther");
        Reg.AddConstructor("TThing", [this] {
            Things.push_back(std::make_unique<Thing>());
            return RefOf(Things.back().get());
        });
        Reg.AddMethod("TThing", "Add", {ArgOf(TScriptType::Integer), ArgOf(TScriptType::Integer)},
                      ArgOf(TScriptType::Integer),
                      [](void *, TScriptArgs &a) { return TScriptValue::FromInt(a[0].Int + a[1].Int); });
        Reg.AddProperty(
            "TThing", "Name", ArgOf(TScriptType::String),
            [](void *self) { return TScriptValue::FromString(static_cast<Thing *>(self)->Name); },
            [](void *self, const TScriptValue &v) { static_cast<Thing *>(self)->Name = v.Str; });
        Reg.AddRoutine("GetThing", {}, ArgObj("TThing"), [this](TScriptArgs &) {
            Things.push_back(std::make_unique<Thing>());
            return TScriptValue::FromObject(RefOf(Things.back().get()));
        });
        Reg.AddRoutine("GetOther", {}, ArgObj("TOther"), [this](TScriptArgs &) {
            return TScriptValue::FromObject(TScriptObjectRef(&AnOther, Reg.FindClass("tother"), AnOther.Life));
        });
        Reg.AddRoutine("FreeThing", {ArgObj("TObject")}, {}, [this](TScriptArgs &a) {
            for (auto it = Things.begin(); it != Things.end(); ++it)
                if (it->get() == a[0].Obj.Get()) {
                    Things.erase(it);
                    break;
                }
            return TScriptValue::None();
        });
        Reg.AddRoutine("NameOf", {ArgObj("TThing")}, ArgOf(TScriptType::String), [](TScriptArgs &a) {
            auto *t = static_cast<Thing *>(a[0].Obj.Get());
            return TScriptValue::FromString(t ? t->Name : std::string("nil"));
        });
        Reg.AddRoutine("Twice", {ArgVar(TScriptType::Double)}, {}, [](TScriptArgs &a) {
            a[0].Dbl *= 2;
            return TScriptValue::None();
        });
        Reg.AddRoutine("Half", {ArgOf(TScriptType::Double)}, ArgOf(TScriptType::Double),
                       [](TScriptArgs &a) { return TScriptValue::FromDouble(a[0].Dbl / 2); });
        Reg.AddRoutine("ToByte", {ArgOf(TScriptType::Byte)}, ArgOf(TScriptType::Integer),
                       [](TScriptArgs &a) { return TScriptValue::FromInt(a[0].Int); });
        Reg.AddRoutine("Fail", {}, {}, [](TScriptArgs &) -> TScriptValue { throw std::logic_error("no way"); });
        Reg.AddVariable(
            "Counter", ArgOf(TScriptType::Integer), [this] { return TScriptValue::FromInt(Counter); },
            [this](const TScriptValue &v) { Counter = static_cast<int>(v.Int); });
        Reg.AddConstant("THE_ANSWER", TScriptValue::FromInt(42));
        Reg.AddConstant("THE_NAME", TScriptValue::FromString("deep"));
    }

    // Runs a script; returns the error number (0 when none) and fills Shown.
    int Run(const std::string &text, int *line = nullptr, std::string *desc = nullptr)
    {
        Interpreter in;
        RegistryNames names(Reg);
        Capture ui;
        ui.Out = &Shown;
        in.Names = &names;
        in.Host = &ui;
        try {
            in.Execute(text);
        } catch (const ScriptError &e) {
            if (line)
                *line = e.Line;
            if (desc)
                *desc = e.Description;
            return e.Number;
        }
        return 0;
    }
};

TEST_F(BridgeTest, SecondRegistrationKeepsTheFirst)
{
    EXPECT_FALSE(Reg.AddRoutine("gettHING", {}, {}, [](TScriptArgs &) { return TScriptValue::None(); }));
    EXPECT_FALSE(Reg.AddConstant("The_Answer", TScriptValue::FromInt(1)));
    EXPECT_EQ(Run("MsgBox THE_ANSWER & the_name"), 0);
    EXPECT_EQ(Shown, (std::vector<std::string>{"42deep"}));
}

TEST_F(BridgeTest, RoutinesMethodsPropertiesIgnoringCase)
{
    EXPECT_EQ(Run("Set t = GETTHING()\nt.name = \"renamed\"\nMsgBox t.NAME & \" \" & t.add(2, \"3\") & \" \" & "
                  "NameOf(t) & \" \" & TypeName(t)"),
              0);
    EXPECT_EQ(Shown, (std::vector<std::string>{"renamed 5 renamed TThing"}));
}

TEST_F(BridgeTest, ClassConstructorAndCreateObject)
{
    EXPECT_EQ(Run("Set a = TThing.Create\nSet b = CreateObject(\"TThing\")\nSet c = New TThing\nMsgBox a.Name & "
                  "(a Is b)"),
              0);
    EXPECT_EQ(Things.size(), 3u);
    EXPECT_EQ(Shown, (std::vector<std::string>{"thingFalse"}));
}

TEST_F(BridgeTest, VariablesAndVarParameters)
{
    EXPECT_EQ(Run("Counter = 7\nCounter = Counter + 1\nx = 1.5\nTwice x\nMsgBox Counter & \" \" & x & \" \" & "
                  "Half(3)"),
              0);
    EXPECT_EQ(Counter, 8);
    EXPECT_EQ(Shown, (std::vector<std::string>{"8 3 1.5"}));
}

TEST_F(BridgeTest, WrongCountAndBadValuesAreScriptErrors)
{
    int line = -1;
    std::string desc;
    EXPECT_EQ(Run("x = 1\nx = Half(1, 2)", &line, &desc), 450);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(desc, "Wrong number of arguments or invalid property assignment: 'Half'");
    EXPECT_EQ(Run("x = Half(\"abc\")"), 13);
    EXPECT_EQ(Run("x = ToByte(300)"), 6);
    EXPECT_EQ(Run("THE_ANSWER = 1"), 501);
    EXPECT_EQ(Run("Set o = GetOther()\nx = NameOf(o)"), 13);
    EXPECT_EQ(Run("x = NameOf(5)"), 13);
    EXPECT_EQ(Run("x = 1\n\nFail", &line, &desc), 507);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(desc, "no way");
    EXPECT_EQ(Run("Set t = GetThing()\nx = t.Nope"), 438);
}

TEST_F(BridgeTest, NothingPassesAsNil)
{
    EXPECT_EQ(Run("MsgBox NameOf(Nothing) & NameOf(Empty)"), 0);
    EXPECT_EQ(Shown, (std::vector<std::string>{"nilnil"}));
}

TEST_F(BridgeTest, FreedObjectGivesObjectRequiredNotACrash)
{
    int line = -1;
    EXPECT_EQ(Run("Set t = GetThing()\nSet u = t\nFreeThing t\nMsgBox (u Is Nothing)\nx = u.Name", &line), 424);
    EXPECT_EQ(line, 4);
    EXPECT_EQ(Shown, (std::vector<std::string>{"True"}));
    EXPECT_TRUE(Things.empty());
    EXPECT_EQ(Run("Set t = GetThing()\nFreeThing t\nx = NameOf(t)"), 424);
    EXPECT_EQ(Run("Set t = GetThing()\nFreeThing t\nt.Name = \"x\""), 424);
}

TEST(ScriptValues, CheckedReferenceExpires)
{
    auto life = std::make_shared<int>(1);
    int target = 0;
    TScriptObjectRef r(&target, nullptr, life);
    EXPECT_EQ(r.Get(), &target);
    life.reset();
    EXPECT_TRUE(r.IsNil());
    EXPECT_EQ(r.RawPointer(), &target);
}

} // namespace
