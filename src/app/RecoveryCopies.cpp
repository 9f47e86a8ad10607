#include "app/RecoveryCopies.h"

#include "files/SectorRecovery.h"

#include <QTimer>

#include <cstdlib>

namespace kalvion::app {

TRecoveryCopies::TRecoveryCopies(QObject *parent) : QObject(parent), FTimer(new QTimer(this))
{
    connect(FTimer, &QTimer::timeout, this, [this] { WriteNow(); });
}

TRecoveryCopies::~TRecoveryCopies()
{
    // The copy stays: a window that goes without closing is as good as a
    // crash, and the copy is what the next start offers.
    if (FWorker.joinable())
        FWorker.join();
}

void TRecoveryCopies::SetIntervalMinutes(int minutes)
{
    int ms = minutes > 0 ? minutes * 60000 : 0;
    // Tests of the real program cannot wait minutes for a copy.
    if (const char *s = std::getenv("KALVION_RECOVERY_SECONDS"); s && *s) {
        const long seconds = std::strtol(s, nullptr, 10);
        if (seconds > 0 && seconds < 24 * 3600)
            ms = static_cast<int>(seconds * 1000);
    }
    if (ms <= 0) {
        FTimer->stop();
        return;
    }
    FTimer->start(ms);
}

int TRecoveryCopies::IntervalMs() const { return FTimer->isActive() ? FTimer->interval() : 0; }

bool TRecoveryCopies::WriteNow()
{
    if (FRunning || !Wanted || !TakeSnapshot || !Wanted())
        return false;
    std::string error;
    std::unique_ptr<TRecoverySnapshot> snapshot = TakeSnapshot(&error);
    if (!snapshot) {
        qWarning("kalvion: no recovery copy: %s", error.c_str());
        emit copyFailed(QString::fromStdString(error));
        return false;
    }
    if (FFolder.empty())
        FFolder = NewRecoveryCopyFolder();
    if (FWorker.joinable())
        FWorker.join();
    auto result = std::make_shared<TResult>();
    result->Folder = FFolder;
    result->Document = FDocument;
    FResult = result;
    FRunning = true;
    FWorker = std::thread([this, result, snap = std::move(snapshot)]() mutable {
        result->Ok = WriteRecoveryCopy(*snap, result->Folder, &result->Error);
        snap.reset();
        QMetaObject::invokeMethod(this, [this, result] { Finished(result); }, Qt::QueuedConnection);
    });
    return true;
}

void TRecoveryCopies::Finished(const std::shared_ptr<TResult> &result)
{
    if (result->Handled)
        return;
    result->Handled = true;
    if (FWorker.joinable())
        FWorker.join();
    FRunning = false;
    if (result->Document != FDocument) {
        // Written for a document that was saved or let go meanwhile.
        RemoveRecoveryCopy(result->Folder);
        return;
    }
    if (!result->Ok) {
        qWarning("kalvion: the recovery copy could not be written: %s", result->Error.c_str());
        emit copyFailed(QString::fromStdString(result->Error));
        return;
    }
    emit copyWritten(QString::fromStdString(result->Folder));
}

void TRecoveryCopies::WaitIdle()
{
    if (!FWorker.joinable())
        return;
    FWorker.join();
    if (FResult)
        Finished(FResult);
    FResult.reset();
}

void TRecoveryCopies::DiscardCopy()
{
    WaitIdle();
    ++FDocument;
    std::string error;
    if (!FFolder.empty() && !RemoveRecoveryCopy(FFolder, &error))
        qWarning("kalvion: %s", error.c_str());
    FFolder.clear();
}

void TRecoveryCopies::DocumentClosed()
{
    DiscardCopy();
    std::string error;
    if (!FRecoveredFolder.empty() && !RemoveRecoveryCopy(FRecoveredFolder, &error))
        qWarning("kalvion: %s", error.c_str());
    FRecoveredFolder.clear();
}

} // namespace kalvion::app
