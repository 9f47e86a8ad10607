// Importing, checking and fitting models: what reaches the drawing code is a
// scene whose every index is in range, or nothing.
#include "ModelFiles.h"

#include "render/models/ImportProbe.h"
#include "render/models/Model3D.h"
#include "render/models/Model3DOGL.h"
#include "render/models/ModelScene.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <memory>

using namespace kalvion;
using kalvion::test::ScratchModels;

namespace {

// A scene of one triangle mesh under the root node, built by hand so that
// single fields can be spoiled.
std::unique_ptr<aiScene> TriangleScene()
{
    auto scene = std::make_unique<aiScene>();
    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial *[1]{new aiMaterial()};
    auto *mesh = new aiMesh();
    mesh->mNumVertices = 3;
    mesh->mVertices = new aiVector3D[3]{{0, 0, 0}, {2, 0, 0}, {0, 4, 1}};
    mesh->mNumFaces = 1;
    mesh->mFaces = new aiFace[1];
    mesh->mFaces[0].mNumIndices = 3;
    mesh->mFaces[0].mIndices = new unsigned[3]{0, 1, 2};
    scene->mNumMeshes = 1;
    scene->mMeshes = new aiMesh *[1]{mesh};
    scene->mRootNode = new aiNode("root");
    scene->mRootNode->mNumMeshes = 1;
    scene->mRootNode->mMeshes = new unsigned[1]{0};
    return scene;
}

bool Check(const aiScene &scene, std::string &error)
{
    TModelBounds bounds;
    return CheckModelScene(scene, bounds, error);
}

} // namespace

