// New bodies are written many rows to a statement with ids handed out by the
// writer: the stored rows must be those a row-by-row insert would give.
#include "FilesTestHelpers.h"

#include "files/SectorFile.h"
#include "files/NewBodyRows.h"
#include "model/StellarBody.h"

#include <limits>

namespace kalvion::test {
namespace {

class NewBodyRows : public TempDirTest {};

// A system whose planets outnumber one multi-row statement, so full
// statements and the rows left over are both written; every planet has more
// gases than one gas statement holds.
std::unique_ptr<TStellarBody> WideSystem(const std::string &name, int planets)
{
    auto root = MakeSystem(name, 0);
    for (int p = 0; p < planets; ++p) {
        auto planet = TStellarBody::Create();
        planet->Name = name + "-" + std::to_string(p);
        planet->Mass = 0.1 * p + 1.0 / 3.0;
        planet->Notes = p % 2 ? "" : "noted";
        if (p % 10 == 0)
            for (int g = 0; g < TNewBodyRows::GASES_PER_STATEMENT + 3; ++g)
                planet->SetAtmElement("Gas" + std::to_string(g), g / 7.0);
        auto moon = TStellarBody::Create();
        moon->Name = planet->Name + "m";
        // The same in the places of several statements, then another value:
        // a number left bound from an earlier statement must give way.
        moon->Radius = p < 40 ? 1.5 : 2.5;
        moon->Visible = p % 3 != 0;
        planet->AddChild(std::move(moon));
        root->AddChild(std::move(planet));
    }
    return root;
}

TEST_F(NewBodyRows, BatchedRowsKeepIdsParentsSystemsAndValues)
{
    const std::string file = PathOf("wide.VexaDB");
    const int planets = TNewBodyRows::BODIES_PER_STATEMENT + 5;
    {
        TVexaSector s;
        s.AddSystem(WideSystem("A", planets));
        s.AddSystem(WideSystem("B", 3));
        ASSERT_TRUE(SaveToFile(s, file, false));
    }
    // Roots first (1 and 2), then each tree in order: A's planet p is 3 + 2p,
    // its moon the next id.
    EXPECT_EQ(QueryInt(file, "select count(*) from bodies"), 2 + 2 * (planets + 3));
    EXPECT_EQ(QueryText(file, "select group_concat(name, ',') from (select name from bodies where id <= 2 order by "
                              "id)"),
              "A,B");
    EXPECT_EQ(QueryInt(file, "select count(*) from bodies where parent_id = 0 and system_id <> id"), 0);
    EXPECT_EQ(QueryText(file, "select name || ':' || parent_id || ':' || system_id from bodies where id = 3"),
              "A-0:1:1");
    EXPECT_EQ(QueryText(file, "select name || ':' || parent_id || ':' || system_id from bodies where id = 4"),
              "A-0m:3:1");
    const int lastOfA = 2 + 2 * planets;
    EXPECT_EQ(QueryText(file, "select name || ':' || parent_id from bodies where id = " + std::to_string(lastOfA)),
              "A-" + std::to_string(planets - 1) + "m:" + std::to_string(lastOfA - 1));
    EXPECT_EQ(QueryInt(file, "select count(*) from bodies where system_id = 2"), 1 + 2 * 3);
    EXPECT_EQ(QueryInt(file, "select count(*) from atm_components"),
              ((planets + 9) / 10 + 1) * (TNewBodyRows::GASES_PER_STATEMENT + 3));

    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, file));
    ASSERT_EQ(back.Systems.size(), 2u);
    TStellarBody &a = *back.Systems[0];
    back.DynaLoad(&a);
    ASSERT_EQ(a.Children.size(), static_cast<std::size_t>(planets));
    for (int p = 0; p < planets; ++p) {
        const TStellarBody &planet = *a.Children[static_cast<std::size_t>(p)];
        EXPECT_EQ(planet.Name, "A-" + std::to_string(p));
        EXPECT_EQ(planet.Mass, 0.1 * p + 1.0 / 3.0);
        EXPECT_EQ(planet.Notes, p % 2 ? "" : "noted");
        ASSERT_EQ(planet.Children.size(), 1u);
        EXPECT_EQ(planet.Children[0]->Name, planet.Name + "m");
        EXPECT_EQ(planet.Children[0]->Radius, p < 40 ? 1.5 : 2.5) << p;
        EXPECT_EQ(planet.Children[0]->Visible, p % 3 != 0) << p;
        if (p % 10 == 0) {
            ASSERT_EQ(planet.AtmElements.size(), TNewBodyRows::GASES_PER_STATEMENT + 3u);
            EXPECT_EQ(planet.AtmElements[TNewBodyRows::GASES_PER_STATEMENT].Gas,
                      "GAS" + std::to_string(TNewBodyRows::GASES_PER_STATEMENT)); // gas names are kept in capitals
        } else {
            EXPECT_TRUE(planet.AtmElements.empty());
        }
    }
}

TEST_F(NewBodyRows, IdsAtTheTopOfTheRangeAreLeftToTheDatabase)
{
    // A damaged or foreign file whose highest id leaves no room to count on:
    // the new rows still go in, each root its own system.
    const std::string file = PathOf("top.VexaDB");
    {
        TVexaSector s;
        s.AddSystem(MakeSystem("First", 1));
        ASSERT_TRUE(SaveToFile(s, file, false));
    }
    const std::int64_t top = std::numeric_limits<std::int64_t>::max();
    ASSERT_EQ(QueryInt(file, "select id from bodies where name = 'First'"), 1);
    ExecSql(file, "update bodies set id = " + std::to_string(top) + ", system_id = " + std::to_string(top) +
                      " where id = 1");
    ExecSql(file, "update bodies set parent_id = " + std::to_string(top) + " where parent_id = 1");
    ExecSql(file, "update bodies set system_id = " + std::to_string(top) + " where system_id = 1");
    {
        TVexaSector s;
        ASSERT_TRUE(LoadFromFile(s, file));
        s.AddSystem(MakeSystem("Second", 2));
        std::string error;
        ASSERT_TRUE(SaveToFile(s, file, false, &error)) << error;
    }
    EXPECT_EQ(QueryInt(file, "select count(*) from bodies where parent_id = 0 and system_id <> id"), 0);
    EXPECT_EQ(QueryInt(file, "select count(*) from bodies b join bodies r on r.id = b.system_id where r.name = "
                             "'Second'"),
              1 + 2 * 2);
    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, file));
    ASSERT_EQ(back.Systems.size(), 2u);
    for (auto &root : back.Systems) {
        back.DynaLoad(root.get());
        EXPECT_EQ(CountBodies(*root), root->Name == "First" ? 1 + 2 * 1 : 1 + 2 * 2) << root->Name;
    }
}

} // namespace
} // namespace kalvion::test
