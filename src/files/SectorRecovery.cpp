#include "files/SectorRecovery.h"

#include "base/Paths.h"
#include "base/SafeFile.h"
#include "files/SectorFile.h"
#include "files/SectorSchema.h"
#include "files/VexaDBSQLite.h"
#include "model/VexaSector.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>
#include <thread>
#include <unordered_map>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvion {

namespace fs = std::filesystem;

struct TRecoverySnapshot::TState {
    // Bodies the copy refers to without holding them (a route's stop, a
    // deleted body's parent): only their row ids are read.  They outlive
    // the copy.
    std::vector<std::unique_ptr<TStellarBody>> StandIns;
    std::unique_ptr<TVexaSector> Copy;
};

TRecoverySnapshot::TRecoverySnapshot() : F(std::make_unique<TState>()) {}
TRecoverySnapshot::~TRecoverySnapshot() = default;

namespace {

constexpr const char *SIDE_FILE = "origin.txt";
constexpr const char *SIDE_HEADER = "Kalvion recovery copy 1";
constexpr const char *COPY_FILE = "sector.VexaDB";
constexpr const char *DAMAGED = ".damaged";

void SetError(std::string *error, const std::string &text)
{
    if (error)
        *error = text;
}

void CopyBase(const TVexaBase &from, TVexaBase &to)
{
    to.IDString = from.IDString;
    to.Loaded = from.Loaded;
    to.Modified = from.Modified;
    to.RecordID = from.RecordID;
    to.Fields = from.Fields;
}

using TRootMap = std::unordered_map<const TStellarBody *, TStellarBody *>;

// The copy of a body below a copied root: the same place in the same tree.
TStellarBody *CopyOfBody(const TStellarBody &body, const TRootMap &roots)
{
    std::vector<int> path;
    const TStellarBody *b = &body;
    for (; b->Parent; b = b->Parent) {
        const int i = b->Parent->FindChildIndex(b);
        if (i < 0)
            return nullptr;
        path.push_back(i);
    }
    const auto it = roots.find(b);
    if (it == roots.end())
        return nullptr;
    TStellarBody *c = it->second;
    for (auto p = path.rbegin(); p != path.rend(); ++p) {
        if (*p >= c->ChildrenCount())
            return nullptr;
        c = c->Children[static_cast<std::size_t>(*p)].get();
    }
    return c;
}

void CopySettings(const TVexaSector &s, TVexaSector &t)
{
    CopyBase(s, t);
    t.Name = s.Name;
    t.Notes = s.Notes;
    t.GMNotes = s.GMNotes;
    t.EpochYear = s.EpochYear;
    t.Time = s.Time;
    t.DateFormat = s.DateFormat;
    t.RandomSeed = s.RandomSeed;
    t.UnitStarMeasureName = s.UnitStarMeasureName;
    t.UnitStarMeasureAbbrev = s.UnitStarMeasureAbbrev;
    t.UnitStarMeasureRatio = s.UnitStarMeasureRatio;
    t.SizeX = s.SizeX;
    t.SizeY = s.SizeY;
    t.SizeZ = s.SizeZ;
    t.Frequency = s.Frequency;
    t.Spherical = s.Spherical;
    t.PoliticalList = s.PoliticalList;
    t.RouteTypeList = s.RouteTypeList;
    t.GridStyle = s.GridStyle;
    t.GridX = s.GridX;
    t.GridY = s.GridY;
    t.GridZ = s.GridZ;
    t.GridTick = s.GridTick;
    t.GridTickLabels = s.GridTickLabels;
    t.GridColor = s.GridColor;
    t.GridsEnabled = s.GridsEnabled;
    t.BackgroundColor = s.BackgroundColor;
    t.BaseFont = s.BaseFont;
    t.FilterStyle = s.FilterStyle;
    t.FilterHabitable = s.FilterHabitable;
    t.FilterPopulation = s.FilterPopulation;
    t.FilterHideUnassignedSubsector = s.FilterHideUnassignedSubsector;
    t.SystemDataDefaults.CopyFrom(s.SystemDataDefaults);
    t.Camera = s.Camera;
    t.Target = s.Target;
    t.OriginCamera = s.OriginCamera;
    t.OriginTarget = s.OriginTarget;
    for (const auto &v : s.Views) {
        auto c = std::make_unique<TVexaView>();
        CopyBase(*v, *c);
        c->Name = v->Name;
        c->Camera = v->Camera;
        c->Target = v->Target;
        c->FilterStyle = v->FilterStyle;
        c->FilterHabitable = v->FilterHabitable;
        c->FilterPopulation = v->FilterPopulation;
        c->FilterHideUnassignedSubsector = v->FilterHideUnassignedSubsector;
        c->PoliticalVisibility = v->PoliticalVisibility;
        c->RouteTypeVisibility = v->RouteTypeVisibility;
        c->SubsectorVisibility = v->SubsectorVisibility;
        t.Views.push_back(std::move(c));
    }
}

void Escape(std::string &out, const std::string &text)
{
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
}

std::string Unescape(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char n = text[++i];
        out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    }
    return out;
}

