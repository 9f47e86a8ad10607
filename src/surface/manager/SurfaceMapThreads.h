#pragma once
// The workers of the surface map manager: one per planet whose map is being
// made.  A worker copies the planet's values in, makes the map on its own
// thread, touches nothing else and reports through the function given to
// Start, called on the worker thread once the result is written.
#include "surface/manager/SurfaceMapMaking.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace kalvion {

class TBaseSurfaceMapGenThread {
public:
    explicit TBaseSurfaceMapGenThread(TSurfaceMapJob job) : Job(std::move(job)) {}
    virtual ~TBaseSurfaceMapGenThread();
    TBaseSurfaceMapGenThread(const TBaseSurfaceMapGenThread &) = delete;
    TBaseSurfaceMapGenThread &operator=(const TBaseSurfaceMapGenThread &) = delete;

    TSurfaceMapJob Job;
    // The encoded map (PNG); empty when none could be made.
    TMapBytes Result;
    // Set by the manager's termination handler on the main thread, never by
    // the worker, so a worker is reaped only after its report was handled.
    bool Done = false;
    // Ignored by the manager: the planet changed while the map was made.
    bool Stale = false;

    // Runs Execute on a new thread, then onTerminated on that thread.
    // Throws std::system_error when no thread can be made.
    void Start(std::function<void()> onTerminated);
    // Asks the worker to stop early (an external program is killed).
    void Terminate() noexcept { Stop_.store(true); }
    bool Terminated() const noexcept { return Stop_.load(); }
    void WaitFor();

protected:
    virtual void Execute() = 0;
    std::atomic<bool> Stop_{false};

private:
    std::thread Thread_;
};

// Terrestrial planets (fractal terrain) and gas giants (bands).
class TSurfaceMapGenThread final : public TBaseSurfaceMapGenThread {
public:
    using TBaseSurfaceMapGenThread::TBaseSurfaceMapGenThread;
    // Threads for the noise passes of one terrain.
    int TerrainWorkers = 1;

protected:
    void Execute() override;
};

// Terrestrial planets made by the external terrain program.
class TRWSurfaceMapGenThread final : public TBaseSurfaceMapGenThread {
public:
    using TBaseSurfaceMapGenThread::TBaseSurfaceMapGenThread;
    std::string ProgramFile, AltProgramFile, ColoringFolder, SaveFolder;

protected:
    void Execute() override;
};

// A worker running a given function (other map makers, and tests that hold
// a worker back until they let it go).
class TFunctionMapThread final : public TBaseSurfaceMapGenThread {
public:
    using TMaker = std::function<TMapBytes(const TSurfaceMapJob &, const std::atomic<bool> &stop)>;
    TFunctionMapThread(TSurfaceMapJob job, TMaker maker)
        : TBaseSurfaceMapGenThread(std::move(job)), Maker_(std::move(maker))
    {
    }

protected:
    void Execute() override;

private:
    TMaker Maker_;
};

} // namespace kalvion
