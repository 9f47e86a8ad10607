#pragma once
// Handing a terrestrial planet to the external terrain program: the command
// line that describes the planet, running the program without a window and
// waiting for it, and taking back the bitmap it writes as PNG.
#include "surface/manager/SurfaceMapMaking.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

inline constexpr double RW_ASTRONOMICAL_UNIT_KM = 149597890.0;
inline constexpr const char *RW_PROGRAM_MISSING =
    "The Ridgeworks program file was not found.  To find the program manually, please open Kalvion's preferences "
    "window by selecting File - Preferences from the main menu";

class TRWIntegrate {
public:
    std::string ProgramFile;
    std::string AltProgramFile;
    std::string ColoringFolder;  // holds "habitable.lgt" and "hospitable.lgt" when the user made them
    std::string SaveFolder;      // with a trailing separator
    std::string WorldName;       // the planet's IDString
    std::string ResultName;
    std::int32_t Seed = 0;
    double Distance = 0;         // km
    double StarLuminosity = 0;
    double Insolation = 0;       // set by ParameterBlock
    double Radius = 0;           // km
    double Water = 0;
    double Albedo = 0;
    double GreenhouseRatio = 1;
    std::int32_t Habitability = 0;
    double Temperature = 0;      // K
    bool Quiet = false;

    // Shows a message to the user (the missing program); unset, nothing is shown.
    std::function<void(const std::string &)> OnMessage;
    // Set from another thread to end a run: the program is killed.
    const std::atomic<bool> *Stop = nullptr;
    // Why the last run gave no image ("could not create process …").
    std::string ErrorText;

    // The program to run: the program file when it exists, else the
    // alternative one; empty (and the message unless quiet) when neither does.
    std::string FindProgram();
    // The colouring option, beginning with its own blank.
    std::string ColoringOption() const;
    // The planet parameters (computes and keeps the insolation).
    std::string ParameterBlock();
    // The world file argument, quoted.
    std::string WorldArgument() const;
    // The whole parameter text of a map run of the given width.
    std::string MapParameters(int width);

    // Runs the program hidden, waits for it and puts the PNG of its bitmap
    // into `stream` (left empty when no bitmap came back).  False without an image.
    bool GenerateSurfaceMap(int width, TMapBytes &stream);
    // Opens the planet in the program (its world file when one exists) and
    // returns at once.
    bool OpenInProgram();
    // Runs program + parameters (split as a command line is, never through a
    // shell) in the program's folder and waits; the exit code, or -1 with
    // ErrorText when the process cannot be created or was stopped.
    int ExecuteAndWait(const std::string &program, const std::string &parameters);

private:
    bool WorldNameUsable();
};

// Splits a command-line text into arguments the way the external program's
// platform does: blanks separate, double quotes group and are removed.
std::vector<std::string> SplitCommandLine(std::string_view text);
// The shortest decimal form of a value at 15 significant digits, "." as the
// separator and no exponent ("14.85", "0.5", "-3").
std::string RWDecimal(double value);
// $NAME, ${NAME} and %NAME% replaced by the environment's values (unknown
// names are left as they are).
std::string ExpandEnvironment(std::string_view path);

} // namespace kalvion
