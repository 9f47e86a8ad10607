#include "scripting/vbs/StdObjects.h"

#include "base/AsciiText.h"
#include "scripting/vbs/Convert.h"
#include "scripting/vbs/Interpreter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_map>

namespace kalvion::vbs {

namespace fs = std::filesystem;

Variant Object::Invoke(Interpreter &, std::string_view name, InvokeKind, Variant **, int) { ThrowNoMember(name); }

void Object::Put(Interpreter &, std::string_view name, bool, Variant **, int, const Variant &) { ThrowNoMember(name); }

bool Object::Enumerate(Interpreter &, std::vector<Variant> &) { return false; }

void ThrowNoMember(std::string_view name)
{
    if (name.empty())
        Throw(E_NO_SUCH_MEMBER);
    ThrowNamed(E_NO_SUCH_MEMBER, name);
}

void CheckArgCount(int argc, int minArgs, int maxArgs)
{
    if (argc < minArgs || argc > maxArgs)
        Throw(E_WRONG_ARGS);
}

namespace {

std::string Str(Variant **a, int i) { return ToStr(LetValue(*a[i])); }

// ---- Err ----

class ErrObj final : public Object {
public:
    std::string TypeName() const override { return "Object"; }
    Variant Invoke(Interpreter &in, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        if (name.empty() || name == "number") {
            CheckArgCount(n, 0, 0);
            return Variant::Long(in.ErrNumber);
        }
        if (name == "description") {
            CheckArgCount(n, 0, 0);
            return Variant::Str(in.ErrDescription);
        }
        if (name == "source") {
            CheckArgCount(n, 0, 0);
            return Variant::Str(in.ErrSource);
        }
        if (name == "helpfile") {
            CheckArgCount(n, 0, 0);
            return Variant::Str(in.ErrHelpFile);
        }
        if (name == "helpcontext") {
            CheckArgCount(n, 0, 0);
            return Variant::Long(in.ErrHelpContext);
        }
        if (name == "clear") {
            CheckArgCount(n, 0, 0);
            in.ClearErr();
            return {};
        }
        if (name == "raise")
            Raise(a, n);
        ThrowNoMember(name);
    }
    void Put(Interpreter &in, std::string_view name, bool, Variant **, int, const Variant &v) override
    {
        if (name.empty() || name == "number")
            in.ErrNumber = ToLong(v);
        else if (name == "description")
            in.ErrDescription = ToStr(v);
        else if (name == "source")
            in.ErrSource = ToStr(v);
        else if (name == "helpfile")
            in.ErrHelpFile = ToStr(v);
        else if (name == "helpcontext")
            in.ErrHelpContext = ToLong(v);
        else
            ThrowNoMember(name);
    }

private:
    // Err.Raise number[, source[, description[, helpfile[, helpcontext]]]]
    [[noreturn]] static void Raise(Variant **a, int n)
    {
        CheckArgCount(n, 1, 5);
        const std::int32_t given = ToLong(LetValue(*a[0]));
        // Beyond the 16 bits of an error number only an HRESULT (high bit set) is one.
        if (given == 0 || given > 0xFFFF)
            Throw(E_INVALID_CALL);
        const std::int32_t num = ErrorNumberOf(given);
        if (num == 0)
            Throw(E_INVALID_CALL);
        std::string source = n > 1 && !a[1]->IsEmpty() ? Str(a, 1) : std::string();
        std::string desc;
        if (n > 2 && !a[2]->IsEmpty())
            desc = Str(a, 2);
        else {
            desc = ErrorDescription(num);
            if (desc.empty())
                desc = "Unknown runtime error";
        }
        ScriptError e(num, std::move(desc), std::move(source));
        if (n > 3 && !a[3]->IsEmpty())
            e.HelpFile = Str(a, 3);
        if (n > 4 && !a[4]->IsEmpty())
            e.HelpContext = ToLong(LetValue(*a[4]));
        throw e;
    }
};

// ---- Dictionary ----

class Dictionary final : public Object {
public:
    explicit Dictionary(Interpreter &in) : FIn(&in) { in.Track(this); }
    ~Dictionary() override
    {
        if (FIn)
            FIn->Untrack(this);
    }
    std::string TypeName() const override { return "Dictionary"; }
    void Teardown() override
    {
        FIn = nullptr;
        std::vector<Entry> drop;
        drop.swap(FEntries);
        FIndex.clear();
    }

