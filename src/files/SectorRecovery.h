#pragma once
// Recovery copies: while a sector has unsaved changes the window writes it
// now and then to a folder of its own below "<user data folder>/Recovery/",
// so that a crash or a killed program loses only the last minutes of work.
//
// A copy is a complete sector file (the sector's own file copied, with what
// changed since written into it, as a save into another file does) beside a
// side file naming the file it belongs to.  The copy is built from a
// snapshot taken on the main thread; writing it reads only the snapshot and
// the sector's file, never the live document, so it can run on a worker.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

class TVexaSector;

struct TRecoveryOrigin {
    // The sector's file, where Save would write; empty for a sector never
    // saved (or one that lives in the generation's scratch file).
    std::string FileName;
    // What the start-up question calls the sector.
    std::string Name;
    // The program that writes the copy: a copy of a program still running
    // is not offered to another.
    long ProcessId = 0;
};

// "<user data folder>/Recovery/"
std::string RecoveryFolder();
// A new, unused copy folder below RecoveryFolder() (not yet created).
std::string NewRecoveryCopyFolder();

// What the copy needs from the document, taken at one moment.  Systems
// changed since the last save (with their trees), pending deletions,
// routes, subsectors, views, the sector's settings and changed images are
// copied; systems unchanged since the save stay in the sector's file and
// are carried over from there.
class TRecoverySnapshot {
public:
    TRecoverySnapshot();
    ~TRecoverySnapshot();
    TRecoverySnapshot(const TRecoverySnapshot &) = delete;
    TRecoverySnapshot &operator=(const TRecoverySnapshot &) = delete;

    TRecoveryOrigin Origin;
    // The file the unchanged systems are read from; empty when none.
    std::string SourceFile;

    struct TState;
    std::unique_ptr<TState> F;
};

// A snapshot taken in slices on the main thread, so that a large sector
// held in memory never stalls the window: Step copies systems until its
// budget is spent and answers true once the snapshot is complete (or has
// failed).  The caller starts over when the document may have changed
// between two steps; the last step checks that the systems are still those
// copied, and fails when they are not.  Nothing in the sector changes.
class TRecoverySnapshotBuilder {
public:
    TRecoverySnapshotBuilder(const TVexaSector &sector, TRecoveryOrigin origin);
    ~TRecoverySnapshotBuilder();
    TRecoverySnapshotBuilder(const TRecoverySnapshotBuilder &) = delete;
    TRecoverySnapshotBuilder &operator=(const TRecoverySnapshotBuilder &) = delete;

    bool Step(std::chrono::steady_clock::duration budget);
    // The reason when it failed: the sector changed, or its file has gone
    // and some of its systems were never loaded.
    bool Failed() const;
    const std::string &Error() const;
    // The snapshot, once complete; null otherwise.
    std::unique_ptr<TRecoverySnapshot> Take();

private:
    struct TState;
    std::unique_ptr<TState> F;
};

// The whole snapshot in one step; null (with the reason) on failure.
std::unique_ptr<TRecoverySnapshot> TakeRecoverySnapshot(const TVexaSector &sector, TRecoveryOrigin origin,
                                                        std::string *error = nullptr);

// On any thread: writes the copy into folder (created when missing),
// replacing an earlier copy there only once the new one is complete.  The
// snapshot is used up.
bool WriteRecoveryCopy(TRecoverySnapshot &snapshot, const std::string &folder, std::string *error = nullptr);

// One copy found in RecoveryFolder().
struct TRecoveryCopy {
    std::string Folder;      // ends with "/"
    // The copy: the newest one written, else the one a recovered sector
    // read from; empty when the folder holds none.
    std::string SectorFile;
    TRecoveryOrigin Origin;
    // Why the copy cannot be used (no copy, no side file, or a side file
    // that cannot be read); empty when it can.
    std::string Problem;
    // The sector's file was written after the copy: the copy holds nothing
    // newer.
    bool Stale = false;
    // Another program that is still running writes it.
    bool InUse = false;
};

// Every copy folder, newest copy first; folders set aside are left out.
std::vector<TRecoveryCopy> FindRecoveryCopies();

// Removes a copy folder with what it holds; a missing folder is no error.
bool RemoveRecoveryCopy(const std::string &folder, std::string *error = nullptr);
// Removes only the newest copy written into a folder that also holds the
// copy a recovered sector reads from (see OpenRecoveryCopy).
bool RemoveNewerRecoveryCopy(const std::string &folder, std::string *error = nullptr);
// Renames a copy folder that cannot be read to "<folder>.damaged" (or
// ".damaged2" …), so that nothing of it is lost and it is not offered again.
bool SetRecoveryCopyAside(const std::string &folder, std::string *newFolder = nullptr,
                          std::string *error = nullptr);

// Opens a copy into an empty sector: its systems read lazily from the copy
// (renamed after the sector, so the caption names it, replacing the copy
// an earlier recovery of the same sector read from), Name from the side
// file, Modified set.  The sector's FileName is the copy: saving it into the
// original file is a save into another file, which carries every system
// over from the copy and replaces the original whole.
bool OpenRecoveryCopy(TVexaSector &sector, const TRecoveryCopy &copy, std::string *error = nullptr);

} // namespace kalvion
