#include <maya/M3dView.h>
#include <maya/MGlobal.h>

#include "graph/Dag.h"
#include "render/ActiveView.h"

M3dView M3dView::active3dView(MStatus* status) {
    M3dView view;
    if (MGlobal::mayaState() == MGlobal::kInteractive)
        view.camera_ = host::activeCamera();
    if (status)
        *status = view.camera_.expired() ? MStatus::kFailure : MStatus::kSuccess;
    return view;
}

MStatus M3dView::getCamera(MDagPath& camera) {
    std::shared_ptr<host::Node> node = camera_.lock();
    if (!node || !node->alive) {
        camera = MDagPath();
        return MStatus::kFailure;
    }
    camera = host::dagPathOf(node);
    return MStatus::kSuccess;
}
