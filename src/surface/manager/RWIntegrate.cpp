#include "surface/manager/RWIntegrate.h"

#include "base/Guid.h"
#include "base/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <system_error>

namespace kalvion {

namespace {

constexpr char Q = '"';
// How often a waiting run looks whether it should stop.
constexpr int STOP_POLL_MS = 100;

std::string IntText(long long v) { return std::to_string(v); }

long long RoundLL(double v)
{
    const double r = std::nearbyint(v);
    if (!std::isfinite(r) || std::fabs(r) > 9.0e18)
        return 0;
    return static_cast<long long>(r);
}

QStringList ToQList(const std::vector<std::string> &args)
{
    QStringList list;
    for (const std::string &a : args)
        list << QString::fromStdString(a);
    return list;
}

QString ProgramFolderOf(const std::string &program)
{
    return QFileInfo(QString::fromStdString(program)).absolutePath();
}

} // namespace

std::string RWDecimal(double value)
{
    if (!std::isfinite(value))
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string text(buf);
    if (text.find_first_of("eE") == std::string::npos)
        return text == "-0" ? "0" : text;
    // Very small or large values: the same 15 digits written out in full.
    const double rounded = std::strtod(buf, nullptr);
    char fixed[400];
    const auto res = std::to_chars(fixed, fixed + sizeof fixed, rounded, std::chars_format::fixed);
    if (res.ec != std::errc())
        return text;
    return std::string(fixed, res.ptr);
}

std::string ExpandEnvironment(std::string_view path)
{
    std::string out;
    std::size_t i = 0;
    auto lookup = [&out](std::string_view name, std::string_view original) {
        const std::string key(name);
        if (const char *v = key.empty() ? nullptr : std::getenv(key.c_str()))
            out += v;
        else
            out += original;
    };
    while (i < path.size()) {
        const char ch = path[i];
        if (ch == '%') {
            const std::size_t end = path.find('%', i + 1);
            if (end != std::string_view::npos && end > i + 1) {
                lookup(path.substr(i + 1, end - i - 1), path.substr(i, end - i + 1));
                i = end + 1;
                continue;
            }
        } else if (ch == '$') {
            if (i + 1 < path.size() && path[i + 1] == '{') {
                const std::size_t end = path.find('}', i + 2);
                if (end != std::string_view::npos) {
                    lookup(path.substr(i + 2, end - i - 2), path.substr(i, end - i + 1));
                    i = end + 1;
                    continue;
                }
            } else {
                std::size_t end = i + 1;
                while (end < path.size() && (std::isalnum(static_cast<unsigned char>(path[end])) || path[end] == '_'))
                    ++end;
                if (end > i + 1) {
                    lookup(path.substr(i + 1, end - i - 1), path.substr(i, end - i));
                    i = end;
                    continue;
                }
            }
        }
        out += ch;
        ++i;
    }
    return out;
}

std::vector<std::string> SplitCommandLine(std::string_view text)
{
    std::vector<std::string> args;
    std::string current;
    bool inArg = false, quoted = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char ch = text[i];
        if (!quoted && (ch == ' ' || ch == '\t')) {
            if (inArg) {
                args.push_back(std::move(current));
                current.clear();
                inArg = false;
            }
            ++i;
            continue;
        }
        inArg = true;
        if (ch == '\\') {
            std::size_t n = 0;
            while (i < text.size() && text[i] == '\\') {
                ++n;
                ++i;
            }
            if (i < text.size() && text[i] == Q) {
                // Backslashes before a quote escape each other, an odd one the quote.
                current.append(n / 2, '\\');
                if (n % 2 == 1) {
                    current += Q;
                    ++i;
                }
            } else {
                current.append(n, '\\');
            }
            continue;
        }
        if (ch == Q)
            quoted = !quoted;
        else
            current += ch;
        ++i;
    }
    if (inArg)
        args.push_back(std::move(current));
    return args;
}

std::string TRWIntegrate::FindProgram()
{
    const std::string first = ExpandEnvironment(ProgramFile);
    if (!first.empty() && FileExists(first))
        return first;
    const std::string alt = ExpandEnvironment(AltProgramFile);
    if (!alt.empty() && FileExists(alt))
        return alt;
    if (!Quiet && OnMessage)
        OnMessage(RW_PROGRAM_MISSING);
    return {};
}

