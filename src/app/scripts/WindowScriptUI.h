#pragma once
// Message and input boxes of scripts run from the main window, answered
// through the window's one message interface (so tests answer them too).
#include "scripting/ScriptEngine.h"

namespace kalvion::app {

class TAppMessages;

// The script language's message box results.
inline constexpr int SCRIPT_MB_OK = 1;
inline constexpr int SCRIPT_MB_CANCEL = 2;
inline constexpr int SCRIPT_MB_YES = 6;
inline constexpr int SCRIPT_MB_NO = 7;

class TWindowScriptUI final : public TScriptUI {
public:
    explicit TWindowScriptUI(TAppMessages &messages) : FMessages(messages) {}
    // buttons: the language's style value; its low three bits choose the
    // buttons, the 16s the icon.  Abort/Retry/Ignore and Retry/Cancel
    // become OK/Cancel, the nearest boxes the window has.
    int MsgBox(const std::string &prompt, int buttons, const std::string &title) override;
    std::optional<std::string> InputBox(const std::string &prompt, const std::string &title,
                                        const std::string &def) override;

private:
    TAppMessages &FMessages;
};

} // namespace kalvion::app
