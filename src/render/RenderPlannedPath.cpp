// The trip of the route planner over the 3D sector view: a broad line in a
// colour no route takes by default, with a dot on every stop, drawn over
// the routes and under the systems so that the stars stay on top of it.
#include "render/GLHeaders.h"
#include "render/RenderSectorOGL.h"

namespace kalvion {

void TRenderSectorOGL::DrawPlannedPath()
{
    if (PlannedPath.size() < 2)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_POINT_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LINE_STIPPLE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Over whatever lies between the camera and the trip: the whole path
    // must be seen while it is planned.
    glDisable(GL_DEPTH_TEST);
    glColor4d(1.0, 0.35, 0.85, 1.0);
    glLineWidth(3);
    glBegin(GL_LINE_STRIP);
    for (const TVexaPoint &p : PlannedPath)
        glVertex3d(p.X, p.Y, p.Z);
    glEnd();
    glPointSize(7);
    glBegin(GL_POINTS);
    for (const TVexaPoint &p : PlannedPath)
        glVertex3d(p.X, p.Y, p.Z);
    glEnd();
    glPopAttrib();
}

} // namespace kalvion
