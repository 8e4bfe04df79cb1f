#ifndef M3DVIEW_H
#define M3DVIEW_H

#include <maya/MDagPath.h>
#include <maya/MStatus.h>

#include <memory>

namespace host {
class Node;
}

// A 3D view and the camera it looks through.
//
// The host has one active view, and only in the interactive state (MGlobal::mayaState() == kInteractive).
// There, active3dView() returns a view on the active camera: the one set with host::setActiveCamera, or
// else the camera of the transform "persp" (made on demand with its shape "perspShape" at Maya's default
// place, translate (28, 21, 28) and rotate (-27.938, 45, 0) degrees, when no node "persp" exists). The
// camera's path, "|persp|perspShape", carries the transform's matrix. In any other state there is no view:
// active3dView() returns an empty view with kFailure, and its getCamera fails and leaves the path empty,
// so the camera matrix built from it is the identity. getCamera also fails when the view's camera has
// been deleted since.
class M3dView {
public:
    M3dView() = default;

    static M3dView active3dView(MStatus* status = nullptr);
    MStatus getCamera(MDagPath& camera);

private:
    std::weak_ptr<host::Node> camera_;
};

#endif
