#include "render/ActiveView.h"

#include "graph/Dag.h"
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

// The camera a node stands for: itself, or the only shape of a transform when that is a camera.
std::shared_ptr<Node> cameraOf(const std::shared_ptr<Node>& node) {
    std::shared_ptr<Node> shape = shapeOf(node);
    return isLiveCamera(shape) ? shape : nullptr;
}

// Maya's default perspective camera, at its default place.
std::shared_ptr<Node> makePersp() {
    std::shared_ptr<Node> transform = createTransform("persp", nullptr);
    if (!transform)
        return nullptr;
    std::shared_ptr<Node> camera = createNode(cameraNode::typeName, "perspShape");
    if (!camera || !setDagParent(camera, transform)) {
        deleteNode(transform);
        if (camera && camera->alive)
            deleteNode(camera);
        return nullptr;
    }
    const double degrees = 3.14159265358979323846 / 180.0;
    const double translate[3] = {28.0, 21.0, 28.0};
    const double rotate[3] = {-27.938 * degrees, 45.0 * degrees, 0.0};
    MPlug t = plugOf(transform, transform->findAttribute("translate"));
    MPlug r = plugOf(transform, transform->findAttribute("rotate"));
    for (unsigned i = 0; i < 3; ++i) {
        t.child(i).setValue(translate[i]);
        r.child(i).setValue(rotate[i]);
    }
    return camera;
}

}  // namespace

MStatus setActiveCamera(const MObject& camera) {
    if (camera.isNull()) {
        chosen().reset();
        return MStatus::kSuccess;
    }
    auto node = cameraOf(std::dynamic_pointer_cast<Node>(camera.impl()));
    if (!node)
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
        return cameraOf(node);
    return makePersp();
}

}  // namespace host
