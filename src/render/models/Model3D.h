#pragma once
// T3DModel: one model file imported through assimp, with its bounding box
// and the scale and offset that fit it into a box around the origin.
#include "render/models/ImportProbe.h"
#include "render/models/ModelScene.h"

#include <array>
#include <cstddef>
#include <string>

struct aiScene;

namespace kalvion {

class T3DModel {
public:
    explicit T3DModel(std::string fileName);
    virtual ~T3DModel();
    T3DModel(const T3DModel &) = delete;
    T3DModel &operator=(const T3DModel &) = delete;

    // Imports the file without post-processing: faces keep their polygon
    // sizes and normals exist only where the file has them.  A scene that
    // fails its checks is released again and the model stays unloaded.
    virtual void Load();
    virtual void Release();
    virtual void Draw() {}
    // The same from bytes in memory; `hint` is the file extension.  Only the
    // checks guard it: the importer runs in this process.
    void LoadFromMemory(const void *data, std::size_t size, const char *hint);

    // A file is first imported by a child process that may take this long
    // (milliseconds); 0 imports without that trial.
    int ImportTimeoutMs = MODEL_IMPORT_TIMEOUT_MS;

    // The scale and centre offset that put the model, centred on the origin,
    // inside a box of this size; only for a loaded model with valid bounds.
    void FitToBox(float sizeX, float sizeY, float sizeZ);

    const std::string &FileName() const { return FileName_; }
    const aiScene *Scene() const { return Scene_; }
    bool Loaded() const { return Loaded_; }
    bool ImportFailed() const { return ImportFailed_; }
    bool BoundsValid() const { return BoundsValid_; }
    const std::string &ErrorText() const { return ErrorText_; }
    const std::array<float, 3> &BoundsMax() const { return Bounds_.Max; }
    const std::array<float, 3> &BoundsMin() const { return Bounds_.Min; }
    float FitScale() const { return FitScale_; }
    const std::array<float, 3> &CentreOffset() const { return CentreOffset_; }

private:
    void BeginLoad();
    void Accept(const aiScene *scene);

    std::string FileName_;
    const aiScene *Scene_ = nullptr;
    bool Loaded_ = false;
    std::string ErrorText_;
    bool ImportFailed_ = false;
    bool BoundsValid_ = false;
    TModelBounds Bounds_;
    float FitScale_ = 1;
    std::array<float, 3> CentreOffset_{0, 0, 0};
};

} // namespace kalvion
