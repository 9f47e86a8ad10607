// The VBScript language behind the engine boundary.
#include "base/AsciiText.h"
#include "scripting/ScriptEngine.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/vbs/Bridge.h"
#include "scripting/vbs/Interpreter.h"

#include <mutex>

namespace kalvion {

namespace {

constexpr std::size_t kMaxShownSourceLine = 200;

class UIAdapter final : public vbs::HostServices {
public:
    explicit UIAdapter(TScriptUI *&ui) : FUI(ui) {}
    int MsgBox(const std::string &prompt, int buttons, const std::string &title) override
    {
        return FUI ? FUI->MsgBox(prompt, buttons, title) : 1;
    }
    std::optional<std::string> InputBox(const std::string &prompt, const std::string &title,
                                        const std::string &def) override
    {
        if (!FUI)
            return def;
        return FUI->InputBox(prompt, title, def);
    }

private:
    TScriptUI *&FUI;
};

std::string LineOf(const std::string &text, int line)
{
    std::size_t pos = 0;
    for (int i = 0; i < line && pos != std::string::npos; ++i) {
        pos = text.find('\n', pos);
        if (pos != std::string::npos)
            ++pos;
    }
    if (pos == std::string::npos || pos > text.size())
        return {};
    std::size_t end = text.find('\n', pos);
    std::string l = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (!l.empty() && l.back() == '\r')
        l.pop_back();
    return Trim(l);
}

class VBScriptEngine final : public IScriptEngine {
public:
    VBScriptEngine() : FUIAdapter(UI) {}

    bool SetLanguage(const std::string &language) override { return SameText(Trim(language), "VBScript"); }

    void SetScriptText(const std::vector<std::string> &lines) override
    {
        FText.clear();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i)
                FText += "\r\n";
            FText += lines[i];
        }
    }

    bool AddNamedObject(const std::string &name, const TScriptObjectRef &obj) override
    {
        if (name.empty() || obj.IsNil())
            return false;
        FNamed.emplace_back(name, obj);
        return true;
    }

    void Run() override
    {
        vbs::Interpreter in;
        {
            std::lock_guard<std::mutex> g(FLock);
            FIn = &in;
            if (FHaltEarly)
                in.Halt();
        }
        vbs::RegistryNames names(Registry ? *Registry : TScriptRegistry::Global());
        in.Names = &names;
        in.Host = &FUIAdapter;
        in.SetStepLimit(FStepLimit);
        {
            vbs::CurrentScope cs(in);
            for (auto &[name, obj] : FNamed)
                in.AddGlobal(name, vbs::Variant::Obj(vbs::WrapObject(obj)));
        }
        try {
            in.Execute(FText);
        } catch (const vbs::ScriptError &e) {
            TScriptErrorInfo info;
            info.Number = e.Number;
            info.Description = e.Description;
            info.Line = e.Line < 0 ? 0 : e.Line;
            info.Column = e.Column < 0 ? 0 : e.Column;
            info.Text2 = std::string(vbs::IsSyntaxErrorNumber(e.Number) ? "VBScript compilation error"
                                                                      : "VBScript runtime error");
            // The offending line, cut to a readable length.
            std::string src = LineOf(FText, info.Line);
            if (src.size() > kMaxShownSourceLine)
                src = src.substr(0, kMaxShownSourceLine) + "...";
            if (!src.empty())
                info.Text2 += ": " + src;
            Report(info);
        } catch (const vbs::HaltSignal &h) {
            TScriptErrorInfo info;
            if (h.StepLimit) {
                info.Description = "Script stopped after too many steps";
                info.Number = vbs::E_OUT_OF_STACK;
            }
            if (in.Cur) {
                info.Line = in.Cur->Line;
                info.Column = in.Cur->Col;
            }
            Report(info);
        }
        {
            vbs::CurrentScope cs(in);
            in.Cur = nullptr;
        }
        std::lock_guard<std::mutex> g(FLock);
        FIn = nullptr;
    }

    void Halt() override
    {
        std::lock_guard<std::mutex> g(FLock);
        FHaltEarly = true;
        if (FIn)
            FIn->Halt();
    }

    void SetStepLimit(std::uint64_t steps) override { FStepLimit = steps; }

private:
    void Report(const TScriptErrorInfo &info)
    {
        bool handled = false;
        if (OnError)
            OnError(info, handled);
    }

    std::string FText;
    std::vector<std::pair<std::string, TScriptObjectRef>> FNamed;
    UIAdapter FUIAdapter;
    std::mutex FLock; // guards FIn against a halt from another thread while the run ends
    vbs::Interpreter *FIn = nullptr;
    bool FHaltEarly = false;
    std::uint64_t FStepLimit = 0;
};

} // namespace

std::unique_ptr<IScriptEngine> CreateVBScriptEngine() { return std::make_unique<VBScriptEngine>(); }

} // namespace kalvion