TEST(ModelScene, AcceptsASoundSceneAndMeasuresIt)
{
    auto scene = TriangleScene();
    // The root moves everything by (10, 0, 0): bounds are in model space.
    scene->mRootNode->mTransformation = aiMatrix4x4(1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    TModelBounds bounds;
    std::string error;
    ASSERT_TRUE(CheckModelScene(*scene, bounds, error)) << error;
    EXPECT_EQ(bounds.Vertices, 3);
    EXPECT_FLOAT_EQ(bounds.Min[0], 10);
    EXPECT_FLOAT_EQ(bounds.Max[0], 12);
    EXPECT_FLOAT_EQ(bounds.Max[1], 4);
    EXPECT_FLOAT_EQ(bounds.Max[2], 1);
}

TEST(ModelScene, RefusesEveryOutOfRangeIndex)
{
    std::string error;
    {
        auto scene = TriangleScene();
        scene->mMeshes[0]->mFaces[0].mIndices[2] = 3;
        EXPECT_FALSE(Check(*scene, error));
        EXPECT_NE(error.find("vertex"), std::string::npos);
    }
    {
        auto scene = TriangleScene();
        scene->mRootNode->mMeshes[0] = 1;
        EXPECT_FALSE(Check(*scene, error));
        EXPECT_NE(error.find("mesh"), std::string::npos);
    }
    {
        auto scene = TriangleScene();
        scene->mMeshes[0]->mMaterialIndex = 1;
        EXPECT_FALSE(Check(*scene, error));
        EXPECT_NE(error.find("material"), std::string::npos);
    }
    {
        auto scene = TriangleScene();
        scene->mNumTextures = 1;
        scene->mTextures = new aiTexture *[1]{new aiTexture()};
        scene->mTextures[0]->mWidth = 4;
        scene->mTextures[0]->mHeight = 4;  // raw texels, but no data
        EXPECT_FALSE(Check(*scene, error));
        EXPECT_NE(error.find("texture"), std::string::npos);
    }
}

TEST(ModelScene, RefusesMissingPartsDeepTreesAndEmptyScenes)
{
    std::string error;
    {
        auto scene = TriangleScene();
        delete scene->mRootNode;
        scene->mRootNode = nullptr;
        EXPECT_FALSE(Check(*scene, error));
    }
    {
        // A chain of nodes deeper than the walk goes.
        auto scene = TriangleScene();
        aiNode *node = scene->mRootNode;
        for (int i = 0; i <= MODEL_MAX_NODE_DEPTH + 1; ++i) {
            node->mNumChildren = 1;
            node->mChildren = new aiNode *[1]{new aiNode("child")};
            node->mChildren[0]->mParent = node;
            node = node->mChildren[0];
        }
        EXPECT_FALSE(Check(*scene, error));
        EXPECT_NE(error.find("deep"), std::string::npos);
    }
    {
        // Meshes that no node uses give no vertices to draw.
        auto scene = TriangleScene();
        scene->mRootNode->mNumMeshes = 0;
        EXPECT_FALSE(Check(*scene, error));
        EXPECT_NE(error.find("no vertices"), std::string::npos);
    }
    {
        auto scene = TriangleScene();
        scene->mMeshes[0]->mVertices[1] = {std::numeric_limits<float>::infinity(), 0, 0};
        EXPECT_FALSE(Check(*scene, error));
    }
}

// Nodes that place one small mesh very many times: what counts is what the
// picture would hold, not what the file stores.
TEST(ModelScene, RefusesScenesThatPlaceMoreThanTheBudget)
{
    auto scene = TriangleScene();
    aiMesh &mesh = *scene->mMeshes[0];
    delete[] mesh.mFaces;
    mesh.mNumFaces = 6;
    mesh.mFaces = new aiFace[6];
    for (unsigned f = 0; f < 6; ++f) {
        mesh.mFaces[f].mNumIndices = 3;
        mesh.mFaces[f].mIndices = new unsigned[3]{0, 1, 2};
    }
    auto place = [&scene](unsigned times) {
        aiNode &root = *scene->mRootNode;
        delete[] root.mMeshes;
        root.mNumMeshes = times;
        root.mMeshes = new unsigned[times]();
    };
    TModelBounds bounds;
    std::string error;
    place(800000);  // 2.4 million vertices, 4.8 million faces
    ASSERT_TRUE(CheckModelScene(*scene, bounds, error)) << error;
    EXPECT_EQ(bounds.Vertices, 2400000);
    EXPECT_EQ(bounds.Faces, 4800000);
    EXPECT_EQ(bounds.Corners, 14400000);
    place(900000);  // 5.4 million faces
    EXPECT_FALSE(CheckModelScene(*scene, bounds, error));
    EXPECT_NE(error.find("faces"), std::string::npos) << error;
    // Even placements of a mesh without faces cost a few GL calls each.
    mesh.mNumFaces = 0;
    place(2000000);
    EXPECT_FALSE(CheckModelScene(*scene, bounds, error));
    mesh.mNumFaces = 6;  // the faces are freed by their count
    EXPECT_NE(error.find("too many times"), std::string::npos) << error;
}

TEST(ModelScene, EmbeddedTextureReferencesMustNameATexture)
{
    EXPECT_EQ(EmbeddedTextureIndex("*0", 2), 0);
    EXPECT_EQ(EmbeddedTextureIndex("*1", 2), 1);
    EXPECT_EQ(EmbeddedTextureIndex("*2", 2), -1);
    EXPECT_EQ(EmbeddedTextureIndex("*99999999999999999999", 2), -1);
    EXPECT_EQ(EmbeddedTextureIndex("*", 2), -1);
    EXPECT_EQ(EmbeddedTextureIndex("*1a", 2), -1);
    EXPECT_EQ(EmbeddedTextureIndex("hull.png", 2), -1);
    EXPECT_EQ(EmbeddedTextureIndex(nullptr, 2), -1);
}

TEST(ModelScene, ShininessIsClampedToWhatGLTakes)
{
    aiMaterial m;
    bool specular = true;
    EXPECT_EQ(MaterialShininess(m, specular), 0);
    EXPECT_FALSE(specular);
    const float shininess = 500, strength = 2;
    m.AddProperty(&shininess, 1, AI_MATKEY_SHININESS);
    EXPECT_EQ(MaterialShininess(m, specular), 0);  // the strength is missing
    EXPECT_FALSE(specular);
    m.AddProperty(&strength, 1, AI_MATKEY_SHININESS_STRENGTH);
    EXPECT_EQ(MaterialShininess(m, specular), 128);
    EXPECT_TRUE(specular);

    aiMaterial low;
    const float negative = -3, one = 1;
    low.AddProperty(&negative, 1, AI_MATKEY_SHININESS);
    low.AddProperty(&one, 1, AI_MATKEY_SHININESS_STRENGTH);
    EXPECT_EQ(MaterialShininess(low, specular), 0);

    aiMaterial fine;
    const float twenty = 20, half = 0.5f;
    fine.AddProperty(&twenty, 1, AI_MATKEY_SHININESS);
    fine.AddProperty(&half, 1, AI_MATKEY_SHININESS_STRENGTH);
    EXPECT_EQ(MaterialShininess(fine, specular), 10);
}

TEST(ModelFit, ATwoUnitCubeFillsTheBoxAndIsCentred)
{
    ScratchModels dir("fit");
    T3DModel cube(dir.Write("cube.obj", kalvion::test::CubeObj));
    EXPECT_EQ(cube.FitScale(), 1);  // before any import
    cube.Load();
    ASSERT_TRUE(cube.Loaded()) << cube.ErrorText();
    EXPECT_FALSE(cube.ImportFailed());
    ASSERT_TRUE(cube.BoundsValid());
    cube.FitToBox(100, 100, 100);
    EXPECT_FLOAT_EQ(cube.FitScale(), 50);
    for (int a = 0; a < 3; ++a)
        EXPECT_FLOAT_EQ(cube.CentreOffset()[a], -2) << a;
    // The smallest ratio wins.
    cube.FitToBox(100, 10, 100);
    EXPECT_FLOAT_EQ(cube.FitScale(), 5);
}

TEST(ModelFit, AFlatModelKeepsItsSizeAndIsOnlyCentred)
{
    ScratchModels dir("flat");
    T3DModel square(dir.Write("square.obj", kalvion::test::SquareObj));
    square.Load();
    ASSERT_TRUE(square.Loaded()) << square.ErrorText();
    square.FitToBox(100, 100, 100);
    EXPECT_EQ(square.FitScale(), 1);
    EXPECT_FLOAT_EQ(square.CentreOffset()[0], 0);
    EXPECT_FLOAT_EQ(square.CentreOffset()[1], 0);
    EXPECT_FLOAT_EQ(square.CentreOffset()[2], -5);
}

TEST(ModelFit, DamagedFilesEndUnloadedWithTheReason)
{
    ScratchModels dir("damaged");
    struct TCase {
        const char *name;
        std::string bytes;
    };
    const TCase cases[] = {{"truncated.ply", kalvion::test::TruncatedPly()},
                           {"range.ply", kalvion::test::OutOfRangePly},
                           {"empty.obj", kalvion::test::EmptyObj},
                           {"noise.3ds", std::string("MM\x10\x00\x00\x00\xff\xff", 8)},
                           {"zero.obj", std::string()},
                           // The importer loops on these instead of failing.
                           {"found.ply", std::string("ply\nformat binary_little_endi\0v an", 34)},
                           {"nul.ply", std::string("ply\nformat ascii 1.0\0\nend_header\n", 33)},
                           {"endless.ply", "ply\nformat ascii 1.0\nelement vertex 3\n"},
                           {"garbled.ply", "ply\nformat ascii 1.0\nelement verte\x05OFF\n4 \xb1 0\nend_header\n0 0 0\n"}};
    for (const TCase &c : cases) {
        T3DModel model(dir.Write(c.name, c.bytes));
        model.Load();
        EXPECT_FALSE(model.Loaded()) << c.name;
        EXPECT_TRUE(model.ImportFailed()) << c.name;
        EXPECT_FALSE(model.BoundsValid()) << c.name;
        EXPECT_EQ(model.Scene(), nullptr) << c.name;
        EXPECT_FALSE(model.ErrorText().empty()) << c.name;
        model.FitToBox(100, 100, 100);  // nothing to fit: left alone
        EXPECT_EQ(model.FitScale(), 0) << c.name;
    }
    // The truncated and out-of-range files do import; our checks refuse them.
    T3DModel truncated(dir.Folder() + "truncated.ply");
    truncated.Load();
    EXPECT_NE(truncated.ErrorText().find("vertex that does not exist"), std::string::npos) << truncated.ErrorText();
    T3DModel found(dir.Folder() + "found.ply");
    found.Load();
    EXPECT_EQ(found.ErrorText(), "the PLY header does not end");
    T3DModel nul(dir.Folder() + "nul.ply");
    nul.Load();
    EXPECT_EQ(nul.ErrorText(), "the PLY header is not text");
    // The same from memory, and PLY bytes under another name.
    const std::string bytes("ply\nformat binary_little_endi\0v an", 34);
    nul.LoadFromMemory(bytes.data(), bytes.size(), "ply");
    EXPECT_EQ(nul.ErrorText(), "the PLY header does not end");
    T3DModel garbled(dir.Folder() + "garbled.ply");
    garbled.Load();
    EXPECT_EQ(garbled.ErrorText(), "the PLY header is not text");
    T3DModel disguised(dir.Write("disguised.obj", bytes));
    disguised.Load();
    EXPECT_EQ(disguised.ErrorText(), "the PLY header does not end");
}

TEST(ModelFit, ModelsFromMemoryAreCheckedTheSameWay)
{
    T3DModel model("memory");
    const std::string cube = kalvion::test::CubeObj;
    model.LoadFromMemory(cube.data(), cube.size(), "obj");
    EXPECT_TRUE(model.Loaded()) << model.ErrorText();
    const std::string bad = kalvion::test::OutOfRangePly;
    model.LoadFromMemory(bad.data(), bad.size(), "ply");
    EXPECT_FALSE(model.Loaded());
    model.LoadFromMemory(nullptr, 0, "obj");
    EXPECT_FALSE(model.Loaded());
}

TEST(ModelImport, FilesThatBreakTheImporterAreTriedAwayFromTheProgram)
{
    ScratchModels dir("probe");
    // The importer dies on this OFF file (a face naming vertices it never read).
    const std::string crashing("OFF\n4 2 0\n0 0 0\n1 0 0\n1 1 00 0\n1 1 0\n0  2\n4 0\x01ply\nformat a( 1scii "
                               "1.0\nelement ver 2te ",
                               86);
    T3DModel model(dir.Write("crash.off", crashing));
    model.Load();
    EXPECT_FALSE(model.Loaded());
    EXPECT_EQ(model.ErrorText(), "the model file breaks the importer");

    // It never ends on this PLY header; the trial is stopped in time.
    const std::string endless("ply\nformat binary_little_endi\0v an", 34);
    const std::string hang = dir.Write("hang.ply", endless);
    std::string error;
    EXPECT_FALSE(ImportSurvives(hang, 300, error));
    EXPECT_EQ(error, "reading the model file does not end");

    // Sound files and files the importer refuses in an orderly way pass.
    EXPECT_TRUE(ImportSurvives(dir.Write("cube.obj", kalvion::test::CubeObj), 10000, error));
    EXPECT_TRUE(ImportSurvives(dir.Write("zero.obj", ""), 10000, error));
}
