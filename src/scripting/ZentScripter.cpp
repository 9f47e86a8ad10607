#include "scripting/ZentScripter.h"

#include "base/AsciiText.h"
#include "base/RegularFileRead.h"

#include <filesystem>
#include <iostream>

namespace kalvion {

namespace {

constexpr std::size_t kMaxShownIncludeName = 260;
constexpr int kMaxListedIncludeErrors = 50;

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
    // At most kMaxScriptBytes, so an absurd file is refused before it is held
    // in memory (several times over, as lines and as processed text); a pipe
    // or a device is never opened for reading.
    std::string text;
    switch (ReadRegularFile(path, kMaxScriptBytes, text)) {
    case TRegularFileRead::Ok:
        ScriptText = std::move(text);
        return true;
    case TRegularFileRead::TooLarge:
        ErrorText = TooLargeText(path);
        break;
    case TRegularFileRead::NotRegular:
        ErrorText = "Script file is not a regular file:" + path;
        break;
    case TRegularFileRead::Unreadable:
        ErrorText = "Script file could not be read:" + path;
        break;
    case TRegularFileRead::Missing:
        ErrorText = "Script file not found:" + path;
        break;
    }
    ScriptText.clear();
    return false;
}

std::string TZentScripter::FindInclude(const std::string &name, bool *nonRegular) const
{
    namespace fs = std::filesystem;
    if (nonRegular)
        *nonRegular = false;
    if (name.empty())
        return {};
    std::error_code ec;
    // Only a regular file is taken; a folder or a pipe of that name lets the
    // search go on to the next folder, and is named if nothing else is found.
    const auto take = [&](const std::string &p) {
        const fs::file_status st = fs::status(p, ec);
        if (fs::is_regular_file(st))
            return true;
        if (nonRegular && fs::exists(st))
            *nonRegular = true;
        return false;
    };
    const bool hasExt = fs::path(name).has_extension();
    for (const auto &folder : IncludeFolders) {
        const std::string p = folder + name;
        if (take(p))
            return p;
        if (!hasExt)
            for (const auto &ext : IncludeExtensions) {
                const std::string q = p + "." + ext;
                if (take(q))
                    return q;
            }
    }
    return {};
}

std::string TZentScripter::ResolveIncludeFile(const std::string &name) const { return FindInclude(name, nullptr); }

struct TZentScripter::TExpansion {
    int Insertions = 0;
    int Failures = 0;
    std::size_t Total = 0;
    // Appended files wait until the text before them is done: they go at the
    // end of the script, in the order their directives came.
    std::vector<std::pair<std::string, int>> Appends;
};

void TZentScripter::Include(const std::string &name, bool insert, int depth, TExpansion &x,
                            std::vector<std::string> &out)
{
    const std::string kind = insert ? "Insert" : "Append";
    // The name comes from the script, of any length; the message box that
    // lists it shows its start.
    const std::string shown = name.size() > kMaxShownIncludeName ? name.substr(0, kMaxShownIncludeName) + "..." : name;
    // A script of nothing but missing names still gets a message box that
    // fits on the screen.
    const auto fail = [&](const std::string &text) {
        HadError = true;
        if (++x.Failures <= kMaxListedIncludeErrors)
            ErrorText += text + "\r\n";
        else if (x.Failures == kMaxListedIncludeErrors + 1)
            ErrorText += "...\r\n";
    };
    bool nonRegular = false;
    const std::string path = FindInclude(name, &nonRegular);
    if (path.empty()) {
        fail(kind + (nonRegular ? " file is not a regular file:" : " file not found:") + shown);
        return;
    }
    // Once the run is refused nothing more is read; the scan only goes on to
    // list every missing name in the one message.
    if (HadError)
        return;
    // A file that inserts itself (or two that insert each other) ends here.
    if (depth >= kMaxIncludeDepth || x.Insertions >= kMaxInsertions) {
        fail("Insert file nesting too deep:" + shown);
        return;
    }
    ++x.Insertions;
    std::string text;
    switch (ReadRegularFile(path, kMaxScriptBytes, text)) {
    case TRegularFileRead::Ok:
        break;
    case TRegularFileRead::TooLarge:
        fail(TooLargeText(shown));
        return;
    case TRegularFileRead::NotRegular:
        fail(kind + " file is not a regular file:" + shown);
        return;
    case TRegularFileRead::Missing:
    case TRegularFileRead::Unreadable:
        fail(kind + " file could not be read:" + shown);
        return;
    }
    if ((x.Total += text.size()) > kMaxScriptBytes) {
        fail(TooLargeText(shown));
        return;
    }
    if (insert)
        Expand(SplitLines(text), depth + 1, x, out);
    else
        x.Appends.emplace_back(std::move(text), depth + 1);
}

void TZentScripter::Expand(std::vector<std::string> lines, int depth, TExpansion &x, std::vector<std::string> &out)
{
    for (std::string &line : lines) {
        const std::string lower = AsciiLower(line.substr(0, 9));
        const bool isInsert = StartsWith(lower, "#insert");
        if (isInsert || StartsWith(lower, "#append"))
            Include(RestFrom(line, 8), isInsert, depth, x, out);
        if (StartsWith(lower, "#language"))
            Language = RestFrom(line, 10);
        if (!line.empty() && line[0] == '#')
            line.clear();
        out.push_back(std::move(line));
    }
}

void TZentScripter::Preprocess()
{
    // An inserted file is split into lines and expanded in place, before its
    // directive's (blank) line, so its own header lines are blanked one by one
    // and its own "#insert" lines work; an appended one is expanded after
    // everything else.
    Language = DefaultLanguage;
    TExpansion x;
    x.Total = ScriptText.size();
    std::vector<std::string> lines;
    Expand(SplitLines(ScriptText), 0, x, lines);
    for (std::size_t i = 0; i < x.Appends.size(); ++i) {
        auto [text, depth] = std::move(x.Appends[i]);
        Expand(SplitLines(text), depth, x, lines);
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

std::vector<std::string> ScriptIncludeFolders(const std::string &scriptFile, const std::string &userPlugins,
                                              const std::string &programPlugins)
{
    namespace fs = std::filesystem;
    std::vector<std::string> folders;
    std::vector<fs::path> seen;
    const auto add = [&](const fs::path &folder) {
        if (folder.empty())
            return;
        std::error_code ec;
        fs::path key = fs::absolute(folder, ec).lexically_normal();
        if (ec)
            return;
        if (!key.has_filename())
            key = key.parent_path();
        for (const fs::path &s : seen)
            if (s == key)
                return;
        seen.push_back(key);
        std::string text = key.string();
        if (text.empty() || text.back() != '/')
            text += '/';
        folders.push_back(std::move(text));
    };
    if (!scriptFile.empty()) {
        std::error_code ec;
        add(fs::absolute(fs::path(scriptFile), ec).parent_path());
    }
    add(userPlugins);
    add(programPlugins);
    return folders;
}

} // namespace kalvion
