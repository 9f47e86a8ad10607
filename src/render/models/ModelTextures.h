#pragma once
// The textures of a model: files next to the model and textures embedded in
// the model file ("*0", "*1", …), kept as texels so that a second GL context
// can upload them without reading the file again.
#include <QImage>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct aiScene;
struct aiTexture;

namespace kalvion {

struct TModelTexture {
    std::string Name;
    bool Embedded = false;
    std::array<unsigned, 2> GLName{0, 0};  // per context; 0 = none
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Texels;  // R, G, B, A per texel
    bool HasTexels() const { return Width > 0 && Height > 0 && !Texels.empty(); }
};

// Texture files are read whole; larger ones are not textures.
inline constexpr std::uintmax_t MODEL_MAX_TEXTURE_FILE = 256u << 20;

// A decoded image as texels, rows from the bottom up; any alpha of the image
// is dropped (A = 255).  False for a null image.
bool TexelsFromImage(const QImage &image, TModelTexture &texture);
// One embedded texture: a compressed one (height 0) is decoded like a file;
// a raw one keeps its texels in order, each read by channel name.
bool TexelsFromEmbedded(const aiTexture &source, TModelTexture &texture);
// The scene's embedded textures as entries "*0", "*1", … in scene order; one
// that cannot be decoded is kept without texels and draws untextured.
std::vector<TModelTexture> EmbeddedTextureEntries(const aiScene &scene);

// The file a material's texture path names, relative to the model's folder
// (which ends with "/").  Paths written on Windows use "\"; when the path
// does not lead to a file, the file of that name in the model's folder is
// used.  "" when neither exists.
std::string ResolveTextureFile(const std::string &modelFolder, const std::string &path);
// Reads and decodes a texture file into the entry (alpha dropped).
bool LoadTextureFile(const std::string &fileName, TModelTexture &texture);

// Creates the GL texture of the entry in the current context (linear
// filters, repeat); 0 when it has no texels or is too large for the GL.
unsigned UploadModelTexture(const TModelTexture &texture);

} // namespace kalvion
