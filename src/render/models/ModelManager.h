#pragma once
// T3dModelManager: loads each model file once, under the name it was asked
// for, from its search folders or else the working folder, and keeps it
// until the manager goes.  Both 3D views draw models through it.
#include "render/RenderSources.h"
#include "render/models/Model3DOGL.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kalvion {

// The message for a model that could not be loaded, as the window and
// kalvion-cli show it.
std::string ModelFailureText(const std::string &name, const std::string &reason);

class T3dModelManager : public TRenderModelSource {
public:
    T3dModelManager();
    ~T3dModelManager() override;
    T3dModelManager(const T3dModelManager &) = delete;
    T3dModelManager &operator=(const T3dModelManager &) = delete;

    // Appends a folder; a trailing "/" is added when missing.
    void AddSearchFolder(const std::string &folder);
    const std::vector<std::string> &SearchFolders() const { return SearchFolders_; }

    // The model loaded under exactly this name (case counts), loading it on
    // the first request; -1 when no file is found or it does not import.  A
    // failed name is not remembered, so a later request tries again.  The
    // search folders come before the working folder: a name a sector file
    // gives means the program's model before a file that happens to lie
    // where the program was started.
    int LoadModel(const std::string &name);

    // Told of a model name that could not be loaded and why, once per name
    // and reason: the window puts it in its status bar, kalvion-cli on
    // standard error.  A body without any model is no failure.
    std::function<void(const std::string &name, const std::string &reason)> OnModelFailed;
    int IndexOfModel(const std::string &name) const;
    T3DModelOGL *ModelAt(int index) const;
    int ModelCount() const { return static_cast<int>(Models_.size()); }
    // Files imported so far, failed ones included.
    int ImportCount() const { return Imports_; }

    // The body's model relative to a model folder: its ModelFile in the
    // folder of its type, else the first default model of its type in the
    // search folders; "" when it has neither.
    std::string ModelNameFor(const TStellarBody &body) const;

    // TRenderModelSource: loads the body's model fitted to a 100-unit box.
    int LoadModel(const TStellarBody &body) override;
    void DrawModel(int index) override;
    void UseContext(int contextIndex) override { ContextIndex_ = contextIndex & 1; }
    void ReleaseContext(int contextIndex) override;

private:
    std::string FindFile(const std::string &name) const;
    int Failed(const std::string &name, const std::string &reason);

    std::vector<std::string> SearchFolders_;
    std::vector<std::pair<std::string, std::unique_ptr<T3DModelOGL>>> Models_;
    std::set<std::pair<std::string, std::string>> Reported_;
    int ContextIndex_ = 0;
    int Imports_ = 0;
};

} // namespace kalvion
