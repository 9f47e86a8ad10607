#include "scripting/ZentScripter.h"

#include "base/AsciiText.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace kalvion {

namespace {

enum class TReadResult { Ok, Missing, TooLarge };

// Reads at most kMaxScriptBytes, so an absurd file is refused before it is
// held in memory (several times over, as lines and as processed text).
TReadResult ReadScriptFile(const std::string &path, std::string &out)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return TReadResult::Missing;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > TZentScripter::kMaxScriptBytes)
        return TReadResult::TooLarge;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return TReadResult::Missing;
    out.clear();
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        if (out.size() + static_cast<std::size_t>(in.gcount()) > TZentScripter::kMaxScriptBytes)
            return TReadResult::TooLarge;
        out.append(buf, static_cast<std::size_t>(in.gcount()));
    }
    return in.bad() ? TReadResult::Missing : TReadResult::Ok;
}

std::string TooLargeText(const std::string &path)
{
    return "Script file too large (over " + std::to_string(TZentScripter::kMaxScriptBytes / (1024 * 1024)) +
           " MB):" + path;
}

std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(cur));
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            continue;
        }
        cur += c;
    }
    if (!cur.empty() || text.empty() || text.back() == '\n' || text.back() == '\r')
        lines.push_back(std::move(cur));
    return lines;
}

bool StartsWith(const std::string &lower, const char *prefix)
{
    return lower.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

std::string RestFrom(const std::string &line, std::size_t pos)
{
    return pos < line.size() ? Trim(line.substr(pos)) : std::string();
}

} // namespace

TZentScripter::TZentScripter() = default;
TZentScripter::~TZentScripter() = default;

bool TZentScripter::LoadScriptFile(const std::string &path)
{
    std::string text;
    switch (ReadScriptFile(path, text)) {
    case TReadResult::Ok:
        ScriptText = std::move(text);
        return true;
    case TReadResult::TooLarge:
        ErrorText = TooLargeText(path);
        break;
    case TReadResult::Missing:
        ErrorText = "Script file not found:" + path;
        break;
    }
    ScriptText.clear();
    return false;
}

std::string TZentScripter::ResolveIncludeFile(const std::string &name) const
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool hasExt = fs::path(name).has_extension();
    for (const auto &folder : IncludeFolders) {
        const std::string p = folder + name;
        if (fs::is_regular_file(p, ec))
            return p;
        if (!hasExt)
            for (const auto &ext : IncludeExtensions) {
                const std::string q = p + "." + ext;
                if (fs::is_regular_file(q, ec))
                    return q;
            }
    }
    return {};
}

void TZentScripter::Preprocess()
{
    Language = DefaultLanguage;
    std::vector<std::string> lines = SplitLines(ScriptText);
    int insertions = 0;
    std::size_t total = ScriptText.size();
    bool inserted = true;
    while (inserted && !HadError) {
        inserted = false;
        for (std::size_t i = 0; i < lines.size() && !inserted; ++i) {
            const std::string lower = AsciiLower(lines[i].substr(0, 9));
            const bool isInsert = StartsWith(lower, "#insert");
            const bool isAppend = StartsWith(lower, "#append");
            if (isInsert || isAppend) {
                const std::string name = RestFrom(lines[i], 8);
                const std::string path = ResolveIncludeFile(name);
                std::string text;
                const TReadResult read =
                    path.empty() || insertions >= kMaxInsertions ? TReadResult::Missing : ReadScriptFile(path, text);
                if (!path.empty() && ++insertions > kMaxInsertions) {
                    ErrorText += "Insert file nesting too deep:" + name + "\r\n";
                    HadError = true;
                } else if (read == TReadResult::TooLarge || (read == TReadResult::Ok && (total += text.size()) >
                                                                                          kMaxScriptBytes)) {
                    ErrorText += TooLargeText(name) + "\r\n";
                    HadError = true;
                } else if (read == TReadResult::Ok) {
                    lines[i].clear();
                    if (isInsert)
                        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), text);
                    else
                        lines.push_back(text);
                    inserted = true;
                    continue;
                } else {
                    ErrorText += std::string(isInsert ? "Insert" : "Append") + " file not found:" + name + "\r\n";
                    HadError = true;
                }
            }
            if (StartsWith(lower, "#language")) {
                Language = RestFrom(lines[i], 10);
                lines[i].clear();
            }
            if (!lines[i].empty() && lines[i][0] == '#')
                lines[i].clear();
        }
    }
    ProcessedText.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i)
            ProcessedText += "\r\n";
        ProcessedText += lines[i];
    }
}

void TZentScripter::ShowError(const std::string &message)
{
    if (OnShowMessage)
        OnShowMessage("Script Error", message);
    else
        std::cerr << message << "\n";
}

bool TZentScripter::Run()
{
    // A nested run (a script started while another waits in the message loop)
    // must hand the outer run its state back, whatever happens inside.
    struct Saved {
        TZentScripter &S;
        bool HadError;
        std::string ErrorText, Language, ProcessedText;
        bool Nested;
        bool Pushed = false;
        ~Saved()
        {
            if (Pushed) {
                S.FEngines.pop_back();
                if (--S.RunDepth == 0 && S.OnRunsFinished) {
                    try {
                        S.OnRunsFinished();
                    } catch (...) {
                    }
                }
            }
            std::lock_guard<std::mutex> lock(S.FEngineLock);
            S.Engine = S.FEngines.empty() ? nullptr : S.FEngines.back().get();
            if (!Nested)
                return;
            S.HadError = HadError;
            S.ErrorText = std::move(ErrorText);
            S.Language = std::move(Language);
            S.ProcessedText = std::move(ProcessedText);
        }
    } saved{*this, HadError, ErrorText, Language, ProcessedText, RunDepth > 0};

    HadError = false;
    ErrorText.clear();
    Preprocess();
    if (HadError) {
        ShowError(ErrorText);
        return false;
    }
    std::unique_ptr<IScriptEngine> engine = CreateScriptEngine(Language);
    if (!engine || !engine->SetLanguage(Language)) {
        ShowError("Script language not available: " + Language);
        return false;
    }
    ++RunDepth;
    IScriptEngine *e = engine.get();
    {
        std::lock_guard<std::mutex> lock(FEngineLock);
        FEngines.push_back(std::move(engine));
        Engine = e;
    }
    saved.Pushed = true;
    e->UI = UI;
    e->Registry = Registry;
    e->SetStepLimit(StepLimit);
    e->SetScriptText(SplitLines(ProcessedText));
    e->OnError = [this](const TScriptErrorInfo &info, bool &handled) {
        handled = true;
        std::string text = info.Description;
        if (text.empty()) {
            text = "Script Halted";
        } else {
            HadError = true;
            ErrorText = info.Description;
        }
        ShowError(text + "\r\n" + info.Text2 + "\r\n" + "Error at line " + std::to_string(info.Line + 1) +
                  " char " + std::to_string(info.Column + 1) + ".");
    };
    for (const auto &[name, obj] : NamedObjects)
        e->AddNamedObject(name, obj);
    try {
        e->Run();
    } catch (const std::exception &ex) {
        // Anything the engine did not turn into a script error is still a
        // failed run, never a silent success.
        HadError = true;
        ErrorText = ex.what();
        ShowError(std::string(ex.what()));
    }
    return !HadError;
}

void TZentScripter::Halt()
{
    std::lock_guard<std::mutex> lock(FEngineLock);
    if (Engine)
        Engine->Halt();
}

} // namespace kalvion
