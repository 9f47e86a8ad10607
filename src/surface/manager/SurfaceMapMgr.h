#pragma once
// TSurfaceMapMgr: planet surface maps made on demand in the background.  It
// keeps the last 50 finished maps by IDString, a queue of waiting planets
// served most recent first, and one worker per planet being made.  Requests,
// dispatch, the workers' reports, the cache and the map-ready notification
// all run on the thread that owns the manager (the main thread), so the
// cache needs no lock; workers only see copies of the planets' values.
#include "model/GexColorGroup.h"
#include "surface/manager/SurfaceMapMaking.h"
#include "surface/manager/SurfaceMapThreads.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kalvion {

class TStellarBody;

inline constexpr int SURFACE_MAP_CACHE_SIZE = 50;

struct TSurfaceMapItem {
    std::string IDString;
    int Width = 0, Height = 0;
    TMapBytes Stream;
    QImage Decoded;  // made on first use by CurrentMap
};

struct TSurfaceMapCopy {
    TMapBytes Stream;
    int Width = 0, Height = 0;
};

class TSurfaceMapMgr final : public QObject {
    Q_OBJECT
public:
    explicit TSurfaceMapMgr(QObject *parent = nullptr);
    ~TSurfaceMapMgr() override;

    // Queues the planet (a terrestrial planet or a gas giant) unless its map
    // exists, is queued or is being made.  A planet whose IDString is not a
    // GUID gets no map.
    void RequestMap(const TStellarBody &body);
    // RequestMap for every terrestrial planet and gas giant among the children.
    void RequestChildMaps(const TStellarBody &body);
    // The same for a job made by the caller.
    void RequestJob(TSurfaceMapJob job);

    int IndexOfMap(const std::string &idString) const;
    std::optional<TSurfaceMapCopy> GetMap(const std::string &idString) const;
    // The finished map as an image; a null image while there is none, and
    // then the planet is requested (found through FindBody) unless its last
    // try gave nothing.
    QImage CurrentMap(const std::string &idString);
    // Drops the finished map (and any result still being made from older
    // values), so that the next request makes a new one.
    void ForgetMap(const std::string &idString);

    // Level 1 … 5 (others ignored); maps made afterwards take its size.
    void SetResolution(int level);
    int Resolution() const noexcept { return Level_; }
    int MapWidth() const noexcept { return Width_; }
    int MapHeight() const noexcept { return Height_; }

    // The palette copied for planets without one; the window puts its
    // preference colours here before requesting.
    TGexColorGroup &DefaultColorGroup() noexcept { return DefaultGroup_; }

    // The external terrain program for terrestrial planets (off: the
    // built-in terrain).
    void SetExternalProgram(bool use, const std::string &programFile);
    bool UsesExternalProgram() const noexcept { return UseExternal_ && !ExternalProgram_.empty(); }
    // Where the external program's worlds go; empty: the user's data folder
    // + "RWPlanets/".
    void SetSaveFolder(const std::string &folder) { SaveFolder_ = folder; }
    std::string SaveFolder() const;
    void SetProgramFolder(const std::string &folder) { ProgramFolder_ = folder; }

    // At most this many workers run at once (at least 1; one per processor
    // unless set); the rest wait in the queue.
    void SetMaxWorkers(int n) noexcept { MaxWorkers_ = n < 1 ? 1 : n; }
    int MaxWorkers() const noexcept { return MaxWorkers_; }
    // Threads for the noise passes inside one terrestrial map.
    void SetTerrainWorkers(int n) noexcept { TerrainWorkers_ = n < 1 ? 1 : n; }

    // Another way of making maps (every job runs it instead of the built-in makers).
    void SetMapMaker(TFunctionMapThread::TMaker maker) { Maker_ = std::move(maker); }

    int ActiveCount() const noexcept { return Active_; }
    int QueuedCount() const noexcept { return static_cast<int>(Queue_.size()); }
    int FinishedCount() const noexcept { return static_cast<int>(Finished_.size()); }
    int ThreadCount() const noexcept { return static_cast<int>(Threads_.size()); }
    // Maps being made or waiting to be; workChanged tells when it changes.
    int MakingCount() const noexcept { return Active_ + QueuedCount(); }

    // Reaps finished workers and starts the most recent waiting planets.
    void ProcessNext();
    // Stops, waits for and frees every worker (an external program still
    // running is killed).
    void WaitAll();
    // Takes the planet off the queue and stops a worker making its map, so
    // a command that writes the same files runs alone; the stopped map is
    // never delivered.
    void StopMap(const std::string &idString);
    // Frees all finished maps and waiting planets.
    void Clear();

    // Called on the owning thread whenever a map is finished or found.
    std::function<void()> OnMapReady;
    // Finds a body by IDString for CurrentMap's requests.
    std::function<const TStellarBody *(const std::string &)> FindBody;

signals:
    void mapReady(const QString &idString);
    void workChanged(int making);

private:
    struct TRunning {
        std::uint64_t Id = 0;
        std::unique_ptr<TBaseSurfaceMapGenThread> Thread;
    };
    bool IsRunning(const std::string &idString) const;
    int QueueIndex(const std::string &idString) const;
    void StartJob(TSurfaceMapJob job);
    void OnTerminated(std::uint64_t id);
    void Notify(const std::string &idString);
    // Emits workChanged when MakingCount differs from what it last told.
    void TellWork();
    std::unique_ptr<TBaseSurfaceMapGenThread> MakeThread(TSurfaceMapJob job);

    TGexColorGroup DefaultGroup_;
    int Level_ = 3;
    int Width_ = 512, Height_ = 256;
    std::vector<TRunning> Threads_;
    std::vector<TSurfaceMapItem> Finished_;
    std::vector<TSurfaceMapJob> Queue_;
    int Active_ = 0;
    int ToldMaking_ = 0;
    int MaxWorkers_ = 1;
    int TerrainWorkers_ = 1;
    bool UseExternal_ = false;
    std::string ExternalProgram_;
    std::string SaveFolder_;
    std::string ProgramFolder_;
    std::uint64_t NextId_ = 1;
    TFunctionMapThread::TMaker Maker_;
    // Planets whose last try gave no map: CurrentMap does not ask again
    // every frame; an explicit request does.
    std::set<std::string> Failed_;
};

} // namespace kalvion