std::string SideFileText(const TRecoveryOrigin &o)
{
    std::string t = std::string(SIDE_HEADER) + "\nfile=";
    Escape(t, o.FileName);
    t += "\nname=";
    Escape(t, o.Name);
    t += "\npid=" + std::to_string(o.ProcessId) + "\n";
    return t;
}

bool ParseSideFile(const std::string &path, TRecoveryOrigin &o, std::string &problem)
{
    // A side file is three short lines; anything much longer is not one.
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) {
        problem = "its description \"" + path + "\" cannot be read";
        return false;
    }
    if (size > 64 * 1024) {
        problem = "its description \"" + path + "\" is not a recovery description";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != SIDE_HEADER) {
        problem = "its description \"" + path + "\" is not a recovery description";
        return false;
    }
    bool haveFile = false, haveName = false;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq), value = Unescape(line.substr(eq + 1));
        if (key == "file") {
            o.FileName = value;
            haveFile = true;
        } else if (key == "name") {
            o.Name = value;
            haveName = true;
        } else if (key == "pid") {
            o.ProcessId = std::strtol(value.c_str(), nullptr, 10);
        }
    }
    if (!haveFile || !haveName) {
        problem = "its description \"" + path + "\" is incomplete";
        return false;
    }
    return true;
}

bool ProcessRunning(long pid)
{
    if (pid <= 0 || pid == static_cast<long>(::getpid()))
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool Newer(const struct stat &a, const struct stat &b)
{
    return a.st_mtim.tv_sec != b.st_mtim.tv_sec ? a.st_mtim.tv_sec > b.st_mtim.tv_sec
                                                : a.st_mtim.tv_nsec > b.st_mtim.tv_nsec;
}

// A consistent copy of a sector file that another connection of this
// program may be writing: SQLite's backup holds the file's read lock for
// the copy, and a writer busy at the moment is waited for.
bool CopySectorFile(const std::string &from, const std::string &to, std::string *error)
{
    sqlite3 *src = nullptr, *dst = nullptr;
    bool ok = false;
    std::string why;
    if (sqlite3_open_v2(from.c_str(), &src, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        why = src ? sqlite3_errmsg(src) : "out of memory";
    } else if (sqlite3_open_v2(to.c_str(), &dst, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        why = dst ? sqlite3_errmsg(dst) : "out of memory";
    } else {
        sqlite3_busy_timeout(src, 5000);
        for (int attempt = 0; attempt < 50 && !ok; ++attempt) {
            sqlite3_backup *b = sqlite3_backup_init(dst, "main", src, "main");
            if (!b) {
                why = sqlite3_errmsg(dst);
                break;
            }
            const int rc = sqlite3_backup_step(b, -1);
            sqlite3_backup_finish(b);
            if (rc == SQLITE_DONE) {
                ok = true;
            } else if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                why = "the sector file stayed busy";
            } else {
                why = sqlite3_errstr(rc);
                break;
            }
        }
    }
    sqlite3_close(src);
    sqlite3_close(dst);
    if (!ok)
        SetError(error, "\"" + from + "\" could not be copied: " + why);
    return ok;
}

void RemoveQuietly(const std::string &path)
{
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(path + "-journal", ec);
}

std::string CopyBaseName(const TRecoveryOrigin &o)
{
    std::string base = o.FileName.empty() ? o.Name : ExtractFileBaseName(o.FileName);
    for (char &c : base)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32)
            c = '_';
    while (!base.empty() && base.front() == '.')
        base.erase(base.begin());
    if (base.empty())
        base = "Untitled";
    return base.substr(0, 120);
}

} // namespace

std::string RecoveryFolder() { return UserDataFolder() + "Recovery/"; }

