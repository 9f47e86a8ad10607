// kalvion-cli script: runs a script file headless.  Message boxes print to
// standard output and get the unanswered answer (OK, Cancel, No or Abort),
// input boxes answer with their default, and script errors go to standard
// error with their line and character.  Every name of the object model is
// there, the dialog unit's included; what needs the window (showing a
// dialog, the system diagram, printing, video) is a script error saying so.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/Paths.h"
#include "base/Questions.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"
#include "scriptnames/ScriptAppHost.h"
#include "scriptui/ZentScripterUI.h"

#include <QStandardPaths>
#include <QString>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <sstream>
#include <thread>
#include <ostream>

namespace kalvion::cli {

namespace {

class ConsoleUI final : public TScriptUI {
public:
    explicit ConsoleUI(std::ostream &out) : FOut(out) {}
    int MsgBox(const std::string &prompt, int buttons, const std::string &) override
    {
        FOut << prompt << "\n";
        FOut.flush();
        // Nobody is there to press a button: the answer every unanswered
        // question gets, the one that goes no further.
        return UnansweredMessageBoxResult(buttons);
    }
    std::optional<std::string> InputBox(const std::string &prompt, const std::string &,
                                        const std::string &def) override
    {
        FOut << prompt << "\n";
        return def;
    }

private:
    std::ostream &FOut;
};

std::vector<std::string> gScriptArgs;

void RegisterScriptArgs()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    auto &reg = TScriptRegistry::Global();
    reg.AddRoutine("ScriptArgCount", {}, ArgOf(TScriptType::Integer), [](TScriptArgs &) {
        return TScriptValue::FromInt(static_cast<std::int64_t>(gScriptArgs.size()));
    });
    reg.AddRoutine("ScriptArg", {ArgOf(TScriptType::Integer)}, ArgOf(TScriptType::String), [](TScriptArgs &a) {
        const std::int64_t i = a[0].Int;
        if (i < 0 || static_cast<std::size_t>(i) >= gScriptArgs.size())
            throw std::out_of_range("Script argument index out of range");
        return TScriptValue::FromString(gScriptArgs[static_cast<std::size_t>(i)]);
    });
}

// The command line as the program scripts run in: the sector of --sector
// (or a new one) is the current sector; the window's services are script
// errors, the keyboard has no keys.
class TCliScriptHost final : public TScriptAppHost {
public:
    std::unique_ptr<TVexaSector> Sector;
    TVexaSector *CurrentSector() override { return Sector.get(); }
};

TCliScriptHost &CliHost()
{
    static TCliScriptHost host;
    static const bool registered = [] {
        RegisterKalvionScriptNames(TScriptRegistry::Global(), host);
        return true;
    }();
    (void)registered;
    return host;
}

// Halts the host once the time is up, and keeps halting until the run ends:
// a halt that comes before the engine has started would otherwise be lost.
class TWatchdog {
public:
    TWatchdog(TZentScripter &host, double seconds) : FHost(host)
    {
        if (seconds <= 0)
            return;
        const auto limit = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(seconds));
        FThread = std::thread([this, limit] {
            std::unique_lock<std::mutex> lock(FLock);
            if (FCond.wait_for(lock, limit, [this] { return FDone; }))
                return;
            FFired = true;
            while (!FDone) {
                FHost.Halt();
                FCond.wait_for(lock, std::chrono::milliseconds(20), [this] { return FDone; });
            }
        });
    }
    ~TWatchdog() { Stop(); }
    TWatchdog(const TWatchdog &) = delete;
    TWatchdog &operator=(const TWatchdog &) = delete;

    // True when the time ran out.
    bool Stop()
    {
        {
            std::lock_guard<std::mutex> lock(FLock);
            FDone = true;
        }
        FCond.notify_all();
        if (FThread.joinable())
            FThread.join();
        return FFired;
    }

private:
    TZentScripter &FHost;
    std::thread FThread;
    std::mutex FLock;
    std::condition_variable FCond;
    bool FDone = false;
    bool FFired = false;
};

// The user's plug-in folder the window scans: its application-data folder,
// which Qt names after the organisation and the program the window gives.
std::string UserPluginFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    return (data + QStringLiteral("/Zent Software/Kalvion/Plugins/")).toStdString();
}

} // namespace

int RunScript(const CliOptions &opts, const std::string &file, const std::vector<std::string> &args,
              double timeoutSeconds, std::ostream &out, std::ostream &err, const std::string &sectorFile)
{
    if (!std::isfinite(timeoutSeconds) || timeoutSeconds < 0 || timeoutSeconds > 31536000) {
        err << "kalvion-cli: --timeout must be a number of seconds between 0 (no limit) and 31536000\n";
        return EXIT_USAGE;
    }
    std::error_code ec;
    // What is there but is no regular file (a pipe, a folder) is refused by
    // the loading below, with its reason, and never opened.
    if (!std::filesystem::exists(file, ec)) {
        err << "kalvion-cli: script file not found: " << file << "\n";
        return EXIT_FAILURE_;
    }
    gScriptArgs = args;
    RegisterScriptArgs();
    TCliScriptHost &appHost = CliHost();
    appHost.ReleaseScriptObjects();
    appHost.Sector = TVexaSector::Create();
    if (!sectorFile.empty()) {
        if (!std::filesystem::is_regular_file(sectorFile, ec)) {
            err << "kalvion-cli: sector file not found: " << sectorFile << "\n";
            return EXIT_FAILURE_;
        }
        std::string error;
        if (!LoadFromFile(*appHost.Sector, sectorFile, &error)) {
            err << "kalvion-cli: " << error << "\n";
            return EXIT_FAILURE_;
        }
    }
    ApplySeed(opts);
    // With --json the script's printing becomes one field of the object.
    std::ostringstream captured;
    std::ostream &printed = opts.json ? static_cast<std::ostream &>(captured) : out;
    ConsoleUI ui(printed);
    TZentScripter host;
    host.UI = &ui;
    host.OnShowMessage = [&](const std::string &caption, const std::string &text) {
        printed.flush();
        std::string t = text;
        for (std::size_t p; (p = t.find("\r\n")) != std::string::npos;)
            t.replace(p, 2, "\n");
        err << caption << ": " << t << "\n";
    };
    host.IncludeFolders = ScriptIncludeFolders(file, UserPluginFolder(), ProgramSubfolder("Plugins"));
    if (!host.LoadScriptFile(file)) {
        err << "kalvion-cli: " << host.ErrorText << "\n";
        return EXIT_FAILURE_;
    }
    TWatchdog watchdog(host, timeoutSeconds);
    const bool ok = host.Run();
    // What the script made and did not hand over goes with the run.
    appHost.ReleaseScriptObjects();
    ReleaseScriptDialogs();
    // A halted script did not finish its work: that is no success.
    const bool halted = watchdog.Stop();
    if (opts.json)
        PrintJson(out, nlohmann::ordered_json{
                           {"file", file}, {"output", captured.str()}, {"finished", ok && !halted}, {"halted", halted}});
    if (halted)
        return EXIT_FAILURE_;
    return ok ? EXIT_OK : EXIT_FAILURE_;
}

} // namespace kalvion::cli
