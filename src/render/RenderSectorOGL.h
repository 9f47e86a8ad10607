#pragma once
// TRenderSectorOGL: the whole sector as a navigable 3D star map.  Every root
// system is a point, a marker sphere or a star flare by its distance from the
// camera, with labels, routes, subsectors, spheres of influence, the sector
// grid, a tiled background, two status lines and the preview inset.  It
// reads the sector and writes back only the per-frame screen data used for
// picking (RasterX/RasterY, HitRect, Depth of roots; RasterX/RasterY of route
// waypoints).  One renderer serves two GL contexts, chosen by ContextIndex.
#include "model/VexaBase.h"
#include "model/VexaPoint.h"
#include "render/CgFont.h"
#include "render/SceneController3D.h"
#include "render/SceneMath.h"
#include "render/StarFlareOGL.h"
#include "science/VexaDates.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QImage;
class QPaintDevice;

namespace kalvion {

class TOpenGLContext;
class TRenderModelSource;
class TRenderSurfaceMaps;
class TStellarBody;
class TVexaSector;
class TVexaSubsector;

// A decoded background image: 32-bit RGBA, rows bottom-up.
struct TRenderBackgroundImage {
    int Width = 0, Height = 0;
    int BitsPerPixel = 32;
    int Brightness = 255;
    std::vector<std::uint8_t> Bits;
    std::size_t ByteCount() const { return Bits.size(); }
    bool Empty() const { return Bits.empty(); }
};

struct TRenderSectorOGLTexture {
    std::string FileName;  // lower case
    int ImageHeight = 0, ImageWidth = 0;
    std::array<unsigned, 2> Texture{0, 0};
};

struct TRenderSectorOGLSavedList {
    std::string Key;
    std::array<unsigned, 2> List{0, 0};
};

// Fonts: near labels ctx·4 + style, far labels 8 + ctx·4 + style, the small
// status font 16 + ctx, the large one 18 + ctx.
inline constexpr int RENDER_FONT_COUNT = 20;
inline constexpr double RENDER_MARKER_DISTANCE = 10;  // nearer: full detail
inline constexpr double RENDER_POINT_DISTANCE = 20;   // this far and beyond: a point
inline constexpr int RENDER_MAX_GRID_CELLS = 8000;

class TRenderSectorOGL {
public:
    TRenderSectorOGL();
    ~TRenderSectorOGL();
    TRenderSectorOGL(const TRenderSectorOGL &) = delete;
    TRenderSectorOGL &operator=(const TRenderSectorOGL &) = delete;

    bool NoRaster = false;
    int ContextIndex = 0;
    // Checked: the body may be freed while the preview still names it.
    TCheckedPtr<TStellarBody> PreviewBody;
    bool LensFlare = true;
    TRenderSurfaceMaps *SurfaceMapMgr = nullptr;
    TRenderModelSource *ModelManager = nullptr;
    int PreviewGrowStep = 0;  // 0 … 10
    bool ShowDate = true;
    bool DiagnosticTiming = false;
    std::array<double, 4> Timings{};  // ms: set-up, routes, systems, grids
    int AxisMode = 0;                 // 0 none, 1 X, 2 Y, 3 Z
    TZentSceneController3D PreviewCamera;
    // A trip drawn over the map while it is being planned, stop by stop (ly);
    // it is no route of the sector, so nothing of it is stored or picked.
    std::vector<TVexaPoint> PlannedPath;
    // The face name used when a sector names none.
    std::string FallbackFont = "DejaVu Sans";
    // Labels are drawn in the framebuffer's pixels: on a screen of pixel
    // ratio 2 they need fonts twice the size.  A new scale makes the fonts
    // of the current context anew (the context must be current).
    void SetFontScale(double scale);
    double FontScale() const { return FontScale_; }

    // Draws one frame into the current GL context (the caller makes it
    // current before and swaps after).  Height comes before width.
    void Render(TVexaSector &sector, QPaintDevice *canvas, TOpenGLContext *context, int height, int width);

    void ReleaseAll();
    void ReleaseFonts();
    void ReleaseTextures();
    void ReloadBackground() { BackgroundLoaded_ = false; }
    // The body's surface map changed: the preview makes its texture again
    // (in each context, when that context next draws the body).
    void ForgetSurfaceTexture(const std::string &idString);

    // Window points in top-down pixels.
    bool PointInPreview(int x, int y) const;
    bool PointInPreviewCorner(int x, int y) const;
    // The preview rectangle (left, top, right, bottom), top-down; all -1
    // while no preview is shown.
    std::array<int, 4> PreviewRect() const { return PreviewRect_; }

    // gluProject of a world point through the last frame's matrices.
    bool ProjectToWindow(double x, double y, double z, double &wx, double &wy, double &depth) const;
    const TSceneProjection &LastProjection() const { return Projection_; }

