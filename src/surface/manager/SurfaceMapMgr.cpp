#include "surface/manager/SurfaceMapMgr.h"

#include "base/Guid.h"
#include "base/Paths.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "surface/PlanetTerrain.h"
#include "surface/manager/SurfacePalette.h"

#include <QMetaObject>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kalvion {

namespace {

bool MakesMap(std::int32_t type) { return type == BODY_TYPE_TERRESTRIAL || type == BODY_TYPE_GASGIANT; }

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    return folder;
}

} // namespace

TSurfaceMapMgr::TSurfaceMapMgr(QObject *parent) : QObject(parent), MaxWorkers_(DefaultTerrainWorkers())
{
    Finished_.reserve(SURFACE_MAP_CACHE_SIZE + 1);
    Queue_.reserve(SURFACE_MAP_CACHE_SIZE + 1);
}

TSurfaceMapMgr::~TSurfaceMapMgr()
{
    // Whoever listens may be going too.
    blockSignals(true);
    WaitAll();
}

void TSurfaceMapMgr::RequestMap(const TStellarBody &body)
{
    if (!MakesMap(body.TypeID))
        return;
    Failed_.erase(body.IDString);
    TGexColorGroup palette = DefaultGroup_;
    if (!body.ColorGroup() && body.TypeID == BODY_TYPE_TERRESTRIAL)
        ApplyManagerPalette(palette, body);
    RequestJob(SurfaceMapJobFor(body, palette, Width_, Height_));
}

void TSurfaceMapMgr::RequestChildMaps(const TStellarBody &body)
{
    for (const auto &child : body.Children)
        if (child && MakesMap(child->TypeID))
            RequestMap(*child);
}

void TSurfaceMapMgr::RequestJob(TSurfaceMapJob job)
{
    // The identity becomes part of file names and of a command line.
    if (!MakesMap(job.TypeID) || !IsGuidString(job.IDString))
        return;
    if (IndexOfMap(job.IDString) >= 0 || IsRunning(job.IDString))
        return;
    const int queued = QueueIndex(job.IDString);
    if (queued >= 0)
        Queue_.erase(Queue_.begin() + queued);  // asked again: now the most recent
    // Never dropped: a view shows "Scanning surface..." until its map comes,
    // and the queue holds each planet once.
    Queue_.push_back(std::move(job));
    ProcessNext();
}

int TSurfaceMapMgr::IndexOfMap(const std::string &idString) const
{
    for (std::size_t i = 0; i < Finished_.size(); ++i)
        if (Finished_[i].IDString == idString)
            return static_cast<int>(i);
    return -1;
}

std::optional<TSurfaceMapCopy> TSurfaceMapMgr::GetMap(const std::string &idString) const
{
    const int i = IndexOfMap(idString);
    if (i < 0)
        return std::nullopt;
    const TSurfaceMapItem &item = Finished_[static_cast<std::size_t>(i)];
    return TSurfaceMapCopy{item.Stream, item.Width, item.Height};
}

QImage TSurfaceMapMgr::CurrentMap(const std::string &idString)
{
    const int i = IndexOfMap(idString);
    if (i >= 0) {
        TSurfaceMapItem &item = Finished_[static_cast<std::size_t>(i)];
        if (item.Decoded.isNull())
            item.Decoded = QImage::fromData(item.Stream.data(), static_cast<int>(item.Stream.size()), "PNG");
        return item.Decoded;
    }
    if (FindBody && Failed_.count(idString) == 0) {
        if (const TStellarBody *body = FindBody(idString)) {
            TGexColorGroup palette = DefaultGroup_;
            if (!body->ColorGroup() && body->TypeID == BODY_TYPE_TERRESTRIAL)
                ApplyManagerPalette(palette, *body);
            RequestJob(SurfaceMapJobFor(*body, palette, Width_, Height_));
        }
    }
    return {};
}

void TSurfaceMapMgr::ForgetMap(const std::string &idString)
{
    const int i = IndexOfMap(idString);
    if (i >= 0)
        Finished_.erase(Finished_.begin() + i);
    for (TRunning &r : Threads_)
        if (!r.Thread->Done && r.Thread->Job.IDString == idString)
            r.Thread->Stale = true;
    Failed_.erase(idString);
}

void TSurfaceMapMgr::SetResolution(int level)
{
    const int w = SurfaceMapWidthForLevel(level);
    if (w == 0)
        return;
    Level_ = level;
    Width_ = w;
    Height_ = w / 2;
}

void TSurfaceMapMgr::SetExternalProgram(bool use, const std::string &programFile)
{
    UseExternal_ = use;
    ExternalProgram_ = programFile;
}

