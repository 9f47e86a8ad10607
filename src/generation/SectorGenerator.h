#pragma once
// The sector generator: fills a sector with root systems, evenly or in
// clusters, in a box or a sphere, on a worker thread.
//
// The worker never touches the sector.  It collects the systems it makes and
// posts them in batches to a queue; the thread that owns the sector (the
// window's main thread, the command line's calling thread) drains the queue
// with ProcessHandOvers and appends them.  The worker waits for that thread
// only for the sphere trim and when it has run too far ahead; either wait
// ends as soon as the run is terminated, so stopping a run from the owning
// thread cannot deadlock.
#include "base/Colour.h"
#include "generation/SystemGenerator.h"
#include "model/SectorJob.h"
#include "surface/PerlinNoise.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kalvion {

class TStellarBody;
class TVexaSector;
class TVexaGenThreadMgr;

inline constexpr int GENERATE_NONE = 0;
inline constexpr int GENERATE_STARS = 1;
inline constexpr int GENERATE_EXTENDED = 2;
inline constexpr int DISTRIBUTION_CLUSTERED = 0;
inline constexpr int DISTRIBUTION_EVEN = 1;
inline constexpr int SECTOR_GEN_CACHE_AT = 10000;
inline constexpr int SECTOR_GEN_UPDATETIME = 1500;  // milliseconds
// Systems a worker collects before it hands them over.
inline constexpr int SECTOR_GEN_HANDOVER_AT = 100;
// Systems handed over but not yet taken by the sector's thread beyond which
// the worker waits.
inline constexpr std::size_t SECTOR_GEN_QUEUE_LIMIT = 10000;

// What a generator plug-in is told about the generation it is asked for.
struct TVexaGenerateOptions {
    std::string BodyType;
    std::int32_t BodyTypeID = 0;
    std::string Generator = VEXA_GENERATOR_NAME;
    std::string NameGenerator;
    bool GenContents = true;
    bool GenPopulations = true;
};

// The arguments of a threaded generation; the sector's own size, shape and
// Frequency are read when it starts.
struct TSectorGenerateParams {
    std::int32_t Distribution = DISTRIBUTION_EVEN;
    std::int32_t SystemData = GENERATE_EXTENDED;
    std::int32_t TerraformingLevel = 10;
    std::array<std::int32_t, FREQUENCY_COUNT> Frequencies{};
    std::int32_t TotalSystems = 0;
    bool OrganicNaming = false;
    std::string NameTable;
    TColor SubsectorColor = ColorRGB(0, 128, 192);
    TColor PopulatedColor = ColorRGB(255, 128, 64);
    TColor LabelColor = ColorRGB(255, 0, 0);
    bool Populations = true;
    TSectorGenerateParams() { Frequencies.fill(10); }
};

// One entry of the hand-over queue.
struct TSectorHandOver {
    enum class TKind { Batch, Trim };
    TKind Kind = TKind::Batch;
    std::vector<std::unique_ptr<TStellarBody>> Bodies;
    bool Shell = false;  // shell growth: the sector takes the sizes below
    std::int32_t SizeX = 0, SizeY = 0, SizeZ = 0;
    std::int32_t Percent = 0;
    bool Final = false;  // the worker's last hand-over
    std::int32_t TrimRadius = 0, TrimTotal = 0;
};

class TVexaGeneratorThread {
public:
    TVexaGeneratorThread(TVexaGenThreadMgr &mgr, const TVexaSector &sector, const TSectorGenerateParams &params,
                         std::int32_t threadCount, std::int32_t threadIndex, std::int32_t seed);
    TVexaGeneratorThread(const TVexaGeneratorThread &) = delete;
    TVexaGeneratorThread &operator=(const TVexaGeneratorThread &) = delete;

    // The thread's work from start to the final hand-over.  Never throws: a
    // failure ends the run as cancelled and is kept in Error.
    void Execute();
    void Terminate() noexcept { FTerminate.store(true, std::memory_order_relaxed); }
    bool Terminated() const noexcept { return FTerminate.load(std::memory_order_relaxed); }

