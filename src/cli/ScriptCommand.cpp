// kalvion-cli script: runs a script file headless.  Message boxes print to
// standard output and get the unanswered answer (OK, Cancel, No or Abort),
// input boxes answer with their default, and script errors go to standard
// error with their line and character.
#include "cli/CliApp.h"

#include "base/Questions.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"

#include <filesystem>
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

} // namespace

int RunScript(const CliOptions &opts, const std::string &file, const std::vector<std::string> &args,
              std::ostream &out, std::ostream &err)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        err << "kalvion-cli: script file not found: " << file << "\n";
        return EXIT_FAILURE_;
    }
    gScriptArgs = args;
    RegisterScriptArgs();
    ApplySeed(opts);
    ConsoleUI ui(out);
    TZentScripter host;
    host.UI = &ui;
    host.OnShowMessage = [&](const std::string &caption, const std::string &text) {
        out.flush();
        std::string t = text;
        for (std::size_t p; (p = t.find("\r\n")) != std::string::npos;)
            t.replace(p, 2, "\n");
        err << caption << ": " << t << "\n";
    };
    host.LoadScriptFile(file);
    return host.Run() ? EXIT_OK : EXIT_FAILURE_;
}

} // namespace kalvion::cli
