#pragma once
// The fixed-function GL 1.x and GLU entry points, called directly: the views
// run in a compatibility-profile context made current by Qt.
#include <GL/gl.h>
#include <GL/glu.h>
