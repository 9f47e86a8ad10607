// The model manager: one import per name, search folders, the model file of
// a body and its type's default model, and damaged files that end as -1.
#include "ModelFiles.h"

#include "base/Paths.h"
#include "model/BodyTypes.h"
#include "model/ModelFiles.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/models/ModelManager.h"

#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

using namespace kalvion;
using kalvion::test::ScratchModels;
namespace fs = std::filesystem;

namespace {

std::unique_ptr<TStellarBody> Body(int type, const std::string &modelFile = {})
{
    auto body = TStellarBody::Create();
    body->TypeID = type;
    body->ModelFile = modelFile;
    return body;
}

} // namespace

TEST(ModelManager, OneModelFileLoadsOnceForEveryBody)
{
    ScratchModels dir("once");
    dir.Write("Ship/cube.obj/cube.obj", kalvion::test::CubeObj);
    T3dModelManager manager;
    manager.AddSearchFolder(dir.Root.string());  // without the trailing "/"
    ASSERT_EQ(manager.SearchFolders().size(), 1u);
    EXPECT_EQ(manager.SearchFolders()[0], dir.Folder());

    auto a = Body(BODY_TYPE_SHIP, "cube.obj"), b = Body(BODY_TYPE_SHIP, "cube.obj");
    const int ia = manager.LoadModel(*a);
    ASSERT_GE(ia, 0);
    EXPECT_EQ(manager.LoadModel(*b), ia);
    EXPECT_EQ(manager.ModelCount(), 1);
    EXPECT_EQ(manager.ImportCount(), 1);
    EXPECT_EQ(manager.IndexOfModel("Ship/cube.obj/cube.obj"), ia);
    // Loaded through a body, the model is fitted to the 100-unit box.
    EXPECT_FLOAT_EQ(manager.ModelAt(ia)->FitScale(), 50);
    EXPECT_EQ(manager.ModelAt(ia)->FileName(), dir.Folder() + "Ship/cube.obj/cube.obj");
    EXPECT_EQ(manager.ModelAt(-1), nullptr);
    EXPECT_EQ(manager.ModelAt(1), nullptr);
}

TEST(ModelManager, TwoSpellingsOfOneFileLoadTwice)
{
    ScratchModels dir("spell");
    const std::string full = dir.Write("Ship/cube.obj/cube.obj", kalvion::test::CubeObj);
    T3dModelManager manager;
    manager.AddSearchFolder(dir.Folder());
    const int byFolder = manager.LoadModel("Ship/cube.obj/cube.obj");
    const int byPath = manager.LoadModel(full);
    ASSERT_GE(byFolder, 0);
    ASSERT_GE(byPath, 0);
    EXPECT_NE(byFolder, byPath);
    EXPECT_EQ(manager.ImportCount(), 2);
    // Names are compared exactly: a different case is another name, and on
    // this file system another (missing) file.
    EXPECT_EQ(manager.IndexOfModel("ship/cube.obj/cube.obj"), -1);
    EXPECT_EQ(manager.LoadModel("ship/cube.obj/cube.obj"), -1);
}

TEST(ModelManager, SearchFoldersAreTriedInOrderAndFailuresAreNotRemembered)
{
    ScratchModels first("first"), second("second");
    T3dModelManager manager;
    manager.AddSearchFolder(first.Folder());
    manager.AddSearchFolder(second.Folder());
    second.Write("Marker/m.obj/m.obj", kalvion::test::SquareObj);
    const int index = manager.LoadModel("Marker/m.obj/m.obj");
    ASSERT_GE(index, 0);
    EXPECT_EQ(manager.ModelAt(index)->FileName(), second.Folder() + "Marker/m.obj/m.obj");

    EXPECT_EQ(manager.LoadModel("Marker/late.obj/late.obj"), -1);
    EXPECT_EQ(manager.LoadModel(""), -1);
    first.Write("Marker/late.obj/late.obj", kalvion::test::CubeObj);
    EXPECT_GE(manager.LoadModel("Marker/late.obj/late.obj"), 0);
}

