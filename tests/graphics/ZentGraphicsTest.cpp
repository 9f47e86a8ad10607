#include "graphics/ZentGraphics.h"
#include "graphics/ZentImages.h"

#include "GraphicsFixtures.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kalvion {
namespace {

using test::PixelAt;

QImage Blank(int w, int h, QImage::Format f = QImage::Format_RGB32)
{
    QImage img(w, h, f);
    img.fill(f == QImage::Format_ARGB32 ? Qt::transparent : Qt::white);
    return img;
}

std::vector<std::uint8_t> Encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, format);
    return {bytes.begin(), bytes.end()};
}

TEST(ZentGraphics, FillsKeepRedAndBlueApartAndOpacityZeroDrawsNothing)
{
    QImage img = Blank(40, 40);
    {
        TZentGraphics g(&img);
        g.PenStyle = ZPEN_NONE;
        g.BrushColor = ColorRGB(220, 30, 10);
        g.Rectangle(0, 0, 20, 20);
        g.Opacity = 0;
        g.BrushColor = ColorRGB(0, 0, 0);
        g.Ellipse(0, 0, 40, 40);
        g.Rectangle(0, 0, 40, 40);
        g.MoveTo(0, 0);
        g.LineTo(39, 39);
    }
    EXPECT_EQ(PixelAt(img, 10, 10), ColorRGB(220, 30, 10));
    EXPECT_EQ(QColor(img.pixel(10, 10)).red(), 220);
    EXPECT_EQ(PixelAt(img, 30, 30), ColorRGB(255, 255, 255));
}

TEST(ZentGraphics, HollowRectangleAtOpacity51DrawsOnlyItsOutline)
{
    // The renderers raise the process-wide quality; this picture assumes the
    // default one, whatever ran before in the same process.
    SetGraphicsQuality(2);
    QImage img = Blank(40, 40, QImage::Format_ARGB32);
    {
        TZentGraphics g(&img);
        g.Opacity = 51;
        g.NoFill = true;
        g.PenColor = ColorRGB(0, 0, 255);
        g.Rectangle(5, 5, 35, 35);
    }
    EXPECT_EQ(qAlpha(img.pixel(20, 20)), 0);
    const QRgb edge = img.pixel(5, 20);
    EXPECT_NEAR(qAlpha(edge), 51, 2);
    EXPECT_GT(qBlue(edge), qRed(edge));
}

TEST(ZentGraphics, TextFillsWithBrushAndOutlinesWithPenUnlessPenStyleIsNone)
{
    auto countColours = [](int penStyle) {
        QImage img = Blank(200, 80);
        {
            TZentGraphics g(&img);
            g.FontName = "Verdana";
            g.FontSize = 60;
            g.Bold = true;
            g.BrushColor = ColorRGB(255, 0, 0);
            g.PenColor = ColorRGB(0, 0, 255);
            g.PenWidth = 3;
            g.PenStyle = penStyle;
            g.TextOut(5, 5, "HW");
        }
        int red = 0, blue = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c(img.pixel(x, y));
                if (c.red() > 200 && c.blue() < 60 && c.green() < 60)
                    ++red;
                if (c.blue() > 200 && c.red() < 60 && c.green() < 60)
                    ++blue;
            }
        return std::pair{red, blue};
    };
    const auto outlined = countColours(ZPEN_SOLID);
    const auto plain = countColours(ZPEN_NONE);
    EXPECT_GT(outlined.first, 50);
    EXPECT_GT(outlined.second, 50);
    EXPECT_GT(plain.first, 50);
    EXPECT_EQ(plain.second, 0);
}

TEST(ZentGraphics, MissingFontsFallBackToInstalledFamilies)
{
    const QString serif = TZentGraphics::ResolveFontFamily("No Such Font Family 42");
    EXPECT_FALSE(serif.isEmpty());
    EXPECT_TRUE(QFontDatabase::hasFamily(serif)) << serif.toStdString();
    const QString sans = TZentGraphics::ResolveFontFamily("Verdana");
    EXPECT_TRUE(QFontDatabase::hasFamily(sans)) << sans.toStdString();
    TZentGraphics g;
    g.FontSize = 20;
    const QSize ext = g.TextExtent("Sample");
    EXPECT_GT(ext.width(), 20);
    EXPECT_GT(ext.height(), 10);
}

