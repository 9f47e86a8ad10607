#include "scriptnames/ScriptAppHost.h"

#include "base/Paths.h"
#include "model/VexaSector.h"
#include "scriptnames/ScriptObjectPool.h"

#include <chrono>
#include <thread>

namespace kalvion {

TScriptAppHost::TScriptAppHost() : FPool(std::make_unique<TScriptObjectPool>()) {}

TScriptAppHost::~TScriptAppHost() = default;

void TScriptAppHost::NeedsWindow(const std::string &routine)
{
    throw TScriptHostError(routine + ": needs the main window");
}

void TScriptAppHost::ClearMap()
{
    if (TVexaSector *s = CurrentSector())
        s->New();
}

void TScriptAppHost::UpdateCaption()
{
    if (TVexaSector *s = CurrentSector())
        s->UpdateRootAttribs();
}

void TScriptAppHost::EditBody(TStellarBody *)
{
    NeedsWindow("EditBody");
}

void TScriptAppHost::ShowSystemDiagram(TStellarBody *)
{
    NeedsWindow("ShowSystemDiagram");
}

void TScriptAppHost::SetMainWindowSize(int, int)
{
    NeedsWindow("SetMainWindowSize");
}

int TScriptAppHost::PrintSector(TVexaSector &, bool, double, int, bool, bool, bool, double, double, int)
{
    NeedsWindow("Print");
}

void TScriptAppHost::Pause(int milliseconds)
{
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string TScriptAppHost::ProgramDirectory() const
{
    return ProgramFolder();
}

void TScriptAppHost::ReleaseScriptObjects()
{
    FPool->Clear();
}

} // namespace kalvion
