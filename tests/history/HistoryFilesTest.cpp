// Undo and redo as a user relies on them: every kind of change, undone and
// saved, leaves the file as it was saved before the change, row for row;
// redone and saved, as it was saved after.  A seeded walk of changes and
// saves goes all the way back and forth again.
#include "files/SectorFile.h"
#include "files/SurfaceMapStore.h"
#include "model/StellarRoute.h"
#include "model/Subsector.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include "../support/FileRows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace kalvion {
namespace {

namespace fs = std::filesystem;

using TRng = std::mt19937;

int Pick(TRng &rng, int n) { return n <= 0 ? -1 : std::uniform_int_distribution<int>(0, n - 1)(rng); }

std::unique_ptr<TStellarBody> MakeBody(TRng &rng, const std::string &name, int depth)
{
    auto b = TStellarBody::Create();
    b->Name = name;
    b->TypeID = depth == 0 ? BODY_TYPE_STAR : BODY_TYPE_TERRESTRIAL;
    b->Radius = 1000 + Pick(rng, 5000);
    b->Population = Pick(rng, 3) * 1e6;
    b->Notes = "notes of " + name;
    if (Pick(rng, 2) == 0)
        b->SetField("ruler", "House " + name);
    if (depth > 0)
        b->SetAtmElement("N2", 70 + Pick(rng, 10));
    if (depth < 2)
        for (int i = 0, n = 1 + Pick(rng, 3); i < n; ++i)
            b->AddChild(MakeBody(rng, name + " " + std::to_string(i + 1), depth + 1));
    return b;
}

TStellarBody *RandomRoot(TVexaSector &s, TRng &rng) { return s.GetSystem(Pick(rng, s.SystemCount())); }

TStellarBody *RandomChild(TVexaSector &s, TRng &rng)
{
    for (int tries = 0; tries < 10; ++tries) {
        TStellarBody *root = RandomRoot(s, rng);
        if (!root)
            return nullptr;
        s.DynaLoad(root);
        if (root->ChildrenCount() > 0)
            return root->GetChild(Pick(rng, root->ChildrenCount()));
    }
    return nullptr;
}

TByteStream Bytes(const std::string &text) { return TByteStream(text.begin(), text.end()); }

void SelectOnly(TVexaSector &s, TStellarBody *root)
{
    s.SelectAll(false);
    if (root)
        s.SelectBody(root);
}

// The rows one dump has and the other lacks, a few of each.
std::string RowDifference(const std::string &actual, const std::string &expected)
{
    const auto lines = [](const std::string &text) {
        std::multiset<std::string> set;
        std::string table;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = text.find('\n', at);
            std::string line = text.substr(at, end - at);
            at = end == std::string::npos ? text.size() : end + 1;
            if (!line.empty() && line.front() == '[')
                table = line;
            else
                set.insert(table + " " + line);
        }
        return set;
    };
    const auto a = lines(actual), e = lines(expected);
    std::string out;
    int shown = 0;
    for (const auto &l : e)
        if (!a.count(l) && shown++ < 6)
            out += "\n  missing: " + l;
    shown = 0;
    for (const auto &l : a)
        if (!e.count(l) && shown++ < 6)
            out += "\n  extra:   " + l;
    return out;
}

#define EXPECT_SAME_ROWS(actual, expected)                                                                             \
    do {                                                                                                               \
        const std::string a_ = (actual), e_ = (expected);                                                              \
        EXPECT_TRUE(a_ == e_) << RowDifference(a_, e_);                                                                \
    } while (false)

struct TKind {
    const char *Name;
    std::function<void(TVexaSector &, TRng &)> Do;
};

