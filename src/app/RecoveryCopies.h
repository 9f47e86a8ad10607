#pragma once
// The window's recovery copies of the open sector: every few minutes while
// the sector has unsaved changes, a snapshot taken between two events on the
// main thread is written by a worker (see files/SectorRecovery.h), so the
// window never waits for the disk.  A failed write is logged and tried again
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
    std::function<std::unique_ptr<TRecoverySnapshot>(std::string *error)> TakeSnapshot;

    // A write now when one is wanted and none runs; false when none started.
    bool WriteNow();
    // Waits until a running write has ended (before the sector's file is
    // written, and before a copy is removed).
    void WaitIdle();
    bool Busy() const { return FWorker.joinable() && FRunning; }

    // The unsaved changes are gone or saved: the copy goes.
    void DiscardCopy();
    // The document is no longer the one recovered from `folder`: a copy
    // that it was read from goes as well.
    void DocumentClosed();
    // The open document reads its systems from a recovered copy in folder;
    // it stays until the document is saved elsewhere or let go.
    void AdoptRecovered(const std::string &folder) { FRecoveredFolder = folder; }
    const std::string &RecoveredFolder() const { return FRecoveredFolder; }
    const std::string &CopyFolder() const { return FFolder; }

signals:
    void copyWritten(const QString &folder);
    void copyFailed(const QString &error);

private:
    struct TResult {
        bool Ok = false;
        std::string Error;
        std::string Folder;
        unsigned Document = 0;
        bool Handled = false;
    };
    void Finished(const std::shared_ptr<TResult> &result);

    QTimer *FTimer = nullptr;
    std::thread FWorker;
    bool FRunning = false;
    std::shared_ptr<TResult> FResult;
    // A copy written for a document let go in the meantime is removed.
    unsigned FDocument = 0;
    std::string FFolder;
    std::string FRecoveredFolder;
};

} // namespace kalvion::app
