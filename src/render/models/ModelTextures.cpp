#include "render/models/ModelTextures.h"

#include "base/Paths.h"
#include "render/GLHeaders.h"
#include "render/models/ModelScene.h"

#include <assimp/scene.h>

#include <QFile>

#include <algorithm>
#include <cstdint>

#include <filesystem>
#include <system_error>

namespace kalvion {

bool TexelsFromImage(const QImage &image, TModelTexture &texture)
{
    texture.Width = texture.Height = 0;
    texture.Texels.clear();
    if (image.isNull())
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return false;
    const int w = rgb.width(), h = rgb.height();
    texture.Texels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    std::uint8_t *out = texture.Texels.data();
    for (int y = h - 1; y >= 0; --y) {
        const uchar *row = rgb.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            *out++ = row[3 * x];
            *out++ = row[3 * x + 1];
            *out++ = row[3 * x + 2];
            *out++ = 255;
        }
    }
    texture.Width = w;
    texture.Height = h;
    return true;
}

bool TexelsFromEmbedded(const aiTexture &source, TModelTexture &texture)
{
    texture.Width = texture.Height = 0;
    texture.Texels.clear();
    if (!source.pcData)
        return false;
    if (source.mHeight == 0) {
        // Compressed: the width is the byte length of an image file.
        const QImage image = QImage::fromData(reinterpret_cast<const uchar *>(source.pcData),
                                              static_cast<int>(std::min<unsigned>(source.mWidth, INT32_MAX)));
        return TexelsFromImage(image, texture);
    }
    if (source.mWidth == 0 || source.mWidth > MODEL_MAX_TEXTURE_SIDE || source.mHeight > MODEL_MAX_TEXTURE_SIDE)
        return false;
    const std::size_t count = static_cast<std::size_t>(source.mWidth) * source.mHeight;
    texture.Texels.resize(count * 4);
    std::uint8_t *out = texture.Texels.data();
    // The importer stores texels blue, green, red, alpha; GL wants them by
    // name in R, G, B, A order.
    for (std::size_t i = 0; i < count; ++i) {
        const aiTexel &t = source.pcData[i];
        *out++ = t.r;
        *out++ = t.g;
        *out++ = t.b;
        *out++ = t.a;
    }
    texture.Width = static_cast<int>(source.mWidth);
    texture.Height = static_cast<int>(source.mHeight);
    return true;
}

std::vector<TModelTexture> EmbeddedTextureEntries(const aiScene &scene)
{
    std::vector<TModelTexture> entries;
    if (!scene.mTextures)
        return entries;
    entries.reserve(scene.mNumTextures);
    for (unsigned i = 0; i < scene.mNumTextures; ++i) {
        TModelTexture entry;
        entry.Name = "*" + std::to_string(i);
        entry.Embedded = true;
        if (scene.mTextures[i])
            TexelsFromEmbedded(*scene.mTextures[i], entry);
        entries.push_back(std::move(entry));
    }
    return entries;
}

namespace {

bool IsTextureFile(const std::string &name)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(name, ec))
        return false;
    const std::uintmax_t size = std::filesystem::file_size(name, ec);
    return !ec && size <= MODEL_MAX_TEXTURE_FILE;
}

} // namespace

std::string ResolveTextureFile(const std::string &modelFolder, const std::string &path)
{
    if (path.empty())
        return {};
    const std::string name = modelFolder + NormalizeStoredPath(path);
    if (IsTextureFile(name))
        return name;
    const std::string local = modelFolder + ExtractFileName(path);
    if (IsTextureFile(local))
        return local;
    return {};
}

bool LoadTextureFile(const std::string &fileName, TModelTexture &texture)
{
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(static_cast<qint64>(MODEL_MAX_TEXTURE_FILE));
    return TexelsFromImage(QImage::fromData(bytes), texture);
}

unsigned UploadModelTexture(const TModelTexture &texture)
{
    if (!texture.HasTexels())
        return 0;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (texture.Width > maxSize || texture.Height > maxSize)
        return 0;
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0)
        return 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture.Width, texture.Height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texture.Texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return name;
}

} // namespace kalvion
