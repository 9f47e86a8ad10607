#include "render/SectorGLWidget.h"

#include "model/VexaSector.h"
#include "render/RenderSectorOGL.h"

#include <QLabel>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace kalvion {

TSectorGLWidget::TSectorGLWidget(TRenderSectorOGL &renderer, QWidget *parent)
    : QOpenGLWidget(parent), Renderer_(renderer)
{
    setObjectName("sectorView");
    setFormat(SectorSurfaceFormat(4));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(64, 64);
    Context_.OnRedrawRequest = [this] { update(); };
}

TSectorGLWidget::~TSectorGLWidget()
{
    // The resources go now; the context's own destruction comes later, in
    // the base class, when this part of the object no longer exists.
    if (context())
        disconnect(context(), &QOpenGLContext::aboutToBeDestroyed, this, nullptr);
    if (context() && context()->isValid()) {
        makeCurrent();
        ReleaseContextResources();
        doneCurrent();
    }
}

void TSectorGLWidget::SetSector(TVexaSector *sector)
{
    if (sector != Sector_ && context() && context()->isValid()) {
        // The old sector's images and grids are of no use to the new one.
        makeCurrent();
        Renderer_.ReleaseTextures();
        doneCurrent();
    }
    Sector_ = sector;
    Renderer_.ReloadBackground();
    update();
}

void TSectorGLWidget::ReleaseContextResources()
{
    if (OnReleaseContext)
        OnReleaseContext();
    const int kept = Renderer_.ContextIndex;
    Renderer_.ContextIndex = 0;
    Renderer_.ReleaseAll();
    Renderer_.ContextIndex = kept;
}

void TSectorGLWidget::initializeGL()
{
    Initialized_ = true;
    Context_.Attach(context(), context() ? context()->surface() : nullptr);
    // Qt replaces the context on re-parenting and full screen: what the
    // renderer made in the old one must go with it.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
            [this] {
                makeCurrent();
                ReleaseContextResources();
                doneCurrent();
            },
            Qt::DirectConnection);
    if (!Context_.Check())
        ShowError();
    else if (ErrorLabel_)
        ErrorLabel_->hide();
}

void TSectorGLWidget::showEvent(QShowEvent *event)
{
    QOpenGLWidget::showEvent(event);
    // A widget whose context could not be made never calls initializeGL; one
    // that is merely slow to start does so later and hides the message.
    QTimer::singleShot(1000, this, [this] {
        if (!Initialized_ && isVisible() && (!context() || !context()->isValid())) {
            Context_.ErrorMessage = GL_ERROR_CREATE_CONTEXT;
            ShowError();
        }
    });
}

void TSectorGLWidget::ShowError()
{
    if (!ErrorLabel_) {
        ErrorLabel_ = new QLabel(this);
        ErrorLabel_->setObjectName("labelGraphicsError");
        ErrorLabel_->setAlignment(Qt::AlignCenter);
        ErrorLabel_->setWordWrap(true);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(ErrorLabel_);
    }
    ErrorLabel_->setText(QString::fromStdString(Context_.ErrorMessage));
    ErrorLabel_->show();
}

void TSectorGLWidget::resizeGL(int, int) {}

void TSectorGLWidget::SetFrameOverride(std::function<void(int, int)> draw)
{
    FrameOverride_ = std::move(draw);
    update();
}

void TSectorGLWidget::paintGL()
{
    if (!Sector_ || Context_.HasError())
        return;
    const qreal dpr = devicePixelRatioF();
    const int w = static_cast<int>(std::lround(width() * dpr));
    const int h = static_cast<int>(std::lround(height() * dpr));
    Renderer_.ContextIndex = 0;
    Renderer_.SetFontScale(dpr);
    Renderer_.NoRaster = !PointerMode_ || Animating_;
    try {
        if (FrameOverride_)
            FrameOverride_(w, h);
        else
            Renderer_.Render(*Sector_, this, &Context_, h, w);
    } catch (...) {
        // An incomplete frame is left as it is; the next one starts afresh.
    }
    ++FramesDrawn_;
    emit frameDrawn();
}

QPoint TSectorGLWidget::ToFramebuffer(const QPoint &point) const
{
    // Picking works in device pixels: the frame's screen data are in the
    // framebuffer's pixels, which a high-DPI screen makes larger.
    const qreal dpr = devicePixelRatioF();
    const int h = static_cast<int>(std::lround(height() * dpr));
    return {static_cast<int>(std::floor(point.x() * dpr)), h - static_cast<int>(std::floor(point.y() * dpr))};
}

QPoint TSectorGLWidget::ToDevicePixels(const QPoint &point) const
{
    const qreal dpr = devicePixelRatioF();
    return {static_cast<int>(std::floor(point.x() * dpr)), static_cast<int>(std::floor(point.y() * dpr))};
}

TStellarBody *TSectorGLWidget::SystemAt(const QPoint &point) const
{
    if (!Sector_)
        return nullptr;
    const QPoint p = ToFramebuffer(point);
    return Sector_->BodyAtXY(p.x(), p.y());
}

void TSectorGLWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && PointerMode_)
        emit systemClicked(SystemAt(event->position().toPoint()), event->modifiers());
    QOpenGLWidget::mousePressEvent(event);
}

} // namespace kalvion
