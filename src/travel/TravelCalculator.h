#pragma once
// The travel calculator: how long a trip takes over a typed distance, between
// two bodies of one system, or between two systems, and when it arrives in
// the sector calendar.  The inputs are the texts of the calculator window, so
// the window only shows what Recalculate answers.
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

class TStellarBody;
class TVexaSector;

// Units of the interplanetary speed.
inline constexpr int TRAVEL_UNIT_G = 0;   // multiples of g, accelerating
inline constexpr int TRAVEL_UNIT_MS2 = 1; // m/s², accelerating
inline constexpr int TRAVEL_UNIT_KMH = 2; // km/h, fixed velocity
inline constexpr int TRAVEL_UNIT_C = 3;   // multiples of c, fixed velocity
inline constexpr std::array<const char *, 4> TRAVEL_UNIT_NAMES = {
    "g (Acceleration)", "m/s (Acceleration)", "k/h (Fixed Velocity)", "c (Fixed Velocity)"};

inline constexpr const char *TRAVEL_METHOD_LIGHT_SPEED = "Light Speed";
inline constexpr const char *TRAVEL_INTRASYSTEM_CAPTION = "Allow Intrasystem Hyperlight Tavel";
inline constexpr const char *TRAVEL_NOT_AVAILABLE = "n/a";

inline constexpr const char *TRAVEL_MSG_DISTANCE = "Distance must be a number";
inline constexpr const char *TRAVEL_MSG_SUBLIGHT = "Sublight speed must be a number";
inline constexpr const char *TRAVEL_MSG_INTERSTELLAR = "Interstellar speed must be a number";
inline constexpr const char *TRAVEL_MSG_BOUNDARY = "Hyperlight start boundary must be a number";

// What a travel-calculator method (a plug-in) sees and answers.
struct TTravelCalcRequest {
    TStellarBody *StartBody = nullptr;
    TStellarBody *EndBody = nullptr;
    double Distance = 0;
    std::string DistanceUnit; // "km" (in-system hyperlight leg) or "ly"
    double TravelTime = 0;    // seconds, the answer
    double InterstellarSpeed = 0;
    std::string SublightSpeed; // as typed
    std::string ErrorMsg;      // the answer when the trip cannot be made
};

// A way of crossing the hyperlight or interstellar leg other than "Light
// Speed".  Failures inside Run are the method's own; the calculator reads
// back whatever the request holds afterwards.
class TTravelCalcMethod {
public:
    virtual ~TTravelCalcMethod() = default;
    virtual std::string Name() const = 0;
    virtual void Run(TTravelCalcRequest &request) = 0;
};

struct TTravelInputs {
    TStellarBody *StartBody = nullptr;
    TStellarBody *EndBody = nullptr;
    std::string OutToDistance; // km; not empty: the trip is this distance
    std::string SublightSpeed = "1";
    int SublightUnit = TRAVEL_UNIT_G;
    std::string InterstellarSpeed = "1";
    std::string Method = TRAVEL_METHOD_LIGHT_SPEED;
    std::string StartBoundary = "0"; // km
    std::string EndBoundary = "0";   // km
    bool IntrasystemHyperlight = false;
};

struct TTravelResult {
    std::string DistanceText;
    std::string TravelTimeText;
    std::string ArrivalText;
    std::string Message;    // a refused input, for a message box
    double TravelTime = 0;  // seconds; 0 when there is no trip
};

class TTravelCalculator {
public:
    explicit TTravelCalculator(TVexaSector &sector);

    TTravelInputs Inputs;

    // The methods besides "Light Speed"; the calculator does not own them.
    void SetMethods(std::vector<TTravelCalcMethod *> methods) { Methods = std::move(methods); }
    // "Light Speed" followed by the methods' names, sorted.
    std::vector<std::string> MethodNames() const;

    // The sector's current date in its calendar.
    std::string DepartureText() const;
    const TTravelResult &Recalculate();
    const TTravelResult &Result() const { return Last; }
    // Moves the sector's date on by the last travel time, marks the document
    // modified, makes the end body the new start and recalculates.  False
    // (nothing changed) when the last travel time is 0.
    bool AdvanceTime();

private:
    struct TLeg {
        bool Possible = true;
        double Seconds = 0;
    };
    TLeg SublightTime(double speed, double distanceKm) const;
    TTravelCalcMethod *FindMethod() const;
    void Finish(double seconds);
    void Fail(const std::string &message);
    void NotAvailable();
    void CalcDistance();
    void CalcInSystem();
    void CalcInterstellar();
    bool ReadBoundaries(double &startKm, double &endKm);

    TVexaSector &Sector;
    std::vector<TTravelCalcMethod *> Methods;
    TTravelResult Last;
};

} // namespace kalvion
