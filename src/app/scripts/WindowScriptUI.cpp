#include "app/scripts/WindowScriptUI.h"

#include "app/AppMessages.h"

#include "base/TextEncoding.h"

namespace kalvion::app {

namespace {

// Scripts end their lines with CR LF; the window's boxes break at LF.
QString Text(const std::string &s)
{
    QString t = QString::fromStdString(BytesToUtf8(s));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

TMsgIcon IconOf(int style)
{
    switch (style & 0x70) {
    case 16: return TMsgIcon::Error;
    case 32: return TMsgIcon::Question;
    case 48: return TMsgIcon::Warning;
    case 64: return TMsgIcon::Information;
    default: return TMsgIcon::None;
    }
}

} // namespace

int TWindowScriptUI::MsgBox(const std::string &prompt, int buttons, const std::string &title)
{
    const QString caption = title.empty() ? QStringLiteral("Kalvion") : Text(title);
    const TMsgIcon icon = IconOf(buttons);
    TMsgButtons kind = TMsgButtons::Ok;
    switch (buttons & 7) {
    case 0: kind = TMsgButtons::Ok; break;
    case 3: kind = TMsgButtons::YesNoCancel; break;
    case 4: kind = TMsgButtons::YesNo; break;
    default: kind = TMsgButtons::OkCancel; break;
    }
    if (kind == TMsgButtons::Ok) {
        FMessages.Tell(Text(prompt), caption, icon);
        return SCRIPT_MB_OK;
    }
    switch (FMessages.Ask(Text(prompt), caption, kind, icon)) {
    case TMsgAnswer::Ok: return SCRIPT_MB_OK;
    case TMsgAnswer::Yes: return SCRIPT_MB_YES;
    case TMsgAnswer::No: return SCRIPT_MB_NO;
    default: return SCRIPT_MB_CANCEL;
    }
}

std::optional<std::string> TWindowScriptUI::InputBox(const std::string &prompt, const std::string &title,
                                                     const std::string &def)
{
    const auto answer = FMessages.InputBox(Text(title), Text(prompt), Text(def));
    if (!answer)
        return std::nullopt;
    return answer->toStdString();
}

} // namespace kalvion::app
