// Long operations on the main thread: camera animations and slides, the
// start-up performance check, and the window as progress handler.  Each
// frame first looks whether a key is waiting; a key stops the operation and
// still reaches the window afterwards.
#include "app/MainWindow.h"

#include "app/ActionTable.h"

#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/CameraAnimations.h"
#include "render/SectorGLWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace kalvion::app {

namespace {

// The camera never lands on its target: the view vector would vanish and
// the projection with it.
void KeepCameraOffTarget(TVexaSector &s, const TVexaPoint &previousCamera)
{
    const double dx = s.Camera.X - s.Target.X, dy = s.Camera.Y - s.Target.Y, dz = s.Camera.Z - s.Target.Z;
    if (dx * dx + dy * dy + dz * dz > 1e-12)
        return;
    double px = previousCamera.X - s.Target.X, py = previousCamera.Y - s.Target.Y, pz = previousCamera.Z - s.Target.Z;
    double len = std::sqrt(px * px + py * py + pz * pz);
    if (!(len > 1e-9)) {
        px = 0, py = 0, pz = 1;
        len = 1;
    }
    const double keep = 0.01;
    s.Camera = {s.Target.X + px / len * keep, s.Target.Y + py / len * keep, s.Target.Z + pz / len * keep};
}

} // namespace

bool TfrmVexaMain::KeyEventCapture(QEvent *event)
{
    if (FLongOperations == 0 || event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    FWaitingKeys.push_back(std::make_unique<QKeyEvent>(key->type(), key->key(), key->modifiers(), key->text(),
                                                       key->isAutoRepeat(), key->count()));
    return true;
}

void TfrmVexaMain::BeginLongOperation()
{
    if (FLongOperations++ == 0) {
        FWaitingKeys.clear();
        qApp->installEventFilter(this);
        FStatus[0]->setText(QStringLiteral("Press 'Esc' to cancel"));
        UpdateActions();
    }
}

void TfrmVexaMain::EndLongOperation()
{
    if (FLongOperations == 0 || --FLongOperations > 0)
        return;
    qApp->removeEventFilter(this);
    FStatus[0]->clear();
    if (FView && FView->Animating()) {
        // Frames drawn while animating carry no screen positions; picking
        // needs one frame that has them.
        FView->SetAnimating(false);
        Redraw();
    }
    UpdateActions();
    NoteForAnswers(QStringLiteral("idle"), QString());
    ReplayKeys();
    if (FCloseWhenIdle)
        QTimer::singleShot(0, this, [this] { close(); });
}

void TfrmVexaMain::ReplayKeys()
{
    // The keys that stopped the operation go to the window as if they had
    // waited in its queue.
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    for (auto &k : FWaitingKeys)
        QCoreApplication::postEvent(target, k.release());
    FWaitingKeys.clear();
}

bool TfrmVexaMain::KeyWaiting()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !FWaitingKeys.empty();
}

bool TfrmVexaMain::RunCameraSteps(int steps, const std::function<void(int)> &step)
{
    BeginLongOperation();
    bool completed = true;
    for (int i = 1; i <= steps; ++i) {
        if (KeyWaiting()) {
            completed = false;
            break;
        }
        const TVexaPoint before = FSector->Camera;
        step(i);
        KeepCameraOffTarget(*FSector, before);
        Redraw();
    }
    EndLongOperation();
    return completed;
}

void TfrmVexaMain::ResetView()
{
    RunCameraSteps(100, [this](int i) { FSector->ComboSlideReset(100, i); });
}

void TfrmVexaMain::CenterOnTarget()
{
    if (FSector->SelectedCount() > 0)
        RunCameraSteps(100, [this](int i) { FSector->PanCameraToSelected(100, i); });
}

void TfrmVexaMain::SlideToSelected()
{
    // 99 steps of a 100-step slide: the camera stops short of the system.
    if (FSector->SelectedCount() > 0)
        RunCameraSteps(99, [this](int i) { FSector->SlideCameraToSelected(100, i); });
}

void TfrmVexaMain::CombinedSlide()
{
    if (FSector->SelectedCount() >= 2)
        RunCameraSteps(100, [this](int i) { FSector->ComboSlideToSelected(100, i); });
}

bool TfrmVexaMain::RunAnimation(TCameraAnimationKind kind)
{
    TVexaSector &s = *FSector;
    SetMouseMode(MOUSE_MODE_PAN);
    BeginLongOperation();
    if (FView)
        FView->SetAnimating(true);
    // The same step generators draw the recorded videos, so a recording
    // shows what the window shows.
    auto animation = MakeCameraAnimation(kind, {FSettings.PerformanceFactor, FSettings.AnimationPerformanceAdjust});
    bool completed = true;
    for (;;) {
        if (KeyWaiting()) {
            animation->Stop(s);
            completed = false;
            break;
        }
        const TAnimationStep step = animation->Next(s);
        if (step.Kind == TAnimationStepKind::Done)
            break;
        Redraw();
        if (step.Kind == TAnimationStepKind::Pause) {
            QElapsedTimer pause;
            pause.start();
            while (pause.elapsed() < step.PauseMs && !KeyWaiting())
                QThread::msleep(10);
        }
    }
    RefillTree();
    EndLongOperation();
    return completed;
}

void TfrmVexaMain::Rotate360() { RunAnimation(TCameraAnimationKind::Rotate); }

void TfrmVexaMain::Whirl()
{
    SetMouseMode(MOUSE_MODE_PAN);
    BeginLongOperation();
    if (FView)
        FView->SetAnimating(true);
    const TVexaPoint camera = FSector->Camera;
    bool stopped = false;
    for (int k = 1; k <= 100 && !(stopped = KeyWaiting()); ++k) {
        FSector->RotateCameraAroundTarget(0, k / 14.025, 0);
        Redraw();
    }
    FSector->Camera = camera;
    EndLongOperation();
    if (!stopped)
        PerformanceCheck();
}

void TfrmVexaMain::PerformanceCheck()
{
    BeginLongOperation();
    if (FView)
        FView->SetAnimating(true);
    const double previous = FSettings.PerformanceFactor;
    FSettings.PerformanceFactor = 1.0;
    const TVexaPoint camera = FSector->Camera;
    QElapsedTimer clock;
    clock.start();
    bool interrupted = false;
    for (int k = 100; k >= 1; --k) {
        if (KeyWaiting()) {
            interrupted = true;
            break;
        }
        FSector->RotateCameraAroundTarget(0, k / 14.025, 0);
        Redraw();
    }
    FSector->Camera = camera;
    const double ms = static_cast<double>(clock.elapsed());
    // A check cut short by a key measured only part of the turn: keep the
    // factor it had rather than one that would make every animation many
    // times longer.
    if (!interrupted && ms > 0)
        FSettings.PerformanceFactor = ms / 1192.0;
    else if (interrupted)
        FSettings.PerformanceFactor = previous;
    Redraw();
    EndLongOperation();
}

void TfrmVexaMain::TourGuide()
{
    if (FSector->SystemCount() > 0)
        RunAnimation(TCameraAnimationKind::TourGuide);
}

void TfrmVexaMain::BonVoyage()
{
    if (FSector->SystemCount() > 0)
        RunAnimation(TCameraAnimationKind::BonVoyage);
}

} // namespace kalvion::app
