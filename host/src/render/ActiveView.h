#ifndef HOST_ACTIVE_VIEW_H
#define HOST_ACTIVE_VIEW_H

#include "graph/Node.h"

#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <memory>

// The host's active 3D view (see M3dView.h): which camera it looks through.
namespace host {

// Makes this camera node (or the camera shape of this transform) the active view's camera. A null object
// clears the choice (the default camera is used again); anything else fails with kInvalidParameter and
// changes nothing.
MStatus setActiveCamera(const MObject& camera);
// The camera set with setActiveCamera while it is alive, else the camera of "persp" (the node itself, or
// the camera shape of the transform of that name), made with its transform when no node "persp" exists.
// Null when "persp" names something without a camera or the camera cannot be made.
std::shared_ptr<Node> activeCamera();

}  // namespace host

#endif
