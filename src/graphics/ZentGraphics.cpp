#include "graphics/ZentGraphics.h"

#include "base/AsciiText.h"
#include "graphics/ZentImages.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygon>

#include <atomic>
#include <map>
#include <mutex>
#include <cmath>
#include <cstdlib>

namespace kalvion {

namespace {

std::atomic<int> g_quality{2};

QColor QtColour(TColor c, int alpha)
{
    return QColor::fromRgba(ColorToQRgb(c, alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha)));
}

bool IsSansName(const std::string &name)
{
    static const char *const sans[] = {"Verdana", "Arial", "Tahoma", "Helvetica", "Segoe UI", "MS Sans Serif",
                                       "Microsoft Sans Serif", "Calibri", "Trebuchet MS", "Lucida Sans"};
    for (const char *s : sans)
        if (SameText(name, s))
            return true;
    return false;
}

} // namespace

static QString FindFontFamily(const std::string &name);

int GraphicsQuality() noexcept { return g_quality.load(); }
void SetGraphicsQuality(int quality) noexcept { g_quality.store(quality); }

void EnsureGuiApplication()
{
    if (QGuiApplication::instance() != nullptr)
        return;
    // The program draws off screen only; without a display Qt's default
    // platform would abort the process.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kalvion";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    (void)app;
}

QString TZentGraphics::ResolveFontFamily(const std::string &name)
{
    // Asking the font database is slow; the answer for a name never changes
    // while the program runs.
    static std::mutex lock;
    static std::map<std::string, QString> known;
    {
        std::lock_guard<std::mutex> guard(lock);
        const auto it = known.find(name);
        if (it != known.end())
            return it->second;
    }
    const QString family = FindFontFamily(name);
    std::lock_guard<std::mutex> guard(lock);
    known.emplace(name, family);
    return family;
}

static QString FindFontFamily(const std::string &name)
{
    EnsureGuiApplication();
    const QString wanted = QString::fromStdString(name);
    if (!wanted.isEmpty() && QFontDatabase::hasFamily(wanted))
        return wanted;
    if (IsSansName(name)) {
        const QString sans = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
        for (const char *f : {"DejaVu Sans", "Liberation Sans", "Noto Sans", "FreeSans"})
            if (QFontDatabase::hasFamily(f))
                return f;
        return sans;
    }
    for (const char *f : {"Times New Roman", "Liberation Serif", "DejaVu Serif", "Noto Serif", "FreeSerif"})
        if (QFontDatabase::hasFamily(f))
            return f;
    QFont probe;
    probe.setStyleHint(QFont::Serif);
    return probe.defaultFamily();
}

TZentGraphics::TZentGraphics() { EnsureGuiApplication(); }

TZentGraphics::TZentGraphics(QPaintDevice *target) : Target_(target) { EnsureGuiApplication(); }

TZentGraphics::TZentGraphics(QPainter &painter) : Target_(painter.device()), Borrowed_(&painter)
{
    EnsureGuiApplication();
}

TZentGraphics::~TZentGraphics() { Finish(); }

void TZentGraphics::Finish()
{
    if (Painter_) {
        Painter_->end();
        Painter_.reset();
    }
}

QPainter *TZentGraphics::Painter()
{
    if (Borrowed_)
        return Borrowed_;
    if (Target_ == nullptr)
        return nullptr;
    if (!Painter_) {
        Painter_ = std::make_unique<QPainter>();
        if (!Painter_->begin(Target_)) {
            Painter_.reset();
            return nullptr;
        }
    }
    return Painter_.get();
}

