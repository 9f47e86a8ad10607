// Every name of the object model, read from the list in data/: each
// resolves ignoring case with its argument count, a call with one argument
// too many is a script error naming it, and constants have their values.
#include "ScriptRun.h"

#include "base/AsciiText.h"
#include "scriptui/ZentScripterUI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

using namespace kalvion;
using namespace kalvion::testing_names;

namespace {

struct TEntry {
    std::string Kind, Class, Name, Value;
    int Args = 0;
};

std::vector<TEntry> ReadList()
{
    std::ifstream in(std::string(KALVION_TEST_DATA_DIR) + "/object_model.txt");
    std::vector<TEntry> list;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream s(line);
        TEntry e;
        s >> e.Kind;
        if (e.Kind == "method")
            s >> e.Class >> e.Name >> e.Args;
        else if (e.Kind == "ctor")
            s >> e.Class;
        else if (e.Kind == "routine")
            s >> e.Name >> e.Args;
        else
            s >> e.Name;
        std::getline(s >> std::ws, e.Value);
        list.push_back(e);
    }
    return list;
}

// Names of the list that are not registered yet (none: every name is).
const std::set<std::string> kNotYet = {};

// Scripts that make an object of a class, for calling its methods.
const std::map<std::string, std::string> kMakers = {
    {"TVexaSector", "CreateSector()"},
    {"TStellarBody", "CreateBody(\"\")"},
    {"TStellarRoute", "CreateRoute()"},
    {"TVexaSubsector", "CreateSubsector()"},
    {"TSystemDataConfig", "CreateSystemDataConfig()"},
    {"TSystemDataConfigHolder", "TSystemDataConfigHolder.Create"},
    {"TSystemGenerator", "TSystemGenerator.Create"},
    {"TTKTable", "TTKTable.Create"},
    {"TTKTableApplication", "TTKTableApplication.Create"},
    {"TOrbit", "TOrbit.Create"},
    {"TGexColorGroup", "NewGexColorGroup()"},
    {"TVexaSearcher3", "CreateVexaSearcher(CreateSector())"},
    {"TZentScripterUI", "NewDialogWindow()"},
    {"TBitmap", "TBitmap.Create"},
};

// An upper-case copy, to call names in another case than registered.
std::string Upper(std::string s)
{
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string Args(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += (i ? ", " : "") + std::string("1");
    return s;
}

class NameList : public ::testing::Test {
protected:
    // The host's one registration holds every name, the dialog unit's too.
    TScriptRunner R;
    std::vector<TEntry> List = ReadList();
};

} // namespace

// The other way round from the test below: every name the program's own
// registration makes is on the list, so a name registered by mistake, or one
// the list forgot, shows.
TEST_F(NameList, TheListIsComplete)
{
    std::set<std::string> listed;
    for (const auto &e : List)
        listed.insert(e.Kind + " " + AsciiLower(e.Class) + (e.Class.empty() ? "" : ".") + AsciiLower(e.Name));
    std::vector<std::string> unlisted;
    auto check = [&](const std::string &key) {
        if (!listed.count(key))
            unlisted.push_back(key);
    };
    for (const auto &[name, r] : R.Reg.Routines())
        check("routine " + name);
    for (const auto &[name, v] : R.Reg.Variables())
        check("variable " + name);
    for (const auto &[name, c] : R.Reg.Constants())
        check("const " + name);
    std::size_t methods = 0;
    for (const auto &[cls, info] : R.Reg.Classes()) {
        for (const auto &[name, m] : info->Methods) {
            check("method " + cls + "." + name);
            ++methods;
        }
        if (info->Constructor)
            check("ctor " + cls + ".");
    }
    std::sort(unlisted.begin(), unlisted.end());
    EXPECT_TRUE(unlisted.empty()) << ::testing::PrintToString(unlisted);
    // Every family is registered, not only listed.
    EXPECT_GE(R.Reg.Routines().size(), 115u);
    EXPECT_GE(methods, 380u);
    EXPECT_GE(R.Reg.Constants().size(), 185u);
    EXPECT_EQ(R.Reg.Variables().size(), 15u);
}

