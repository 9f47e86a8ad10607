#pragma once
// The script host: loads a script file, expands the host's line directives
// ("#insert", "#append", "#language", other "#" lines blanked), runs the text
// in a fresh engine and reports errors through a message callback.
#include "scripting/ScriptEngine.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace kalvion {

class TZentScripter {
public:
    TZentScripter();
    ~TZentScripter();
    TZentScripter(const TZentScripter &) = delete;
    TZentScripter &operator=(const TZentScripter &) = delete;

    std::string ScriptText;
    std::string ProcessedText;
    bool HadError = false;
    std::string ErrorText;
    std::vector<std::string> IncludeFolders;    // each ending in a path separator
    std::vector<std::string> IncludeExtensions; // without the dot
    std::string DefaultLanguage = "VBScript";
    std::string Language;
    std::vector<std::pair<std::string, TScriptObjectRef>> NamedObjects;
    int RunDepth = 0;
    void *OwnerWindow = nullptr;
    IScriptEngine *Engine = nullptr; // the innermost run's engine

    // Shows a message box: caption and text.  Without it messages go to stderr.
    std::function<void(const std::string &caption, const std::string &text)> OnShowMessage;
    TScriptUI *UI = nullptr;
    // Called when the outermost run ends (the window releases script dialogs here).
    std::function<void()> OnRunsFinished;
    const TScriptRegistry *Registry = nullptr;
    std::uint64_t StepLimit = 0;

    // False (ScriptText empty, ErrorText saying why) for a missing file, one
    // that is no regular file (never opened then) or one over kMaxScriptBytes.
    bool LoadScriptFile(const std::string &path);
    bool Run();
    // Safe from any thread (a watchdog, the window's "Halt Script").
    void Halt();
    // The first regular file of that name in IncludeFolders (with each of
    // IncludeExtensions when the name has none); empty when there is none.
    std::string ResolveIncludeFile(const std::string &name) const;
    void ShowError(const std::string &message);
    // Expands the directives of ScriptText into ProcessedText (sets HadError/ErrorText).
    void Preprocess();

    // Includes that keep including stop here: files inserted into inserted
    // files nest at most kMaxIncludeDepth deep, and one run takes at most
    // kMaxInsertions files in all.
    static constexpr int kMaxIncludeDepth = 8;
    static constexpr int kMaxInsertions = 64;
    // Script files, each insert and the expanded text stay within 16 MiB.
    static constexpr std::size_t kMaxScriptBytes = std::size_t(16) << 20;

private:
    struct TExpansion;
    std::string FindInclude(const std::string &name, bool *nonRegular) const;
    void Expand(std::vector<std::string> lines, int depth, TExpansion &x, std::vector<std::string> &out);
    void Include(const std::string &name, bool insert, int depth, TExpansion &x, std::vector<std::string> &out);

    std::vector<std::unique_ptr<IScriptEngine>> FEngines;
    std::mutex FEngineLock; // Engine against a halt from another thread
};

// The folders "#insert" and "#append" search for a script file, each ending
// in "/": the script's own folder, then the user's plug-in folder, then the
// program's, so that plug-ins can share code wherever they were installed.
// Empty folders and repeats are left out.
std::vector<std::string> ScriptIncludeFolders(const std::string &scriptFile, const std::string &userPlugins,
                                              const std::string &programPlugins);

} // namespace kalvion