QPen TZentGraphics::MakePen() const
{
    if (PenStyle == ZPEN_NONE)
        return QPen(Qt::NoPen);
    QPen pen(QtColour(PenColor, Opacity));
    pen.setWidthF(PenWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(LineJoin == 1 ? Qt::MiterJoin : Qt::RoundJoin);
    switch (PenStyle) {
    case ZPEN_DASH: pen.setStyle(Qt::DashLine); break;
    case ZPEN_DOT: pen.setStyle(Qt::DotLine); break;
    case ZPEN_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
    case ZPEN_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    return pen;
}

QBrush TZentGraphics::MakeBrush() const
{
    if (HasGradient()) {
        QLinearGradient g(GradientPoints[0], GradientPoints[1]);
        g.setColorAt(0.0, QtColour(BrushColor, Opacity));
        g.setColorAt(1.0, QtColour(GradientColor, GradientAlpha));
        g.setSpread(QGradient::ReflectSpread);
        return QBrush(g);
    }
    return QBrush(QtColour(BrushColor, Opacity));
}

void TZentGraphics::ApplyQuality(QPainter &p, bool text) const
{
    const int q = GraphicsQuality();
    p.setRenderHint(QPainter::Antialiasing, text ? q >= 2 : q >= 3);
    p.setRenderHint(QPainter::TextAntialiasing, q >= 2);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

QFont TZentGraphics::CurrentFont() const
{
    FontKey key{FontName, FontSize, Bold, Underline, Italic};
    if (!(key == FontKey_) || !Metrics_) {
        QFont font(ResolveFontFamily(FontName));
        const double px = FontSize > 0 && std::isfinite(FontSize) ? std::min(FontSize, 10000.0) : 1.0;
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
        font.setBold(Bold);
        font.setItalic(Italic);
        font.setUnderline(Underline);
        Font_ = font;
        Metrics_.emplace(Font_);
        FontKey_ = std::move(key);
    }
    return Font_;
}

const QFontMetricsF &TZentGraphics::Metrics() const
{
    CurrentFont();
    return *Metrics_;
}

void TZentGraphics::LineTo(int x, int y)
{
    const QPoint from(CurX_, CurY_);
    CurX_ = x;
    CurY_ = y;
    if (PenStyle == ZPEN_NONE || Opacity == 0)
        return;
    QPainter *p = Painter();
    if (p == nullptr)
        return;
    ApplyQuality(*p, false);
    p->setPen(MakePen());
    p->drawLine(from, QPoint(x, y));
}

void TZentGraphics::Rectangle(int x1, int y1, int x2, int y2)
{
    Polygon({{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}});
}

void TZentGraphics::Polygon(const std::vector<QPoint> &points)
{
    if (points.empty())
        return;
    if (HasGradient() ? (Opacity == 0 && GradientAlpha == 0) : Opacity == 0)
        return;
    QPainter *p = Painter();
    if (p == nullptr)
        return;
    ApplyQuality(*p, false);
    const QPolygon poly(QList<QPoint>(points.begin(), points.end()));
    if (!NoFill) {
        p->setPen(Qt::NoPen);
        p->setBrush(MakeBrush());
        p->drawPolygon(poly);
    }
    if (PenStyle != ZPEN_NONE) {
        p->setPen(MakePen());
        p->setBrush(Qt::NoBrush);
        p->drawPolygon(poly);
    }
}

void TZentGraphics::Polyline(const std::vector<QPoint> &points)
{
    if (PenStyle == ZPEN_NONE || Opacity == 0 || points.size() < 2)
        return;
    QPainter *p = Painter();
    if (p == nullptr)
        return;
    ApplyQuality(*p, false);
    p->setPen(MakePen());
    p->setBrush(Qt::NoBrush);
    p->drawPolyline(QPolygon(QList<QPoint>(points.begin(), points.end())));
}

void TZentGraphics::Ellipse(int x1, int y1, int x2, int y2)
{
    if (Opacity == 0)
        return;
    QPainter *p = Painter();
    if (p == nullptr)
        return;
    ApplyQuality(*p, false);
    if (!NoFill) {
        p->setPen(Qt::NoPen);
        p->setBrush(MakeBrush());
        p->drawEllipse(QRect(x1, y1, x2 - x1, y2 - y1));
    }
    // The outline's box is one pixel smaller, so a stroked disc covers the
    // same pixels as a filled one.
    if (PenStyle != ZPEN_NONE) {
        p->setPen(MakePen());
        p->setBrush(Qt::NoBrush);
        p->drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    }
}

QSize TZentGraphics::TextExtent(const std::string &text)
{
    const QFontMetricsF &m = Metrics();
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return QSize(static_cast<int>(std::lround(m.horizontalAdvance(s))), static_cast<int>(std::lround(m.height())));
}

void TZentGraphics::TextOut(int x, int y, const std::string &text, double angle)
{
    if (Opacity == 0 || text.empty())
        return;
    QPainter *p = Painter();
    if (p == nullptr)
        return;
    const QFont font = CurrentFont();
    const QFontMetricsF &m = *Metrics_;
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const int tw = static_cast<int>(std::lround(m.horizontalAdvance(s)));
    const int th = static_cast<int>(std::lround(m.height()));
    // The layout box is 100 pixels wider than the text; alignment moves the
    // text within it.
    const QRectF box(x, y, tw + 100, th);
    double left = x;
    if (TextAlign == ZALIGN_CENTER)
        left = x + (box.width() - tw) / 2.0;
    else if (TextAlign == ZALIGN_RIGHT)
        left = x + box.width() - tw;
    const bool fill = !NoFill && BrushStyle != ZBRUSH_HOLLOW;
    const bool stroke = PenStyle != ZPEN_NONE;
    if (!fill && !stroke)
        return;
    ApplyQuality(*p, true);
    p->save();
    if (angle != 0.0 && std::isfinite(angle)) {
        p->translate(box.center());
        p->rotate(-angle);
        p->translate(-box.center());
    }
    p->setFont(font);
    if (fill && !stroke && !HasGradient()) {
        // Plain text: the glyphs filled with the brush colour, drawn directly
        // (far cheaper than outlines for maps with thousands of labels).
        p->setPen(QtColour(BrushColor, Opacity));
        p->drawText(QPointF(left, y + m.ascent()), s);
    } else {
        QPainterPath path;
        path.addText(QPointF(left, y + m.ascent()), font, s);
        p->setPen(stroke ? MakePen() : QPen(Qt::NoPen));
        p->setBrush(fill ? MakeBrush() : QBrush(Qt::NoBrush));
        p->drawPath(path);
    }
    p->restore();
}

void TZentGraphics::DrawImage(const QImage &image, TZentRect source, TZentRect dest)
{
    if (image.isNull() || Opacity == 0)
        return;
    QPainter *p = Painter();
    if (p == nullptr)
        return;
    if (source.IsWhole())
        source = {0, 0, image.width(), image.height()};
    if (dest.IsWhole())
        dest = {0, 0, image.width(), image.height()};
    if (source.Width() <= 0 || source.Height() <= 0 || dest.Width() <= 0 || dest.Height() <= 0)
        return;
    p->save();
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->setOpacity(Opacity / 255.0);
    p->drawImage(QRect(dest.Left, dest.Top, dest.Width(), dest.Height()), image,
                 QRect(source.Left, source.Top, source.Width(), source.Height()));
    p->restore();
}

void TZentGraphics::DrawImageStream(const std::vector<std::uint8_t> &stream, TZentRect source, TZentRect dest)
{
    QImage image = DecodeImage(stream);
    if (image.isNull())
        return;
    if (NoFill && !image.hasAlphaChannel())
        image = WithTransparentColour(image, image.pixel(0, 0));
    DrawImage(image, source, dest);
}

void TZentGraphics::DrawBitmap(const QImage &bitmap, TZentRect source, TZentRect dest)
{
    if (bitmap.isNull())
        return;
    if (NoFill)
        DrawImage(WithTransparentColour(bitmap, bitmap.pixel(0, bitmap.height() - 1)), source, dest);
    else
        DrawImage(bitmap, source, dest);
}

void TZentGraphics::DrawMetafile(const QPicture &metafile, TZentRect source, TZentRect dest)
{
    QPainter *p = Painter();
    if (p == nullptr || Opacity == 0)
        return;
    const QRect bounds = metafile.boundingRect();
    if (source.IsWhole())
        source = {bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1};
    if (dest.IsWhole())
        dest = source;
    if (source.Width() <= 0 || source.Height() <= 0 || dest.Width() <= 0 || dest.Height() <= 0)
        return;
    p->save();
    p->setClipRect(QRect(dest.Left, dest.Top, dest.Width(), dest.Height()));
    p->translate(dest.Left, dest.Top);
    p->scale(static_cast<double>(dest.Width()) / source.Width(), static_cast<double>(dest.Height()) / source.Height());
    p->translate(-source.Left, -source.Top);
    p->drawPicture(0, 0, metafile);
    p->restore();
}

} // namespace kalvion
