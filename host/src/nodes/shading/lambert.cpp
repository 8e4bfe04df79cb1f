#include "nodes/shading/lambert.h"

#include "graph/Scene.h"
#include "nodes/shading/ShadingAttributes.h"
#include "nodes/shading/ShadingTypes.h"

#include <maya/MPlug.h>

const MTypeId lambertNode::id(0x710002);
const char* const lambertNode::typeName = "lambert";
MObject lambertNode::color;
MObject lambertNode::transparency;
MObject lambertNode::outColor;
MObject lambertNode::outTransparency;

void* lambertNode::creator() {
    return new lambertNode();
}

MStatus lambertNode::initialize() {
    MStatus status;
    color = host::colorInput("color", "c", 0.5f, 0.5f, 0.5f, status);
    transparency = host::colorInput("transparency", "it", 0.0f, 0.0f, 0.0f, status);
    outColor = host::colorOutput("outColor", "oc", status);
    outTransparency = host::colorOutput("outTransparency", "ot", status);
    if (status != MStatus::kSuccess)
        return status;
    status = host::addAttributes({&color, &transparency, &outColor, &outTransparency});
    if (status == MStatus::kSuccess)
        status = host::affectOutput({&color}, outColor);
    if (status == MStatus::kSuccess)
        status = host::affectOutput({&transparency}, outTransparency);
    return status;
}

MStatus lambertNode::compute(const MPlug& plug, MDataBlock& block) {
    MPlug top = plug.isChild() ? plug.parent() : plug;
    const MObject* input = top == outColor ? &color : (top == outTransparency ? &transparency : nullptr);
    if (!input)
        return MStatus::kUnknownParameter;
    MStatus status;
    host::Float3 value = host::inputColor(block, *input, status);
    if (status != MStatus::kSuccess)
        return status;
    return host::setColorOutput(block, top == outColor ? outColor : outTransparency, value);
}

MStatus host::registerLambertType() {
    return registerType(lambertNode::typeName, lambertNode::id, lambertNode::creator, lambertNode::initialize,
                        MPxNode::kDependNode, MFn::kSurfaceShader, "");
}