std::string NewRecoveryCopyFolder()
{
    std::random_device rd;
    std::error_code ec;
    for (;;) {
        char name[32];
        std::snprintf(name, sizeof name, "%08x%08x", rd(), rd());
        const std::string folder = RecoveryFolder() + name + "/";
        if (!fs::exists(folder, ec))
            return folder;
    }
}

struct TRecoverySnapshotBuilder::TState {
    const TVexaSector &Sector;
    std::unique_ptr<TRecoverySnapshot> Snap;
    bool FileExists = false;
    bool AnyStored = false;
    std::size_t Next = 0;  // the next system to copy
    // The systems as they were met, to see at the end that none came or
    // went in between.
    std::vector<const TStellarBody *> Seen;
    TRootMap Map;
    std::string Error;
    bool Done = false;
    explicit TState(const TVexaSector &sector) : Sector(sector) {}
};

TRecoverySnapshotBuilder::TRecoverySnapshotBuilder(const TVexaSector &sector, TRecoveryOrigin origin)
    : F(std::make_unique<TState>(sector))
{
    F->Snap = std::make_unique<TRecoverySnapshot>();
    F->Snap->Origin = std::move(origin);
    std::error_code ec;
    F->FileExists = !sector.FileName.empty() && fs::is_regular_file(sector.FileName, ec);
    if (F->FileExists)
        F->Snap->SourceFile = sector.FileName;
    F->Snap->F->Copy = std::make_unique<TVexaSector>();
    F->Snap->F->Copy->Systems.reserve(sector.Systems.size());
    F->Seen.reserve(sector.Systems.size());
    F->Map.reserve(sector.Systems.size());
}

TRecoverySnapshotBuilder::~TRecoverySnapshotBuilder() = default;

bool TRecoverySnapshotBuilder::Failed() const { return !F->Error.empty(); }
const std::string &TRecoverySnapshotBuilder::Error() const { return F->Error; }

bool TRecoverySnapshotBuilder::Step(std::chrono::steady_clock::duration budget)
{
    if (F->Done || Failed())
        return true;
    using Clock = std::chrono::steady_clock;
    const auto until = budget == Clock::duration::max() ? Clock::time_point::max() : Clock::now() + budget;
    const TVexaSector &sector = F->Sector;
    TVexaSector &copy = *F->Snap->F->Copy;
    const bool fileExists = F->FileExists;
    for (std::size_t n = 0; F->Next < sector.Systems.size(); ++n) {
        // The clock is read now and then: a system is copied in microseconds.
        if (n % 32 == 31 && Clock::now() >= until)
            return false;
        const TStellarBody *root = sector.Systems[F->Next++].get();
        // Without the file every system must come from memory.
        if (!fileExists && root->RecordID > 0 && !root->Loaded) {
            F->Error = "systems never opened are only in \"" + sector.FileName + "\", which no longer exists";
            return true;
        }
        // Only the systems a save would write are copied whole; the rest
        // stay in the file.
        std::unique_ptr<TStellarBody> c =
            root->TVexaBase::Modified || !fileExists ? root->CloneTree() : root->CloneRow();
        F->AnyStored = F->AnyStored || root->RecordID > 0;
        F->Map.emplace(root, c.get());
        F->Seen.push_back(root);
        copy.Systems.push_back(std::move(c));
    }
    // The rest is small, and taken in one go with a check that the systems
    // are still those copied.
    bool same = F->Seen.size() == sector.Systems.size();
    for (std::size_t i = 0; same && i < F->Seen.size(); ++i)
        same = F->Seen[i] == sector.Systems[i].get();
    if (!same) {
        F->Error = "the sector changed while it was copied";
        return true;
    }
    TRecoverySnapshot *snap = F->Snap.get();
    const TRootMap &map = F->Map;
    CopySettings(sector, copy);
    if (fileExists) {
        for (const auto &gone : sector.DeletedObjects) {
            if (const auto *body = dynamic_cast<const TStellarBody *>(gone.get())) {
                auto c = body->CloneTree();
                // Deleting tells a stored root from a child by its parent;
                // the copy must not point into the live document.
                c->Parent = nullptr;
                if (body->Parent) {
                    auto parent = body->Parent->CloneRow();
                    c->Parent = parent.get();
                    snap->F->StandIns.push_back(std::move(parent));
                }
                copy.DeletedObjects.push_back(std::move(c));
            } else if (dynamic_cast<const TStellarRoute *>(gone.get())) {
                auto c = std::make_unique<TStellarRoute>();
                CopyBase(*gone, *c);
                copy.DeletedObjects.push_back(std::move(c));
            } else if (dynamic_cast<const TVexaSubsector *>(gone.get())) {
                auto c = std::make_unique<TVexaSubsector>();
                CopyBase(*gone, *c);
                copy.DeletedObjects.push_back(std::move(c));
            }
        }
    } else if (F->AnyStored) {
        // The file has gone: a new file holds no rows to delete or update.
        copy.ResetRecordIDs();
    }
    for (const auto &r : sector.Routes) {
        auto c = std::make_unique<TStellarRoute>();
        r->CopyTo(*c, true);
        CopyBase(*r, *c);
        if (!fileExists)
            c->RecordID = 0;
        for (std::size_t i = 0; i < r->Waypoints.size() && i < c->Waypoints.size(); ++i) {
            const TStellarBody *b = r->Waypoints[i]->Body;
            if (!b)
                continue;
            TStellarBody *target = CopyOfBody(*b, map);
            if (!target && fileExists) {
                auto s = b->CloneRow();
                target = s.get();
                snap->F->StandIns.push_back(std::move(s));
            }
            c->Waypoints[i]->Body = target;
        }
        copy.Routes.push_back(std::move(c));
    }
    for (const auto &s : sector.Subsectors) {
        auto c = std::make_unique<TVexaSubsector>();
        s->CopyTo(*c);
        CopyBase(*s, *c);
        if (!fileExists)
            c->RecordID = 0;
        copy.Subsectors.push_back(std::move(c));
    }
    for (const auto &res : sector.ImageResources.Resources) {
        // Unchanged images stay in the file; without one an image not read
        // yet has nothing to come from.
        if (fileExists ? !res->Modified : (!res->Loaded || res->Deleted))
            continue;
        auto c = std::make_unique<TVexaImageResource>();
        CopyBase(*res, *c);
        c->ResourceName = res->ResourceName;
        c->TimeStamp = res->TimeStamp;
        c->Data = res->Data;
        c->Deleted = res->Deleted;
        if (!fileExists) {
            c->RecordID = 0;
            c->Modified = true;
        }
        copy.ImageResources.Resources.push_back(std::move(c));
    }
    F->Done = true;
    return true;
}