TEST(ModelManager, DamagedModelsLeaveNothingBehind)
{
    ScratchModels dir("bad");
    dir.Write("Space Station/truncated.ply/truncated.ply", kalvion::test::TruncatedPly());
    dir.Write("Space Station/range.ply/range.ply", kalvion::test::OutOfRangePly);
    dir.Write("Space Station/empty.obj/empty.obj", kalvion::test::EmptyObj);
    T3dModelManager manager;
    manager.AddSearchFolder(dir.Folder());
    for (const char *file : {"truncated.ply", "range.ply", "empty.obj"}) {
        auto body = Body(BODY_TYPE_STATION, file);
        EXPECT_EQ(manager.LoadModel(*body), -1) << file;
        manager.DrawModel(-1);  // what a view would do with it: nothing
    }
    EXPECT_EQ(manager.ModelCount(), 0);
    EXPECT_EQ(manager.ImportCount(), 3);
}

// A station whose model file is small but places one mesh so often that the
// picture would need millions of vertices: the model fails before anything
// is built for it, the manager says why (once), and a modest use of the same
// mesh still loads.
TEST(ModelManager, AModelPlacingAMeshTooOftenFailsAndIsReportedOnce)
{
    ScratchModels dir("swarm");
    dir.Write("Space Station/swarm.dae/swarm.dae", kalvion::test::InstancedCollada(3000, 1700));
    dir.Write("Space Station/few.dae/few.dae", kalvion::test::InstancedCollada(3000, 10));
    T3dModelManager manager;
    manager.AddSearchFolder(dir.Folder());
    std::vector<std::pair<std::string, std::string>> reports;
    manager.OnModelFailed = [&reports](const std::string &name, const std::string &reason) {
        reports.emplace_back(name, reason);
    };
    auto swarm = Body(BODY_TYPE_STATION, "swarm.dae");
    EXPECT_EQ(manager.LoadModel(*swarm), -1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, "Space Station/swarm.dae/swarm.dae");
    EXPECT_NE(reports[0].second.find("too large to draw"), std::string::npos) << reports[0].second;
    EXPECT_NE(ModelFailureText(reports[0].first, reports[0].second).find("\"Space Station/swarm.dae/swarm.dae\""),
              std::string::npos);
    // The views ask again when a body's render info is rebuilt.
    EXPECT_EQ(manager.LoadModel(*swarm), -1);
    EXPECT_EQ(reports.size(), 1u);

    auto few = Body(BODY_TYPE_STATION, "few.dae");
    const int index = manager.LoadModel(*few);
    ASSERT_GE(index, 0);
    EXPECT_EQ(manager.ModelAt(index)->BoundsValid(), true);
    EXPECT_EQ(reports.size(), 1u);

    // A missing file is said too; a body without any model is no failure.
    auto lost = Body(BODY_TYPE_STATION, "lost.obj");
    EXPECT_EQ(manager.LoadModel(*lost), -1);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[1].second.find("does not exist"), std::string::npos);
    auto star = Body(BODY_TYPE_STAR);
    EXPECT_EQ(manager.LoadModel(*star), -1);
    EXPECT_EQ(reports.size(), 2u);
}

// A file lying in the folder the program was started from does not stand in
// for the program's own model of that name.
TEST(ModelManager, TheModelsFolderComesBeforeTheWorkingFolder)
{
    ScratchModels models("program"), work("work");
    models.Write("Ship/hull.obj/hull.obj", kalvion::test::CubeObj);
    work.Write("Ship/hull.obj/hull.obj", kalvion::test::SquareObj);
    work.Write("Ship/only.obj/only.obj", kalvion::test::SquareObj);
    const fs::path was = fs::current_path();
    fs::current_path(work.Root);
    T3dModelManager manager;
    manager.AddSearchFolder(models.Folder());
    const int hull = manager.LoadModel("Ship/hull.obj/hull.obj");
    const int only = manager.LoadModel("Ship/only.obj/only.obj");
    fs::current_path(was);
    ASSERT_GE(hull, 0);
    EXPECT_EQ(manager.ModelAt(hull)->FileName(), models.Folder() + "Ship/hull.obj/hull.obj");
    // What only the working folder has is still found there.
    ASSERT_GE(only, 0);
    EXPECT_EQ(manager.ModelAt(only)->FileName(), "Ship/only.obj/only.obj");
}