// The changes a user makes, through the sector's own operations, each as
// its command would run it.
const std::vector<TKind> &Kinds()
{
    static const std::vector<TKind> kinds = {
        {"move", [](TVexaSector &s, TRng &rng) {
             SelectOnly(s, RandomRoot(s, rng));
             s.MoveSelectedAxis(1 + Pick(rng, 3), 0.5);
             s.MoveSelected(0.1, 0, 0);
         }},
        {"political", [](TVexaSector &s, TRng &rng) {
             s.SelectAll(false);
             for (int i = 0; i < 3; ++i)
                 if (TStellarBody *r = RandomRoot(s, rng))
                     s.SelectBody(r);
             s.SetPoliticalSelected("League " + std::to_string(Pick(rng, 100)));
         }},
        {"delete systems", [](TVexaSector &s, TRng &rng) {
             SelectOnly(s, RandomRoot(s, rng));
             s.DeleteSelectedSystems();
         }},
        {"delete body", [](TVexaSector &s, TRng &rng) {
             if (TStellarBody *c = RandomChild(s, rng))
                 s.DeleteChildBody(c->Parent, c);
         }},
        {"drop body", [](TVexaSector &s, TRng &rng) {
             TStellarBody *c = RandomChild(s, rng);
             TStellarBody *target = RandomRoot(s, rng);
             if (!c || !target || c->GetRootBody() == target)
                 return;
             s.DynaLoad(target);
             s.ReassignChild(c, target);
         }},
        {"drop system", [](TVexaSector &s, TRng &rng) {
             TStellarBody *a = RandomRoot(s, rng), *b = RandomRoot(s, rng);
             if (!a || !b || a == b)
                 return;
             s.DynaLoad(b);
             s.ReassignChild(a, b);
         }},
        {"convert to root", [](TVexaSector &s, TRng &rng) {
             if (TStellarBody *c = RandomChild(s, rng))
                 s.ReassignChild(c, nullptr);
         }},
        {"new system", [](TVexaSector &s, TRng &rng) {
             TStellarBody *root = s.NewSystem(BODY_TYPE_STAR);
             root->Name = "Fresh " + std::to_string(Pick(rng, 1000));
             root->AddChild(MakeBody(rng, root->Name + " b", 1));
         }},
        {"edit body", [](TVexaSector &s, TRng &rng) {
             TStellarBody *b = Pick(rng, 2) ? RandomChild(s, rng) : RandomRoot(s, rng);
             if (!b)
                 return;
             s.History().TouchSystem(b);
             b->Name += "'";
             b->Temp = 200 + Pick(rng, 100);
             b->SetField("edited", "yes");
             b->ResetAtmElements();
             b->ModifySystem();
         }},
        {"create route", [](TVexaSector &s, TRng &rng) {
             TStellarBody *a = RandomRoot(s, rng), *b = RandomRoot(s, rng);
             if (a != b)
                 s.CreateRouteSegment(a, b, "Trade", "Run " + std::to_string(Pick(rng, 100)), 0xFF, 0, 1);
         }},
        {"delete route", [](TVexaSector &s, TRng &rng) {
             if (s.RouteCount() > 0)
                 s.DeleteRoute(Pick(rng, s.RouteCount()));
         }},
        {"subsectors", [](TVexaSector &s, TRng &rng) {
             if (s.SubsectorCount() > 0 && Pick(rng, 2)) {
                 s.ChangeSubsectorName(s.GetSubsector(0), "Renamed " + std::to_string(Pick(rng, 100)));
                 if (s.SubsectorCount() > 1)
                     s.DeleteSubsector(s.SubsectorCount() - 1);
             } else {
                 auto sub = TVexaSubsector::Create();
                 sub->Name = "Sub " + std::to_string(Pick(rng, 100));
                 sub->SizeX = sub->SizeY = sub->SizeZ = 5;
                 sub->Visible = true; // as the editor makes them
                 s.AddSubsector(std::move(sub));
             }
         }},
        {"views", [](TVexaSector &s, TRng &rng) {
             if (s.Views.size() > 1 && Pick(rng, 2))
                 s.DeleteView(s.Views.front()->Name);
             else
                 s.AddCurrentViewAsView("View " + std::to_string(Pick(rng, 100)));
         }},
        {"settings", [](TVexaSector &s, TRng &rng) {
             s.History().TouchPart(TSectorPart::Settings);
             s.History().TouchPart(TSectorPart::Date);
             s.Time += 10 + Pick(rng, 100);
             s.GridStyle = GRID_STYLE_SPHERE;
             s.Notes = "changed";
         }},
        // Surface maps are written straight into the file by their commands.
        {"surface map", [](TVexaSector &s, TRng &rng) {
             TStellarBody *b = Pick(rng, 3) == 0 ? RandomRoot(s, rng) : RandomChild(s, rng);
             if (!b || b->RecordID <= 0)
                 return;
             s.History().TouchSurfaceMap(*b);
             if (HasSurfaceMap(s.FileName, b->RecordID) && Pick(rng, 2) == 0)
                 DeleteSurfaceMap(s.FileName, b->RecordID);
             else
                 StoreSurfaceMap(s.FileName, Bytes("terrain " + std::to_string(Pick(rng, 1000))),
                                 Bytes("picture " + std::to_string(Pick(rng, 1000))), b->RecordID);
         }},
        {"images", [](TVexaSector &s, TRng &rng) {
             auto &images = s.ImageResources;
             switch (Pick(rng, 3)) {
             case 0:
                 images.AddResourceStream("added " + std::to_string(Pick(rng, 1000)) + ".png",
                                          Bytes("new picture"), false);
                 break;
             case 1:
                 images.AddResourceStream("blazon-a.png", Bytes("repainted " + std::to_string(Pick(rng, 100))),
                                          true);
                 break;
             default:
                 images.DeleteByName(Pick(rng, 2) ? "blazon-a.png" : "blazon-b.png");
                 if (Pick(rng, 2))
                     images.AddResourceStream("blazon-b.png", Bytes("a second b"), false);
             }
         }},
        {"script", [](TVexaSector &s, TRng &rng) {
             // A script may touch anything through the object model.
             s.History().TouchEverything();
             if (TStellarBody *r = RandomRoot(s, rng)) {
                 r->X += 1;
                 r->ModifySystem();
             }
             if (TStellarBody *c = RandomChild(s, rng)) {
                 c->Notes = "scripted";
                 c->ModifySystem();
             }
             if (TStellarBody *r = RandomRoot(s, rng))
                 s.DeleteRootBody(r);
             s.NewSystem(BODY_TYPE_STAR)->Name = "Scripted";
         }},
    };
    return kinds;
}

class SectorHistoryFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDir = fs::temp_directory_path() / ("kalvion-history-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(FDir);
        fs::create_directories(FDir);
        FFile = (FDir / "sector.VexaDB").string();
    }
    void TearDown() override { fs::remove_all(FDir); }

    // A saved sector of a dozen systems with routes, a subsector and a
    // view, opened again so that its systems are not loaded.
    void MakeSector(TVexaSector &s, unsigned seed)
    {
        TRng rng(seed);
        {
            TVexaSector made;
            for (int i = 0; i < 12; ++i) {
                auto root = MakeBody(rng, "Sys" + std::to_string(i), 0);
                root->X = i;
                root->Y = Pick(rng, 10);
                made.AddSystem(std::move(root));
            }
            for (int i = 0; i + 1 < 6; ++i)
                made.CreateRouteSegment(made.GetSystem(i), made.GetSystem(i + 1), "Trade", "Lane", 0xFF00, 0, 1);
            auto sub = TVexaSubsector::Create();
            sub->Name = "Core";
            made.AddSubsector(std::move(sub));
            made.AddCurrentViewAsView("Home");
            made.ImageResources.AddResourceStream("blazon-a.png", Bytes("blazon a"), false);
            made.ImageResources.AddResourceStream("blazon-b.png", Bytes("blazon b"), false);
            std::string error;
            ASSERT_TRUE(SaveToFile(made, FFile, false, &error)) << error;
        }
        ASSERT_TRUE(LoadFromFile(s, FFile));
        // Some systems carry stored surface maps, on their worlds and their
        // stars.
        for (int i = 0; i < 12; i += 3) {
            TStellarBody *root = s.GetSystem(i);
            s.DynaLoad(root);
            TStellarBody *world = root->ChildrenCount() > 0 ? root->GetChild(0) : root;
            for (TStellarBody *b : {root, world})
                ASSERT_TRUE(StoreSurfaceMap(FFile, Bytes("terrain of " + b->Name), Bytes("map of " + b->Name),
                                            b->RecordID));
        }
        // Saved once as opened: the file then carries the sector's name.
        ASSERT_TRUE(SaveToFile(s, FFile, false));
    }

    std::string Save(TVexaSector &s)
    {
        std::string error;
        EXPECT_TRUE(SaveToFile(s, FFile, false, &error)) << error;
        EXPECT_FALSE(s.Modified);
        return test::SectorFileRows(FFile);
    }

    fs::path FDir;
    std::string FFile;
};