    Variant Invoke(Interpreter &, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        if (name.empty() || name == "item") {
            CheckArgCount(n, 1, 1);
            const std::string k = Key(*a[0]);
            auto it = FIndex.find(k);
            if (it == FIndex.end()) {
                // Reading a missing key adds it with an empty item.
                Add(*a[0], Variant());
                return {};
            }
            return FEntries[it->second].Item;
        }
        if (name == "add") {
            CheckArgCount(n, 2, 2);
            if (FIndex.count(Key(*a[0])))
                Throw(E_KEY_EXISTS);
            Add(*a[0], *a[1]);
            return {};
        }
        if (name == "exists") {
            CheckArgCount(n, 1, 1);
            return Variant::Bool(FIndex.count(Key(*a[0])) > 0);
        }
        if (name == "remove") {
            CheckArgCount(n, 1, 1);
            auto it = FIndex.find(Key(*a[0]));
            if (it == FIndex.end())
                Throw(E_ELEMENT_NOT_FOUND);
            FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(it->second));
            Reindex();
            return {};
        }
        if (name == "removeall") {
            CheckArgCount(n, 0, 0);
            std::vector<Entry> drop;
            drop.swap(FEntries);
            FIndex.clear();
            return {};
        }
        if (name == "count") {
            CheckArgCount(n, 0, 0);
            return Variant::Long(static_cast<std::int32_t>(FEntries.size()));
        }
        if (name == "keys" || name == "items") {
            CheckArgCount(n, 0, 0);
            std::vector<Variant> out;
            out.reserve(FEntries.size());
            for (const auto &e : FEntries)
                out.push_back(name == "keys" ? e.KeyValue : e.Item);
            return MakeArray(std::move(out));
        }
        if (name == "comparemode") {
            CheckArgCount(n, 0, 0);
            return Variant::Long(FTextMode ? 1 : 0);
        }
        ThrowNoMember(name);
    }

    void Put(Interpreter &, std::string_view name, bool, Variant **a, int n, const Variant &v) override
    {
        if (name.empty() || name == "item") {
            CheckArgCount(n, 1, 1);
            auto it = FIndex.find(Key(*a[0]));
            if (it == FIndex.end())
                Add(*a[0], v);
            else
                FEntries[it->second].Item = v;
            return;
        }
        if (name == "key") {
            CheckArgCount(n, 1, 1);
            auto it = FIndex.find(Key(*a[0]));
            if (it == FIndex.end())
                Throw(E_ELEMENT_NOT_FOUND);
            if (FIndex.count(Key(v)))
                Throw(E_KEY_EXISTS);
            FEntries[it->second].KeyValue = v;
            Reindex();
            return;
        }
        if (name == "comparemode") {
            if (!FEntries.empty())
                Throw(E_INVALID_CALL);
            FTextMode = ToLong(v) == 1;
            return;
        }
        ThrowNoMember(name);
    }

    bool Enumerate(Interpreter &, std::vector<Variant> &out) override
    {
        for (const auto &e : FEntries)
            out.push_back(e.KeyValue);
        return true;
    }

private:
    struct Entry {
        Variant KeyValue;
        Variant Item;
    };
    std::vector<Entry> FEntries;
    std::unordered_map<std::string, std::size_t> FIndex;
    Interpreter *FIn;
    bool FTextMode = false;

    std::string Key(const Variant &k0) const
    {
        const Variant k = k0.IsObject() ? k0 : k0;
        if (k.IsObject()) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "o:%p", k.RawObj() ? k.RawObj()->Identity() : nullptr);
            return buf;
        }
        if (k.IsArray())
            Throw(E_TYPE_MISMATCH);
        if (k.IsString())
            return "s:" + (FTextMode ? AsciiLower(k.RawStr()) : k.RawStr());
        if (k.IsEmpty())
            return "e:";
        if (k.IsNull())
            return "z:";
        return "n:" + FormatDouble(ToDouble(k), 17);
    }

    void Add(const Variant &k, const Variant &v)
    {
        FIndex.emplace(Key(k), FEntries.size());
        FEntries.push_back({k, v});
    }

    void Reindex()
    {
        FIndex.clear();
        for (std::size_t i = 0; i < FEntries.size(); ++i)
            FIndex.emplace(Key(FEntries[i].KeyValue), i);
    }
};

