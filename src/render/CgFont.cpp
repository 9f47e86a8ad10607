#include "render/CgFont.h"

#include "base/TextEncoding.h"
#include "graphics/ZentGraphics.h"
#include "render/GLHeaders.h"
#include "render/SceneMath.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kalvion {

namespace {

constexpr int FirstGlyph = 32;
constexpr int GlyphCount = 224;
constexpr int AtlasColumns = 16;

} // namespace

TCGFont2D::~TCGFont2D() { Release(); }

void TCGFont2D::Release()
{
    if (ListBase_ != 0)
        glDeleteLists(ListBase_, GlyphCount);
    if (Texture_ != 0)
        glDeleteTextures(1, &Texture_);
    ListBase_ = 0;
    Texture_ = 0;
}

bool TCGFont2D::Create(const std::string &face, int pixelHeight, bool bold, bool underline)
{
    Release();
    PixelHeight_ = std::max(1, pixelHeight);
    QFont font(TZentGraphics::ResolveFontFamily(face));
    font.setPixelSize(PixelHeight_);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setUnderline(underline);
    font.setStyleStrategy(QFont::PreferAntialias);
    const QFontMetrics metrics(font);
    const int ascent = metrics.ascent(), descent = metrics.descent();
    int cellWidth = 1;
    QString glyphs[GlyphCount];
    for (int i = 0; i < GlyphCount; ++i) {
        glyphs[i] = QString(QChar(Windows1252ToUnicode(static_cast<unsigned char>(FirstGlyph + i))));
        Advance_[i] = metrics.horizontalAdvance(glyphs[i]);
        cellWidth = std::max(cellWidth, Advance_[i] + 2);
        // Label fonts overhang their advance by a pixel or two; a fallback
        // glyph may report a wild box, which must not blow up the atlas.
        const int right = metrics.boundingRect(glyphs[i][0]).right() + 2;
        if (right <= 3 * PixelHeight_)
            cellWidth = std::max(cellWidth, right);
    }
    cellWidth = std::min(cellWidth, 3 * PixelHeight_ + 2);
    const int cellHeight = ascent + descent + 2;
    const int rows = (GlyphCount + AtlasColumns - 1) / AtlasColumns;
    QImage atlas(cellWidth * AtlasColumns, cellHeight * rows, QImage::Format_Alpha8);
    atlas.fill(0);
    {
        QPainter painter(&atlas);
        painter.setFont(font);
        painter.setPen(Qt::black);  // only alpha is kept
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        for (int i = 0; i < GlyphCount; ++i) {
            const int cx = (i % AtlasColumns) * cellWidth, cy = (i / AtlasColumns) * cellHeight;
            painter.drawText(cx + 1, cy + 1 + ascent, glyphs[i]);
        }
    }
    // GL rows run bottom-up.
    const QImage flipped = atlas.mirrored(false, true);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(flipped.width()) * flipped.height());
    for (int y = 0; y < flipped.height(); ++y)
        std::copy_n(flipped.constScanLine(y), flipped.width(), bytes.data() + static_cast<std::size_t>(y) * flipped.width());

    glGenTextures(1, &Texture_);
    ListBase_ = glGenLists(GlyphCount);
    if (Texture_ == 0 || ListBase_ == 0) {
        Release();
        return false;
    }
    GLint oldAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, Texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, flipped.width(), flipped.height(), 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 bytes.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlignment);
    glBindTexture(GL_TEXTURE_2D, 0);

    const double tw = flipped.width(), th = flipped.height();
    for (int i = 0; i < GlyphCount; ++i) {
        const int cx = (i % AtlasColumns) * cellWidth;
        // Row of the cell counted from the bottom of the flipped atlas.
        const int cyBottom = flipped.height() - ((i / AtlasColumns) + 1) * cellHeight;
        // The cell's baseline lies descent + 1 pixels above its bottom edge.
        const double x0 = -1, x1 = cellWidth - 1;
        const double y0 = -(descent + 1), y1 = cellHeight - (descent + 1);
        const double s0 = cx / tw, s1 = (cx + cellWidth) / tw;
        const double t0 = cyBottom / th, t1 = (cyBottom + cellHeight) / th;
        glNewList(ListBase_ + i, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2d(s0, t0);
        glVertex2d(x0, y0);
        glTexCoord2d(s1, t0);
        glVertex2d(x1, y0);
        glTexCoord2d(s1, t1);
        glVertex2d(x1, y1);
        glTexCoord2d(s0, t1);
        glVertex2d(x0, y1);
        glEnd();
        glTranslated(Advance_[i], 0, 0);
        glEndList();
    }
    return true;
}

int TCGFont2D::TextWidth(std::string_view text) const
{
    int width = 0;
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= FirstGlyph)
            width += Advance_[b - FirstGlyph];
    }
    return width;
}

void TCGFont2D::DrawAtWindow(double x, double y, double depth, std::string_view text, int viewportWidth,
                             int viewportHeight) const
{
    if (ListBase_ == 0 || text.empty() || viewportWidth <= 0 || viewportHeight <= 0)
        return;
    // Control bytes have no glyph; their list numbers belong to other fonts.
    std::string bytes;
    bytes.reserve(text.size());
    for (const char ch : text)
        if (static_cast<unsigned char>(ch) >= FirstGlyph)
            bytes.push_back(ch);
    if (bytes.empty())
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_LIST_BIT | GL_TRANSFORM_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewportWidth, 0, viewportHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // Whole pixels keep the glyphs sharp; z = 1 - 2·depth lands on the window
    // depth of the labelled point under this projection.
    glTranslated(std::floor(x), std::floor(y), 1 - 2 * std::clamp(depth, 0.0, 1.0));
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, Texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Empty texels write no depth, so neighbouring labels do not cut each other.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glListBase(ListBase_ - FirstGlyph);
    glCallLists(static_cast<GLsizei>(bytes.size()), GL_UNSIGNED_BYTE, bytes.data());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void TCGFont2D::DrawAt(const TSceneProjection &projection, double x, double y, double z, std::string_view text) const
{
    TWindowPoint p;
    if (!projection.Project(x, y, z, p) || !p.InView)
        return;
    DrawAtWindow(p.X - projection.ViewportX(), p.Y - projection.ViewportY(), p.Depth, text,
                 projection.ViewportWidth(), projection.ViewportHeight());
}

} // namespace kalvion
