#pragma once
// Image files and streams: decoding (untrusted bytes from sector files and
// disk), saving in the format named by a file's extension, thumbnails, fitting
// rectangles, and the vector pages (SVG, PDF) that take the place of metafiles.
#include "graphics/ZentGraphics.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QPaintDevice;

namespace kalvion {

// Undecodable, empty or oversized data gives a null image; never throws.
QImage DecodeImage(const std::vector<std::uint8_t> &stream);
// (0, 0) when the data cannot be decoded.
QSize ImageSize(const std::vector<std::uint8_t> &stream);
// A null image when the file does not exist or cannot be decoded.
QImage LoadImageFile(const std::string &fileName);

// Pictures the program draws for files claim 96 dots per inch whatever the
// screen: the same map from the window and from the command line is the
// same file, and text sized in points is drawn the same size.
inline constexpr int PICTURE_DOTS_PER_METRE = 3780;
// A blank width x height picture of that resolution.
QImage NewPicture(int width, int height, QImage::Format format = QImage::Format_RGB32);

// The Qt format for a file name's extension, ignoring case: ".jpg"/".jpeg"
// JPEG, ".png" PNG, ".tif"/".tiff" TIFF, anything else BMP.
const char *ImageFormatForFile(const std::string &fileName);
// False with a message when the image is empty or the encoder fails (for
// example when no TIFF encoder is installed).
bool SaveBitmapToFile(const QImage &bitmap, const std::string &fileName, std::string *error = nullptr);
bool SaveBitmapToStream(const QImage &bitmap, std::vector<std::uint8_t> &stream, const std::string &fileName,
                        std::string *error = nullptr);

// A copy in ARGB32 where every pixel of the given colour is fully transparent.
QImage WithTransparentColour(const QImage &image, QRgb key);

// A size x size 32-bit image holding the encoded image fitted into it (a null
// image for undecodable data or a size below 1).
QImage MakeThumbnail(const std::vector<std::uint8_t> &stream, int size, bool noFill);

TZentRect FitRect(const TZentRect &source, const TZentRect &dest);
TZentRect FitRectCentred(const TZentRect &source, const TZentRect &dest);

// Vector output by extension: ".svg" SVG, ".pdf" PDF.  Metafiles (".emf",
// ".wmf") cannot be written on this platform and are refused by name rather
// than written as something else.
enum class TVectorKind { None, Svg, Pdf, Refused };
TVectorKind VectorKindForFile(const std::string &fileName);
// A vector page of width x height pixels drawn in memory; Save, after the
// painter on it has ended, writes it to its file through a temporary file and
// a rename, and says whether that worked.
class TVectorPage {
public:
    ~TVectorPage();
    TVectorPage(const TVectorPage &) = delete;
    TVectorPage &operator=(const TVectorPage &) = delete;
    QPaintDevice *Device() const { return FDevice.get(); }
    bool Save(std::string *error = nullptr);

private:
    explicit TVectorPage(std::string fileName);
    friend std::unique_ptr<TVectorPage> CreateVectorPage(const std::string &, int, int, std::string *);
    std::string FFileName;
    QByteArray FBytes;
    QBuffer FBuffer;
    std::unique_ptr<QPaintDevice> FDevice;
};
// None with a message for sizes below 1 and for names that are not ".svg" or
// ".pdf".
std::unique_ptr<TVectorPage> CreateVectorPage(const std::string &fileName, int width, int height,
                                              std::string *error);

// The upper-cased extension with its dot (".PNG"); "" when there is none.
std::string UpperExtension(const std::string &fileName);

} // namespace kalvion