TEST_F(NameList, EveryNameResolvesIgnoringCaseWithItsArgumentCount)
{
    std::vector<std::string> missing, wrongCount;
    for (const auto &e : List) {
        const std::string l = AsciiLower(e.Name);
        bool found = false;
        int count = -1;
        if (e.Kind == "routine") {
            const TScriptRoutine *r = R.Reg.FindRoutine(l);
            found = r != nullptr;
            count = r ? static_cast<int>(r->Args.size()) : -1;
        } else if (e.Kind == "method") {
            const TScriptClassInfo *c = R.Reg.FindClass(AsciiLower(e.Class));
            const TScriptMethod *m = c ? c->FindMethod(l) : nullptr;
            found = m != nullptr;
            count = m ? static_cast<int>(m->Args.size()) : -1;
        } else if (e.Kind == "ctor") {
            const TScriptClassInfo *c = R.Reg.FindClass(AsciiLower(e.Class));
            found = c && c->Constructor;
        } else if (e.Kind == "variable") {
            found = R.Reg.FindVariable(l) != nullptr;
        } else if (e.Kind == "const") {
            found = R.Reg.FindConstant(l) != nullptr;
        }
        const std::string label = e.Kind + " " + (e.Class.empty() ? "" : e.Class + ".") + e.Name;
        if (!found) {
            if (!kNotYet.count(e.Name))
                missing.push_back(label);
        } else if ((e.Kind == "routine" || e.Kind == "method") && count != e.Args) {
            wrongCount.push_back(label + " takes " + std::to_string(count));
        }
        if (found && kNotYet.count(e.Name))
            ADD_FAILURE() << label << " is registered now: take it off the list of names not yet registered";
    }
    EXPECT_TRUE(missing.empty()) << ::testing::PrintToString(missing);
    EXPECT_TRUE(wrongCount.empty()) << ::testing::PrintToString(wrongCount);
}

TEST_F(NameList, ConstantsHaveTheirValues)
{
    for (const auto &e : List) {
        if (e.Kind != "const" || e.Value.empty())
            continue;
        const TScriptConstant *c = R.Reg.FindConstant(AsciiLower(e.Name));
        ASSERT_NE(c, nullptr) << e.Name;
        if (e.Value.front() == '"') {
            EXPECT_EQ(c->Value.Str, e.Value.substr(1, e.Value.size() - 2)) << e.Name;
        } else {
            const double want = std::stod(e.Value);
            const double got = c->Value.Type == TScriptType::Double ? c->Value.Dbl : static_cast<double>(c->Value.Int);
            EXPECT_EQ(got, want) << e.Name;
        }
    }
    // A script reads them as values, in any case.
    ASSERT_TRUE(R.Run("MsgBox body_type_marker & \"|\" & Zsui_Msg_FileSelect & \"|\" & REPORTWARN_LIMIT"))
        << R.LastError();
    EXPECT_EQ(R.Printed.at(0), "202|browse...|1000");
}

TEST_F(NameList, AWrongArgumentCountIsAScriptErrorNamingTheRoutine)
{
    std::vector<std::string> quiet;
    for (const auto &e : List) {
        if (e.Kind != "routine" || kNotYet.count(e.Name))
            continue;
        R.Errors.clear();
        const bool ok = R.Run("x = " + Upper(e.Name) + "(" + Args(e.Args + 1) + ")");
        if (ok || R.LastError().find(e.Name) == std::string::npos)
            quiet.push_back(e.Name + ": " + R.LastError());
    }
    EXPECT_TRUE(quiet.empty()) << ::testing::PrintToString(quiet);
}

TEST_F(NameList, AWrongArgumentCountForAMethodIsAScriptErrorNamingIt)
{
    std::vector<std::string> quiet;
    int tried = 0;
    for (const auto &e : List) {
        if (e.Kind != "method" || kNotYet.count(e.Name))
            continue;
        auto maker = kMakers.find(e.Class);
        if (maker == kMakers.end())
            continue;
        ++tried;
        R.Errors.clear();
        const bool ok =
            R.Run("Set o = " + maker->second + "\nx = o." + Upper(e.Name) + "(" + Args(e.Args + 1) + ")");
        if (ok || R.LastError().find(e.Name) == std::string::npos)
            quiet.push_back(e.Class + "." + e.Name + ": " + R.LastError());
    }
    EXPECT_GE(tried, 370);
    EXPECT_TRUE(quiet.empty()) << ::testing::PrintToString(quiet);
}

TEST_F(NameList, ClassNamesAreGlobalsThatCreate)
{
    for (const auto &e : List) {
        if (e.Kind != "ctor")
            continue;
        R.Errors.clear();
        EXPECT_TRUE(R.Run("Set o = " + e.Class + ".Create\nIf isNull(o) Then Err.Raise 5")) << e.Class << ": " << R.LastError();
    }
}