    const TRenderBackgroundImage &SectorBackground() const { return Background_; }
    const TRenderBackgroundImage &PreviewBackground() const { return PreviewBackgroundImage_; }
    std::size_t GridListCount() const { return GridLists_.size(); }
    int GridListsCompiled() const { return GridListsCompiled_; }

private:
    // Frame parts, in the order a frame calls them.
    void LoadBackgrounds(TVexaSector &sector);
    void CreateFonts(const TVexaSector &sector);
    void DrawBackground(const TRenderBackgroundImage &image, int x, int y, int width, int height);
    void DrawSubsectors(TVexaSector &sector);
    void DrawRoutes(TVexaSector &sector);
    void DrawPlannedPath();
    void DrawSystems(TVexaSector &sector);
    void DrawSystemDetail(TVexaSector &sector, TStellarBody &root, double distance, double cosAngle);
    void DrawNearStar(TStellarBody &root, double distance, double cosAngle);
    void DrawSphereOfInfluence(const TStellarBody &root);
    void DrawBlazon(TVexaSector &sector, TStellarBody &root);
    bool DrawModel(TStellarBody &root, double scale);
    void DrawAxisGizmo(const TStellarBody &root);
    void DrawLabel(TVexaSector &sector, TStellarBody &root, double distance);
    void DrawSectorGrid(TVexaSector &sector);
    void DrawCubeLattice(const TVexaSector &sector);
    void DrawBoxLattice(double sizeX, double sizeY, double sizeZ, double gridX, double gridY, double gridZ);
    void DrawSphereGrid(double radius, double step, bool labels);
    void CompileSphereGrid(double radius, double step, bool labels);
    void DrawStatusText(const TVexaSector &sector, int height);
    void DrawPreview(TVexaSector &sector, int height, int width);

    // Preview scenes.
    void PreviewStar(const TStellarBody &body);
    void PreviewStarOrbits(const TStellarBody &body);
    void PreviewMultiple(const TStellarBody &body);
    // False while the planet has no surface texture yet.
    bool PreviewPlanet(TVexaSector &sector, TStellarBody &body, double radius, bool flipFirst);
    void PreviewRings(const TStellarBody &body, double radius);
    void PreviewPlanetSystem(TVexaSector &sector, TStellarBody &body);
    bool PreviewModel(TStellarBody &body);
    void PreviewTexts(TVexaSector &sector, const TStellarBody &body, int h, bool scanning);
    unsigned PlanetTexture(TVexaSector &sector, const TStellarBody &body);
    void ReleasePreviewTextures();

    // Textures by image name, per context.
    const TRenderSectorOGLTexture *BindImageTexture(TVexaSector &sector, const std::string &name);
    // Light 0 at a point (w = 1), diffuse and specular of the intensity, no ambient.
    void SetLightAtCamera(const TVexaPoint &at, float intensity = 0.8f);

    TCGFont2D *NearFont(int style) const;
    TCGFont2D *FarFont(int style) const;
    TCGFont2D *SmallFont() const { return Fonts_[16 + ContextIndex].get(); }
    TCGFont2D *LargeFont() const { return Fonts_[18 + ContextIndex].get(); }

    std::array<bool, 2> FontsCreated_{false, false};
    double FontScale_ = 1.0;
    std::array<std::unique_ptr<TCGFont2D>, RENDER_FONT_COUNT> Fonts_;
    unsigned TexturedSphereList_ = 0;
    unsigned MarkerSphereList_ = 0;
    unsigned AxisConeList_ = 0;
    std::vector<TRenderSectorOGLTexture> Textures_;
    std::vector<TRenderSectorOGLSavedList> GridLists_;
    int GridListsCompiled_ = 0;
    std::unique_ptr<TStarFlareOGL> FrameFlare_;
    TVexaSector *Sector_ = nullptr;
    // Surface textures of the previewed planets, per context, by IDString.
    std::array<std::vector<std::pair<std::string, unsigned>>, 2> PreviewTextures_;
    std::vector<std::string> PreviewNoStoredImage_;
    std::array<std::vector<std::string>, 2> StalePreviewTextures_;
    std::string PreviewBodyId_;
    std::array<int, 4> PreviewRect_{-1, -1, -1, -1};
    bool BackgroundLoaded_ = false;
    TRenderBackgroundImage Background_;
    TRenderBackgroundImage PreviewBackgroundImage_;
    TVexaDateHandler DateHandler_;
    TSceneProjection Projection_;
    int Width_ = 0, Height_ = 0;
    // Far roots gathered during a frame and drawn in one batch.
    std::vector<float> PointVertices_;
    std::vector<float> PointColours_;
};

// The colour factor of a far root: f = (base − (d − 10)) × 0.00666 with base
// 150·√L when L > 1, else 150; at least 0.2.
double FarPointFactor(double distance, double luminosity);
// The route stipple pattern of a line style.
std::uint16_t RouteStipplePattern(int lineStyle);
// The grid list cache key of a sphere grid (the step before the 5° default).
std::string SphereGridKey(double radius, double step, bool labels);
// The cells of the sector's cube lattice; a negative count when a rounded
// spacing is below 1 (nothing is drawn then).
double CubeLatticeCells(double sizeX, double sizeY, double sizeZ, double gridX, double gridY, double gridZ);
// Decodes an encoded image into a background: RGB scaled by brightness/255,
// alpha kept, rows bottom-up.  Empty for undecodable data.
TRenderBackgroundImage DecodeBackgroundImage(const std::vector<std::uint8_t> &stream, int brightness);
// Tiles the image over a viewport rectangle from its top-left corner, behind
// everything (both 3D views use it).
void DrawTiledBackground(const TRenderBackgroundImage &image, int x, int y, int width, int height);
// Uploads an image as an opaque RGBA texture of the given size with linear
// filters into the current context; 0 when the GL gives no texture name.
unsigned UploadTexture(const QImage &image, int width, int height);

} // namespace kalvion
