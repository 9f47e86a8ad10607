#include "travel/TravelCalculator.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "science/VexaDates.h"
#include "travel/SpaceTravel.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kalvion {

namespace {

std::optional<double> ReadNumber(const std::string &text)
{
    const auto v = ParseDouble(text);
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

// A distance or boundary: a number that is not negative.
std::optional<double> ReadLength(const std::string &text)
{
    const auto v = ReadNumber(text);
    if (!v || *v < 0)
        return std::nullopt;
    return v;
}

std::string KmText(double km) { return FormatFloat("#,##0", km) + " km"; }

double Between(const TVexaPoint &a, const TVexaPoint &b)
{
    const double dx = a.X - b.X, dy = a.Y - b.Y, dz = a.Z - b.Z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

TTravelCalculator::TTravelCalculator(TVexaSector &sector) : Sector(sector) {}

std::vector<std::string> TTravelCalculator::MethodNames() const
{
    std::vector<std::string> names;
    for (const TTravelCalcMethod *m : Methods)
        if (m)
            names.push_back(m->Name());
    std::sort(names.begin(), names.end());
    names.insert(names.begin(), TRAVEL_METHOD_LIGHT_SPEED);
    return names;
}

TTravelCalcMethod *TTravelCalculator::FindMethod() const
{
    if (SameText(Inputs.Method, TRAVEL_METHOD_LIGHT_SPEED))
        return nullptr;
    for (TTravelCalcMethod *m : Methods)
        if (m && SameText(m->Name(), Inputs.Method))
            return m;
    // A method that is no longer installed: the list falls back to its
    // first entry, "Light Speed".
    return nullptr;
}

std::string TTravelCalculator::DepartureText() const { return SectorDateText(Sector); }

TTravelCalculator::TLeg TTravelCalculator::SublightTime(double speed, double distanceKm) const
{
    // A leg of no length takes no time whatever the speed; any other leg at a
    // speed or acceleration of 0 or less is never finished.
    if (distanceKm == 0)
        return {true, 0};
    if (!(speed > 0))
        return {false, 0};
    switch (Inputs.SublightUnit) {
    case TRAVEL_UNIT_MS2:
        return {true, TSpaceTravel::AccelTravelTime(speed, distanceKm)};
    case TRAVEL_UNIT_KMH:
        return {true, TSpaceTravel::FixedTravelTime(speed, distanceKm)};
    case TRAVEL_UNIT_C:
        return {true, TSpaceTravel::FixedTravelTime(TSpaceTravel::LightMultipleToKmh(speed), distanceKm)};
    default:
        return {true, TSpaceTravel::AccelTravelTime(TSpaceTravel::GToMs2(speed), distanceKm)};
    }
}

void TTravelCalculator::Finish(double seconds)
{
    if (!std::isfinite(seconds)) {
        NotAvailable();
        return;
    }
    Last.TravelTime = seconds;
    Last.TravelTimeText = FormatTravelDuration(seconds);
    TVexaDateHandler dates;
    dates.SetToSector(Sector);
    dates.AddDays(seconds / TRAVEL_DAY_SECONDS);
    Last.ArrivalText = dates.FormatDate();
}

void TTravelCalculator::NotAvailable()
{
    Last.TravelTime = 0;
    Last.TravelTimeText = TRAVEL_NOT_AVAILABLE;
    Last.ArrivalText = TRAVEL_NOT_AVAILABLE;
}

void TTravelCalculator::Fail(const std::string &message)
{
    Last.Message = message;
    NotAvailable();
}

bool TTravelCalculator::ReadBoundaries(double &startKm, double &endKm)
{
    // An empty boundary is none.
    startKm = endKm = 0;
    for (auto [text, value] : {std::pair{&Inputs.StartBoundary, &startKm}, std::pair{&Inputs.EndBoundary, &endKm}}) {
        if (TrimView(*text).empty())
            continue;
        const auto v = ReadLength(*text);
        if (!v) {
            Fail(TRAVEL_MSG_BOUNDARY);
            return false;
        }
        *value = *v;
    }
    return true;
}

void TTravelCalculator::CalcDistance()
{
    const auto distance = ReadLength(Inputs.OutToDistance);
    if (!distance)
        return Fail(TRAVEL_MSG_DISTANCE);
    const auto speed = ReadNumber(Inputs.SublightSpeed);
    if (!speed)
        return Fail(TRAVEL_MSG_SUBLIGHT);
    Last.DistanceText = KmText(*distance);
    const TLeg leg = SublightTime(*speed, *distance);
    if (!leg.Possible)
        return NotAvailable();
    Finish(leg.Seconds);
}

void TTravelCalculator::CalcInSystem()
{
    std::optional<double> interstellar;
    if (Inputs.IntrasystemHyperlight) {
        interstellar = ReadNumber(Inputs.InterstellarSpeed);
        if (!interstellar)
            return Fail(TRAVEL_MSG_INTERSTELLAR);
    }
    const auto speed = ReadNumber(Inputs.SublightSpeed);
    if (!speed)
        return Fail(TRAVEL_MSG_SUBLIGHT);
    const double date = Sector.Time;
    const double d = Between(TSpaceTravel::BodyPositionKm(*Inputs.StartBody, date),
                             TSpaceTravel::BodyPositionKm(*Inputs.EndBody, date));
    Last.DistanceText = KmText(d);

    if (Inputs.IntrasystemHyperlight) {
        double startKm, endKm;
        if (!ReadBoundaries(startKm, endKm))
            return;
        if (startKm + endKm < d) {
            const TLeg t1 = SublightTime(*speed, startKm);
            const TLeg t2 = SublightTime(*speed, endKm);
            if (!t1.Possible || !t2.Possible)
                return NotAvailable();
            const double h = d - startKm - endKm;
            double hyper;
            if (TTravelCalcMethod *method = FindMethod()) {
                TTravelCalcRequest request;
                request.StartBody = Inputs.StartBody;
                request.EndBody = Inputs.EndBody;
                request.Distance = h;
                request.DistanceUnit = "km";
                request.InterstellarSpeed = *interstellar;
                request.SublightSpeed = Inputs.SublightSpeed;
                method->Run(request);
                if (!request.ErrorMsg.empty()) {
                    Last.TravelTimeText = request.ErrorMsg;
                    Last.ArrivalText = DepartureText();
                    return;
                }
                hyper = request.TravelTime;
            } else {
                if (!(*interstellar > 0))
                    return NotAvailable();
                hyper = h / (*interstellar * TRAVEL_LIGHT_SPEED_KMS);
            }
            return Finish(t1.Seconds + hyper + t2.Seconds);
        }
        // The boundaries meet or overlap: no room for a jump.
    }
    const TLeg leg = SublightTime(*speed, d);
    if (!leg.Possible)
        return NotAvailable();
    Finish(leg.Seconds);
}

void TTravelCalculator::CalcInterstellar()
{
    const auto interstellar = ReadNumber(Inputs.InterstellarSpeed);
    if (!interstellar)
        return Fail(TRAVEL_MSG_INTERSTELLAR);
    const auto speed = ReadNumber(Inputs.SublightSpeed);
    if (!speed)
        return Fail(TRAVEL_MSG_SUBLIGHT);
    // Light years, whatever unit the sector displays.
    const TStellarBody *a = Inputs.StartBody->GetRootBody();
    const TStellarBody *b = Inputs.EndBody->GetRootBody();
    const double d = Between({a->X, a->Y, a->Z}, {b->X, b->Y, b->Z});
    Last.DistanceText = FormatFloat("#,##0.#", d) + " ly";
    double startKm, endKm;
    if (!ReadBoundaries(startKm, endKm))
        return;
    const TLeg t1 = SublightTime(*speed, startKm);
    const TLeg t2 = SublightTime(*speed, endKm);
    if (!t1.Possible || !t2.Possible)
        return NotAvailable();
    double jump;
    if (TTravelCalcMethod *method = FindMethod()) {
        TTravelCalcRequest request;
        request.StartBody = Inputs.StartBody;
        request.EndBody = Inputs.EndBody;
        request.Distance = d;
        request.DistanceUnit = "ly";
        request.InterstellarSpeed = *interstellar;
        request.SublightSpeed = Inputs.SublightSpeed;
        method->Run(request);
        if (!request.ErrorMsg.empty()) {
            Last.TravelTimeText = request.ErrorMsg;
            Last.ArrivalText = DepartureText();
            return;
        }
        jump = request.TravelTime;
    } else if (d == 0) {
        jump = 0;
    } else {
        if (!(*interstellar > 0))
            return NotAvailable();
        jump = d / *interstellar * TRAVEL_LIGHT_YEAR_SECONDS;
    }
    Finish(t1.Seconds + jump + t2.Seconds);
}

const TTravelResult &TTravelCalculator::Recalculate()
{
    Last = TTravelResult{};
    if (!TrimView(Inputs.OutToDistance).empty())
        CalcDistance();
    else if (Inputs.StartBody && Inputs.EndBody) {
        if (Inputs.StartBody->GetRootBody() == Inputs.EndBody->GetRootBody())
            CalcInSystem();
        else
            CalcInterstellar();
    }
    return Last;
}

bool TTravelCalculator::AdvanceTime()
{
    if (Last.TravelTime == 0)
        return false;
    Sector.Time += Last.TravelTime / TRAVEL_DAY_SECONDS;
    Sector.Modified = true;
    Inputs.StartBody = Inputs.EndBody;
    Recalculate();
    return true;
}

} // namespace kalvion
