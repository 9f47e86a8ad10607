#include "render/SceneMath.h"

#include <cmath>
#include <numbers>

namespace kalvion {

namespace {

struct TVec {
    double x, y, z;
};

TVec Sub(const TVexaPoint &a, const TVexaPoint &b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
TVec Cross(const TVec &a, const TVec &b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(const TVec &v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
TVec Scaled(const TVec &v, double k) { return {v.x * k, v.y * k, v.z * k}; }

} // namespace

TMatrix4 IdentityMatrix()
{
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

TMatrix4 MultiplyMatrix(const TMatrix4 &a, const TMatrix4 &b)
{
    TMatrix4 r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    return r;
}

TMatrix4 PerspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar)
{
    const double f = 1.0 / std::tan(fovyDegrees * std::numbers::pi / 360.0);
    TMatrix4 m{};
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1;
    m[14] = 2 * zFar * zNear / (zNear - zFar);
    return m;
}

TMatrix4 OrthoMatrix(double left, double right, double bottom, double top)
{
    TMatrix4 m = IdentityMatrix();
    m[0] = 2 / (right - left);
    m[5] = 2 / (top - bottom);
    m[10] = -1;
    m[12] = -(right + left) / (right - left);
    m[13] = -(top + bottom) / (top - bottom);
    return m;
}

TMatrix4 LookAtMatrix(const TVexaPoint &eye, const TVexaPoint &target, const TVexaPoint &up)
{
    TVec f = Sub(target, eye);
    double fl = Length(f);
    if (!(fl > 0) || !std::isfinite(fl)) {
        f = {0, 0, -1};
        fl = 1;
    }
    f = Scaled(f, 1 / fl);
    TVec u{up.X, up.Y, up.Z};
    TVec s = Cross(f, u);
    double sl = Length(s);
    if (!(sl > 1e-12 * Length(u))) {
        u = {0, 0, -1};
        s = Cross(f, u);
        sl = Length(s);
        if (!(sl > 0)) {
            u = {1, 0, 0};
            s = Cross(f, u);
            sl = Length(s);
        }
    }
    s = Scaled(s, 1 / sl);
    u = Cross(s, f);
    TMatrix4 m = IdentityMatrix();
    m[0] = s.x;
    m[4] = s.y;
    m[8] = s.z;
    m[1] = u.x;
    m[5] = u.y;
    m[9] = u.z;
    m[2] = -f.x;
    m[6] = -f.y;
    m[10] = -f.z;
    m[12] = -(s.x * eye.X + s.y * eye.Y + s.z * eye.Z);
    m[13] = -(u.x * eye.X + u.y * eye.Y + u.z * eye.Z);
    m[14] = f.x * eye.X + f.y * eye.Y + f.z * eye.Z;
    return m;
}

TSceneProjection::TSceneProjection(const TMatrix4 &modelview, const TMatrix4 &projection, int x, int y, int width,
                                   int height)
    : Modelview_(modelview), Projection_(projection), Combined_(MultiplyMatrix(projection, modelview)),
      Viewport_{x, y, width, height}
{
}

bool TSceneProjection::Project(double x, double y, double z, TWindowPoint &out) const
{
    const TMatrix4 &m = Combined_;
    const double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
    const double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
    const double cz = m[2] * x + m[6] * y + m[10] * z + m[14];
    const double cw = m[3] * x + m[7] * y + m[11] * z + m[15];
    if (cw == 0)
        return false;
    const double nx = cx / cw, ny = cy / cw, nz = cz / cw;
    if (!std::isfinite(nx) || !std::isfinite(ny) || !std::isfinite(nz))
        return false;
    out.X = Viewport_[0] + Viewport_[2] * (nx + 1) / 2;
    out.Y = Viewport_[1] + Viewport_[3] * (ny + 1) / 2;
    out.Depth = (nz + 1) / 2;
    out.InFront = cw > 0;
    out.InView = cw > 0 && cx >= -cw && cx <= cw && cy >= -cw && cy <= cw && cz >= -cw && cz <= cw;
    return true;
}

TVexaPoint TSceneProjection::CameraRight() const { return {Modelview_[0], Modelview_[4], Modelview_[8]}; }

TVexaPoint TSceneProjection::CameraUp() const { return {Modelview_[1], Modelview_[5], Modelview_[9]}; }

} // namespace kalvion