TEST_F(SectorHistoryFiles, EveryKindOfChangeUndoesAndRedoesRowForRow)
{
    for (const TKind &kind : Kinds()) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(std::string(kind.Name) + ", seed " + std::to_string(seed));
            TVexaSector s;
            MakeSector(s, seed);
            const std::string before = test::SectorFileRows(FFile);
            TRng rng(seed * 7919);
            {
                TEditStep step(s.History(), kind.Name);
                kind.Do(s, rng);
            }
            s.Modified = true;
            if (!s.History().CanUndo())
                continue; // nothing to change in this sector (e.g. no route left)
            EXPECT_EQ(s.History().UndoName(), kind.Name);
            const std::string after = Save(s);
            ASSERT_TRUE(s.History().Undo()) << s.History().LastError;
            EXPECT_TRUE(s.Modified) << "the saved state is the one after the change";
            EXPECT_SAME_ROWS(Save(s), before);
            ASSERT_TRUE(s.History().Redo()) << s.History().LastError;
            EXPECT_SAME_ROWS(Save(s), after);
            // And back once more without a save in between: the bodies the
            // undo takes away still wait for the next save.
            ASSERT_TRUE(s.History().Undo()) << s.History().LastError;
            ASSERT_TRUE(s.History().Redo()) << s.History().LastError;
            ASSERT_TRUE(s.History().Undo()) << s.History().LastError;
            EXPECT_SAME_ROWS(Save(s), before);

            // Undone at once, before any save: the originals of what the
            // step took away still wait for deletion and come back.
            TVexaSector again;
            MakeSector(again, seed);
            const std::string start = test::SectorFileRows(FFile);
            TRng same(seed * 7919);
            {
                TEditStep step(again.History(), kind.Name);
                kind.Do(again, same);
            }
            ASSERT_TRUE(again.History().Undo()) << again.History().LastError;
            EXPECT_SAME_ROWS(Save(again), start);
        }
    }
}

// Steps chosen at random with saves between; undo all, then redo all.  A
// failing seed is replayed with the steps it prints.
TEST_F(SectorHistoryFiles, RandomWalkUndoesToTheStartAndRedoesToTheEnd)
{
    const auto &kinds = Kinds();
    for (unsigned seed = 1; seed <= 12; ++seed) {
        TVexaSector s;
        MakeSector(s, seed);
        const std::string start = test::SectorFileRows(FFile);
        TRng rng(seed);
        std::string trace = "seed " + std::to_string(seed) + ":";
        std::vector<std::string> saved; // the rows saved after each step, "" where none
        int cleanAt = 0;
        for (int i = 0; i < 25; ++i) {
            const TKind &kind = kinds[static_cast<std::size_t>(Pick(rng, static_cast<int>(kinds.size())))];
            const int count = s.History().UndoCount();
            {
                TEditStep step(s.History(), kind.Name);
                kind.Do(s, rng);
            }
            if (s.History().UndoCount() == count)
                continue;
            s.Modified = true;
            trace += std::string(" ") + kind.Name;
            saved.emplace_back();
            if (Pick(rng, 3) == 0) {
                trace += " (saved)";
                saved.back() = Save(s);
                cleanAt = s.History().UndoCount();
            }
        }
        SCOPED_TRACE(trace);
        const int steps = s.History().UndoCount();
        const std::string end = Save(s);
        cleanAt = steps;
        for (int k = steps; k-- > 0;) {
            ASSERT_TRUE(s.History().Undo()) << "undoing step " << k + 1 << ": " << s.History().LastError;
            EXPECT_EQ(s.Modified, k != cleanAt);
            if (Pick(rng, 4) == 0) {
                Save(s);
                cleanAt = k;
            }
        }
        EXPECT_SAME_ROWS(Save(s), start);
        for (int k = 0; k < steps; ++k)
            ASSERT_TRUE(s.History().Redo()) << "redoing step " << k + 1 << ": " << s.History().LastError;
        EXPECT_SAME_ROWS(Save(s), end);
    }
}

