// TBitmap for scripts: a picture a script makes, paints with the atmosphere
// routines, reads pixel by pixel and writes to or reads from an image file.
//
//   TBitmap.Create            an empty (0 x 0) bitmap the script owns
//   Width, Height             read and write; 0 … ATM_MAX_DIMENSION
//   SetSize(w, h)             both at once; what fits is kept, the rest black
//   Pixels(x, y)              the colour at a pixel, 0x00BBGGRR
//   SaveToFile(name)          writes the picture (PNG unless the name ends in
//                             ".jpg", ".jpeg", ".bmp", ".tif" or ".tiff")
//   LoadFromFile(name)        reads an image file; anything unreadable is a
//                             script error and the bitmap stays as it was
//   Free                      frees a bitmap the script owns
//
// A bitmap is a QImage held in the script object pool, so references die
// with it and FreeObject frees it like any other object the script made.
#include "base/SafeFile.h"
#include "graphics/AtmosphereTextures.h"
#include "graphics/ZentImages.h"
#include "scriptnames/NameHelpers.h"

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace kalvion::names {

namespace {

constexpr const char *C = "TBitmap";

// An image file bigger than this cannot hold a picture within the size limit
// in any format the program reads; refusing it before reading keeps a huge or
// endless file from being loaded into memory.
constexpr std::uintmax_t MAX_BITMAP_FILE_BYTES = 4ull * ATM_MAX_DIMENSION * ATM_MAX_DIMENSION + 65536;

[[noreturn]] void Fail(const char *routine, const std::string &why)
{
    throw std::runtime_error(std::string(routine) + ": " + why);
}

std::int32_t Side(const TScriptValue &v, const char *routine)
{
    return CheckedCount(v, ATM_MAX_DIMENSION, routine);
}

// Resizes keeping the pixels that still fit; new pixels are black.
void Resize(QImage &img, int w, int h)
{
    if (w == img.width() && h == img.height())
        return;
    if (w == 0 || h == 0) {
        img = QImage();
        return;
    }
    QImage out(w, h, img.isNull() ? QImage::Format_RGB32 : img.format());
    out.fill(Qt::black);
    for (int y = 0; y < std::min(h, img.height()); ++y) {
        const int bytes = std::min(w, img.width()) * img.depth() / 8;
        std::copy_n(img.constScanLine(y), bytes, out.scanLine(y));
    }
    img = std::move(out);
}

// The file name with the encoder it gets: the format its extension names, PNG
// for any other name.
std::string EncodingName(const std::string &fileName)
{
    const std::string ext = UpperExtension(fileName);
    for (const char *known : {".JPG", ".JPEG", ".BMP", ".TIF", ".TIFF"})
        if (ext == known)
            return fileName;
    return "bitmap.png";
}

void SaveToFile(const QImage &img, const std::string &fileName)
{
    constexpr const char *R = "SaveToFile";
    if (fileName.empty())
        Fail(R, "the file has no name");
    if (img.isNull())
        Fail(R, "the bitmap is empty");
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!SaveBitmapToStream(img, bytes, EncodingName(fileName), &error))
        Fail(R, error);
    if (!ReplaceFileContents(fileName, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()),
                             &error))
        Fail(R, "cannot write " + fileName + ": " + error);
}

QImage LoadFromFile(const std::string &fileName)
{
    constexpr const char *R = "LoadFromFile";
    if (const std::string problem = FileReadProblem(fileName); !problem.empty())
        Fail(R, "the file " + fileName + " " + problem);
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(fileName, ec);
    if (ec || size > MAX_BITMAP_FILE_BYTES)
        Fail(R, "the file " + fileName + " is too large for a bitmap");
    const QImage img = LoadImageFile(fileName);
    if (img.isNull())
        Fail(R, "the file " + fileName + " is not an image the program can read");
    if (img.width() > ATM_MAX_DIMENSION || img.height() > ATM_MAX_DIMENSION)
        Fail(R, "the image in " + fileName + " is larger than " + std::to_string(ATM_MAX_DIMENSION) + " x " +
                    std::to_string(ATM_MAX_DIMENSION) + " pixels");
    // The painting routines work on 32-bit pixels.
    return img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

} // namespace

void RegisterBitmapNames(const TNames &n)
{
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, std::make_unique<QImage>()).Obj; });
    n.Reg.AddProperty(
        C, "Width", TInt(), [](void *p) { return VInt(static_cast<QImage *>(p)->width()); },
        [](void *p, const TScriptValue &v) {
            auto &img = *static_cast<QImage *>(p);
            Resize(img, Side(v, "Width"), img.height());
        });
    n.Reg.AddProperty(
        C, "Height", TInt(), [](void *p) { return VInt(static_cast<QImage *>(p)->height()); },
        [](void *p, const TScriptValue &v) {
            auto &img = *static_cast<QImage *>(p);
            Resize(img, img.width(), Side(v, "Height"));
        });
    n.Method<QImage>(C, "SetSize", {TInt(), TInt()}, TNone(), [](QImage &img, TScriptArgs &a) {
        Resize(img, Side(a[0], "SetSize"), Side(a[1], "SetSize"));
        return VNone();
    });
    n.Method<QImage>(C, "Pixels", {TInt(), TInt()}, TInt(), [](QImage &img, TScriptArgs &a) {
        if (a[0].Int < 0 || a[0].Int >= img.width() || a[1].Int < 0 || a[1].Int >= img.height())
            Fail("Pixels", "(" + std::to_string(a[0].Int) + ", " + std::to_string(a[1].Int) +
                               ") is outside the bitmap of " + std::to_string(img.width()) + " x " +
                               std::to_string(img.height()));
        return VInt(ColorFromQRgb(img.pixel(static_cast<int>(a[0].Int), static_cast<int>(a[1].Int))));
    });
    n.Method<QImage>(C, "SaveToFile", {TStr()}, TNone(), [](QImage &img, TScriptArgs &a) {
        SaveToFile(img, a[0].Str);
        return VNone();
    });
    n.Method<QImage>(C, "LoadFromFile", {TStr()}, TNone(), [](QImage &img, TScriptArgs &a) {
        img = LoadFromFile(a[0].Str);
        return VNone();
    });
    n.Reg.AddMethod(C, "Free", {}, TNone(), [n](void *self, TScriptArgs &) {
        if (!n.Pool().Free(self))
            Fail("Free", "the bitmap belongs to the program and cannot be freed");
        return VNone();
    });
}

} // namespace kalvion::names
