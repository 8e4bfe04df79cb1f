#ifndef HOST_RASTER_SCENE_H
#define HOST_RASTER_SCENE_H

#include "geometry/Vec3.h"
#include "graph/Node.h"
#include "render/Raster.h"
#include "render/RasterCamera.h"

#include <maya/MMatrix.h>

#include <memory>

// What a picture of the scene shows, gathered from its nodes (nodes whose "visibility", or that of a
// transform above them, is off are left out):
//
//   particle objects   each particle at its "position": coloured by "rgbPP" when the object has that
//                      per-particle vector attribute, else a fixed light blue; "opacityPP" (per-particle
//                      doubles) makes them translucent, 0 hides them. Points of "pointSize" pixels (the
//                      attribute Maya adds for point render types; 2 without it), or, for the sphere,
//                      blobby and cloud render types ("particleRenderType" 4, 7, 8), discs of world
//                      radius "radius" (1 without it).
//   NURBS curves       the world-space curve ("worldSpace[0]") as a polyline, 24 pieces a knot span.
//   polygon meshes     the world-space mesh ("worldMesh[0]"), its faces flat grey, lit from the eye,
//                      with its polygon edges drawn over them.
//   NURBS surfaces     the world-space surface ("worldSpace[0]"), shaded as 4 x 4 quads (two triangles
//                      each) a patch, with its isoparms at the knots drawn over it.
//
// on a neutral grey gradient. The host's scene knows nothing of drawing: this file is the only place
// that reads nodes for pictures.
namespace host {

// Clears the raster and draws the scene as the camera sees it.
void drawScene(Raster& raster, const RasterCamera& camera);

// The box around what drawScene draws; false when there is nothing to draw.
bool sceneBounds(geom::Vec3& lo, geom::Vec3& hi);

// A camera node's world matrix, and its lens from Maya's camera attributes ("focalLength",
// "horizontalFilmAperture", "verticalFilmAperture", "nearClipPlane") where it has them, else Maya's
// defaults (35 mm over a 36 x 24 mm film back, near clip 0.1).
MMatrix cameraWorldMatrix(const std::shared_ptr<Node>& camera);
RasterCamera::Lens cameraLens(const std::shared_ptr<Node>& camera);

// Places a camera node at eye with Maya's rotate angles (radians, order XYZ), through the "translate"
// and "rotate" plugs of its transform (the values are local to that transform's parent, the world for
// the usual top-level camera). False when there are no such attributes.
bool placeCamera(const std::shared_ptr<Node>& camera, const geom::Vec3& eye, const double rotate[3]);
// The camera's position and rotate angles (zero where it has no such attributes).
void cameraPlacement(const std::shared_ptr<Node>& camera, geom::Vec3& eye, double rotate[3]);
// Moves the camera back along its view direction until all that drawScene draws fits in an image of this
// size; false (and nothing moved) when there is nothing to draw.
bool fitCamera(const std::shared_ptr<Node>& camera, int width, int height);

}  // namespace host

#endif
