#pragma once
// TCGFont2D: a label font for the 3D views.  The glyphs of the bytes 32 … 255
// (read as Windows-1252, so "º" and accented names show) are rasterised with
// QFont into one alpha texture, antialiased, and each glyph becomes a display
// list that draws its quad and advances; a text is drawn by calling the
// lists of its bytes from a window position.  Everything lives in the GL
// context current when the font was created.
#include <string>
#include <string_view>

namespace kalvion {

class TSceneProjection;

class TCGFont2D {
public:
    TCGFont2D() = default;
    ~TCGFont2D();
    TCGFont2D(const TCGFont2D &) = delete;
    TCGFont2D &operator=(const TCGFont2D &) = delete;

    // Rasterises the font; `face` falls back to an installed family with the
    // same look when it is missing.  False when no GL list or texture could
    // be had.
    bool Create(const std::string &face, int pixelHeight, bool bold, bool underline);
    void Release();
    bool Created() const { return ListBase_ != 0; }

    // Draws the text with its baseline starting at window pixel (x, y)
    // (origin bottom-left of the current viewport) at the window depth given,
    // in the current colour.  The caller's matrices are kept.
    void DrawAtWindow(double x, double y, double depth, std::string_view text, int viewportWidth,
                      int viewportHeight) const;
    // Draws the text at a world point, as a GL raster position would: nothing
    // when the point lies outside the view volume.
    void DrawAt(const TSceneProjection &projection, double x, double y, double z, std::string_view text) const;

    int PixelHeight() const { return PixelHeight_; }
    // The width in pixels of the text.
    int TextWidth(std::string_view text) const;

private:
    unsigned ListBase_ = 0;
    unsigned Texture_ = 0;
    int PixelHeight_ = 0;
    int Advance_[224] = {};
};

} // namespace kalvion
