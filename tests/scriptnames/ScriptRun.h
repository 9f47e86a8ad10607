#pragma once
// Runs script text against a registry of the object model bound to a host
// the test controls, and collects what the script printed and its errors.
#include "model/VexaSector.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"
#include "scriptnames/ScriptAppHost.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalvion::testing_names {

class TTestHost : public TScriptAppHost {
public:
    TVexaSector *Sector = nullptr;
    TVexaSector *CurrentSector() override { return Sector; }
};

class TScriptRunner {
public:
    TScriptRunner() { RegisterKalvionScriptNames(Reg, Host); }

    TScriptRegistry Reg;
    TTestHost Host;
    std::vector<std::string> Printed; // MsgBox prompts, in order
    std::vector<std::string> Errors;  // "Script Error" texts

    // True when the script ran without an error.
    bool Run(const std::string &text)
    {
        struct UI final : TScriptUI {
            std::vector<std::string> *Out;
            int MsgBox(const std::string &p, int, const std::string &) override
            {
                Out->push_back(p);
                return 1;
            }
            std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &d) override
            {
                return d;
            }
        } ui;
        ui.Out = &Printed;
        TZentScripter s;
        s.Registry = &Reg;
        s.UI = &ui;
        s.StepLimit = 50'000'000;
        s.OnShowMessage = [this](const std::string &, const std::string &t) { Errors.push_back(t); };
        s.ScriptText = text;
        return s.Run();
    }
    std::string LastError() const { return Errors.empty() ? std::string() : Errors.back(); }
};

} // namespace kalvion::testing_names
