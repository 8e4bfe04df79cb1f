#include "render/ActiveView.h"

#include "graph/Scene.h"
#include "nodes/shading/camera.h"

#include <maya/MPlug.h>

namespace host {

namespace {

std::weak_ptr<Node>& chosen() {
    static std::weak_ptr<Node> camera;
    return camera;
}

bool isLiveCamera(const std::shared_ptr<Node>& node) {
    return node && node->alive && node->type->id == cameraNode::id;
}

// Maya's default perspective camera position.
std::shared_ptr<Node> makePersp() {
    MStatus status;
    std::shared_ptr<Node> node = createNode(cameraNode::typeName, "persp", &status);
    if (!node)
        return nullptr;
    const double degrees = 3.14159265358979323846 / 180.0;
    const double translate[3] = {28.0, 21.0, 28.0};
    const double rotate[3] = {-27.938 * degrees, 45.0 * degrees, 0.0};
    MPlug t = plugOf(node, findNodeType(cameraNode::typeName)->find("translate"));
    MPlug r = plugOf(node, findNodeType(cameraNode::typeName)->find("rotate"));
    for (unsigned i = 0; i < 3; ++i) {
        t.child(i).setValue(translate[i]);
        r.child(i).setValue(rotate[i]);
    }
    return node;
}

}  // namespace

MStatus setActiveCamera(const MObject& camera) {
    if (camera.isNull()) {
        chosen().reset();
        return MStatus::kSuccess;
    }
    auto node = std::dynamic_pointer_cast<Node>(camera.impl());
    if (!isLiveCamera(node))
        return MStatus::kInvalidParameter;
    chosen() = node;
    return MStatus::kSuccess;
}

std::shared_ptr<Node> activeCamera() {
    std::shared_ptr<Node> node = chosen().lock();
    if (isLiveCamera(node))
        return node;
    node = findNode("persp");
    if (node)
        return isLiveCamera(node) ? node : nullptr;
    return makePersp();
}

}  // namespace host
