#include "render/models/Model3D.h"

#include "render/models/ImportProbe.h"

#include <assimp/cimport.h>
#include <assimp/scene.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <utility>

namespace kalvion {

T3DModel::T3DModel(std::string fileName) : FileName_(std::move(fileName)) {}

T3DModel::~T3DModel()
{
    if (Scene_)
        aiReleaseImport(Scene_);
}

void T3DModel::BeginLoad()
{
    if (Scene_)
        Release();
    ImportFailed_ = true;
    BoundsValid_ = false;
    Bounds_ = TModelBounds{};
    FitScale_ = 0;
    CentreOffset_ = {0, 0, 0};
    ErrorText_.clear();
}

void T3DModel::Accept(const aiScene *scene)
{
    if (!scene) {
        const char *text = aiGetErrorString();
        ErrorText_ = text ? text : "";
        return;
    }
    std::string error;
    if (!CheckModelScene(*scene, Bounds_, error)) {
        // The checks fill the bounds as far as they got; none of it counts.
        Bounds_ = TModelBounds{};
        ErrorText_ = error;
        aiReleaseImport(scene);
        return;
    }
    Scene_ = scene;
    Loaded_ = true;
    ImportFailed_ = false;
    BoundsValid_ = true;
}

namespace {

std::string LowerExtension(const std::string &name)
{
    std::string ext = std::filesystem::path(name).extension().string();
    for (char &c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

} // namespace

void T3DModel::Load()
{
    BeginLoad();
    // The head of the file first: some damage makes the importer loop.
    std::string head(MODEL_MAX_PLY_HEADER, '\0');
    std::ifstream in(FileName_, std::ios::binary);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    if (!ModelHeadReadable(head.data(), head.size(), LowerExtension(FileName_), ErrorText_))
        return;
    if (ImportTimeoutMs > 0 && !ImportSurvives(FileName_, ImportTimeoutMs, ErrorText_))
        return;
    Accept(aiImportFile(FileName_.c_str(), 0));
}

void T3DModel::LoadFromMemory(const void *data, std::size_t size, const char *hint)
{
    BeginLoad();
    if (!data || size == 0 || size > std::numeric_limits<unsigned>::max()) {
        ErrorText_ = "no model data";
        return;
    }
    const std::string ext = hint ? "." + std::string(hint) : std::string();
    if (!ModelHeadReadable(static_cast<const char *>(data), size, ext, ErrorText_))
        return;
    Accept(aiImportFileFromMemory(static_cast<const char *>(data), static_cast<unsigned>(size), 0, hint));
}

void T3DModel::Release()
{
    if (Scene_)
        aiReleaseImport(Scene_);
    Scene_ = nullptr;
    Loaded_ = false;
}

void T3DModel::FitToBox(float sizeX, float sizeY, float sizeZ)
{
    if (!Loaded_ || !BoundsValid_)
        return;
    FitScale_ = 1;
    const float ex = Bounds_.Max[0] - Bounds_.Min[0];
    const float ey = Bounds_.Max[1] - Bounds_.Min[1];
    const float ez = Bounds_.Max[2] - Bounds_.Min[2];
    // A model flat along any axis keeps its own size and is only centred.
    if (ex != 0 && ey != 0 && ez != 0)
        FitScale_ = std::min({sizeX / ex, sizeY / ey, sizeZ / ez});
    for (int a = 0; a < 3; ++a)
        CentreOffset_[a] = -(Bounds_.Min[a] + Bounds_.Max[a]) / 2;
}

} // namespace kalvion
