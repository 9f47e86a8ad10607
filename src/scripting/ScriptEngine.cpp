#include "scripting/ScriptEngine.h"

#include "base/AsciiText.h"

#include <map>
#include <mutex>

namespace kalvion {

std::unique_ptr<IScriptEngine> CreateVBScriptEngine();

namespace {
struct Languages {
    std::mutex Lock;
    std::map<std::string, TScriptEngineFactory> Map;
    Languages() { Map.emplace("vbscript", [] { return CreateVBScriptEngine(); }); }
};
Languages &Langs()
{
    static Languages l;
    return l;
}
} // namespace

std::unique_ptr<IScriptEngine> CreateScriptEngine(const std::string &language)
{
    auto &l = Langs();
    std::lock_guard<std::mutex> g(l.Lock);
    auto it = l.Map.find(AsciiLower(Trim(language)));
    if (it == l.Map.end())
        return nullptr;
    return it->second();
}

bool RegisterScriptLanguage(const std::string &language, TScriptEngineFactory factory)
{
    auto &l = Langs();
    std::lock_guard<std::mutex> g(l.Lock);
    return l.Map.emplace(AsciiLower(Trim(language)), std::move(factory)).second;
}

} // namespace kalvion
