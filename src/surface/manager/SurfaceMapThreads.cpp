#include "surface/manager/SurfaceMapThreads.h"

#include "model/BodyTypes.h"
#include "surface/GexTerrain.h"
#include "surface/PlanetTerrain.h"
#include "surface/manager/RWIntegrate.h"

#include <new>

namespace kalvion {

TBaseSurfaceMapGenThread::~TBaseSurfaceMapGenThread()
{
    Terminate();
    WaitFor();
}

void TBaseSurfaceMapGenThread::Start(std::function<void()> onTerminated)
{
    Thread_ = std::thread([this, done = std::move(onTerminated)] {
        try {
            Execute();
        } catch (const std::exception &) {
            // Out of memory or a failed inner thread: no map this time.
            Result.clear();
        }
        if (done)
            done();
    });
}

void TBaseSurfaceMapGenThread::WaitFor()
{
    if (Thread_.joinable())
        Thread_.join();
}

void TSurfaceMapGenThread::Execute()
{
    if (Job.TypeID == BODY_TYPE_TERRESTRIAL) {
        const auto terrain = SetupJobTerrain(Job, TerrainWorkers);
        if (Terminated())
            return;
        EncodeMapPng(RenderTerrainMap(*terrain), Result);
    } else if (Job.TypeID == BODY_TYPE_GASGIANT) {
        const QImage map = MakeGasGiantMap(Job.RandomSeed, Job.Albedo, Job.Width, Job.Height, &Stop_);
        if (!Terminated())
            EncodeMapPng(map, Result);
    }
}

void TRWSurfaceMapGenThread::Execute()
{
    TRWIntegrate rw;
    rw.Quiet = true;
    rw.Stop = &Stop_;
    rw.ProgramFile = ProgramFile;
    rw.AltProgramFile = AltProgramFile;
    rw.ColoringFolder = ColoringFolder;
    rw.SaveFolder = SaveFolder;
    rw.WorldName = Job.IDString;
    rw.Seed = Job.RandomSeed;
    rw.Distance = Job.Distance;
    rw.StarLuminosity = Job.StarLuminosity;
    rw.Radius = Job.Radius;
    rw.Water = Job.Water;
    rw.Albedo = Job.Albedo;
    rw.GreenhouseRatio = Job.GreenhouseRatio;
    rw.Habitability = Job.Habitability;
    rw.Temperature = Job.Temp;
    rw.GenerateSurfaceMap(Job.Width, Result);
}

void TFunctionMapThread::Execute()
{
    if (Maker_)
        Result = Maker_(Job, Stop_);
}

} // namespace kalvion