std::unique_ptr<TRecoverySnapshot> TRecoverySnapshotBuilder::Take()
{
    if (!F->Done || Failed())
        return nullptr;
    return std::move(F->Snap);
}

std::unique_ptr<TRecoverySnapshot> TakeRecoverySnapshot(const TVexaSector &sector, TRecoveryOrigin origin,
                                                        std::string *error)
{
    TRecoverySnapshotBuilder builder(sector, std::move(origin));
    builder.Step(std::chrono::steady_clock::duration::max());
    if (builder.Failed()) {
        SetError(error, builder.Error());
        return nullptr;
    }
    return builder.Take();
}



bool WriteRecoveryCopy(TRecoverySnapshot &snapshot, const std::string &folder, std::string *error)
{
    if (!snapshot.F->Copy) {
        SetError(error, "The recovery snapshot was used already");
        return false;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        SetError(error, "The folder \"" + folder + "\" could not be created: " + ec.message());
        return false;
    }
    const std::string target = JoinPath(folder, COPY_FILE);
    const std::string temp = target + ".writing~";
    RemoveQuietly(temp);
    const bool fromFile = !snapshot.SourceFile.empty();
    if (fromFile && !CopySectorFile(snapshot.SourceFile, temp, error)) {
        RemoveQuietly(temp);
        return false;
    }
    bool ok;
    {
        TVexaDB_SQLite db;
        const bool opened = fromFile ? db.OpenExistingSectorFile(temp) : db.OpenSectorFile(temp, false);
        if (opened && fromFile)
            UpgradeSchema(*db.Connection());
        ok = opened && db.WriteSector(*snapshot.F->Copy);
        if (!ok)
            SetError(error, db.ErrorMessage);
        db.CloseSectorFile();
    }
    snapshot.F->Copy.reset();
    snapshot.F->StandIns.clear();
    if (!ok) {
        RemoveQuietly(temp);
        return false;
    }
    // The side file first: a folder whose copy is complete always says
    // whose it is.
    if (!ReplaceFileContents(JoinPath(folder, SIDE_FILE), SideFileText(snapshot.Origin), error)) {
        RemoveQuietly(temp);
        return false;
    }
    fs::rename(temp, target, ec);
    if (ec) {
        RemoveQuietly(temp);
        SetError(error, "\"" + target + "\" could not be replaced: " + ec.message());
        return false;
    }
    return true;
}

