#pragma once
// Camera and projection maths of the 3D views on doubles, with no GL: the
// matrices the views load, the window projection that picking relies on and
// the camera axes that billboards use.  Matrices are column-major, as GL
// loads them.
#include "model/VexaPoint.h"

#include <array>

namespace kalvion {

using TMatrix4 = std::array<double, 16>;

TMatrix4 IdentityMatrix();
// a × b: applying the result applies b first, then a.
TMatrix4 MultiplyMatrix(const TMatrix4 &a, const TMatrix4 &b);
// gluPerspective: vertical field of view in degrees.
TMatrix4 PerspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar);
// gluOrtho2D / glOrtho with near -1 and far 1.
TMatrix4 OrthoMatrix(double left, double right, double bottom, double top);
// gluLookAt.  A camera standing on its target has no direction: the matrix
// then looks down -Z from the eye instead of holding NaNs, and a view
// straight along the up vector takes -Z as its up, so no frame is ever
// projected through a degenerate matrix.
TMatrix4 LookAtMatrix(const TVexaPoint &eye, const TVexaPoint &target, const TVexaPoint &up);

struct TWindowPoint {
    double X = 0, Y = 0, Depth = 0;  // window pixels, origin bottom-left; depth 0 … 1
    bool InFront = false;            // the point lies in front of the camera (clip w > 0)
    bool InView = false;             // inside the view volume, as GL's raster position test
};

// The modelview, projection and viewport of one frame, with their product
// kept for projecting many points.
class TSceneProjection {
public:
    TSceneProjection() = default;
    TSceneProjection(const TMatrix4 &modelview, const TMatrix4 &projection, int x, int y, int width, int height);

    const TMatrix4 &Modelview() const { return Modelview_; }
    const TMatrix4 &Projection() const { return Projection_; }
    int ViewportX() const { return Viewport_[0]; }
    int ViewportY() const { return Viewport_[1]; }
    int ViewportWidth() const { return Viewport_[2]; }
    int ViewportHeight() const { return Viewport_[3]; }

    // gluProject; false (and nothing written) when the clip w is 0 or the
    // result is not finite.
    bool Project(double x, double y, double z, TWindowPoint &out) const;
    // The camera's right and up axes in world space (the modelview's first
    // and second rows).
    TVexaPoint CameraRight() const;
    TVexaPoint CameraUp() const;

private:
    TMatrix4 Modelview_ = IdentityMatrix();
    TMatrix4 Projection_ = IdentityMatrix();
    TMatrix4 Combined_ = IdentityMatrix();
    std::array<int, 4> Viewport_{0, 0, 1, 1};
};

} // namespace kalvion
