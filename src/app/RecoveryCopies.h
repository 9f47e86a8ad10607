#pragma once
// The window's recovery copies of the open sector: every few minutes while
// the sector has unsaved changes, a snapshot is taken on the main thread in
// slices of a few milliseconds between events and then written by a worker
// (see files/SectorRecovery.h), so the window never waits for a copy.  An
// input event or a change the window reports between two slices starts the
// snapshot over.  A failed write is logged and tried again
// at the next interval; nothing is asked or shown while the user edits.
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <thread>

class QTimer;

namespace kalvion {
class TRecoverySnapshot;
class TRecoverySnapshotBuilder;
}

namespace kalvion::app {

class TRecoveryCopies : public QObject {
    Q_OBJECT
public:
    explicit TRecoveryCopies(QObject *parent = nullptr);
    ~TRecoveryCopies() override;

    // Minutes between copies; 0 writes none.  For tests of the real program
    // only, $KALVION_RECOVERY_SECONDS (a positive number of seconds) takes
    // the place of any setting.
    void SetIntervalMinutes(int minutes);
    int IntervalMs() const;

    // Whether a copy is due now (the document is modified and nothing else
    // works on it), and the snapshot of it.  Set by the window.
    std::function<bool()> Wanted;
    std::function<std::unique_ptr<TRecoverySnapshotBuilder>()> StartSnapshot;

    // A copy now when one is wanted and none is under way; false when none
    // started.
    bool WriteNow();
    // The document may have changed: a snapshot under way starts over.
    void NoteChange() { ++FChanges; }
    // Gives up a snapshot under way and waits until a running write has
    // ended (before the sector's file is written, and before a copy is
    // removed).
    void WaitIdle();

    // The unsaved changes are gone or saved: the copy goes.
    void DiscardCopy();
    // The document was closed or replaced: its copy goes, and so does a
    // recovered copy it read its systems from.
    void DocumentClosed();
    // The open document reads its systems from a recovered copy in folder;
    // it stays until the document is saved elsewhere or let go.  Newer
    // copies of the document go to the same folder, so that the folder
    // always offers the latest state and only that.
    void AdoptRecovered(const std::string &folder) { FFolder = FRecoveredFolder = folder; }
    const std::string &RecoveredFolder() const { return FRecoveredFolder; }
    const std::string &CopyFolder() const { return FFolder; }

signals:
    void copyWritten(const QString &folder);
    void copyFailed(const QString &error);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TResult {
        bool Ok = false;
        std::string Error;
        std::string Folder;
        unsigned Document = 0;
        bool Handled = false;
    };
    void Finished(const std::shared_ptr<TResult> &result);
    void BeginSnapshot();
    void ContinueSnapshot();
    void StopSnapshot();
    void StartWorker(std::unique_ptr<TRecoverySnapshot> snapshot);

    QTimer *FTimer = nullptr;
    std::thread FWorker;
    // Frees a snapshot given up halfway, away from the main thread.
    std::thread FReaper;
    bool FRunning = false;
    std::unique_ptr<TRecoverySnapshotBuilder> FBuilder;
    unsigned long long FChanges = 0;
    unsigned long long FChangesAtStart = 0;
    std::shared_ptr<TResult> FResult;
    // A copy written for a document let go in the meantime is removed.
    unsigned FDocument = 0;
    std::string FFolder;
    std::string FRecoveredFolder;
};

} // namespace kalvion::app
