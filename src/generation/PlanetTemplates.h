#pragma once
// Ready-made worlds that the body editor and scripts apply to one body:
// Earth-like, Mars-like, large barren, large with thick air, gas giant.  Each
// runs on a generator of its own; the Fill… forms take the generator so that
// a caller can fix its seed.
#include <cstdint>
#include <string>

namespace kalvion {

class TStellarBody;
class TSystemGenerator;

// The world itself; moons where the body is not a moon of a terrestrial planet.
void FillPlanetEarthlike(TSystemGenerator &gen, TStellarBody &body);
void FillPlanetMarslike(TSystemGenerator &gen, TStellarBody &body);
void FillPlanetLargeBarren(TSystemGenerator &gen, TStellarBody &body);
void FillPlanetLargeThickAtm(TSystemGenerator &gen, TStellarBody &body);
// Size class 1 small, 2 medium, 3 large, anything else any size.
void FillGasGiant(TSystemGenerator &gen, TStellarBody &body, std::int32_t sizeClass);

// The whole template: a new generator with the name table, the world,
// populations and names.
void PlanetEarthlike(TStellarBody &body, const std::string &nameTableFile);
void PlanetMarslike(TStellarBody &body, const std::string &nameTableFile);
void PlanetLargeBarren(TStellarBody &body, const std::string &nameTableFile);
void PlanetLargeThickAtm(TStellarBody &body, const std::string &nameTableFile);
void GasGiant(TStellarBody &body, std::int32_t sizeClass, const std::string &nameTableFile);

// Only the Earth-like air (with a wider range of carbon dioxide), pressure and notes.
void BreathableAir(TStellarBody &body);
// A new generator gives the body a new atmosphere.
void RegenerateAtmosphere(TStellarBody &body);

} // namespace kalvion
