#pragma once
// The 2D drawing toolkit: one drawing target (a bitmap, an SVG or PDF page, a
// printer page) drawn with a pen, a brush, a font and an opacity, in integer
// pixels with y downwards.  Colours are the program's 0x00BBGGRR values; the
// opacity is kept apart and becomes the alpha of everything drawn.
#include "base/Colour.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPoint>
#include <QSize>

#include <QFont>
#include <QFontMetricsF>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPaintDevice;

namespace kalvion {

inline constexpr int ZPEN_SOLID = 0;
inline constexpr int ZPEN_DASH = 1;
inline constexpr int ZPEN_DOT = 2;
inline constexpr int ZPEN_DASHDOT = 3;
inline constexpr int ZPEN_DASHDOTDOT = 4;
inline constexpr int ZPEN_NONE = 5;

inline constexpr int ZBRUSH_SOLID = 0;
inline constexpr int ZBRUSH_HOLLOW = 1;

inline constexpr int ZALIGN_LEFT = 0;
inline constexpr int ZALIGN_CENTER = 1;
inline constexpr int ZALIGN_RIGHT = 2;

// Rendering quality for the whole program: shapes are anti-aliased at 3 only,
// text at 2 and 3.  2 after start-up; the 2D renderers set 3.
int GraphicsQuality() noexcept;
void SetGraphicsQuality(int quality) noexcept;

// Text needs a running Qt GUI application.  Creates one on the offscreen
// platform when the process has none (the command-line program, tests); a
// no-op inside the window program.
void EnsureGuiApplication();

// Left, top, right, bottom.  Right and bottom lie one past the last pixel.
struct TZentRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const noexcept { return Right - Left; }
    int Height() const noexcept { return Bottom - Top; }
    bool IsWhole() const noexcept { return Left == -1 && Top == -1 && Right == -1 && Bottom == -1; }
    friend bool operator==(const TZentRect &, const TZentRect &) = default;
};
inline constexpr TZentRect ZRECT_WHOLE{-1, -1, -1, -1};

class TZentGraphics {
public:
    // No target: the object is used for measuring text only.
    TZentGraphics();
    explicit TZentGraphics(QPaintDevice *target);
    // Draws with a painter that stays open after this object: a printer's
    // pages share one painter from the first sheet to the last.
    explicit TZentGraphics(QPainter &painter);
    ~TZentGraphics();
    TZentGraphics(const TZentGraphics &) = delete;
    TZentGraphics &operator=(const TZentGraphics &) = delete;

    // Pen
    TColor PenColor = ColorRGB(0, 0, 0);
    double PenWidth = 1.0;
    int PenStyle = ZPEN_SOLID;
    int LineJoin = 0; // 1 mitre, any other round
    // Brush
    TColor BrushColor = ColorRGB(255, 255, 255);
    int BrushStyle = ZBRUSH_SOLID;
    bool NoFill = false;
    // Gradient (mode 1: linear from the brush colour to the gradient colour)
    int GradientMode = 0;
    std::vector<QPoint> GradientPoints;
    TColor GradientColor = ColorRGB(0, 0, 0);
    int GradientAlpha = 255;
    // Font
    std::string FontName = "Times New Roman";
    double FontSize = 12.0; // pixels
    int TextAlign = ZALIGN_LEFT;
    bool Bold = false, Underline = false, Italic = false;
    int Opacity = 255;

    void MoveTo(int x, int y) noexcept { CurX_ = x, CurY_ = y; }
    QPoint CurrentPosition() const noexcept { return {CurX_, CurY_}; }
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Polygon(const std::vector<QPoint> &points);
    void Polyline(const std::vector<QPoint> &points);
    void Ellipse(int x1, int y1, int x2, int y2);
    void TextOut(int x, int y, const std::string &text, double angle = 0.0);
    QSize TextExtent(const std::string &text);

    // Images.  A source or destination of ZRECT_WHOLE is the whole image.
    // Undecodable data draws nothing.
    void DrawImageStream(const std::vector<std::uint8_t> &stream, TZentRect source, TZentRect dest);
    void DrawBitmap(const QImage &bitmap, TZentRect source, TZentRect dest);
    void DrawMetafile(const QPicture &metafile, TZentRect source, TZentRect dest);

    // The font actually used for a family name: the name when installed, else
    // an installed family of the same kind (sans names get a sans family,
    // everything else "Times New Roman" or an installed serif family).
    static QString ResolveFontFamily(const std::string &name);
    QFont CurrentFont() const;
    // Ends drawing so the target can be saved (the painter is made again on
    // the next drawing call).
    void Finish();

private:
    QPainter *Painter();
    QPen MakePen() const;
    QBrush MakeBrush() const;
    bool HasGradient() const noexcept { return GradientMode == 1 && GradientPoints.size() >= 2; }
    void ApplyQuality(QPainter &p, bool text) const;
    void DrawImage(const QImage &image, TZentRect source, TZentRect dest);

    // The font and its metrics for the current settings, made again only
    // when a font setting changes (maps measure and draw thousands of labels).
    struct FontKey {
        std::string Name;
        double Size = -1;
        bool Bold = false, Underline = false, Italic = false;
        bool operator==(const FontKey &) const = default;
    };
    const QFontMetricsF &Metrics() const;
    mutable FontKey FontKey_;
    mutable QFont Font_;
    mutable std::optional<QFontMetricsF> Metrics_;

    QPaintDevice *Target_ = nullptr;
    std::unique_ptr<QPainter> Painter_;
    QPainter *Borrowed_ = nullptr;
    int CurX_ = 0, CurY_ = 0;
};

} // namespace kalvion