    // Copies taken at the start.
    std::int32_t SizeX, SizeY, SizeZ;  // whole light years
    std::int32_t TotalSystems;
    bool Spherical;
    std::int32_t Distribution;
    double Frequency;
    std::int32_t SystemData;
    bool Populations;
    std::int32_t ThreadCount, ThreadIndex;
    std::int32_t NoiseSeed;
    std::uint32_t Seed;  // the thread's own random seed
    TPerlinNoiseGenerator Noise;
    TColor LabelColor, PopulatedColor, SubsectorColor;
    std::string NameTable;
    bool OrganicNaming;
    std::array<std::int32_t, FREQUENCY_COUNT> Frequencies;
    std::int32_t TerraformingLevel;

    // Working state.
    std::unique_ptr<TSystemGenerator> Generator;
    std::vector<std::unique_ptr<TStellarBody>> Pending;
    std::string PadPattern;
    std::int32_t Count = 0;  // systems generated
    std::atomic<bool> Finished{false};
    std::atomic<bool> Completed{false};
    std::string Error;  // why the run failed; empty when it did not

private:
    void Run();
    void BoxFill();
    void ShellGrowth();
    bool PlacementTest(std::int32_t x, std::int32_t y, std::int32_t z);
    void PlaceCell(std::int32_t x, std::int32_t y, std::int32_t z);
    // Tests a cell and places a system there when it passes.
    void TestCell(std::int32_t x, std::int32_t y, std::int32_t z);
    void HandOver(bool final);
    void ReportProgress();
    std::int32_t ProgressPercent() const;

    TVexaGenThreadMgr &FMgr;
    std::atomic<bool> FTerminate{false};
    bool FShell = false;
    std::int32_t FDone = 0;    // box fill: x + half size
    std::int32_t FTarget = 0;  // shell growth: systems to reach
};

// Runs one sector's generation.  Created by StartSectorGeneration and kept
// by the sector; every member not marked otherwise is for the sector's thread.
class TVexaGenThreadMgr final : public TSectorJob {
public:
    explicit TVexaGenThreadMgr(TVexaSector &sector);
    // Stops the worker and waits for it; what it had not handed over is lost.
    ~TVexaGenThreadMgr() override;

    std::int32_t ThreadCount = 1;
    std::vector<std::unique_ptr<TVexaGeneratorThread>> Threads;

