// Dice, the physical formulas with their constants, and orbits.
#include "base/PhysicalFormulas.h"
#include "model/StellarBody.h"
#include "science/Dice.h"
#include "science/Orbits.h"
#include "scriptnames/NameHelpers.h"

#include <stdexcept>

namespace kalvion::names {

namespace {

// Scripts roll as many dice as table files may: a count beyond the table
// engine's limit would keep the program busy for minutes.
void CheckDice(const TScriptValue &count, const TScriptValue &sides, const char *routine)
{
    if (count.Int > DICE_MAX_COUNT || sides.Int > DICE_MAX_SIDES)
        throw std::runtime_error(std::string(routine) + ": at most " + std::to_string(DICE_MAX_COUNT) +
                                 " dice of at most " + std::to_string(DICE_MAX_SIDES) + " sides");
}

void RegisterDice(const TNames &n)
{
    n.Routine("RollDice", {TInt(), TInt(), TInt()}, TInt(), [](TScriptArgs &a) {
        CheckDice(a[0], a[1], "RollDice");
        return VInt(RollDice(I32(a[0]), I32(a[1]), I32(a[2])));
    });
    n.Routine("RollDiceOpen", {TInt(), TInt(), TInt(), TBool()}, TInt(), [](TScriptArgs &a) {
        CheckDice(a[0], a[1], "RollDiceOpen");
        return VInt(RollDiceOpen(I32(a[0]), I32(a[1]), I32(a[2]), a[3].AsBool()));
    });
    n.Routine("EvalDice", {TStr()}, TInt(), [](TScriptArgs &a) {
        try {
            return VInt(EvalDice(a[0].Str));
        } catch (const std::exception &e) {
            throw std::runtime_error(std::string("EvalDice: ") + e.what());
        }
    });
    n.Routine("EvalDiceInString", {TStr()}, TStr(), [](TScriptArgs &a) {
        try {
            return VStr(EvalDiceInString(a[0].Str));
        } catch (const std::exception &e) {
            throw std::runtime_error(std::string("EvalDiceInString: ") + e.what());
        }
    });
    n.Routine("isOpenResult", {TInt(), TInt()}, TBool(), [](TScriptArgs &a) { return VBool(isOpenResult(I32(a[0]), I32(a[1]))); });
    using TDie = std::int32_t (*)() noexcept;
    const std::pair<const char *, TDie> dice[] = {{"d2", &d2},   {"d4", &d4},   {"d6", &d6},   {"d8", &d8},   {"d10", &d10},
                                                  {"d12", &d12}, {"d20", &d20}, {"d30", &d30}, {"d100", &d100}};
    for (const auto &[name, f] : dice) {
        TDie die = f;
        n.Routine(name, {}, TInt(), [die](TScriptArgs &) { return VInt(die()); });
    }
}

void RegisterPhysics(const TNames &n)
{
    auto d1 = [&n](const char *name, double (*f)(double)) {
        n.Routine(name, {TDbl()}, TDbl(), [f](TScriptArgs &a) { return VDbl(f(a[0].Dbl)); });
    };
    auto d2 = [&n](const char *name, double (*f)(double, double)) {
        n.Routine(name, {TDbl(), TDbl()}, TDbl(), [f](TScriptArgs &a) { return VDbl(f(a[0].Dbl, a[1].Dbl)); });
    };
    auto d3 = [&n](const char *name, double (*f)(double, double, double)) {
        n.Routine(name, {TDbl(), TDbl(), TDbl()}, TDbl(),
                  [f](TScriptArgs &a) { return VDbl(f(a[0].Dbl, a[1].Dbl, a[2].Dbl)); });
    };
    d3("EquilibriumTemp", &EquilibriumTemp);
    d2("MassRelEarth", &MassRelEarth);
    d2("SurfaceGravity", &SurfaceGravity);
    d2("EscapeVelocity", &EscapeVelocity);
    d3("Geostationary", &Geostationary);
    d2("CalcYearLength", &CalcYearLength);
    d2("CalcMoonPeriod", &CalcMoonPeriod);
    n.Routine("RocheFactor", {TDbl(), TDbl(), TDbl(), TDbl()}, TDbl(),
              [](TScriptArgs &a) { return VDbl(RocheFactor(a[0].Dbl, a[1].Dbl, a[2].Dbl, a[3].Dbl)); });
    d3("HillSphere", &HillSphere);
    d3("AtmosphereMinMoleculeWeight", &AtmosphereMinMoleculeWeight);
    n.Routine("AtmosphereIsGasRetained", {TDbl(), TDbl(), TDbl(), TDbl()}, TBool(),
              [](TScriptArgs &a) { return VBool(AtmosphereIsGasRetained(a[0].Dbl, a[1].Dbl, a[2].Dbl, a[3].Dbl)); });
    d3("EscapeTemperature", &EscapeTemperature);
    d1("StarRadiusFromMass", &StarRadiusFromMass);
    d1("StarLuminosityFromMass", &StarLuminosityFromMass);
    n.Routine("StarColorFromSpectral", {TStr()}, TInt(),
              [](TScriptArgs &a) { return VInt(static_cast<std::int64_t>(StarColorFromSpectral(a[0].Str))); });

    n.ConstD("EARTH_MASS", EARTH_MASS);
    n.ConstD("EARTH_RADIUS_KM", EARTH_RADIUS_KM);
    n.ConstD("EARTH_RADIUS_M", EARTH_RADIUS_M);
    n.ConstD("EARTH_ORBIT_KM", EARTH_ORBIT_KM);
    n.ConstD("AU", AU);
    n.ConstD("EARTH_MASS_GRAMS", EARTH_MASS_GRAMS);
    n.ConstD("EARTH_MASS_KG", EARTH_MASS_KG);
    n.ConstD("STANDARD_GRAVITY", STANDARD_GRAVITY);
    n.ConstD("ONE_G", ONE_G);
    n.ConstD("EARTH_ALBEDO", EARTH_ALBEDO);
    n.ConstD("MOON_ORBIT_KM", MOON_ORBIT_KM);
    n.ConstD("SUN_LUMINOSITY", SUN_LUMINOSITY);
    n.ConstD("SUN_MASS_GRAMS", SUN_MASS_GRAMS);
    n.ConstD("SUN_MASS_KG", SUN_MASS_KG);
    n.ConstD("SUN_RADIUS_KM", SUN_RADIUS_KM);
    n.ConstD("SUN_DENSITY", SUN_DENSITY);
    n.ConstD("SIGMA", SIGMA);
    n.ConstD("EPSILON", EPSILON);
    n.ConstD("PARSEC", PARSEC);
    n.ConstD("GRAVITY_CONSTANT", GRAVITY_CONSTANT);
    n.ConstD("BOLTZMANN_CONSTANT", BOLTZMANN_CONSTANT);
    n.ConstD("HYDROGEN_MASS", HYDROGEN_MASS);
    n.ConstD("MOLAR_GAS_CONSTANT", MOLAR_GAS_CONSTANT);
    n.ConstD("KELVIN_BASE", KELVIN_BASE);
}

// The number of rounds IterativeTrueAnomaly may run for a script.
constexpr std::int32_t ORBIT_MAX_ROUNDS = 1000000;

void RegisterOrbits(const TNames &n)
{
    using O = TOrbit;
    constexpr const char *C = "TOrbit";
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, std::make_unique<O>()).Obj; });
    n.Prop(C, "TimeOffset", &O::TimeOffset);
    n.Prop(C, "Period", &O::Period);
    n.Prop(C, "SemiMajorAxis", &O::SemiMajorAxis);
    n.Reg.AddProperty(
        C, "Eccentricity", TDbl(), [](void *s) { return VDbl(static_cast<O *>(s)->Eccentricity); },
        [](void *s, const TScriptValue &v) { static_cast<O *>(s)->Eccentricity = v.Dbl; });
    n.Prop(C, "AnglePeriapsis", &O::AnglePeriapsis);
    n.Prop(C, "Inclination", &O::Inclination);
    n.Prop(C, "AscendingNode", &O::AscendingNode);
    n.Prop(C, "Mirror", &O::Mirror);
    n.PropRO(C, "CurrentTime", &O::CurrentTime);
    n.PropRO(C, "PositionX", &O::PositionX);
    n.PropRO(C, "PositionY", &O::PositionY);
    n.PropRO(C, "PositionZ", &O::PositionZ);
    n.Method<O>(C, "GetPositionOld", {TDbl(), TVarDbl(), TVarDbl()}, TNone(), [](O &o, TScriptArgs &a) {
        double x = 0, y = 0;
        o.GetPositionOld(a[0].Dbl, x, y);
        a[1] = VDbl(x);
        a[2] = VDbl(y);
        return VNone();
    });
    n.Method<O>(C, "GetPosition", {TDbl(), TVarDbl(), TVarDbl(), TVarDbl()}, TNone(), [](O &o, TScriptArgs &a) {
        double x = 0, y = 0, z = 0;
        o.GetPosition(a[0].Dbl, x, y, z);
        a[1] = VDbl(x);
        a[2] = VDbl(y);
        a[3] = VDbl(z);
        return VNone();
    });
    n.Method<O>(C, "SetTime", {TDbl()}, TNone(), [](O &o, TScriptArgs &a) {
        o.SetTime(a[0].Dbl);
        return VNone();
    });
    n.Method<O>(C, "GetStarFociX", {}, TDbl(), [](O &o, TScriptArgs &) { return VDbl(o.GetStarFociX()); });
    // (mean anomaly, rounds), as the orbit takes them.
    n.Method<O>(C, "IterativeTrueAnomaly", {TDbl(), TInt()}, TDbl(), [](O &o, TScriptArgs &a) {
        return VDbl(o.IterativeTrueAnomaly(a[0].Dbl, CheckedCount(a[1], ORBIT_MAX_ROUNDS, "IterativeTrueAnomaly")));
    });
    n.Method<O>(C, "NewtonTrueAnomaly", {TDbl()}, TDbl(), [](O &o, TScriptArgs &a) { return VDbl(o.NewtonTrueAnomaly(a[0].Dbl)); });

    n.Routine("OrbitTest", {}, TNone(), [](TScriptArgs &) {
        OrbitTest();
        return VNone();
    });
    n.Routine("OrbitGetExtremes", {TObj(C), TObj(C), TVarDbl(), TVarDbl()}, TNone(), [](TScriptArgs &a) {
        double lo = 0, hi = 0;
        OrbitGetExtremes(Need<O>(a[0], "OrbitGetExtremes"), Need<O>(a[1], "OrbitGetExtremes"), lo, hi);
        a[2] = VDbl(lo);
        a[3] = VDbl(hi);
        return VNone();
    });
    n.Routine("OrbitGetFarthestApart", {TObj(C), TObj(C)}, TDbl(), [](TScriptArgs &a) {
        return VDbl(OrbitGetFarthestApart(Need<O>(a[0], "OrbitGetFarthestApart"), Need<O>(a[1], "OrbitGetFarthestApart")));
    });
    n.Routine("OrbitGetNearestApproach", {TObj(C), TObj(C)}, TDbl(), [](TScriptArgs &a) {
        return VDbl(OrbitGetNearestApproach(Need<O>(a[0], "OrbitGetNearestApproach"),
                                            Need<O>(a[1], "OrbitGetNearestApproach")));
    });
    n.Routine("OrbitGetDistanceAtTime", {TObj(C), TObj(C), TDbl()}, TDbl(), [](TScriptArgs &a) {
        return VDbl(OrbitGetDistanceAtTime(Need<O>(a[0], "OrbitGetDistanceAtTime"),
                                           Need<O>(a[1], "OrbitGetDistanceAtTime"), a[2].Dbl));
    });
    n.ConstD("ORBIT_TRUEANOMALY_ERROR", ORBIT_TRUEANOMALY_ERROR);
    n.Const("ORBIT_EXTREMES_PRECISION", ORBIT_EXTREMES_PRECISION);
}

} // namespace

void RegisterDiceNames(const TNames &n)
{
    RegisterDice(n);
}

void RegisterPhysicsNames(const TNames &n)
{
    RegisterPhysics(n);
}

void RegisterOrbitNames(const TNames &n)
{
    RegisterOrbits(n);
}

} // namespace kalvion::names
