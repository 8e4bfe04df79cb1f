#ifndef HOST_WORLDPOINTS_H
#define HOST_WORLDPOINTS_H

#include "geometry/Vec3.h"

#include <maya/MMatrix.h>

#include <vector>

namespace host {

// Points mapped by a matrix in Maya's row-vector convention (p * m), taken as affine: its last column is
// ignored. For geometry data that keeps its world-space copy beside the object-space one.
std::vector<geom::Vec3> transformPoints(const std::vector<geom::Vec3>& points, const MMatrix& m);

// True when the matrix turns space inside out (negative determinant of its 3 x 3 part).
bool isMirroring(const MMatrix& m);

}  // namespace host

#endif