// ---- file system ----

[[noreturn]] void FsFail(const fs::path &p)
{
    std::error_code ec;
    if (!fs::exists(p.parent_path().empty() ? fs::path(".") : p.parent_path(), ec))
        Throw(E_PATH_NOT_FOUND);
    Throw(E_FILE_NOT_FOUND);
}

class TextStream final : public Object {
public:
    TextStream(const std::string &path, int mode, bool create)
    {
        FMode = mode;
        if (mode == 1) {
            std::ifstream in(path, std::ios::binary);
            if (!in)
                FsFail(path);
            std::ostringstream ss;
            ss << in.rdbuf();
            FData = ss.str();
        } else {
            std::error_code ec;
            if (!create && !fs::exists(path, ec))
                FsFail(path);
            FOut = std::fopen(path.c_str(), mode == 8 ? "ab" : "wb");
            if (!FOut) {
                if (!fs::exists(fs::path(path).parent_path().empty() ? fs::path(".") : fs::path(path).parent_path(), ec))
                    Throw(E_PATH_NOT_FOUND);
                Throw(E_PERMISSION);
            }
        }
    }
    ~TextStream() override
    {
        if (FOut)
            std::fclose(FOut);
    }
    std::string TypeName() const override { return "TextStream"; }

    Variant Invoke(Interpreter &, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        if (name == "readline") {
            NeedRead();
            if (FPos >= FData.size())
                Throw(E_PAST_EOF);
            std::size_t e = FData.find('\n', FPos);
            std::string line = FData.substr(FPos, e == std::string::npos ? std::string::npos : e - FPos);
            FPos = e == std::string::npos ? FData.size() : e + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            ++FLine;
            return Variant::Str(std::move(line));
        }
        if (name == "readall") {
            NeedRead();
            if (FPos >= FData.size() && !FData.empty())
                Throw(E_PAST_EOF);
            std::string rest = FData.substr(FPos);
            FPos = FData.size();
            return Variant::Str(std::move(rest));
        }
        if (name == "read") {
            NeedRead();
            CheckArgCount(n, 1, 1);
            const std::int32_t k = ToLong(*a[0]);
            if (k < 0)
                Throw(E_INVALID_CALL);
            if (FPos >= FData.size())
                Throw(E_PAST_EOF);
            std::string r = FData.substr(FPos, static_cast<std::size_t>(k));
            FPos += r.size();
            return Variant::Str(std::move(r));
        }
        if (name == "skipline") {
            Invoke(CurrentInterpreter(), "readline", InvokeKind::Call, nullptr, 0);
            return {};
        }
        if (name == "atendofstream" || name == "atendofline") {
            NeedRead();
            if (name == "atendofline")
                return Variant::Bool(FPos >= FData.size() || FData[FPos] == '\n' || FData[FPos] == '\r');
            return Variant::Bool(FPos >= FData.size());
        }
        if (name == "line")
            return Variant::Long(FLine);
        if (name == "write" || name == "writeline") {
            NeedWrite();
            std::string s = n > 0 ? Str(a, 0) : std::string();
            if (name == "writeline")
                s += "\r\n";
            std::fwrite(s.data(), 1, s.size(), FOut);
            return {};
        }
        if (name == "writeblanklines") {
            NeedWrite();
            const std::int32_t k = n > 0 ? ToLong(*a[0]) : 0;
            for (std::int32_t i = 0; i < k; ++i)
                std::fwrite("\r\n", 1, 2, FOut);
            return {};
        }
        if (name == "close") {
            if (FOut)
                std::fclose(FOut);
            FOut = nullptr;
            FClosed = true;
            return {};
        }
        ThrowNoMember(name);
    }

private:
    void NeedRead()
    {
        if (FMode != 1 || FClosed)
            Throw(E_BAD_FILE_MODE);
    }
    void NeedWrite()
    {
        if (FMode == 1 || !FOut)
            Throw(E_BAD_FILE_MODE);
    }
    std::string FData;
    std::size_t FPos = 0;
    std::FILE *FOut = nullptr;
    int FMode = 1;
    int FLine = 1;
    bool FClosed = false;
};