TEST(ZentGraphics, TransparentColourIsTopLeftForStreamsAndBottomLeftForBitmaps)
{
    QImage src(4, 4, QImage::Format_RGB32);
    src.fill(QColor(0, 200, 0));
    src.setPixel(0, 0, qRgb(200, 0, 0));   // top-left red
    src.setPixel(0, 3, qRgb(0, 0, 200));   // bottom-left blue
    src.setPixel(3, 0, qRgb(200, 0, 0));
    src.setPixel(3, 3, qRgb(0, 0, 200));

    QImage a = Blank(4, 4);
    {
        TZentGraphics g(&a);
        g.NoFill = true;
        g.DrawImageStream(Encode(src, "PNG"), ZRECT_WHOLE, ZRECT_WHOLE);
    }
    EXPECT_EQ(PixelAt(a, 3, 0), ColorRGB(255, 255, 255)); // red made transparent
    EXPECT_EQ(PixelAt(a, 3, 3), ColorRGB(0, 0, 200));
    EXPECT_EQ(PixelAt(a, 1, 1), ColorRGB(0, 200, 0));

    QImage b = Blank(4, 4);
    {
        TZentGraphics g(&b);
        g.NoFill = true;
        g.DrawBitmap(src, ZRECT_WHOLE, ZRECT_WHOLE);
    }
    EXPECT_EQ(PixelAt(b, 3, 0), ColorRGB(200, 0, 0));
    EXPECT_EQ(PixelAt(b, 3, 3), ColorRGB(255, 255, 255));

    // Scaling is nearest-neighbour: a 2 x 2 source onto 8 x 8 keeps hard edges.
    QImage c = Blank(8, 8);
    {
        TZentGraphics g(&c);
        g.DrawBitmap(src, {0, 0, 2, 2}, {0, 0, 8, 8});
    }
    EXPECT_EQ(PixelAt(c, 3, 3), ColorRGB(200, 0, 0));
    EXPECT_EQ(PixelAt(c, 4, 4), ColorRGB(0, 200, 0));
}

