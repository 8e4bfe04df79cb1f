#include "nodes/shading/shadingEngine.h"

#include "graph/Scene.h"
#include "nodes/shading/ShadingAttributes.h"
#include "nodes/shading/ShadingTypes.h"

const MTypeId shadingEngineNode::id(0x710001);
const char* const shadingEngineNode::typeName = "shadingEngine";
MObject shadingEngineNode::surfaceShader;

void* shadingEngineNode::creator() {
    return new shadingEngineNode();
}

MStatus shadingEngineNode::initialize() {
    MStatus status;
    surfaceShader = host::colorInput("surfaceShader", "ss", 0.0f, 0.0f, 0.0f, status);
    if (status != MStatus::kSuccess)
        return status;
    return host::addAttributes({&surfaceShader});
}

MStatus host::registerShadingEngineType() {
    return registerType(shadingEngineNode::typeName, shadingEngineNode::id, shadingEngineNode::creator,
                        shadingEngineNode::initialize, MPxNode::kDependNode, MFn::kShadingEngine, "");
}