class Collection final : public Object {
public:
    explicit Collection(std::vector<Variant> items) : FItems(std::move(items)) {}
    std::string TypeName() const override { return "Collection"; }
    Variant Invoke(Interpreter &, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        if (name == "count")
            return Variant::Long(static_cast<std::int32_t>(FItems.size()));
        if (name.empty() || name == "item") {
            CheckArgCount(n, 1, 1);
            const std::string key = ToStr(*a[0]);
            for (auto &v : FItems) {
                Variant nm = v.RawObj()->Invoke(CurrentInterpreter(), "name", InvokeKind::Get, nullptr, 0);
                if (SameText(nm.RawStr(), key))
                    return v;
            }
            Throw(E_FILE_NOT_FOUND);
        }
        ThrowNoMember(name);
    }
    bool Enumerate(Interpreter &, std::vector<Variant> &out) override
    {
        out = FItems;
        return true;
    }

private:
    std::vector<Variant> FItems;
};

class FsItem final : public Object {
public:
    FsItem(fs::path p, bool folder) : FPath(std::move(p)), FFolder(folder) {}
    std::string TypeName() const override { return FFolder ? "Folder" : "File"; }
    Variant Invoke(Interpreter &, std::string_view name, InvokeKind, Variant **, int) override
    {
        std::error_code ec;
        if (name.empty() || name == "path")
            return Variant::Str(FPath.string());
        if (name == "name")
            return Variant::Str(FPath.filename().string());
        if (name == "size") {
            if (FFolder)
                return Variant::Dbl(0);
            return Variant::Dbl(static_cast<double>(fs::file_size(FPath, ec)));
        }
        if (name == "parentfolder")
            return Variant::Obj(new FsItem(FPath.parent_path(), true));
        if (FFolder && (name == "files" || name == "subfolders")) {
            std::vector<fs::path> paths;
            for (auto it = fs::directory_iterator(FPath, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
                if (it->is_directory(ec) == (name == "subfolders"))
                    paths.push_back(it->path());
            std::sort(paths.begin(), paths.end());
            std::vector<Variant> items;
            for (auto &p : paths)
                items.push_back(Variant::Obj(new FsItem(p, name == "subfolders")));
            return Variant::Obj(new Collection(std::move(items)));
        }
        ThrowNoMember(name);
    }

private:
    fs::path FPath;
    bool FFolder;
};

class FileSystem final : public Object {
public:
    std::string TypeName() const override { return "FileSystemObject"; }
    Variant Invoke(Interpreter &, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        std::error_code ec;
        auto P = [&](int i) { return fs::path(Str(a, i)); };
        if (name == "fileexists") {
            CheckArgCount(n, 1, 1);
            return Variant::Bool(fs::is_regular_file(P(0), ec));
        }
        if (name == "folderexists") {
            CheckArgCount(n, 1, 1);
            return Variant::Bool(fs::is_directory(P(0), ec));
        }
        if (name == "createtextfile") {
            CheckArgCount(n, 1, 3);
            const bool overwrite = n > 1 ? ToBool(*a[1]) : true;
            if (!overwrite && fs::exists(P(0), ec))
                Throw(E_FILE_EXISTS);
            return Variant::Obj(new TextStream(Str(a, 0), 2, true));
        }
        if (name == "opentextfile") {
            CheckArgCount(n, 1, 4);
            const int mode = n > 1 && !a[1]->IsEmpty() ? ToLong(*a[1]) : 1;
            if (mode != 1 && mode != 2 && mode != 8)
                Throw(E_INVALID_CALL);
            const bool create = n > 2 && ToBool(*a[2]);
            return Variant::Obj(new TextStream(Str(a, 0), mode, create));
        }
        if (name == "getfile") {
            CheckArgCount(n, 1, 1);
            if (!fs::is_regular_file(P(0), ec))
                Throw(E_FILE_NOT_FOUND);
            return Variant::Obj(new FsItem(P(0), false));
        }
        if (name == "getfolder") {
            CheckArgCount(n, 1, 1);
            if (!fs::is_directory(P(0), ec))
                Throw(E_PATH_NOT_FOUND);
            return Variant::Obj(new FsItem(P(0), true));
        }
        if (name == "createfolder") {
            CheckArgCount(n, 1, 1);
            if (fs::exists(P(0), ec))
                Throw(E_FILE_EXISTS);
            if (!fs::create_directory(P(0), ec))
                Throw(E_PATH_NOT_FOUND);
            return Variant::Obj(new FsItem(P(0), true));
        }
        if (name == "deletefile") {
            CheckArgCount(n, 1, 2);
            if (!fs::is_regular_file(P(0), ec))
                Throw(E_FILE_NOT_FOUND);
            if (!fs::remove(P(0), ec))
                Throw(E_PERMISSION);
            return {};
        }
        if (name == "deletefolder") {
            CheckArgCount(n, 1, 2);
            if (!fs::is_directory(P(0), ec))
                Throw(E_PATH_NOT_FOUND);
            fs::remove_all(P(0), ec);
            if (ec)
                Throw(E_PERMISSION);
            return {};
        }
        if (name == "copyfile" || name == "movefile") {
            CheckArgCount(n, 2, 3);
            if (!fs::is_regular_file(P(0), ec))
                Throw(E_FILE_NOT_FOUND);
            if (name == "copyfile") {
                const bool overwrite = n > 2 ? ToBool(*a[2]) : true;
                if (!overwrite && fs::exists(P(1), ec))
                    Throw(E_FILE_EXISTS);
                fs::copy_file(P(0), P(1), fs::copy_options::overwrite_existing, ec);
            } else {
                if (fs::exists(P(1), ec))
                    Throw(E_FILE_EXISTS);
                fs::rename(P(0), P(1), ec);
            }
            if (ec)
                Throw(E_PERMISSION);
            return {};
        }
        if (name == "getfilename") {
            CheckArgCount(n, 1, 1);
            return Variant::Str(P(0).filename().string());
        }
        if (name == "getbasename") {
            CheckArgCount(n, 1, 1);
            return Variant::Str(P(0).stem().string());
        }
        if (name == "getextensionname") {
            CheckArgCount(n, 1, 1);
            std::string e = P(0).extension().string();
            return Variant::Str(e.empty() ? e : e.substr(1));
        }
        if (name == "getparentfoldername") {
            CheckArgCount(n, 1, 1);
            return Variant::Str(P(0).parent_path().string());
        }
        if (name == "buildpath") {
            CheckArgCount(n, 2, 2);
            std::string a0 = Str(a, 0), a1 = Str(a, 1);
            if (!a0.empty() && a0.back() != '/' && a0.back() != '\\' && !a1.empty() && a1[0] != '/' && a1[0] != '\\')
                a0 += '/';
            return Variant::Str(a0 + a1);
        }
        if (name == "getabsolutepathname") {
            CheckArgCount(n, 1, 1);
            return Variant::Str(fs::absolute(P(0), ec).lexically_normal().string());
        }
        ThrowNoMember(name);
    }
};

// ---- GetRef ----

class ProcRef final : public Object {
public:
    explicit ProcRef(const Procedure *p) : FProc(p) {}
    std::string TypeName() const override { return "Object"; }
    Variant Invoke(Interpreter &in, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        if (!name.empty())
            ThrowNoMember(name);
        return in.CallProc(FProc, nullptr, a, n);
    }

private:
    const Procedure *FProc;
};

} // namespace

Object *NewErrObject() { return new ErrObj; }
Object *NewDictionary(Interpreter &in) { return new Dictionary(in); }
Object *NewFileSystemObject() { return new FileSystem; }
Object *NewProcRef(const Procedure *p) { return new ProcRef(p); }

} // namespace kalvion::vbs