TEST(ZentImages, DamagedDataGivesNoImageAndZeroSize)
{
    QImage img(30, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    std::vector<std::uint8_t> png = Encode(img, "PNG");
    EXPECT_EQ(ImageSize(png), QSize(30, 20));
    std::vector<std::uint8_t> cut(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
    std::vector<std::uint8_t> junk(500, 0x5A);
    std::vector<std::uint8_t> empty;
    for (const auto *bytes : {&cut, &junk, &empty}) {
        EXPECT_TRUE(DecodeImage(*bytes).isNull());
        EXPECT_EQ(ImageSize(*bytes), QSize(0, 0));
        EXPECT_TRUE(MakeThumbnail(*bytes, 64, false).isNull());
        QImage target = Blank(10, 10);
        TZentGraphics g(&target);
        g.DrawImageStream(*bytes, ZRECT_WHOLE, ZRECT_WHOLE);
    }
    // A PNG header announcing an absurd size is refused before decoding.
    std::vector<std::uint8_t> huge = png;
    huge[16] = 0x7F; // width 0x7F00001E
    EXPECT_TRUE(DecodeImage(huge).isNull());
    EXPECT_TRUE(LoadImageFile("/nonexistent/kalvion.png").isNull());
}

TEST(ZentImages, SavingPicksTheEncoderByExtensionIgnoringCase)
{
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(QColor(10, 20, 200));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(SaveBitmapToStream(img, bytes, "picture.Jpeg"));
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    ASSERT_TRUE(SaveBitmapToStream(img, bytes, "picture.gif"));
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    ASSERT_TRUE(SaveBitmapToStream(img, bytes, "PICTURE.PNG"));
    EXPECT_EQ(bytes[1], 'P');
    EXPECT_STREQ(ImageFormatForFile("x.TIF"), "TIFF");
    if (QImageWriter::supportedImageFormats().contains("tiff")) {
        ASSERT_TRUE(SaveBitmapToStream(img, bytes, "a.tiff"));
        EXPECT_TRUE(bytes[0] == 'I' || bytes[0] == 'M');
    }
    std::string error;
    EXPECT_FALSE(SaveBitmapToStream(QImage(), bytes, "a.png", &error));
    EXPECT_FALSE(error.empty());
    const std::string file = test::PictureDir() + "/roundtrip.bmp";
    ASSERT_TRUE(SaveBitmapToFile(img, file));
    EXPECT_EQ(PixelAt(LoadImageFile(file), 3, 3), ColorRGB(10, 20, 200));
}

TEST(ZentImages, VectorPagesAreSvgOrPdfAndMetafilesAreRefused)
{
    std::string error;
    EXPECT_EQ(CreateVectorPage(test::PictureDir() + "/map.emf", 100, 100, &error), nullptr);
    EXPECT_NE(error.find(".svg"), std::string::npos);
    EXPECT_EQ(VectorKindForFile("a.SVG"), TVectorKind::Svg);
    EXPECT_EQ(VectorKindForFile("a.pdf"), TVectorKind::Pdf);
    EXPECT_EQ(VectorKindForFile("a.png"), TVectorKind::None);
    const std::string svg = test::PictureDir() + "/page.svg";
    {
        auto page = CreateVectorPage(svg, 120, 80, &error);
        ASSERT_NE(page, nullptr);
        {
            TZentGraphics g(page->Device());
            g.BrushColor = ColorRGB(255, 0, 0);
            g.Rectangle(10, 10, 50, 50);
        }
        ASSERT_TRUE(page->Save(&error)) << error;
    }
    std::ifstream in(svg);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("#ff0000"), std::string::npos);
}

TEST(ZentImages, ThumbnailsFitAndCentre)
{
    QImage wide(400, 200, QImage::Format_RGB32);
    wide.fill(Qt::green);
    const QImage t = MakeThumbnail(Encode(wide, "PNG"), 100, false);
    ASSERT_EQ(t.size(), QSize(100, 100));
    EXPECT_EQ(qAlpha(t.pixel(50, 24)), 0);
    EXPECT_EQ(qAlpha(t.pixel(50, 25)), 255);
    EXPECT_EQ(qAlpha(t.pixel(50, 74)), 255);
    EXPECT_EQ(qAlpha(t.pixel(50, 75)), 0);

    QImage small(60, 30, QImage::Format_RGB32);
    small.fill(Qt::blue);
    const QImage s = MakeThumbnail(Encode(small, "PNG"), 100, false);
    EXPECT_EQ(qAlpha(s.pixel(19, 50)), 0);
    EXPECT_EQ(qAlpha(s.pixel(20, 35)), 255);
    EXPECT_EQ(qAlpha(s.pixel(79, 64)), 255);
    EXPECT_EQ(qAlpha(s.pixel(80, 50)), 0);
}

TEST(ZentImages, FitRects)
{
    EXPECT_EQ(FitRect({0, 0, 200, 100}, {10, 10, 110, 110}), (TZentRect{10, 10, 110, 60}));
    EXPECT_EQ(FitRectCentred({0, 0, 200, 100}, {10, 10, 110, 110}), (TZentRect{10, 35, 110, 85}));
    EXPECT_EQ(FitRect({0, 0, 0, 100}, {0, 0, 50, 50}), (TZentRect{0, 0, 0, 0}));
    EXPECT_EQ(FitRectCentred({0, 0, 50, 100}, {0, 0, 100, 100}), (TZentRect{25, 0, 75, 100}));
}

} // namespace
} // namespace kalvion
