#include "app/surface/ExternalTerrain.h"

#include "model/ImageResources.h"
#include "model/StellarBody.h"
#include "surface/manager/RWIntegrate.h"

namespace kalvion::app {

void FillExternalTerrain(TRWIntegrate &rw, const TStellarBody &planet, const TExternalTerrainSetup &setup)
{
    rw.ProgramFile = setup.ProgramFile;
    rw.ColoringFolder = setup.ColoringFolder;
    rw.SaveFolder = setup.SaveFolder;
    rw.OnMessage = setup.OnMessage;
    rw.WorldName = planet.IDString.str();
    rw.Seed = planet.RandomSeed;
    rw.Distance = planet.DistanceFromParentStar();
    const TStellarBody *star = planet.GetParentStar();
    rw.StarLuminosity = star ? star->Luminosity : 0.0;
    rw.Radius = planet.Radius;
    rw.Water = planet.Water;
    rw.Albedo = planet.Albedo;
    rw.GreenhouseRatio = planet.GreenhouseRatio();
    rw.Habitability = planet.Habitability;
    rw.Temperature = planet.Temp;
}

namespace {

// A program that was found but could not be run says why; one that ran and
// left no image has nothing to add.
void ReportFailure(const TRWIntegrate &rw, const TExternalTerrainSetup &setup)
{
    if (!rw.ErrorText.empty() && setup.OnMessage)
        setup.OnMessage(rw.ErrorText);
}

} // namespace

std::optional<std::string> ExternalSurfaceMapFile(const TStellarBody &planet, int width,
                                                  const TExternalTerrainSetup &setup)
{
    TRWIntegrate rw;
    FillExternalTerrain(rw, planet, setup);
    TMapBytes png;
    if (!rw.GenerateSurfaceMap(width, png)) {
        ReportFailure(rw, setup);
        return std::nullopt;
    }
    rw.ResultName = rw.SaveFolder + rw.WorldName + ".png";
    if (!WriteFileBytes(rw.ResultName, png)) {
        if (setup.OnMessage)
            setup.OnMessage("Cannot write the surface map file " + rw.ResultName);
        return std::nullopt;
    }
    return rw.ResultName;
}

bool OpenPlanetInExternalProgram(const TStellarBody &planet, const TExternalTerrainSetup &setup)
{
    TRWIntegrate rw;
    FillExternalTerrain(rw, planet, setup);
    if (rw.OpenInProgram())
        return true;
    ReportFailure(rw, setup);
    return false;
}

} // namespace kalvion::app
