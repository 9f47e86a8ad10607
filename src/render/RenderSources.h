#pragma once
// What the 3D views ask of the model manager and the surface map manager.
// The managers implement these; the views never own them.
#include <QImage>

#include <string>

namespace kalvion {

class TStellarBody;

class TRenderModelSource {
public:
    virtual ~TRenderModelSource() = default;
    // Loads the body's model (its own file, else the default model of its
    // type), normalised to a 100 × 100 × 100 box; the model's index, or -1
    // when it cannot be loaded.
    virtual int LoadModel(const TStellarBody &body) = 0;
    // Draws a loaded model at the current origin in the current GL context.
    virtual void DrawModel(int index) = 0;
    // GL objects belong to one context; a view serves up to two and says
    // which one (0 or 1) is current before it draws.
    virtual void UseContext(int contextIndex) { (void)contextIndex; }
    // Deletes what was made in that context, which is current and going.
    virtual void ReleaseContext(int contextIndex) { (void)contextIndex; }
};

// The body's model in that context, loaded on first use: its index, or -1
// without a source or when it cannot be loaded.  A failure is kept in the
// body's render information, so a missing file is looked for once, not in
// every frame.
int BodyModelIndex(TRenderModelSource *source, TStellarBody &body, int contextIndex);

class TRenderSurfaceMaps {
public:
    virtual ~TRenderSurfaceMaps() = default;
    // The finished surface map of the body with this IDString; a null image
    // while none exists (a worker may still be making it).
    virtual QImage CurrentMap(const std::string &idString) = 0;
};

} // namespace kalvion
