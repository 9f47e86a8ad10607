// Models drawn with GL: textures from files and embedded in the model, the
// per-context display lists, and the sector view showing a station's model
// near the camera and a star where the model cannot be loaded.
#include "ModelFiles.h"

#include "../render/GLFrame.h"

#include "base/Paths.h"
#include "render/GLHeaders.h"
#include "render/models/ModelManager.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QOpenGLFramebufferObject>

using namespace kalvion;
using namespace kalvion::test;

namespace {

QByteArray SolidPng(QRgb colour)
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Draws the model alone, orthographic over ±2 units, white current colour.
QImage DrawAlone(T3DModelOGL &model)
{
    TOffscreenGL *gl = SharedGL();
    if (!gl || !gl->MakeCurrent())
        return {};
    QOpenGLFramebufferObject fbo(64, 64, QOpenGLFramebufferObject::CombinedDepthStencil);
    fbo.bind();
    glViewport(0, 0, 64, 64);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    model.Draw();
    glFinish();
    QImage image = fbo.toImage();
    fbo.release();
    return image;
}

// A two-unit quad around the origin, textured over its whole face.
const char *TexturedQuadObj = "mtllib quad.mtl\nv -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\n"
                              "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nusemtl paint\nf 1/1 2/2 3/3 4/4\n";

std::string Base64(const QByteArray &bytes) { return bytes.toBase64().toStdString(); }

// The same quad as glTF with its picture inside the file.
std::string EmbeddedQuadGltf(const QByteArray &png)
{
    QByteArray buffer;
    const float positions[12] = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    const float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    const std::uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    buffer.append(reinterpret_cast<const char *>(positions), sizeof positions);
    buffer.append(reinterpret_cast<const char *>(uv), sizeof uv);
    buffer.append(reinterpret_cast<const char *>(indices), sizeof indices);
    return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],
"meshes":[{"primitives":[{"attributes":{"POSITION":0,"TEXCOORD_0":1},"indices":2,"material":0}]}],
"materials":[{"pbrMetallicRoughness":{"baseColorTexture":{"index":0}},"doubleSided":true}],
"textures":[{"source":0}],
"images":[{"uri":"data:image/png;base64,)" +
           Base64(png) + R"("}],
"buffers":[{"byteLength":92,"uri":"data:application/octet-stream;base64,)" +
           Base64(buffer) + R"("}],
"bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":48},{"buffer":0,"byteOffset":48,"byteLength":32},
{"buffer":0,"byteOffset":80,"byteLength":12}],
"accessors":[{"bufferView":0,"componentType":5126,"count":4,"type":"VEC3","min":[-1,-1,0],"max":[1,1,0]},
{"bufferView":1,"componentType":5126,"count":4,"type":"VEC2"},
{"bufferView":2,"componentType":5123,"count":6,"type":"SCALAR"}]})";
}

bool Near(QColor c, int r, int g, int b) { return std::abs(c.red() - r) < 12 && std::abs(c.green() - g) < 12 && std::abs(c.blue() - b) < 12; }

} // namespace

TEST(ModelDraw, AFileTextureColoursTheFaceAndSurvivesANewContext)
{
    ScratchModels dir("drawfile");
    const QByteArray png = SolidPng(qRgb(255, 0, 0));
    dir.Write("quad.png", std::string(png.constData(), static_cast<std::size_t>(png.size())));
    // Written on Windows, in a folder that is not there.
    dir.Write("quad.mtl", "newmtl paint\nKd 1 1 1\nmap_Kd art\\quad.png\n");
    T3DModelOGL model(dir.Write("quad.obj", TexturedQuadObj));
    model.Load();
    ASSERT_TRUE(model.Loaded()) << model.ErrorText();
    model.FitToBox(100, 100, 100);  // flat: scale 1
    const QImage first = DrawAlone(model);
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(Near(first.pixelColor(32, 32), 255, 0, 0)) << first.pixelColor(32, 32).name().toStdString();
    EXPECT_TRUE(Near(first.pixelColor(2, 2), 0, 0, 0));  // outside the quad
    EXPECT_NE(model.DisplayList(0), 0u);
    ASSERT_EQ(model.Textures().size(), 1u);
    EXPECT_NE(model.Textures()[0].GLName[0], 0u);

    // The context is going: everything it held is deleted, and the next draw
    // makes it again from the texels kept in memory.
    ASSERT_TRUE(SharedGL()->MakeCurrent());
    model.ReleaseContext(0);
    EXPECT_EQ(model.DisplayList(0), 0u);
    EXPECT_EQ(model.Textures()[0].GLName[0], 0u);
    const QImage again = DrawAlone(model);
    EXPECT_TRUE(Near(again.pixelColor(32, 32), 255, 0, 0));
}

