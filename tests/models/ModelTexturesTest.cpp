// Model textures: channels read by name, alpha of files dropped, Windows
// paths, the file-name fallback and models with many textures.
#include "ModelFiles.h"

#include "render/models/Model3DOGL.h"
#include "render/models/ModelTextures.h"

#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <cstring>

using namespace kalvion;
using kalvion::test::ScratchModels;

namespace {

// A 2 × 1 PNG: a transparent red pixel and an opaque blue one.
QByteArray TwoPixelPng()
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 0));
    image.setPixel(1, 0, qRgba(0, 0, 255, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::string QuadWithMaterials(int count)
{
    std::string obj = "mtllib quad.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";
    for (int i = 0; i < count; ++i)
        obj += "usemtl m" + std::to_string(i) + "\nf 1/1 2/2 3/3 4/4\n";
    return obj;
}

} // namespace

TEST(ModelTextures, EmbeddedTexelsAreReadByChannelName)
{
    aiTexture tex;
    tex.mWidth = 2;
    tex.mHeight = 1;
    tex.pcData = new aiTexel[2];
    // The importer's texel is blue, green, red, alpha in memory.
    tex.pcData[0].b = 10, tex.pcData[0].g = 20, tex.pcData[0].r = 30, tex.pcData[0].a = 40;
    tex.pcData[1].b = 1, tex.pcData[1].g = 2, tex.pcData[1].r = 3, tex.pcData[1].a = 4;
    TModelTexture entry;
    ASSERT_TRUE(TexelsFromEmbedded(tex, entry));
    EXPECT_EQ(entry.Width, 2);
    EXPECT_EQ(entry.Height, 1);
    const std::vector<std::uint8_t> rgba{30, 20, 10, 40, 3, 2, 1, 4};
    EXPECT_EQ(entry.Texels, rgba);
}

TEST(ModelTextures, EmbeddedTexturesBecomeNumberedEntries)
{
    aiScene scene;
    const QByteArray png = TwoPixelPng();
    auto *compressed = new aiTexture();
    compressed->mWidth = static_cast<unsigned>(png.size());
    compressed->mHeight = 0;
    // The texture frees its data as texels: allocate it as texels.
    compressed->pcData = new aiTexel[(png.size() + 3) / 4];
    std::memcpy(compressed->pcData, png.data(), static_cast<std::size_t>(png.size()));
    auto *broken = new aiTexture();
    broken->mWidth = 3;
    broken->mHeight = 0;
    broken->pcData = new aiTexel[1];
    std::memcpy(broken->pcData, "xyz", 3);
    scene.mNumTextures = 2;
    scene.mTextures = new aiTexture *[2]{compressed, broken};

    const std::vector<TModelTexture> entries = EmbeddedTextureEntries(scene);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Name, "*0");
    EXPECT_TRUE(entries[0].Embedded);
    ASSERT_TRUE(entries[0].HasTexels());
    // A compressed texture decodes like a file: alpha dropped.
    const std::vector<std::uint8_t> rgba{255, 0, 0, 255, 0, 0, 255, 255};
    EXPECT_EQ(entries[0].Texels, rgba);
    EXPECT_EQ(entries[1].Name, "*1");
    EXPECT_FALSE(entries[1].HasTexels());
}

TEST(ModelTextures, FileTexturesRunBottomUpWithoutAlpha)
{
    QImage image(1, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(1, 2, 3, 0));     // top
    image.setPixel(0, 1, qRgba(7, 8, 9, 100));  // bottom
    TModelTexture entry;
    ASSERT_TRUE(TexelsFromImage(image, entry));
    const std::vector<std::uint8_t> rgba{7, 8, 9, 255, 1, 2, 3, 255};
    EXPECT_EQ(entry.Texels, rgba);
    EXPECT_FALSE(TexelsFromImage(QImage(), entry));
    EXPECT_FALSE(entry.HasTexels());
}

TEST(ModelTextures, PathsFromWindowsAndMissingFoldersFallBackToTheModelFolder)
{
    ScratchModels dir("paths");
    const QByteArray png = TwoPixelPng();
    const std::string bytes(png.constData(), static_cast<std::size_t>(png.size()));
    dir.Write("maps/hull.png", bytes);
    dir.Write("paint.png", bytes);
    const std::string folder = dir.Folder();
    EXPECT_EQ(ResolveTextureFile(folder, "maps\\hull.png"), folder + "maps/hull.png");
    EXPECT_EQ(ResolveTextureFile(folder, "maps/hull.png"), folder + "maps/hull.png");
    EXPECT_EQ(ResolveTextureFile(folder, "textures/paint.png"), folder + "paint.png");
    EXPECT_EQ(ResolveTextureFile(folder, "C:\\Art\\Ships\\paint.png"), folder + "paint.png");
    EXPECT_EQ(ResolveTextureFile(folder, "gone.png"), "");
    EXPECT_EQ(ResolveTextureFile(folder, ""), "");
    // A folder is no texture file.
    EXPECT_EQ(ResolveTextureFile(folder, "maps"), "");
}

TEST(ModelTextures, AModelWithManyTexturesKeepsThemAll)
{
    ScratchModels dir("many");
    const int count = 130;  // more than the old fixed table held
    const QByteArray png = TwoPixelPng();
    const std::string bytes(png.constData(), static_cast<std::size_t>(png.size()));
    std::string mtl;
    for (int i = 0; i < count; ++i) {
        const std::string name = "t" + std::to_string(i) + ".png";
        dir.Write(name, bytes);
        mtl += "newmtl m" + std::to_string(i) + "\nKd 1 1 1\nmap_Kd textures\\" + name + "\n";
    }
    // One material names a texture that does not exist: it draws untextured.
    mtl += "newmtl m" + std::to_string(count) + "\nKd 1 1 1\nmap_Kd missing.png\n";
    dir.Write("quad.mtl", mtl);
    T3DModelOGL model(dir.Write("quad.obj", QuadWithMaterials(count + 1)));
    model.Load();
    ASSERT_TRUE(model.Loaded()) << model.ErrorText();
    model.ResolveTextures();
    ASSERT_EQ(model.Textures().size(), static_cast<std::size_t>(count));
    for (const TModelTexture &t : model.Textures()) {
        EXPECT_FALSE(t.Embedded);
        EXPECT_TRUE(t.HasTexels()) << t.Name;
        EXPECT_EQ(t.GLName[0], 0u);  // nothing uploaded without GL
    }
    EXPECT_EQ(model.Textures()[0].Name, dir.Folder() + "t0.png");
    int untextured = 0;
    for (unsigned m = 0; m < model.Scene()->mNumMaterials; ++m)
        if (model.MaterialTexture(m) < 0)
            ++untextured;
    // The missing texture and the importer's own default material.
    EXPECT_EQ(untextured, static_cast<int>(model.Scene()->mNumMaterials) - count);
    EXPECT_GE(untextured, 1);
}
