#include "nodes/shading/camera.h"

#include "graph/Scene.h"
#include "nodes/shading/ShadingAttributes.h"
#include "nodes/shading/ShadingTypes.h"

const MTypeId cameraNode::id(0x710008);
const char* const cameraNode::typeName = "camera";
MObject cameraNode::translate;
MObject cameraNode::rotate;

void* cameraNode::creator() {
    return new cameraNode();
}

MStatus cameraNode::initialize() {
    MStatus status;
    translate = host::double3Input("translate", "t", status);
    rotate = host::double3Input("rotate", "r", status);
    if (status != MStatus::kSuccess)
        return status;
    return host::addAttributes({&translate, &rotate});
}

MStatus host::registerCameraType() {
    return registerType(cameraNode::typeName, cameraNode::id, cameraNode::creator, cameraNode::initialize,
                        MPxNode::kDependNode, MFn::kCamera, "");
}
