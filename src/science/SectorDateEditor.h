#pragma once
// The workings of the "Sector Date" dialog without its window: the six date
// boxes, their up-down buttons, the "Add or Subtract Time" row and the checks
// made before the dialog closes.  The dialog binds its edit boxes to Fields.
#include "science/VexaDates.h"

#include <array>
#include <cstdint>
#include <string>

namespace kalvion {

enum class TSectorDateBox { Year, Month, Day, Hour, Minute, Second };

// Units of the "cmbInc" list, in its order: "years" … "seconds".
enum class TSectorDateUnit { Years, Months, Days, Hours, Minutes, Seconds };

struct TSectorDateFields {
    std::string Year = "0";
    std::string Month = "1";
    std::string Day = "1";
    std::string Hour = "0";
    std::string Minute = "0";
    std::string Second = "0";
};

class TSectorDateEditor {
public:
    TSectorDateFields Fields;
    std::string Amount = "0";
    TSectorDateUnit Unit = TSectorDateUnit::Years;

    // Shows the sector date of the given clock in the six boxes.
    void Open(std::int64_t epochYear, double time);
    // The up-down button of a box: +1 or -1, wrapping months, days, hours,
    // minutes and seconds; nothing when the box holds no 32-bit integer.
    void Step(TSectorDateBox box, int delta);
    // "Go": adds the amount in the chosen unit to the date in the boxes.
    // Returns the message to show, or "" (also when the boxes are silently
    // found wrong and nothing happens).
    std::string Go();
    // The checks of "&Ok", in order: the first failure's message, or "".
    std::string Check() const;
    // The sector Time the boxes stand for, in days from the epoch start;
    // -1 when the boxes fail the checks.  A year outside the calendar keeps
    // the date the handler last held.
    double ResultTime();

    std::int64_t EpochStart() const noexcept { return FEpochStart; }
    const TVexaDateHandler &Handler() const noexcept { return FHandler; }

private:
    void ShowHandlerDate();
    bool ReadFields(std::array<std::int32_t, 6> &values) const;

    TVexaDateHandler FHandler;
    std::int64_t FEpochStart = 0;
};

} // namespace kalvion