std::vector<TRecoveryCopy> FindRecoveryCopies()
{
    std::vector<std::pair<std::int64_t, TRecoveryCopy>> found;
    std::error_code ec;
    const std::string root = RecoveryFolder();
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code e2;
        if (!it->is_directory(e2))
            continue;
        const std::string name = it->path().filename().string();
        if (name.find(DAMAGED) != std::string::npos)
            continue;
        TRecoveryCopy c;
        c.Folder = it->path().string() + "/";
        // The newest copy, else the one a recovery opened (renamed after
        // the sector).
        for (fs::directory_iterator f(it->path(), e2), fend; !e2 && f != fend; f.increment(e2)) {
            const std::string fn = f->path().filename().string();
            if (fn.size() > 7 && fn.compare(fn.size() - 7, 7, ".VexaDB") == 0 && f->is_regular_file(e2) &&
                (c.SectorFile.empty() || fn == COPY_FILE))
                c.SectorFile = f->path().string();
        }
        struct stat copyStat {};
        if (c.SectorFile.empty() || ::stat(c.SectorFile.c_str(), &copyStat) != 0)
            c.Problem = "it holds no sector file";
        else
            ParseSideFile(JoinPath(c.Folder, SIDE_FILE), c.Origin, c.Problem);
        if (c.Problem.empty()) {
            c.InUse = ProcessRunning(c.Origin.ProcessId);
            struct stat fileStat {};
            c.Stale = !c.Origin.FileName.empty() && ::stat(c.Origin.FileName.c_str(), &fileStat) == 0 &&
                      !Newer(copyStat, fileStat);
        }
        const std::int64_t when = static_cast<std::int64_t>(copyStat.st_mtim.tv_sec) * 1000000000 +
                                  copyStat.st_mtim.tv_nsec;
        found.emplace_back(when, std::move(c));
    }
    std::stable_sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    std::vector<TRecoveryCopy> out;
    for (auto &f : found)
        out.push_back(std::move(f.second));
    return out;
}

bool RemoveRecoveryCopy(const std::string &folder, std::string *error)
{
    if (folder.empty())
        return true;
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (ec) {
        SetError(error, "\"" + folder + "\" could not be removed: " + ec.message());
        return false;
    }
    return true;
}

bool RemoveNewerRecoveryCopy(const std::string &folder, std::string *error)
{
    std::error_code ec;
    fs::remove(JoinPath(folder, COPY_FILE), ec);
    if (ec) {
        SetError(error, "\"" + JoinPath(folder, COPY_FILE) + "\" could not be removed: " + ec.message());
        return false;
    }
    return true;
}

bool SetRecoveryCopyAside(const std::string &folder, std::string *newFolder, std::string *error)
{
    std::string base = folder;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        const std::string target = base + DAMAGED + (n == 1 ? std::string() : std::to_string(n));
        if (fs::exists(target, ec))
            continue;
        fs::rename(base, target, ec);
        if (ec) {
            SetError(error, "\"" + base + "\" could not be renamed: " + ec.message());
            return false;
        }
        if (newFolder)
            *newFolder = target + "/";
        return true;
    }
    SetError(error, "\"" + base + "\" could not be renamed");
    return false;
}

bool OpenRecoveryCopy(TVexaSector &sector, const TRecoveryCopy &copy, std::string *error)
{
    if (!copy.Problem.empty() || copy.SectorFile.empty()) {
        SetError(error, copy.Problem.empty() ? "no sector file" : copy.Problem);
        return false;
    }
    std::string file = copy.SectorFile;
    const std::string named = JoinPath(copy.Folder, CopyBaseName(copy.Origin) + ".VexaDB");
    if (file != named) {
        std::error_code ec;
        fs::rename(file, named, ec);
        if (!ec)
            file = named;
    }
    if (!LoadFromFile(sector, file, error))
        return false;
    if (!copy.Origin.Name.empty())
        sector.Name = copy.Origin.Name;
    sector.Modified = true;
    return true;
}

} // namespace kalvion
