// PlanRoute as scripts call it: the stops as lines, an empty text without a
// path, and script errors for unknown systems and modes.
#include "model/VexaSector.h"
#include "scripting/RoutePlannerNames.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"

#include <gtest/gtest.h>

using namespace kalvion;

namespace {

class Lines final : public TScriptUI {
public:
    std::vector<std::string> Shown;
    int MsgBox(const std::string &p, int, const std::string &) override
    {
        Shown.push_back(p);
        return 1;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &d) override
    {
        return d;
    }
};

struct PlanRouteScript : ::testing::Test {
    TVexaSector Sector;
    TScriptRegistry Reg;
    Lines UI;
    std::vector<std::string> Errors;

    void SetUp() override
    {
        // In parsecs: A, B, C a parsec apart on a line, D far away.
        Sector.UnitStarMeasureRatio = 3.2616;
        const std::pair<const char *, double> systems[] = {{"A", 0}, {"B", 1}, {"C", 2}, {"D", 40}};
        for (const auto &[name, x] : systems) {
            auto b = TStellarBody::Create();
            b->Name = name;
            b->X = x * 3.2616;
            Sector.AddSystem(std::move(b));
        }
        auto route = TStellarRoute::Create();
        route->AddSystem(Sector.GetSystem(0));
        route->AddSystem(Sector.GetSystem(2));
        Sector.AddRoute(std::move(route));
        RegisterRoutePlannerNames(Reg, [this] { return &Sector; });
    }

    bool Run(const std::string &text)
    {
        TZentScripter host;
        host.Registry = &Reg;
        host.UI = &UI;
        host.OnShowMessage = [this](const std::string &, const std::string &t) { Errors.push_back(t); };
        host.ScriptText = text;
        return host.Run();
    }
};

TEST_F(PlanRouteScript, AnswersTheStops)
{
    ASSERT_TRUE(Run("MsgBox PlanRoute(\"a\", \"C\", 1.5, PLAN_ROUTE_FEWEST_JUMPS)\n"
                    "MsgBox UBound(Split(PlanRoute(\"A\", \"C\", 1, PLAN_ROUTE_SHORTEST), vbCrLf))\n"
                    "MsgBox PlanRoute(\"A\", \"C\", 0, PLAN_ROUTE_ALONG_ROUTES)\n"
                    "MsgBox \"[\" & PlanRoute(\"A\", \"D\", 1.5, 0) & \"]\"\n"))
        << (Errors.empty() ? "" : Errors[0]);
    EXPECT_EQ(UI.Shown, (std::vector<std::string>{"A\r\nB\r\nC", "2", "A\r\nC", "[]"}));
}

TEST_F(PlanRouteScript, RefusalsAreScriptErrors)
{
    EXPECT_FALSE(Run("x = PlanRoute(\"A\", \"Nowhere\", 1, 0)\n"));
    EXPECT_FALSE(Run("x = PlanRoute(\"A\", \"C\", 1, 7)\n"));
    EXPECT_FALSE(Run("x = PlanRoute(\"A\", \"C\", 0, PLAN_ROUTE_SHORTEST)\n"));
    EXPECT_EQ(Errors.size(), 3u);
    EXPECT_TRUE(UI.Shown.empty());
}

} // namespace