TEST_F(SectorHistoryFiles, TheCleanPointFollowsSavesAndLeavesWithNewSteps)
{
    TVexaSector s;
    MakeSector(s, 5);
    TRng rng(5);
    const auto step = [&](const char *name) {
        TEditStep st(s.History(), name);
        s.History().TouchPart(TSectorPart::Settings);
        s.Notes += "+";
        s.Modified = true;
    };
    step("one");
    step("two");
    Save(s);
    ASSERT_TRUE(s.History().Undo());
    EXPECT_TRUE(s.Modified);
    ASSERT_TRUE(s.History().Redo());
    EXPECT_FALSE(s.Modified) << "back at the saved state";
    ASSERT_TRUE(s.History().Undo());
    ASSERT_TRUE(s.History().Undo());
    step("three"); // the saved state is out of reach now
    EXPECT_FALSE(s.History().CanRedo());
    ASSERT_TRUE(s.History().Undo());
    EXPECT_TRUE(s.Modified);

    // The oldest steps go past the limit, and the saved state with them.
    s.History().SetLimit(2);
    Save(s);
    step("a");
    step("b");
    step("c");
    EXPECT_EQ(s.History().UndoCount(), 2);
    EXPECT_EQ(s.History().UndoName(), "c");
    ASSERT_TRUE(s.History().Undo());
    ASSERT_TRUE(s.History().Undo());
    EXPECT_FALSE(s.History().CanUndo());
    EXPECT_TRUE(s.Modified);
}

TEST_F(SectorHistoryFiles, AChangeBehindTheHistoryClearsItAndLeavesTheSectorAlone)
{
    TVexaSector s;
    MakeSector(s, 9);
    TStellarBody *root = s.GetSystem(3);
    {
        TEditStep step(s.History(), "Move System");
        SelectOnly(s, root);
        s.MoveSelected(1, 0, 0);
    }
    {
        TEditStep step(s.History(), "Routes");
        s.DeleteRoute(0);
    }
    root->X = 99; // not through a step
    const int routes = s.RouteCount();
    ASSERT_TRUE(s.History().Undo()) << "the routes still match";
    EXPECT_EQ(s.RouteCount(), routes + 1);
    EXPECT_FALSE(s.History().Undo());
    EXPECT_FALSE(s.History().LastError.empty());
    EXPECT_FALSE(s.History().CanUndo());
    EXPECT_FALSE(s.History().CanRedo());
    EXPECT_EQ(s.GetSystem(3)->X, 99);
}

TEST_F(SectorHistoryFiles, TheRunningOrreryAndTheGridToggleLeaveTheHistoryWhole)
{
    TVexaSector s;
    MakeSector(s, 13);
    {
        TEditStep step(s.History(), "Set Sector Date");
        s.History().TouchPart(TSectorPart::Date);
        s.Time = 1000;
    }
    {
        TEditStep step(s.History(), "Sector Properties");
        s.History().TouchPart(TSectorPart::Settings);
        s.Notes = "edited";
    }
    s.Time += 3.5; // the orrery runs
    s.GridsEnabled = !s.GridsEnabled;
    ASSERT_TRUE(s.History().Undo()) << s.History().LastError;
    EXPECT_EQ(s.Notes, "");
    ASSERT_TRUE(s.History().Undo()) << s.History().LastError;
    EXPECT_EQ(s.Time, 0);
    ASSERT_TRUE(s.History().Redo());
    EXPECT_EQ(s.Time, 1000);
}

TEST_F(SectorHistoryFiles, UndoKeepsUnloadedSystemsUnloadedAndBodiesTheirIdentity)
{
    TVexaSector s;
    MakeSector(s, 11);
    TStellarBody *kept = s.GetSystem(2);
    ASSERT_FALSE(kept->Loaded);
    s.DynaLoad(s.GetSystem(4));
    TStellarBody *child = s.GetSystem(4)->GetChild(0);
    {
        TEditStep step(s.History(), "Political Affiliations");
        s.SelectAll(true);
        s.SetPoliticalSelected("Compact");
        s.History().TouchSystem(child);
        child->Name = "Renamed";
    }
    ASSERT_TRUE(s.History().Undo());
    EXPECT_EQ(s.GetSystem(2), kept);
    EXPECT_FALSE(kept->Loaded) << "a mass edit keeps only the roots of systems not loaded";
    EXPECT_EQ(s.GetSystem(4)->GetChild(0), child);
    EXPECT_NE(child->Name, "Renamed");
    EXPECT_EQ(std::string(kept->PoliticalAffiliation.view()), "");
}

} // namespace
} // namespace kalvion
