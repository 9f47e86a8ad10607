#pragma once
// The boundary between the script host and a script language engine.  The
// host creates one engine per run; any language that offers these operations
// can be plugged in by name.  "VBScript" is built in.
#include "scripting/ScriptValue.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalvion {

class TScriptRegistry;

struct TScriptErrorInfo {
    std::string Description; // empty when the run was halted
    std::string Text2;       // the engine's second text: the kind of error and the source line
    int Line = 0;            // zero-based
    int Column = 0;          // zero-based
    std::int32_t Number = 0;
};

// Message and input boxes a script may show.
class TScriptUI {
public:
    virtual ~TScriptUI() = default;
    virtual int MsgBox(const std::string &prompt, int buttons, const std::string &title) = 0;
    virtual std::optional<std::string> InputBox(const std::string &prompt, const std::string &title,
                                                const std::string &def) = 0;
};

class IScriptEngine {
public:
    using ErrorHandler = std::function<void(const TScriptErrorInfo &, bool &handled)>;

    virtual ~IScriptEngine() = default;
    virtual bool SetLanguage(const std::string &language) = 0;
    virtual void SetScriptText(const std::vector<std::string> &lines) = 0;
    // Makes an object visible to the script as a global; false when it cannot.
    virtual bool AddNamedObject(const std::string &name, const TScriptObjectRef &obj) = 0;
    // Runs the top-level code; returns when the script ends, fails or is halted.
    // Errors (a halt included, with an empty description) go to the error handler.
    virtual void Run() = 0;
    // Thread-safe: the running script stops within a few milliseconds.
    virtual void Halt() = 0;
    // Stops runaway scripts after so many loop turns and calls (0: no limit).
    virtual void SetStepLimit(std::uint64_t steps) = 0;

    ErrorHandler OnError;
    TScriptUI *UI = nullptr;
    const TScriptRegistry *Registry = nullptr; // nullptr: the program's global registry
};

using TScriptEngineFactory = std::function<std::unique_ptr<IScriptEngine>()>;

// Creates an engine for a language name (ignoring case); nullptr when unknown.
std::unique_ptr<IScriptEngine> CreateScriptEngine(const std::string &language);
// Adds a language; false when the name is taken.
bool RegisterScriptLanguage(const std::string &language, TScriptEngineFactory factory);

} // namespace kalvion