    // Stops a running generation (handing over and finishing it) and starts
    // a new one; returns at once.
    void Start(const TSectorGenerateParams &params);
    // True until the last hand-over has been processed and the finishing
    // step has run.
    bool IsRunning() const override;
    // Asks the worker to stop; returns at once.  Safe from any thread.
    void Terminate() noexcept;
    // Processes the waiting hand-overs, waiting up to `wait` for the first.
    // Returns IsRunning().
    bool ProcessHandOvers(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    // Escape: stop the worker, take over what it made, finish the run
    // (GenerateFinished) and free the thread.
    void TerminateAndWait();

    // Progress as of the last hand-over.
    std::int32_t Percent() const { return FPercent; }
    // Told of each hand-over's progress as it is processed (the sector's
    // thread): the percentage and the systems the sector now holds.
    std::function<void(std::int32_t percent, std::size_t systems)> OnHandOverProgress;
    // A failure of the worker, of a checkpoint save or of the final save.
    const std::string &ErrorMessage() const { return FError; }
    // True when the last run was stopped before it completed.
    bool Cancelled() const { return FCancelled; }
    // Seconds the last run spent saving (checkpoints and the final save).
    double SaveSeconds() const { return FSaveSeconds; }

    // For the worker: queues a hand-over, then waits while too many systems
    // are queued (never for the final one, never once terminated).
    void Post(TVexaGeneratorThread &thread, TSectorHandOver item);
    // Asks the sector's thread to trim the sphere; false when the trim did
    // not happen or the run was terminated while waiting.
    bool RequestTrim(TVexaGeneratorThread &thread, std::int32_t radius, std::int32_t total);

private:
    void Apply(TSectorHandOver &item);
    // The sector's thread, during a checkpoint save: keeps what was unloaded
    // for the worker to free.
    void KeepUnloaded(std::vector<std::unique_ptr<TStellarBody>> &&children);
    void FinishRun();
    void StopAndJoin();

    TVexaSector &FSector;
    mutable std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<TSectorHandOver> FQueue;
    std::size_t FQueuedSystems = 0;
    std::thread FWorker;
    bool FRunning = false;      // sector's thread: a run has not been finished yet
    bool FTrimAnswered = false;
    bool FTrimResult = false;
    std::int32_t FPercent = 0;
    std::size_t FSavedBlocks = 0;  // checkpoints saved: roots / SECTOR_GEN_CACHE_AT
    // Trees that checkpoint saves unloaded, freed by the worker that made them.
    std::vector<std::unique_ptr<TStellarBody>> FUnloaded;
    bool FCancelled = false;
    double FSaveSeconds = 0;
    std::string FError;
};

// What one generated system takes in memory while a generation runs, by
// system-data mode (estimates on the generous side): a bare root, a root
// with its stars, a whole system with planets, moons and names.
double GeneratedSystemBytes(std::int32_t systemData);
// The number of systems a generation of the sector as set up (size, shape,
// Frequency) with these parameters is expected to make.
double ExpectedGeneratedSystems(const TVexaSector &sector, const TSectorGenerateParams &params);
// How many systems of the given mode fit in half of this machine's memory.
double MaxGeneratedSystems(std::int32_t systemData = GENERATE_EXTENDED);
// Empty when the expected count fits; otherwise the refusal, with the
// estimate and the reason.
std::string CheckGenerationSize(const TVexaSector &sector, const TSectorGenerateParams &params);

// The sector's generation manager, made on first use.
TVexaGenThreadMgr &SectorGenThreadMgr(TVexaSector &sector);
// Starts a threaded generation of the sector as it is set up; returns at once.
void StartSectorGeneration(TVexaSector &sector, const TSectorGenerateParams &params);

// Counts the roots within the radius of the origin; when more than total,
// removes unselected roots, the farthest-placed first, until total remain.
// True when it removed anything (the growth of a spherical sector then ends).
bool TrimSphere(TVexaSector &sector, std::int32_t radius, std::int32_t total);

// Runs on the sector's thread when a generation ends, completed or
// cancelled: saves a sector that has a file, refreshes the filters and
// counts and raises OnGenerateFinished.  False (and error set) when the save
// failed; the callback runs either way.
bool GenerateFinished(TVexaSector &sector, std::string *error = nullptr);

// Cuts the sector's box into across × high × deep named cube subsectors.
void GenerateSubsectors(TVexaSector &sector, std::int32_t across, std::int32_t high, const std::string &nameTable,
                        TColor colour, std::int32_t deep);

// The single-threaded generation for scripts.  It draws on the shared random
// generator and caches the sector to GenerateTempFile() as it grows.  The
// progress callback's true answer cancels; without one the sector's
// OnProgress is told and nothing cancels.  False when a cache save failed.
bool GenerateSector(TVexaSector &sector, std::int32_t distribution, std::int32_t systemData, bool populations,
                    TColor labelColour, TColor populatedColour, TColor subsectorColour, const std::string &nameTable,
                    const std::function<bool(const std::string &, double)> &progress = {},
                    std::string *error = nullptr);

// Saves the sector to its file and moves that file to fileName, which is
// replaced in one step.  On success the sector's FileName and Name follow
// the new file; on failure they stay and error says why.
bool SaveGenerateTempFile(TVexaSector &sector, const std::string &fileName, std::string *error = nullptr);

} // namespace kalvion
