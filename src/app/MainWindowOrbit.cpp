// The main window's 3D system view: switching to it from the preview inset
// (with the inset growing to the window first) and back through its corner
// mark, the Orbits menu, the animation timer and the mouse.
#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/orbit/OrbitCommands.h"

#include "base/TextEncoding.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/RenderSectorOGL.h"
#include "render/SectorGLWidget.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <QAction>
#include <QActionGroup>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace kalvion::app {

void TfrmVexaMain::BuildOrbitView()
{
    FOrbit = std::make_unique<TRenderOrbitOGL>();
    // The system view draws into the sector view's context: a context Qt
    // replaces takes the system view's lists and fonts with it.
    if (FView)
        FView->OnReleaseContext = [this] {
            FOrbit->ContextIndex = 0;
            FOrbit->ReleaseLists();
            FOrbit->ReleaseFonts();
        };
    FOrbitTimer = new QTimer(this);
    FOrbitTimer->setObjectName(QStringLiteral("timerOrbit"));
    FOrbitTimer->setInterval(50);
    connect(FOrbitTimer, &QTimer::timeout, this, &TfrmVexaMain::OnOrbitTimer);

    const auto on = [this](const QString &id, auto slot) {
        connect(FActions->Action(id), &QAction::triggered, this, slot);
    };
    // Direction and rate are each one choice of several.
    auto *direction = new QActionGroup(this);
    auto *rate = new QActionGroup(this);
    for (const TOrbitMenuItem &item : OrbitMenuItems()) {
        QAction *action = FActions->Action(QString::fromLatin1(item.Id));
        action->setCheckable(true);
        if (item.Kind == TOrbitMenuKind::Direction) {
            direction->addAction(action);
            on(QString::fromLatin1(item.Id), [this, value = item.Value] { FOrbit->TimeDirection = value; });
        } else if (item.Kind == TOrbitMenuKind::Rate) {
            rate->addAction(action);
            on(QString::fromLatin1(item.Id), [this, value = item.Value] { FOrbit->TimeRate = value; });
        } else {
            on(QString::fromLatin1(item.Id), [this, value = item.Value](bool checked) {
                SetOrbitSwitch(*FOrbit, value, checked);
                Redraw();
            });
        }
    }
    UpdateOrbitChecks();
    on(QStringLiteral("Body.SectorMap"), [this] { ShowSectorView(); });
    // The diagram of the system under the right-click is its 3D system view.
    on(QStringLiteral("Body.SystemDiagram"), [this] { ShowOrbitView(FCurrentBody); });
}

void TfrmVexaMain::OrbitSectorLookChanged()
{
    // A new background image or base font shows from the next frame on.
    FOrbit->ReloadBackground();
    if (FView && FView->context() && FView->context()->isValid()) {
        FView->makeCurrent();
        FOrbit->ReleaseFonts();
        FView->doneCurrent();
    }
}

void TfrmVexaMain::ReleaseOrbitGL()
{
    if (!FOrbit || !FView || !FView->context() || !FView->context()->isValid())
        return;
    FView->makeCurrent();
    FOrbit->ContextIndex = 0;
    FOrbit->ReleaseLists();
    FOrbit->ReleaseFonts();
    FView->doneCurrent();
}

void TfrmVexaMain::UpdateOrbitChecks()
{
    for (const TOrbitMenuItem &item : OrbitMenuItems())
        FActions->Action(QString::fromLatin1(item.Id))->setChecked(OrbitItemChecked(*FOrbit, item));
}

void TfrmVexaMain::UpdateOrbitActions()
{
    const bool shown = FViewMode == VIEW_MODE_ORBIT;
    for (const TOrbitMenuItem &item : OrbitMenuItems())
        FActions->Action(QString::fromLatin1(item.Id))->setEnabled(shown);
}

TStellarBody *TfrmVexaMain::OrbitSystem() const { return FOrbit ? FOrbit->Root() : nullptr; }

void TfrmVexaMain::OpenPreviewSystem()
{
    TStellarBody *body = FRenderer->PreviewBody;
    if (!body)
        return;
    // The inset grows to the window, one frame a step, before the switch.
    if (FView) {
        for (int step = 1; step <= 10; ++step) {
            FRenderer->PreviewGrowStep = step;
            FView->repaint();
        }
        FRenderer->PreviewGrowStep = 0;
    }
    ShowOrbitView(body);
}