std::string TRWIntegrate::ColoringOption() const
{
    // The fixed colourings lie below the program's own folder, its working
    // folder when it runs.
    auto userFile = [this](const char *name) { return ColoringFolder + name; };
    auto option = [](const std::string &file, int type) {
        return std::string(" ") + Q + "-color=" + file + Q + " -colortype=" + std::to_string(type);
    };
    if (Habitability == 1) {
        const std::string f = userFile("habitable.lgt");
        return FileExists(f) ? option(f, 1) : option("Coloring/mars.lgt", 1);
    }
    const std::string f = userFile("hospitable.lgt");
    if (FileExists(f))
        return option(f, 1);
    return Habitability == 2 ? option("Coloring/globe.lgt", 8) : option("Coloring/moon.lgt", 1);
}

std::string TRWIntegrate::ParameterBlock()
{
    const long long circumference = RoundLL(Radius * (2.0 * std::numbers::pi));
    const long long waterPercent = RoundLL(Water * 100.0);
    // Inverse-square law: one solar constant at one astronomical unit.
    const double au = Distance / RW_ASTRONOMICAL_UNIT_KM;
    Insolation = au > 0 && std::isfinite(au) ? StarLuminosity / (au * au) : StarLuminosity;
    const double g = std::isfinite(GreenhouseRatio) ? GreenhouseRatio : 1.0;
    // The ratio is written as it is, then raised to 1 for the heat term.
    const double raised = g < 1.0 ? 1.0 : g;
    const long long h = RoundLL(60.0 / (raised * raised));
    const double celsius = Temperature - 273.15;
    return " -parms=" + IntText(Seed) + "," + IntText(circumference) + "," + IntText(waterPercent) +
           ",10000,-10000,2,1,0,0,0,0,0,0,1,-300,,0.99864,2,13,1,2,0,1,1,1,1,,,,1,1,,," + RWDecimal(Insolation) +
           "," + RWDecimal(g) + "," + RWDecimal(Albedo) + ",,50,1,," + " -parms=temp=" +
           RWDecimal(celsius) + "," + IntText(h) + ",1";
}

std::string TRWIntegrate::WorldArgument() const { return Q + SaveFolder + WorldName + ".rww" + Q; }

std::string TRWIntegrate::MapParameters(int width)
{
    return WorldArgument() + " " + Q + "-image=" + SaveFolder + WorldName + ".bmp" + Q + " " + Q + "-imgwidth=" +
           std::to_string(width) + Q + "  " + ColoringOption() + ParameterBlock();
}

bool TRWIntegrate::WorldNameUsable()
{
    // The name becomes part of file names and of the command line.
    if (IsGuidString(WorldName))
        return true;
    ErrorText = "the planet's identity is not a GUID: no surface map is made for it";
    return false;
}

int TRWIntegrate::ExecuteAndWait(const std::string &program, const std::string &parameters)
{
    const std::string exe = ExpandEnvironment(program);
    QProcess process;
    process.setProgram(QString::fromStdString(exe));
    process.setArguments(ToQList(SplitCommandLine(parameters)));
    process.setWorkingDirectory(ProgramFolderOf(exe));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%d", static_cast<int>(process.error()));
        ErrorText = "could not create process " + exe + " " + parameters + ": " + buf;
        return -1;
    }
    while (!process.waitForFinished(STOP_POLL_MS)) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (Stop && Stop->load()) {
            process.kill();
            process.waitForFinished(-1);
            ErrorText = "the terrain program was stopped";
            return -1;
        }
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool TRWIntegrate::GenerateSurfaceMap(int width, TMapBytes &stream)
{
    stream.clear();
    ErrorText.clear();
    const std::string program = FindProgram();
    if (program.empty() || !WorldNameUsable())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(SaveFolder, ec);
    const std::string bitmap = SaveFolder + WorldName + ".bmp";
    // A bitmap left by an earlier run must not pass for this run's image.
    std::filesystem::remove(bitmap, ec);
    ExecuteAndWait(program, MapParameters(width));
    if (!FileExists(bitmap))
        return false;
    const QImage image(QString::fromStdString(bitmap));
    if (!image.isNull())
        EncodeMapPng(image, stream);
    std::filesystem::remove(bitmap, ec);
    return !stream.empty();
}

bool TRWIntegrate::OpenInProgram()
{
    ErrorText.clear();
    const std::string program = FindProgram();
    if (program.empty() || !WorldNameUsable())
        return false;
    const std::string world = SaveFolder + WorldName + ".rww";
    const std::vector<std::string> args =
        FileExists(world) ? std::vector<std::string>{world} : SplitCommandLine(WorldArgument() + ParameterBlock());
    return QProcess::startDetached(QString::fromStdString(program), ToQList(args), ProgramFolderOf(program));
}

} // namespace kalvion
