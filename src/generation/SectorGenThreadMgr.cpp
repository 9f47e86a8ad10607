// The sector's side of a threaded generation: starting and stopping the
// worker, and the hand-overs that bring its systems into the sector.
#include "generation/SectorGenerator.h"

#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <string>
#include <system_error>

namespace kalvion {

TVexaGenThreadMgr::TVexaGenThreadMgr(TVexaSector &sector) : FSector(sector) {}

TVexaGenThreadMgr::~TVexaGenThreadMgr() { StopAndJoin(); }

void TVexaGenThreadMgr::StopAndJoin()
{
    Terminate();
    if (FWorker.joinable())
        FWorker.join();
    std::lock_guard<std::mutex> lock(FLock);
    FQueue.clear();
    FQueuedSystems = 0;
    FUnloaded.clear();
    FRunning = false;
}

void TVexaGenThreadMgr::Start(const TSectorGenerateParams &params)
{
    if (FRunning)
        TerminateAndWait();
    Threads.clear();
    FQueue.clear();
    FQueuedSystems = 0;
    FError.clear();
    FCancelled = false;
    FSaveSeconds = 0;
    FPercent = 0;
    FTrimAnswered = false;
    FSavedBlocks = FSector.Systems.size() / static_cast<std::size_t>(SECTOR_GEN_CACHE_AT);
    FSector.UpdateVisibleCount();  // hand-overs add to it
    // One draw of the shared generator seeds both the noise and the worker.
    const std::int32_t seed = SharedRandomInt(2000000000);
    Threads.push_back(std::make_unique<TVexaGeneratorThread>(*this, FSector, params, ThreadCount, 0, seed));
    TVexaGeneratorThread *thread = Threads.back().get();
    FRunning = true;
    try {
        FWorker = std::thread([thread] { thread->Execute(); });
    } catch (const std::system_error &e) {
        FRunning = false;
        Threads.clear();
        FError = std::string("The sector generator could not start: ") + e.what();
    }
}

bool TVexaGenThreadMgr::IsRunning() const { return FRunning; }

void TVexaGenThreadMgr::Terminate() noexcept
{
    for (auto &t : Threads)
        t->Terminate();
    {
        // Taking the lock orders this with a worker about to wait for a trim.
        std::lock_guard<std::mutex> lock(FLock);
    }
    FChanged.notify_all();
}

void TVexaGenThreadMgr::Post(TVexaGeneratorThread &thread, TSectorHandOver item)
{
    const bool final = item.Final;
    std::vector<std::unique_ptr<TStellarBody>> unloaded;
    {
        std::unique_lock<std::mutex> lock(FLock);
        FQueuedSystems += item.Bodies.size();
        FQueue.push_back(std::move(item));
        FChanged.notify_all();
        // A worker that runs ahead of the sector's thread (which may be
        // saving a checkpoint) waits, so the systems in flight stay bounded;
        // stopping the run ends the wait.
        if (!final)
            FChanged.wait(lock, [&] { return FQueuedSystems <= SECTOR_GEN_QUEUE_LIMIT || thread.Terminated(); });
        unloaded.swap(FUnloaded);
    }
    // Freed here, outside the lock: the worker's own heap.
    unloaded.clear();
}

void TVexaGenThreadMgr::KeepUnloaded(std::vector<std::unique_ptr<TStellarBody>> &&children)
{
    std::lock_guard<std::mutex> lock(FLock);
    if (FUnloaded.empty())
        FUnloaded = std::move(children);
    else
        for (auto &c : children)
            FUnloaded.push_back(std::move(c));
}

bool TVexaGenThreadMgr::RequestTrim(TVexaGeneratorThread &thread, std::int32_t radius, std::int32_t total)
{
    std::unique_lock<std::mutex> lock(FLock);
    TSectorHandOver item;
    item.Kind = TSectorHandOver::TKind::Trim;
    item.TrimRadius = radius;
    item.TrimTotal = total;
    FTrimAnswered = false;
    FQueue.push_back(std::move(item));
    FChanged.notify_all();
    FChanged.wait(lock, [&] { return FTrimAnswered || thread.Terminated(); });
    return FTrimAnswered && FTrimResult;
}

bool TVexaGenThreadMgr::ProcessHandOvers(std::chrono::milliseconds wait)
{
    if (!FRunning)
        return false;
    std::deque<TSectorHandOver> items;
    {
        std::unique_lock<std::mutex> lock(FLock);
        if (FQueue.empty() && wait.count() > 0)
            FChanged.wait_for(lock, wait, [&] { return !FQueue.empty(); });
        items.swap(FQueue);
        FQueuedSystems = 0;
    }
    FChanged.notify_all();
    for (auto &item : items) {
        Apply(item);
        if (!FRunning)
            break;
    }
    return FRunning;
}

void TVexaGenThreadMgr::Apply(TSectorHandOver &item)
{
    if (item.Kind == TSectorHandOver::TKind::Trim) {
        bool trimmed = false;
        bool terminated = false;
        for (auto &t : Threads)
            terminated = terminated || t->Terminated();
        if (!terminated)
            trimmed = TrimSphere(FSector, item.TrimRadius, item.TrimTotal);
        {
            std::lock_guard<std::mutex> lock(FLock);
            FTrimAnswered = true;
            FTrimResult = trimmed;
        }
        FChanged.notify_all();
        return;
    }

    // The counts follow the new roots alone: a recount of every root at each
    // hand-over would grow with the square of the sector.
    for (auto &body : item.Bodies) {
        FSector.UpdatePoliticalFrom(*body);
        if (body->Visible)
            ++FSector.VisibleCount;
        FSector.AddSystem(std::move(body));
    }
    item.Bodies.clear();
    if (item.Shell) {
        FSector.SizeX = FSector.GridX = item.SizeX;
        FSector.SizeY = FSector.GridY = item.SizeY;
        FSector.SizeZ = FSector.GridZ = item.SizeZ;
    }
    FPercent = item.Percent;
    FSector.RenderMessageBig =
        "Generating Sector: " + std::to_string(item.Percent) + "% complete.  Hit Escape to cancel";
    FSector.RenderMessageSmall = std::to_string(FSector.Systems.size()) + " systems generated";
    if (OnHandOverProgress)
        OnHandOverProgress(FPercent, FSector.Systems.size());

    // Checkpoints: a sector with a file is saved each time it passes another
    // SECTOR_GEN_CACHE_AT systems, so a crash loses at most that many.
    const std::size_t blocks = FSector.Systems.size() / static_cast<std::size_t>(SECTOR_GEN_CACHE_AT);
    if (!FSector.FileName.empty() && blocks > FSavedBlocks) {
        FSavedBlocks = blocks;
        std::string error;
        const auto started = std::chrono::steady_clock::now();
        // The worker is still running: it frees what the save unloads.
        FSector.OnChildrenUnloaded = [this](std::vector<std::unique_ptr<TStellarBody>> &&children) {
            KeepUnloaded(std::move(children));
        };
        const bool saved = SaveToFile(FSector, FSector.FileName, false, &error);
        FSector.OnChildrenUnloaded = nullptr;
        if (!saved && FError.empty())
            FError = error;
        FSaveSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    if (item.Final) {
        FSector.RenderMessageBig.clear();
        FSector.RenderMessageSmall.clear();
        FinishRun();
    }
}

void TVexaGenThreadMgr::FinishRun()
{
    // The worker posted its last hand-over and only returns now.
    if (FWorker.joinable())
        FWorker.join();
    FUnloaded.clear();
    for (auto &t : Threads) {
        if (!t->Completed.load())
            FCancelled = true;
        if (!t->Error.empty())
            FError = t->Error + (FError.empty() ? "" : "; " + FError);
    }
    FRunning = false;
    std::string error;
    const auto started = std::chrono::steady_clock::now();
    if (!GenerateFinished(FSector, &error))
        FError += (FError.empty() ? "" : "; ") + error;
    FSaveSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

void TVexaGenThreadMgr::TerminateAndWait()
{
    if (FRunning) {
        Terminate();
        while (ProcessHandOvers(std::chrono::milliseconds(50))) {
        }
    }
    Threads.clear();
    FSector.RenderMessageBig.clear();
    FSector.RenderMessageSmall.clear();
}

TVexaGenThreadMgr &SectorGenThreadMgr(TVexaSector &sector)
{
    if (auto *mgr = dynamic_cast<TVexaGenThreadMgr *>(sector.GenThreadMgr.get()))
        return *mgr;
    auto mgr = std::make_unique<TVexaGenThreadMgr>(sector);
    TVexaGenThreadMgr &ref = *mgr;
    sector.GenThreadMgr = std::move(mgr);
    return ref;
}

void StartSectorGeneration(TVexaSector &sector, const TSectorGenerateParams &params)
{
    SectorGenThreadMgr(sector).Start(params);
}

bool TrimSphere(TVexaSector &sector, std::int32_t radius, std::int32_t total)
{
    const double r2 = static_cast<double>(radius) * radius;
    const auto outside = [r2](const TStellarBody &b) { return b.X * b.X + b.Y * b.Y + b.Z * b.Z > r2; };
    std::size_t within = 0;
    for (const auto &root : sector.Systems)
        if (!outside(*root))
            ++within;
    const std::size_t want = total > 0 ? static_cast<std::size_t>(total) : 0;
    if (within <= want)
        return false;

    const std::size_t n = sector.Systems.size();
    std::vector<bool> drop(n, false);
    std::size_t remaining = n;
    for (std::size_t i = n; i-- > 0 && remaining > want;) {
        const TStellarBody &b = *sector.Systems[i];
        if (!b.Selected && outside(b)) {
            drop[i] = true;
            --remaining;
        }
    }
    for (std::size_t i = n; i-- > 0 && remaining > want;) {
        if (!drop[i] && !sector.Systems[i]->Selected) {
            drop[i] = true;
            --remaining;
        }
    }
    sector.RemoveSystems(drop);
    sector.UpdateVisibleCount();
    return true;
}

bool GenerateFinished(TVexaSector &sector, std::string *error)
{
    bool ok = true;
    if (!sector.FileName.empty())
        ok = SaveToFile(sector, sector.FileName, false, error);
    sector.SetFilters();
    if (sector.OnGenerateFinished)
        sector.OnGenerateFinished();
    return ok;
}

} // namespace kalvion
