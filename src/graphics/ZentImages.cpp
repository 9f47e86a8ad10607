#include "graphics/ZentImages.h"

#include "base/AsciiText.h"
#include "base/Rounding.h"
#include "base/SafeFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>
#include <filesystem>

namespace kalvion {

namespace {

// Decoded pictures above this many pixels are refused: a damaged header must
// not make the program allocate gigabytes.
constexpr qint64 MAX_DECODED_PIXELS = 16384LL * 16384LL;

int RoundInt(double v) { return static_cast<int>(Round(v)); }

} // namespace

std::string UpperExtension(const std::string &fileName)
{
    const std::filesystem::path p(fileName);
    return AsciiUpper(p.extension().string());
}

QImage DecodeImage(const std::vector<std::uint8_t> &stream)
{
    if (stream.empty())
        return {};
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(stream.data()),
                                               static_cast<qsizetype>(stream.size()));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    const QSize announced = reader.size();
    if (announced.isValid() &&
        static_cast<qint64>(announced.width()) * static_cast<qint64>(announced.height()) > MAX_DECODED_PIXELS)
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

QSize ImageSize(const std::vector<std::uint8_t> &stream)
{
    const QImage image = DecodeImage(stream);
    if (image.isNull())
        return {0, 0};
    return image.size();
}

QImage LoadImageFile(const std::string &fileName)
{
    std::error_code ec;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, ec))
        return {};
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return DecodeImage(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

const char *ImageFormatForFile(const std::string &fileName)
{
    const std::string ext = UpperExtension(fileName);
    if (ext == ".JPG" || ext == ".JPEG")
        return "JPEG";
    if (ext == ".PNG")
        return "PNG";
    if (ext == ".TIFF" || ext == ".TIF")
        return "TIFF";
    return "BMP";
}

bool SaveBitmapToStream(const QImage &bitmap, std::vector<std::uint8_t> &stream, const std::string &fileName,
                        std::string *error)
{
    if (bitmap.isNull()) {
        if (error)
            *error = "The image is empty";
        return false;
    }
    const char *format = ImageFormatForFile(fileName);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(bitmap)) {
        if (error)
            *error = std::string("Cannot encode the image as ") + format + ": " + writer.errorString().toStdString();
        return false;
    }
    stream.assign(bytes.begin(), bytes.end());
    return true;
}

QImage NewPicture(int width, int height, QImage::Format format)
{
    QImage image(width, height, format);
    image.setDotsPerMeterX(PICTURE_DOTS_PER_METRE);
    image.setDotsPerMeterY(PICTURE_DOTS_PER_METRE);
    return image;
}

bool SaveBitmapToFile(const QImage &bitmap, const std::string &fileName, std::string *error)
{
    std::vector<std::uint8_t> bytes;
    if (!SaveBitmapToStream(bitmap, bytes, fileName, error))
        return false;
    std::string reason;
    if (!ReplaceFileContents(fileName, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()),
                             &reason)) {
        if (error)
            *error = "Cannot write the picture: " + reason;
        return false;
    }
    return true;
}

QImage WithTransparentColour(const QImage &image, QRgb key)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb k = key | 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] | 0xFF000000u) == k)
                row[x] = 0;
    }
    return out;
}

QImage MakeThumbnail(const std::vector<std::uint8_t> &stream, int size, bool noFill)
{
    if (size < 1)
        return {};
    const QSize s = ImageSize(stream);
    const int w = s.width(), h = s.height();
    if (w <= 0 || h <= 0)
        return {};
    TZentRect dest{0, 0, size, size};
    if (w > size || h > size) {
        if (w > h) {
            const int dh = RoundInt(static_cast<double>(h) / w * size);
            dest = {0, (size - dh) / 2, size, (size - dh) / 2 + dh};
        } else if (h > w) {
            const int dw = RoundInt(static_cast<double>(w) / h * size);
            dest = {(size - dw) / 2, 0, (size - dw) / 2 + dw, size};
        }
    } else {
        dest = {(size - w) / 2, (size - h) / 2, (size - w) / 2 + w, (size - h) / 2 + h};
    }
    QImage thumb(size, size, QImage::Format_ARGB32);
    thumb.fill(Qt::transparent);
    {
        TZentGraphics g(&thumb);
        g.NoFill = noFill;
        g.DrawImageStream(stream, ZRECT_WHOLE, dest);
    }
    return thumb;
}

