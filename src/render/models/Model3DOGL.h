#pragma once
// T3DModelOGL: a model drawn with fixed-function GL.  Each GL context the
// views draw in (two at most) gets a display list of its own, compiled on
// the first draw; the textures' texels stay in memory for the other context.
#include "render/models/Model3D.h"
#include "render/models/ModelTextures.h"

#include <array>
#include <string>
#include <vector>

struct aiMaterial;
struct aiMesh;
struct aiNode;

namespace kalvion {

// The GL shininess of a material: shininess × strength within 0 … 128 when
// the material has both (specular true), else 0 with specular false (the
// material then has no highlight).
float MaterialShininess(const aiMaterial &material, bool &specular);

class T3DModelOGL : public T3DModel {
public:
    explicit T3DModelOGL(std::string fileName);
    ~T3DModelOGL() override;

    // Draws the model at the origin, scaled by the fit scale after centring,
    // in the current GL context (the one ContextIndex names).
    void Draw() override;
    // Deletes the display lists and this context's textures, forgets the
    // texture table and imports the file again.
    virtual void Reload();
    // The same deletions, then the scene goes.
    virtual void Unload();
    // Deletes what this model made in one context (which must be current):
    // the context is going, or its resources are to be made again.
    void ReleaseContext(int context);

    // Looks up every material's texture: files are read, embedded textures
    // registered; nothing is uploaded.  Draw does it before compiling.
    void ResolveTextures();

    int ContextIndex = 0;  // 0 or 1
    const std::vector<TModelTexture> &Textures() const { return Textures_; }
    // The texture entry of a material, or -1 when it draws untextured.
    int MaterialTexture(unsigned material) const;
    unsigned DisplayList(int context) const { return Lists_[context & 1]; }

private:
    void ForgetGL();
    void Compile();
    void RenderNode(const aiNode &node, int depth);
    void RenderMesh(const aiMesh &mesh);
    void ApplyMaterial(const aiMaterial &material);
    int FindTexture(const std::string &name) const;

    std::array<unsigned, 2> Lists_{0, 0};  // 0 = not compiled
    std::vector<TModelTexture> Textures_;
    std::vector<int> MaterialTextures_;
    bool TexturesResolved_ = false;
    bool EmbeddedRegistered_ = false;
};

} // namespace kalvion