void TfrmVexaMain::ShowOrbitView(TStellarBody *body)
{
    if (!body)
        return;
    FSector->DynaLoad(body->GetRootBody());
    const bool current = FView && FView->context() && FView->context()->isValid();
    if (current)
        FView->makeCurrent();
    FOrbit->SetSystem(FSector.get(), body);
    if (current)
        FView->doneCurrent();
    FViewMode = VIEW_MODE_ORBIT;
    FCurrentBody = body;
    UpdateOrbitTexts();
    if (FView)
        FView->SetFrameOverride([this](int w, int h) {
            FOrbit->ContextIndex = 0;
            FOrbit->SetFontScale(FView->devicePixelRatioF());
            FOrbit->Render(w, h);
        });
    FOrbitTimer->start();
    UpdateActions();
    Redraw();
}

void TfrmVexaMain::ShowSectorView()
{
    FOrbitTimer->stop();
    FViewMode = VIEW_MODE_SECTOR;
    if (FView)
        FView->SetFrameOverride({});
    UpdateActions();
    Redraw();
}

void TfrmVexaMain::LeaveOrbitView()
{
    // The lists belong to the view's context and the old document's bodies.
    const bool current = FView && FView->context() && FView->context()->isValid();
    if (current)
        FView->makeCurrent();
    FOrbit->SetSystem(nullptr, nullptr);
    if (current)
        FView->doneCurrent();
    if (FViewMode == VIEW_MODE_ORBIT)
        ShowSectorView();
}

void TfrmVexaMain::StoreOrbitCamera()
{
    if (FOrbit)
        FOrbit->StoreCamera();
}

void TfrmVexaMain::UpdateOrbitTexts()
{
    const TStellarBody *root = FOrbit->Root();
    FOrbit->TextLines[3] = root ? root->Name : std::string();
    FOrbit->TextLines[4] = root ? NameFromBodyType(root->TypeID) : std::string();
}

void TfrmVexaMain::OnOrbitTimer()
{
    if (FViewMode != VIEW_MODE_ORBIT)
        return;
    // The system went (deleted, or a new document): back to the map.
    if (!FOrbit->Root()) {
        ShowSectorView();
        return;
    }
    if (FOrbit->TimeRate == ORBIT_RATE_STOPPED)
        return;
    FOrbit->AdvanceTime();
    if (FView)
        FView->update();
}

bool TfrmVexaMain::HandleOrbitMouse(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (FView)
            FView->setFocus(Qt::MouseFocusReason);
        const QPoint pos = e->position().toPoint();
        if (e->button() == Qt::RightButton) {
            ShowContextMenu(e->globalPosition().toPoint());
            return true;
        }
        if (e->button() != Qt::LeftButton)
            return false;
        // The corner mark is drawn in framebuffer pixels.
        const QPoint device = FView ? FView->ToDevicePixels(pos) : pos;
        if (FOrbit->PointInReturnCorner(device.x(), device.y())) {
            ShowSectorView();
            return true;
        }
        FOrbit->Dragging = true;
        FOrbit->LastMouseX = pos.x();
        FOrbit->LastMouseY = pos.y();
        return true;
    }
    case QEvent::MouseMove: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (!FOrbit->Dragging)
            return false;
        const QPoint pos = e->position().toPoint();
        const int dx = pos.x() - FOrbit->LastMouseX, dy = pos.y() - FOrbit->LastMouseY;
        if (dx == 0 && dy == 0)
            return true;
        FOrbit->LastMouseX = pos.x();
        FOrbit->LastMouseY = pos.y();
        ApplyOrbitDrag(*FOrbit, dx, dy, e->modifiers() & Qt::ShiftModifier);
        Redraw();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!FOrbit->Dragging)
            return false;
        FOrbit->Dragging = false;
        return true;
    case QEvent::Wheel: {
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (delta != 0) {
            FOrbit->Zoom(delta > 0 ? 0.9 : 1.1);
            Redraw();
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace kalvion::app