std::string TSurfaceMapMgr::SaveFolder() const
{
    std::string folder = WithSlash(SaveFolder_);
    const std::string program = WithSlash(ProgramFolder_);
    // Worlds are the user's files: a relative folder, or one inside the
    // program's own folder, is not used.
    const bool usable = !folder.empty() && std::filesystem::path(folder).is_absolute() &&
                        (program.empty() || folder.compare(0, program.size(), program) != 0);
    if (!usable)
        folder = UserDataFolder() + "RWPlanets/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

bool TSurfaceMapMgr::IsRunning(const std::string &idString) const
{
    return std::any_of(Threads_.begin(), Threads_.end(), [&](const TRunning &r) {
        return !r.Thread->Done && !r.Thread->Stale && r.Thread->Job.IDString == idString;
    });
}

int TSurfaceMapMgr::QueueIndex(const std::string &idString) const
{
    for (std::size_t i = 0; i < Queue_.size(); ++i)
        if (Queue_[i].IDString == idString)
            return static_cast<int>(i);
    return -1;
}

void TSurfaceMapMgr::ProcessNext()
{
    // Reap only workers whose report was handled: their threads have ended.
    for (auto it = Threads_.begin(); it != Threads_.end();) {
        if (it->Thread->Done) {
            it->Thread->WaitFor();
            it = Threads_.erase(it);
        } else {
            ++it;
        }
    }
    while (Active_ < MaxWorkers_ && !Queue_.empty()) {
        // The most recent request whose planet is not being made right now
        // (two workers of one planet would share its files).
        int pick = -1;
        for (int i = static_cast<int>(Queue_.size()) - 1; i >= 0; --i) {
            const std::string &id = Queue_[static_cast<std::size_t>(i)].IDString;
            const bool busy = std::any_of(Threads_.begin(), Threads_.end(), [&](const TRunning &r) {
                return !r.Thread->Done && r.Thread->Job.IDString == id;
            });
            if (!busy) {
                pick = i;
                break;
            }
        }
        if (pick < 0)
            break;
        TSurfaceMapJob job = std::move(Queue_[static_cast<std::size_t>(pick)]);
        Queue_.erase(Queue_.begin() + pick);
        if (IndexOfMap(job.IDString) >= 0) {
            Notify(job.IDString);
            continue;
        }
        StartJob(std::move(job));
    }
    TellWork();
}

void TSurfaceMapMgr::TellWork()
{
    if (MakingCount() == ToldMaking_)
        return;
    ToldMaking_ = MakingCount();
    emit workChanged(ToldMaking_);
}

std::unique_ptr<TBaseSurfaceMapGenThread> TSurfaceMapMgr::MakeThread(TSurfaceMapJob job)
{
    if (Maker_)
        return std::make_unique<TFunctionMapThread>(std::move(job), Maker_);
    if (job.TypeID == BODY_TYPE_TERRESTRIAL && UsesExternalProgram()) {
        auto t = std::make_unique<TRWSurfaceMapGenThread>(std::move(job));
        t->ProgramFile = ExternalProgram_;
        t->ColoringFolder = WithSlash(ProgramFolder_);
        t->SaveFolder = SaveFolder();
        return t;
    }
    auto t = std::make_unique<TSurfaceMapGenThread>(std::move(job));
    t->TerrainWorkers = TerrainWorkers_;
    return t;
}

void TSurfaceMapMgr::StartJob(TSurfaceMapJob job)
{
    job.Width = Width_;
    job.Height = Height_;
    const std::uint64_t id = NextId_++;
    Threads_.push_back({id, MakeThread(std::move(job))});
    ++Active_;
    try {
        Threads_.back().Thread->Start([this, id] {
            // Delivered on the manager's thread; dropped if the manager is gone.
            QMetaObject::invokeMethod(this, [this, id] { OnTerminated(id); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error &) {
        --Active_;
        Threads_.pop_back();
    }
}

void TSurfaceMapMgr::OnTerminated(std::uint64_t id)
{
    const auto it =
        std::find_if(Threads_.begin(), Threads_.end(), [id](const TRunning &r) { return r.Id == id; });
    if (it == Threads_.end())
        return;  // freed by WaitAll meanwhile
    TBaseSurfaceMapGenThread &t = *it->Thread;
    t.Done = true;
    --Active_;
    const std::string idString = t.Job.IDString;
    bool made = false;
    if (!t.Stale && !t.Result.empty() && IndexOfMap(idString) < 0) {
        TSurfaceMapItem item;
        item.IDString = idString;
        item.Width = t.Job.Width;
        item.Height = t.Job.Height;
        item.Stream = std::move(t.Result);
        Finished_.push_back(std::move(item));
        if (Finished_.size() > static_cast<std::size_t>(SURFACE_MAP_CACHE_SIZE))
            Finished_.erase(Finished_.begin());
        Failed_.erase(idString);
        made = true;
    } else if (!t.Stale && t.Result.empty()) {
        // Not a finished map: the next request tries again.
        Failed_.insert(idString);
    }
    if (made)
        Notify(idString);
    ProcessNext();
}

void TSurfaceMapMgr::Notify(const std::string &idString)
{
    if (OnMapReady)
        OnMapReady();
    emit mapReady(QString::fromStdString(idString));
}

void TSurfaceMapMgr::WaitAll()
{
    for (TRunning &r : Threads_)
        r.Thread->Terminate();
    for (TRunning &r : Threads_)
        r.Thread->WaitFor();
    Threads_.clear();
    // Every worker is gone; their reports, if still on their way, find nothing.
    Active_ = 0;
    TellWork();
}

void TSurfaceMapMgr::StopMap(const std::string &idString)
{
    if (const int q = QueueIndex(idString); q >= 0)
        Queue_.erase(Queue_.begin() + q);
    for (TRunning &r : Threads_)
        if (!r.Thread->Done && r.Thread->Job.IDString == idString) {
            r.Thread->Stale = true;
            r.Thread->Terminate();
            r.Thread->WaitFor();
        }
    TellWork();
}

void TSurfaceMapMgr::Clear()
{
    Finished_.clear();
    Queue_.clear();
    Failed_.clear();
    TellWork();
}

} // namespace kalvion
