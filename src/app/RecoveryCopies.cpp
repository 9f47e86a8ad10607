#include "app/RecoveryCopies.h"

#include "files/SectorRecovery.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>
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
    if (FReaper.joinable())
        FReaper.join();
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

namespace {

// Long enough to copy thousands of systems, short enough that a frame or a
// key waiting behind a slice is not kept noticeably.
constexpr auto SLICE = std::chrono::milliseconds(20);

bool MayChangeTheDocument(QEvent::Type t)
{
    switch (t) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

bool TRecoveryCopies::WriteNow()
{
    if (FRunning || FBuilder || !Wanted || !StartSnapshot || !Wanted())
        return false;
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
    BeginSnapshot();
    ContinueSnapshot();
    return true;
}

bool TRecoveryCopies::eventFilter(QObject *watched, QEvent *event)
{
    if (FBuilder && MayChangeTheDocument(event->type()))
        ++FChanges;
    return QObject::eventFilter(watched, event);
}

void TRecoveryCopies::BeginSnapshot()
{
    if (FBuilder) {
        if (FReaper.joinable())
            FReaper.join();
        FReaper = std::thread([old = std::move(FBuilder)]() mutable { old.reset(); });
    }
    FBuilder = StartSnapshot();
    FChangesAtStart = FChanges;
}

void TRecoveryCopies::StopSnapshot()
{
    if (FBuilder) {
        if (FReaper.joinable())
            FReaper.join();
        FReaper = std::thread([old = std::move(FBuilder)]() mutable { old.reset(); });
    }
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void TRecoveryCopies::ContinueSnapshot()
{
    if (!FBuilder)
        return;
    if (!Wanted()) {
        StopSnapshot();
        return;
    }
    if (FChanges != FChangesAtStart)
        BeginSnapshot();
    const bool done = FBuilder->Step(SLICE);
    if (!done) {
        QTimer::singleShot(0, this, [this] { ContinueSnapshot(); });
        return;
    }
    if (FBuilder->Failed()) {
        const std::string error = FBuilder->Error();
        StopSnapshot();
        qWarning("kalvion: no recovery copy: %s", error.c_str());
        emit copyFailed(QString::fromStdString(error));
        return;
    }
    std::unique_ptr<TRecoverySnapshot> snapshot = FBuilder->Take();
    StopSnapshot();
    StartWorker(std::move(snapshot));
}

void TRecoveryCopies::StartWorker(std::unique_ptr<TRecoverySnapshot> snapshot)
{
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
        // The copied trees are freed here too, not on the main thread.
        snap.reset();
        QMetaObject::invokeMethod(this, [this, result] { Finished(result); }, Qt::QueuedConnection);
    });
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
        if (result->Folder == FRecoveredFolder)
            RemoveNewerRecoveryCopy(result->Folder);
        else
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
    StopSnapshot();
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
    if (!FFolder.empty() && FFolder == FRecoveredFolder) {
        // The recovered copy the document reads from stays while it is open;
        // only the newer copy written beside it goes.
        if (!RemoveNewerRecoveryCopy(FFolder, &error))
            qWarning("kalvion: %s", error.c_str());
        return;
    }
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
    FFolder.clear();
}

} // namespace kalvion::app
