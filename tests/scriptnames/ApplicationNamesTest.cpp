// The application routines and variables, and the host behind them.
#include "ScriptRun.h"

#include "model/StellarBody.h"

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::testing_names;

namespace {

// A host with a window: records what the window was asked to do.
class TWindowHost final : public TScriptAppHost {
public:
    TVexaSector Sector;
    std::vector<std::string> Calls;
    std::vector<int> Keys{27, 65};
    bool HasWindow() const override { return true; }
    TVexaSector *CurrentSector() override { return &Sector; }
    void EditBody(TStellarBody *b) override { Calls.push_back("edit " + b->Name); }
    void SetMainWindowSize(int w, int h) override { Calls.push_back("size " + std::to_string(w) + "x" + std::to_string(h)); }
    void RefreshScene() override { Calls.push_back("refresh"); }
    int GetKey() override
    {
        if (Keys.empty())
            return -1;
        const int k = Keys.front();
        Keys.erase(Keys.begin());
        return k;
    }
    std::string FileHandlerFileName() const override { return "/data/in.xyz"; }
};

} // namespace

TEST(ApplicationNames, VersionsFoldersAndTravelVariables)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
MsgBox AppVersionMajor() & "|" & AppVersionMinor() & "|" & AppVersionBuild()
MsgBox (Right(PluginDirectory(), 8) = "Plugins/") & "|" & (Left(PluginDirectory(), Len(VexaDirectory())) = VexaDirectory())
TravelCalcDistance = 4.5
TravelCalcDistanceUnit = "ly"
SetTravelCalcTime 1.5, "too far"
FilterTurningOn = True
MsgBox TravelCalcDistance & "|" & TravelCalcDistanceUnit & "|" & TravelCalcTravelTime & "|" & TravelCalcErrorMsg & "|" & FilterTurningOn
)")) << r.LastError();
    ASSERT_EQ(r.Printed.size(), 3u);
    EXPECT_EQ(r.Printed[0], "3.0|301|f");
    EXPECT_EQ(r.Printed[1], "True|True");
    EXPECT_EQ(r.Printed[2], "4.5|ly|129600|too far|True");
    // The program reads what the plug-in left.
    EXPECT_EQ(r.Host.Travel.TravelTime, 129600.0);
    EXPECT_EQ(r.Host.Travel.ErrorMsg, "too far");
    EXPECT_TRUE(r.Host.FilterTurningOn);
}

TEST(ApplicationNames, TheTravelBodiesAreCheckedReferences)
{
    TScriptRunner r;
    auto body = TStellarBody::Create();
    body->Name = "Start";
    r.Host.Travel.StartBody = decltype(r.Host.Travel.StartBody)(body.get());
    ASSERT_TRUE(r.Run("MsgBox TravelCalcStartBody.Name & \"|\" & isNull(TravelCalcEndBody)")) << r.LastError();
    EXPECT_EQ(r.Printed.back(), "Start|True");
    // The calculator's body goes while the variable still names it.
    body.reset();
    ASSERT_TRUE(r.Run("MsgBox isNull(TravelCalcStartBody)")) << r.LastError();
    EXPECT_EQ(r.Printed.back(), "True");
    // A body the script made and freed, and one freed when its run ended.
    ASSERT_TRUE(r.Run("Set b = CreateBody(\"\")\nSet TravelCalcEndBody = b\nFreeObject b\nMsgBox isNull(TravelCalcEndBody)"))
        << r.LastError();
    EXPECT_EQ(r.Printed.back(), "True");
    ASSERT_TRUE(r.Run("Set TravelCalcEndBody = CreateBody(\"\")")) << r.LastError();
    r.Host.ReleaseScriptObjects();
    EXPECT_FALSE(r.Run("x = TravelCalcEndBody.Name"));
    EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << r.LastError();
}

TEST(ApplicationNames, WithoutAWindowTheWindowServicesAreScriptErrors)
{
    TScriptRunner r;
    for (const char *call : {"SetMainWindowSize 800, 600", "ShowSystemDiagram CreateBody(\"\")",
                             "CreateSector().Print False, 1, 0, True, True, True, 1, 1, 0"}) {
        EXPECT_FALSE(r.Run(call)) << call;
        EXPECT_NE(r.LastError().find("needs the main window"), std::string::npos) << r.LastError();
    }
    // No sector: GetCurrentSector says so.
    EXPECT_FALSE(r.Run("Set s = GetCurrentSector()"));
    EXPECT_NE(r.LastError().find("GetCurrentSector"), std::string::npos);
    // Pause is bounded.
    EXPECT_FALSE(r.Run("Pause 100000000"));
    EXPECT_NE(r.LastError().find("Pause"), std::string::npos);
    ASSERT_TRUE(r.Run("Pause 1\nProcessMessages\nRefreshScene\nUpdateCaption\nMsgBox GetKey() & \"|\" & FileHandlerFileName()"))
        << r.LastError();
    EXPECT_EQ(r.Printed.back(), "-1|");
}

