// Long operations on the main thread: camera animations and slides, the
// start-up performance check, and the window as progress handler.  Each
// frame first looks whether a key is waiting; a key stops the operation and
// still reaches the window afterwards.
#include "app/MainWindow.h"

#include "app/ActionTable.h"

#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/SectorGLWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QRandomGenerator>
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

void TfrmVexaMain::ResetView()
{
    BeginLongOperation();
    for (int i = 1; i <= 100 && !KeyWaiting(); ++i) {
        const TVexaPoint before = FSector->Camera;
        FSector->ComboSlideReset(100, i);
        KeepCameraOffTarget(*FSector, before);
        Redraw();
    }
    EndLongOperation();
}

void TfrmVexaMain::CenterOnTarget()
{
    if (FSector->SelectedCount() == 0)
        return;
    BeginLongOperation();
    for (int i = 1; i <= 100 && !KeyWaiting(); ++i) {
        const TVexaPoint before = FSector->Camera;
        FSector->PanCameraToSelected(100, i);
        KeepCameraOffTarget(*FSector, before);
        Redraw();
    }
    EndLongOperation();
}

void TfrmVexaMain::SlideToSelected()
{
    if (FSector->SelectedCount() == 0)
        return;
    BeginLongOperation();
    // 99 steps of a 100-step slide: the camera stops short of the system.
    for (int i = 1; i <= 99 && !KeyWaiting(); ++i) {
        const TVexaPoint before = FSector->Camera;
        FSector->SlideCameraToSelected(100, i);
        KeepCameraOffTarget(*FSector, before);
        Redraw();
    }
    EndLongOperation();
}

void TfrmVexaMain::CombinedSlide()
{
    if (FSector->SelectedCount() < 2)
        return;
    BeginLongOperation();
    for (int i = 1; i <= 100 && !KeyWaiting(); ++i) {
        const TVexaPoint before = FSector->Camera;
        FSector->ComboSlideToSelected(100, i);
        KeepCameraOffTarget(*FSector, before);
        Redraw();
    }
    EndLongOperation();
}

void TfrmVexaMain::Rotate360()
{
    SetMouseMode(MOUSE_MODE_PAN);
    BeginLongOperation();
    if (FView)
        FView->SetAnimating(true);
    const int n = std::max(1, FSettings.Frames(180));
    for (int i = 0; i < n && !KeyWaiting(); ++i) {
        FSector->RotateCameraAroundTarget(0, 360.0 / n, 0);
        Redraw();
    }
    EndLongOperation();
}

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
    TVexaSector &s = *FSector;
    if (s.SystemCount() == 0)
        return;
    SetMouseMode(MOUSE_MODE_PAN);
    BeginLongOperation();
    if (FView)
        FView->SetAnimating(true);
    std::vector<TStellarBody *> visible;
    for (const auto &root : s.Systems)
        if (root->Visible)
            visible.push_back(root.get());
    auto *random = QRandomGenerator::global();
    while (!visible.empty() && !KeyWaiting()) {
        TStellarBody *a = visible[random->bounded(static_cast<quint32>(visible.size()))];
        TStellarBody *b = visible[random->bounded(static_cast<quint32>(visible.size()))];
        if (a == b)
            continue;
        s.SelectAll(false);
        a->Selected = b->Selected = true;
        s.Selection = {a, b};
        const int n = std::max(1, FSettings.Frames(100));
        for (int i = 1; i <= n && !KeyWaiting(); ++i) {
            const TVexaPoint before = s.Camera;
            s.ComboSlideToSelected(n, i);
            KeepCameraOffTarget(s, before);
            Redraw();
        }
        s.Selection.clear();
        a->Selected = b->Selected = false;
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 500 && !KeyWaiting())
            QThread::msleep(10);
    }
    s.SelectAll(false);
    RefillTree();
    EndLongOperation();
}

void TfrmVexaMain::BonVoyage()
{
    TVexaSector &s = *FSector;
    if (s.SystemCount() == 0)
        return;
    SetMouseMode(MOUSE_MODE_PAN);
    BeginLongOperation();
    if (FView)
        FView->SetAnimating(true);
    std::vector<TStellarBody *> visible;
    for (const auto &root : s.Systems)
        if (root->Visible)
            visible.push_back(root.get());
    auto *random = QRandomGenerator::global();
    while (!visible.empty() && !KeyWaiting()) {
        s.SelectAll(false);
        s.Selection.clear();
        TStellarBody *a = visible[random->bounded(static_cast<quint32>(visible.size()))];
        a->Selected = true;
        s.Selection = {a};
        bool stop = false;
        for (int i = 1; i <= 100 && !(stop = KeyWaiting()); ++i) {
            const TVexaPoint before = s.Camera;
            s.PanCameraToSelected(100, i);
            KeepCameraOffTarget(s, before);
            Redraw();
        }
        for (int j = 1; j <= 95 && !stop && !(stop = KeyWaiting()); ++j) {
            const TVexaPoint before = s.Camera;
            s.SlideCameraToSelected(100, j);
            KeepCameraOffTarget(s, before);
            Redraw();
        }
        QElapsedTimer pause;
        pause.start();
        while (!stop && pause.elapsed() < 500 && !KeyWaiting())
            QThread::msleep(10);
        a->Selected = false;
    }
    s.Selection.clear();
    s.SelectAll(false);
    RefillTree();
    EndLongOperation();
}

} // namespace kalvion::app
