#include "render/models/ModelManager.h"

#include "base/Paths.h"
#include "model/ModelFiles.h"
#include "model/StellarBody.h"

namespace kalvion {

std::string ModelFailureText(const std::string &name, const std::string &reason)
{
    return "The 3D model \"" + name + "\" could not be loaded: " + reason;
}

T3dModelManager::T3dModelManager() = default;
T3dModelManager::~T3dModelManager() = default;

void T3dModelManager::AddSearchFolder(const std::string &folder)
{
    if (folder.empty())
        return;
    SearchFolders_.push_back(folder.back() == '/' ? folder : folder + "/");
}

int T3dModelManager::IndexOfModel(const std::string &name) const
{
    for (std::size_t i = 0; i < Models_.size(); ++i)
        if (Models_[i].first == name)
            return static_cast<int>(i);
    return -1;
}

T3DModelOGL *T3dModelManager::ModelAt(int index) const
{
    if (index < 0 || index >= ModelCount())
        return nullptr;
    return Models_[static_cast<std::size_t>(index)].second.get();
}

std::string T3dModelManager::FindFile(const std::string &name) const
{
    if (name.empty())
        return {};
    for (const std::string &folder : SearchFolders_)
        if (FileExists(folder + name))
            return folder + name;
    if (FileExists(name))
        return name;
    return {};
}

int T3dModelManager::Failed(const std::string &name, const std::string &reason)
{
    if (OnModelFailed && Reported_.emplace(name, reason).second)
        OnModelFailed(name, reason);
    return -1;
}

int T3dModelManager::LoadModel(const std::string &name)
{
    const int known = IndexOfModel(name);
    if (known >= 0)
        return known;
    if (name.empty())
        return -1;
    const std::string path = FindFile(name);
    if (path.empty())
        return Failed(name, "the file does not exist in the Models folder");
    auto model = std::make_unique<T3DModelOGL>(path);
    model->ContextIndex = ContextIndex_;
    ++Imports_;
    model->Reload();
    if (!model->Loaded())
        return Failed(name, model->ErrorText().empty() ? std::string("the file cannot be read as a model")
                                                       : model->ErrorText());
    Models_.emplace_back(name, std::move(model));
    return ModelCount() - 1;
}

std::string T3dModelManager::ModelNameFor(const TStellarBody &body) const
{
    if (!body.ModelFile.empty())
        return ModelFileNameIn(body, std::string());
    for (const std::string &folder : SearchFolders_) {
        std::string name = DefaultModelIn(body, folder);
        if (!name.empty())
            return name;
    }
    return {};
}

int T3dModelManager::LoadModel(const TStellarBody &body)
{
    const int index = LoadModel(ModelNameFor(body));
    if (T3DModelOGL *model = ModelAt(index))
        model->FitToBox(100, 100, 100);
    return index;
}

void T3dModelManager::DrawModel(int index)
{
    if (T3DModelOGL *model = ModelAt(index)) {
        model->ContextIndex = ContextIndex_;
        model->Draw();
    }
}

void T3dModelManager::ReleaseContext(int contextIndex)
{
    for (auto &entry : Models_)
        entry.second->ReleaseContext(contextIndex);
}

} // namespace kalvion