TEST(ApplicationNames, AWindowHostServesTheWindowRoutines)
{
    TScriptRegistry reg;
    TWindowHost host;
    RegisterKalvionScriptNames(reg, host);
    TZentScripter s;
    s.Registry = &reg;
    std::vector<std::string> errors;
    s.OnShowMessage = [&](const std::string &, const std::string &t) { errors.push_back(t); };
    s.ScriptText = "Set b = CreateBody(\"\")\nb.Name = \"Io\"\nGetCurrentSector().AddSystem b\nEditBody b\n"
                   "SetMainWindowSize 640, 480\nRefreshScene\n"
                   "k1 = GetKey() : k2 = GetKey() : k3 = GetKey()\nIf k1 <> 27 Or k2 <> 65 Or k3 <> -1 Then Err.Raise 5\n"
                   "If FileHandlerFileName() <> \"/data/in.xyz\" Then Err.Raise 6\n"
                   "GetCurrentSector().Name = \"Window\"";
    ASSERT_TRUE(s.Run()) << (errors.empty() ? "" : errors[0]);
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"edit Io", "size 640x480", "refresh"}));
    EXPECT_EQ(host.Sector.Name, "Window");
}

// The window keeps the body it shows after the run has ended: a body the
// script made and did not place would be freed then.
TEST(ApplicationNames, TheWindowShowsOnlyBodiesOfItsSector)
{
    TScriptRegistry reg;
    TWindowHost host;
    RegisterKalvionScriptNames(reg, host);
    TZentScripter s;
    s.Registry = &reg;
    std::vector<std::string> errors;
    s.OnShowMessage = [&](const std::string &, const std::string &t) { errors.push_back(t); };
    for (const char *call : {"EditBody CreateBody(\"\")", "ShowSystemDiagram CreateBody(\"\")",
                             "Set o = CreateSector()\no.AddSystem CreateBody(\"\")\nEditBody o.GetSystem(0)"}) {
        errors.clear();
        s.ScriptText = call;
        EXPECT_FALSE(s.Run()) << call;
        ASSERT_FALSE(errors.empty()) << call;
        EXPECT_NE(errors.back().find("not in the current sector"), std::string::npos) << errors.back();
    }
    EXPECT_TRUE(host.Calls.empty());
    // A child of one of its systems is the window's to show.
    s.ScriptText = "Set b = CreateBody(\"\")\nSet p = CreateBody(\"\")\np.Name = \"Moon\"\nb.AddChild p\n"
                   "GetCurrentSector().AddSystem b\nEditBody p";
    ASSERT_TRUE(s.Run()) << (errors.empty() ? "" : errors.back());
    EXPECT_EQ(host.Calls, std::vector<std::string>{"edit Moon"});
}

TEST(ApplicationNames, ASecondRegistrationLeavesTheFirstInPlace)
{
    TScriptRegistry reg;
    TWindowHost first, second;
    first.Sector.Name = "first";
    second.Sector.Name = "second";
    RegisterKalvionScriptNames(reg, first);
    RegisterKalvionScriptNames(reg, second);
    TZentScripter s;
    s.Registry = &reg;
    struct UI final : TScriptUI {
        std::string Shown;
        int MsgBox(const std::string &p, int, const std::string &) override
        {
            Shown = p;
            return 1;
        }
        std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &) override
        {
            return std::nullopt;
        }
    } ui;
    s.UI = &ui;
    s.ScriptText = "MsgBox GetCurrentSector().Name";
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(ui.Shown, "first");
}

TEST(ApplicationNames, ClearMapEmptiesTheSectorWithoutAsking)
{
    TScriptRunner r;
    TVexaSector sector;
    sector.FileName = "/tmp/x.VexaDB";
    r.Host.Sector = &sector;
    ASSERT_TRUE(r.Run("GetCurrentSector().AddSystem CreateBody(\"Star\")\nClearMap\nMsgBox GetCurrentSector().SystemCount"))
        << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "0");
    EXPECT_EQ(sector.FileName, "");
}
