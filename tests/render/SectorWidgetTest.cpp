// The 3D sector view in a real window under X: frames, device-pixel picking,
// clicks, and a context that Qt replaces when the widget is re-parented.
#include "XWindowTestMain.h"

#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/RenderSectorOGL.h"
#include "render/SectorGLWidget.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QtMath>

#include <memory>

Q_DECLARE_METATYPE(kalvion::TStellarBody *)

namespace kalvion::test {
namespace {

class SectorWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        sector_ = TVexaSector::Create();
        sector_->GridsEnabled = false;
        sector_->BaseFont = "DejaVu Sans";
        sector_->Camera = {0, 0, 11};
        sector_->Target = {0, 0, 0};
        auto star = TStellarBody::Create();
        star->Name = "Hub";
        star->TypeID = BODY_TYPE_STAR;
        star->Color = ColorRGB(255, 0, 0);
        star->LabelColor = ColorRGB(0, 255, 0);
        star_ = star.get();
        sector_->AddSystem(std::move(star));
        renderer_.ShowDate = false;
    }

    // Shows the widget and waits for a frame drawn after now.
    QImage Frame(TSectorGLWidget &widget)
    {
        const int before = widget.FramesDrawn();
        widget.update();
        for (int i = 0; i < 200 && widget.FramesDrawn() == before; ++i)
            QTest::qWait(10);
        EXPECT_GT(widget.FramesDrawn(), before);
        return widget.grabFramebuffer();
    }

    static int Count(const QImage &image, bool (*pred)(QColor))
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += pred(QColor(image.pixel(x, y)));
        return n;
    }

    std::unique_ptr<TVexaSector> sector_;
    TStellarBody *star_ = nullptr;
    TRenderSectorOGL renderer_;
};

// The marker sphere is a few device pixels across, softened by multisampling.
bool IsRed(QColor c) { return c.red() > 90 && c.green() < 40 && c.blue() < 40; }
bool IsGreen(QColor c) { return c.green() > 120 && c.red() < 80 && c.blue() < 80; }

TEST_F(SectorWidget, DrawsAndPicksInDevicePixels)
{
    TSectorGLWidget widget(renderer_);
    widget.SetSector(sector_.get());
    widget.resize(400, 300);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    const QImage frame = Frame(widget);
    ASSERT_TRUE(widget.ErrorMessage().empty()) << widget.ErrorMessage();
    const qreal dpr = widget.devicePixelRatioF();
    EXPECT_EQ(frame.width(), qRound(400 * dpr));
    EXPECT_GT(Count(frame, IsRed), 0);
    EXPECT_GT(Count(frame, IsGreen), 10);  // the label

    // The logical centre is the framebuffer's centre, bottom-up.
    const QPoint fb = widget.ToFramebuffer(QPoint(200, 150));
    EXPECT_EQ(fb, QPoint(qRound(200 * dpr), qRound(300 * dpr) - qRound(150 * dpr)));
    EXPECT_EQ(widget.SystemAt(QPoint(200, 150)), star_);
    EXPECT_EQ(widget.SystemAt(QPoint(20, 20)), nullptr);
    // Top-down device pixels, as the preview inset and the system view's
    // corner mark are laid out: 15 logical pixels from the corner lie
    // outside the mark's 20 device pixels on this screen.
    EXPECT_EQ(widget.ToDevicePixels(QPoint(8, 15)), QPoint(qFloor(8 * dpr), qFloor(15 * dpr)));
    TRenderOrbitOGL orbit;
    const QPoint beside = widget.ToDevicePixels(QPoint(15, 15)), on = widget.ToDevicePixels(QPoint(6, 6));
    EXPECT_FALSE(orbit.PointInReturnCorner(beside.x(), beside.y()));
    EXPECT_TRUE(orbit.PointInReturnCorner(on.x(), on.y()));

    QSignalSpy clicks(&widget, &TSectorGLWidget::systemClicked);
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<TStellarBody *>(), star_);
}

TEST_F(SectorWidget, SurvivesANewContextWhenReparented)
{
    QWidget first, second;
    first.setLayout(new QVBoxLayout);
    second.setLayout(new QVBoxLayout);
    auto *widget = new TSectorGLWidget(renderer_, &first);
    first.layout()->addWidget(widget);
    widget->SetSector(sector_.get());
    first.resize(400, 300);
    first.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    EXPECT_GT(Count(Frame(*widget), IsGreen), 10);

    // A new top-level window gives the widget a new context: fonts made in
    // the old one must be made again, or the labels vanish.
    second.layout()->addWidget(widget);
    second.resize(400, 300);
    second.show();
    first.hide();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    const QImage again = Frame(*widget);
    EXPECT_GT(Count(again, IsRed), 0);
    EXPECT_GT(Count(again, IsGreen), 10);
}

} // namespace
} // namespace kalvion::test

int main(int argc, char **argv)
{
    return kalvion::test::RunXWindowTests(argc, argv, [] {
        // Twice the pixels of the logical size: picking must work in device pixels.
        qputenv("QT_SCALE_FACTOR", "2");
        qRegisterMetaType<kalvion::TStellarBody *>();
    });
}
