// Image resources seen from the sector: loading on demand, previews, blazons.
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include "base/AsciiText.h"
#include "base/Paths.h"
#include "model/BodyTextureNames.h"
#include "model/SectorStore.h"

namespace kalvion {

namespace {

// Loads a resource's data for one call and drops it again afterwards when it
// was not in memory before.
class TTemporaryLoad {
public:
    TTemporaryLoad(TVexaSector &sector, TVexaImageResource &res) : FRes(res), FWasLoaded(res.Loaded)
    {
        sector.DynaLoadResource(&res);
    }
    ~TTemporaryLoad()
    {
        if (!FWasLoaded && FRes.Loaded) {
            FRes.Data.clear();
            FRes.Data.shrink_to_fit();
            FRes.Loaded = false;
        }
    }
    TTemporaryLoad(const TTemporaryLoad &) = delete;
    TTemporaryLoad &operator=(const TTemporaryLoad &) = delete;

private:
    TVexaImageResource &FRes;
    bool FWasLoaded;
};

bool SaveResource(TVexaSector &sector, TVexaImageResource *res, const std::string &fileName)
{
    if (!res)
        return false;
    TTemporaryLoad load(sector, *res);
    if (!res->Loaded || res->Data.empty())
        return false;
    return WriteFileBytes(fileName, res->Data);
}

// Reads a file, keeps it among the resources under its name (an existing
// resource of that name is left alone) and returns its bytes.
std::optional<TByteStream> AdoptFile(TVexaImageResourceList &list, const std::string &fileName)
{
    auto bytes = ReadFileBytes(fileName);
    if (!bytes)
        return std::nullopt;
    list.AddResourceStream(fileName, *bytes, false);
    return bytes;
}

} // namespace

void TVexaSector::AddResourceFile(const std::string &fileName)
{
    if (FileExists(fileName))
        ImageResources.AddResource(fileName, true);
}

std::string TVexaSector::GetResourceName(int index) const
{
    const TVexaImageResource *r = ImageResources.GetResource(index);
    return r ? r->ResourceName : std::string();
}

bool TVexaSector::SaveResourceToFile(std::string_view name, const std::string &fileName)
{
    return SaveResource(*this, ImageResources.GetResourceFromFile(name), fileName);
}

bool TVexaSector::SaveResourceByIndex(int index, const std::string &fileName)
{
    return SaveResource(*this, ImageResources.GetResource(index), fileName);
}

std::optional<TByteStream> TVexaSector::GetResourceImageStream(const std::string &name)
{
    if (TVexaImageResource *r = ImageResources.GetResourceFromFile(name)) {
        DynaLoadResource(r);
        if (r->Loaded && !r->Data.empty())
            return r->Data;
    }
    if (FileExists(name))
        return AdoptFile(ImageResources, name);
    return std::nullopt;
}

void TVexaSector::SetPreviewImage(TStellarBody *body, const std::string &fileName)
{
    if (!body)
        return;
    if (!SameText(body->PreviewImageFile, fileName))
        body->ModifySystem();
    body->PreviewImageFile = fileName;
    ImageResources.AddResource(fileName, true);
}

void TVexaSector::SetBlazonImage(TStellarBody *body, const std::string &fileName)
{
    if (!body)
        return;
    if (!SameText(body->BlazonImageFile, fileName))
        body->TVexaBase::Modified = true;
    body->BlazonImageFile = fileName;
    ImageResources.AddResource(fileName, true);
}

void TVexaSector::SetBlazonSelected(bool display, bool wrap, const std::string &fileName)
{
    for (auto &root : Systems) {
        if (!root->Selected)
            continue;
        FHistory->TouchSystem(root.get());
        if (fileName.empty())
            root->BlazonImageFile.clear();
        else
            SetBlazonImage(root.get(), fileName);
        root->BlazonDisplay = display;
        root->BlazonWrap = wrap;
        root->ModifySystem();
    }
}

std::optional<TByteStream> TVexaSector::GetSurfaceMapImageStream(const TStellarBody *body)
{
    if (!body || FileName.empty() || !Store)
        return std::nullopt;
    return Store->LoadSurfaceMapImage(*this, *body);
}

std::optional<TByteStream> TVexaSector::GetPreviewImageStream(const TStellarBody *body)
{
    if (!body)
        return std::nullopt;
    if (body->PreviewImageFile.empty())
        return GetSurfaceMapImageStream(body);

    TVexaImageResource *res = ImageResources.GetResourceFromFile(body->PreviewImageFile);
    if (!res && !FileName.empty() && Store) {
        // Stored with the sector but not listed yet: try the file once.
        auto temp = std::make_unique<TVexaImageResource>();
        temp->ResourceName = AsciiLower(body->PreviewImageFile);
        DynaLoadResource(temp.get());
        if (temp->Loaded) {
            temp->Modified = false;
            res = temp.get();
            ImageResources.Add(std::move(temp));
        }
    }
    if (res) {
        DynaLoadResource(res);
        if (res->Loaded && !res->Data.empty())
            return res->Data;
    }
    for (const std::string &candidate : {TextureName(*body), DefaultTextureFile(*body)})
        if (!candidate.empty() && FileExists(candidate))
            return AdoptFile(ImageResources, candidate);
    return std::nullopt;
}

} // namespace kalvion
