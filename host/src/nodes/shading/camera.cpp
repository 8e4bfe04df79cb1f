#include "nodes/shading/camera.h"

#include "graph/Scene.h"
#include "nodes/shading/ShadingAttributes.h"
#include "nodes/shading/ShadingTypes.h"

const MTypeId cameraNode::id(0x710008);
const char* const cameraNode::typeName = "camera";

void* cameraNode::creator() {
    return new cameraNode();
}

MStatus cameraNode::initialize() {
    return MStatus::kSuccess;
}

MStatus host::registerCameraType() {
    return registerType(cameraNode::typeName, cameraNode::id, cameraNode::creator, cameraNode::initialize,
                        MPxNode::kDependNode, MFn::kCamera, "");
}