TEST(ModelDraw, AnEmbeddedTextureIsFoundByItsNumber)
{
    ScratchModels dir("drawembedded");
    T3DModelOGL model(dir.Write("quad.gltf", EmbeddedQuadGltf(SolidPng(qRgb(0, 200, 0)))));
    model.Load();
    ASSERT_TRUE(model.Loaded()) << model.ErrorText();
    model.FitToBox(100, 100, 100);
    const QImage image = DrawAlone(model);
    ASSERT_FALSE(image.isNull());
    ASSERT_FALSE(model.Textures().empty());
    EXPECT_EQ(model.Textures()[0].Name, "*0");
    EXPECT_TRUE(Near(image.pixelColor(32, 32), 0, 200, 0)) << image.pixelColor(32, 32).name().toStdString();
}

namespace {

// A station at the origin seen from two light years: the default model is
// half a light year across there.  The station's own colour is pure red,
// which only a star flare shows; the model's materials are grey and blue.
struct TStationScene {
    std::unique_ptr<TVexaSector> Sector = EmptySector(2);
    TStellarBody *Station = nullptr;
    TStationScene()
    {
        Sector->Camera = {0, 1, 1.8};
        Station = AddRoot(*Sector, "Harbour", 0, 0, 0, ColorRGB(255, 0, 0));
        Station->TypeID = BODY_TYPE_STATION;
        Station->LabelDistance = 0;  // no label
    }
};

int Bluish(const QImage &frame)
{
    return CountPixels(frame, frame.rect(), [](QColor c) { return c.blue() > c.red() + 25 && c.blue() > 60; });
}

int Reddish(const QImage &frame)
{
    return CountPixels(frame, frame.rect(), [](QColor c) { return c.red() > 120 && c.red() > c.blue() + 60; });
}

} // namespace

TEST(ModelDraw, TheSectorViewShowsAStationAsItsDefaultModel)
{
    TStationScene scene;
    T3dModelManager manager;
    manager.AddSearchFolder(ProgramSubfolder("Models"));
    TRenderSectorOGL renderer;
    renderer.ModelManager = &manager;
    const QImage frame = DrawFrame(renderer, *scene.Sector);
    ASSERT_FALSE(frame.isNull());
    ASSERT_TRUE(scene.Station->RenderInfo());
    EXPECT_FALSE(scene.Station->RenderInfo()->ModelFailed);
    EXPECT_GE(scene.Station->RenderInfo()->ModelIndex, 0);
    EXPECT_GT(Bluish(frame), 2000);
    EXPECT_EQ(Reddish(frame), 0);
    // A second frame uses the compiled list and draws the same.
    const QImage second = DrawFrame(renderer, *scene.Sector);
    EXPECT_EQ(Bluish(second), Bluish(frame));
    ASSERT_TRUE(SharedGL()->MakeCurrent());
    renderer.ReleaseAll();
    EXPECT_EQ(manager.ModelAt(scene.Station->RenderInfo()->ModelIndex)->DisplayList(0), 0u);
}

TEST(ModelDraw, AStationWhoseModelCannotLoadIsAStar)
{
    ScratchModels dir("drawbad");
    dir.Write("Space Station/range.ply/range.ply", OutOfRangePly);
    dir.Write("Space Station/cut.ply/cut.ply", TruncatedPly());
    for (const char *file : {"range.ply", "cut.ply", "missing.obj"}) {
        TStationScene scene;
        scene.Station->ModelFile = file;
        T3dModelManager manager;
        manager.AddSearchFolder(dir.Folder());
        TRenderSectorOGL renderer;
        renderer.ModelManager = &manager;
        const QImage frame = DrawFrame(renderer, *scene.Sector);
        ASSERT_FALSE(frame.isNull());
        ASSERT_TRUE(scene.Station->RenderInfo()) << file;
        EXPECT_TRUE(scene.Station->RenderInfo()->ModelFailed) << file;
        EXPECT_EQ(manager.ModelCount(), 0) << file;
        EXPECT_GT(Reddish(frame), 20) << file;
        EXPECT_EQ(Bluish(frame), 0) << file;
        // Not asked again in later frames.
        const int imports = manager.ImportCount();
        DrawFrame(renderer, *scene.Sector);
        EXPECT_EQ(manager.ImportCount(), imports) << file;
        ASSERT_TRUE(SharedGL()->MakeCurrent());
        renderer.ReleaseAll();
    }
}