TZentRect FitRect(const TZentRect &source, const TZentRect &dest)
{
    if (source.Width() == 0 || source.Height() == 0)
        return {0, 0, 0, 0};
    const double k = std::min(static_cast<double>(dest.Height()) / source.Height(),
                              static_cast<double>(dest.Width()) / source.Width());
    return {dest.Left, dest.Top, dest.Left + RoundInt(source.Width() * k), dest.Top + RoundInt(source.Height() * k)};
}

TZentRect FitRectCentred(const TZentRect &source, const TZentRect &dest)
{
    TZentRect r = FitRect(source, dest);
    if (r.Width() == 0 && r.Height() == 0)
        return r;
    const int dx = r.Width() < dest.Width() ? RoundInt((dest.Width() - r.Width()) / 2.0) : 0;
    const int dy = r.Height() < dest.Height() ? RoundInt((dest.Height() - r.Height()) / 2.0) : 0;
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

TVectorKind VectorKindForFile(const std::string &fileName)
{
    const std::string ext = UpperExtension(fileName);
    if (ext == ".SVG")
        return TVectorKind::Svg;
    if (ext == ".PDF")
        return TVectorKind::Pdf;
    if (ext == ".EMF" || ext == ".WMF")
        return TVectorKind::Refused;
    return TVectorKind::None;
}

TVectorPage::TVectorPage(std::string fileName) : FFileName(std::move(fileName)), FBuffer(&FBytes)
{
    FBuffer.open(QIODevice::WriteOnly);
}

TVectorPage::~TVectorPage() = default;

bool TVectorPage::Save(std::string *error)
{
    FDevice.reset(); // a PDF writer finishes its file when it goes
    std::string reason;
    if (FBytes.isEmpty()) {
        reason = "nothing was drawn";
    } else if (ReplaceFileContents(FFileName, std::string_view(FBytes.constData(), static_cast<std::size_t>(FBytes.size())),
                                   &reason)) {
        return true;
    }
    if (error)
        *error = "Cannot write the picture: " + reason;
    return false;
}

std::unique_ptr<TVectorPage> CreateVectorPage(const std::string &fileName, int width, int height, std::string *error)
{
    if (width <= 0 || height <= 0) {
        if (error)
            *error = "The page size must be positive";
        return nullptr;
    }
    switch (VectorKindForFile(fileName)) {
    case TVectorKind::Svg: {
        auto page = std::unique_ptr<TVectorPage>(new TVectorPage(fileName));
        auto svg = std::make_unique<QSvgGenerator>();
        svg->setOutputDevice(&page->FBuffer);
        svg->setSize(QSize(width, height));
        svg->setViewBox(QRect(0, 0, width, height));
        svg->setResolution(96);
        page->FDevice = std::move(svg);
        return page;
    }
    case TVectorKind::Pdf: {
        auto page = std::unique_ptr<TVectorPage>(new TVectorPage(fileName));
        auto pdf = std::make_unique<QPdfWriter>(&page->FBuffer);
        // One point per pixel, no margins: the page is exactly the map.
        pdf->setResolution(72);
        pdf->setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
        page->FDevice = std::move(pdf);
        return page;
    }
    case TVectorKind::Refused:
        if (error)
            *error = "Windows metafiles (.emf, .wmf) cannot be written; use .svg or .pdf for vector output";
        return nullptr;
    case TVectorKind::None:
        break;
    }
    if (error)
        *error = "Not a vector file name (use .svg or .pdf): '" + fileName + "'";
    return nullptr;
}

} // namespace kalvion