TEST(ModelFiles, ABodysOwnModelLivesInAFolderNamedLikeIt)
{
    auto station = Body(BODY_TYPE_STATION, "dock.obj");
    EXPECT_EQ(ModelFileNameIn(*station, "/nowhere/"), "Space Station/dock.obj/dock.obj");
    // Names written on Windows.
    auto ship = Body(BODY_TYPE_SHIP, "old\\frigate.3ds");
    EXPECT_EQ(ModelFileNameIn(*ship, "/nowhere/"), "Ship/old/frigate.3ds/old/frigate.3ds");
    auto star = Body(BODY_TYPE_STAR);
    EXPECT_EQ(ModelFileNameIn(*star, "/nowhere/"), "");
}

TEST(ModelFiles, TheDefaultModelPrefersObjAndNeedsItsOwnFolder)
{
    ScratchModels dir("defaults");
    auto belt = Body(BODY_TYPE_ASTEROIDBELT);
    const std::string type = NameFromBodyType(BODY_TYPE_ASTEROIDBELT);
    // A default lying loose in the type folder does not count.
    dir.Write(type + "/default.dae", "<COLLADA/>");
    EXPECT_EQ(DefaultModelIn(*belt, dir.Folder()), "");
    dir.Write(type + "/default.x/default.x", "xof 0303txt 0032\n");
    EXPECT_EQ(DefaultModelIn(*belt, dir.Folder()), type + "/default.x/default.x");
    dir.Write(type + "/default.3ds/default.3ds", "MM");
    EXPECT_EQ(DefaultModelIn(*belt, dir.Folder()), type + "/default.3ds/default.3ds");
    dir.Write(type + "/default.obj/default.obj", kalvion::test::CubeObj);
    EXPECT_EQ(DefaultModelIn(*belt, dir.Folder()), type + "/default.obj/default.obj");

    T3dModelManager manager;
    manager.AddSearchFolder(dir.Folder());
    EXPECT_EQ(manager.ModelNameFor(*belt), type + "/default.obj/default.obj");
    EXPECT_GE(manager.LoadModel(*belt), 0);
}

TEST(ModelFiles, TheProgramShipsModelsForStationsShipsAndFleets)
{
    // The tests run with the program folder of the build tree.
    TVexaSector sector;
    for (int type : {BODY_TYPE_STATION, BODY_TYPE_SHIP, BODY_TYPE_FLEET}) {
        auto body = Body(type);
        const std::string name = sector.GetModelFileName(*body);
        EXPECT_EQ(name, NameFromBodyType(type) + "/default.obj/default.obj");
        EXPECT_EQ(sector.FindDefaultModel(*body), name);

        T3dModelManager manager;
        manager.AddSearchFolder(ProgramSubfolder("Models"));
        const int index = manager.LoadModel(*body);
        ASSERT_GE(index, 0) << name;
        const T3DModelOGL &model = *manager.ModelAt(index);
        // Lit: every mesh has normals; fitted into the box.
        for (unsigned m = 0; m < model.Scene()->mNumMeshes; ++m)
            EXPECT_NE(model.Scene()->mMeshes[m]->mNormals, nullptr) << name;
        const auto &lo = model.BoundsMin(), &hi = model.BoundsMax();
        float largest = 0;
        for (int a = 0; a < 3; ++a)
            largest = std::max(largest, (hi[a] - lo[a]) * model.FitScale());
        EXPECT_NEAR(largest, 100, 1e-3) << name;
    }
    auto marker = Body(BODY_TYPE_MARKER);
    EXPECT_EQ(sector.FindDefaultModel(*marker), "");
}
