#include "nodes/shading/textures.h"

#include "graph/Scene.h"
#include "nodes/shading/ShadingAttributes.h"
#include "nodes/shading/ShadingTypes.h"

#include <maya/MDataHandle.h>
#include <maya/MPlug.h>

const MTypeId rampNode::id(0x710003);
const char* const rampNode::typeName = "ramp";
MObject rampNode::type;
MObject rampNode::startColor;
MObject rampNode::endColor;
MObject rampNode::outColor;

const MTypeId solidGradientNode::id(0x710004);
const char* const solidGradientNode::typeName = "solidGradient";
MObject solidGradientNode::scale;
MObject solidGradientNode::offset;
MObject solidGradientNode::outColor;

const MTypeId normalTextureNode::id(0x710005);
const char* const normalTextureNode::typeName = "normalTexture";
MObject normalTextureNode::useTangent;
MObject normalTextureNode::outColor;

const MTypeId colorConstantNode::id(0x710006);
const char* const colorConstantNode::typeName = "colorConstant";
MObject colorConstantNode::inColor;
MObject colorConstantNode::outColor;

namespace {

bool isOutColor(const MPlug& plug, const MObject& outColor) {
    return (plug.isChild() ? plug.parent() : plug) == outColor;
}

// Adds the attributes and makes every input affect outColor.
MStatus finish(std::initializer_list<const MObject*> inputs, const MObject& outColor) {
    for (const MObject* a : inputs) {
        MStatus status = host::addAttributes({a});
        if (status != MStatus::kSuccess)
            return status;
    }
    MStatus status = host::addAttributes({&outColor});
    return status == MStatus::kSuccess ? host::affectOutput(inputs, outColor) : status;
}

}  // namespace

void* rampNode::creator() {
    return new rampNode();
}

MStatus rampNode::initialize() {
    MStatus status;
    type = host::intInput("type", "t", 0, status);
    startColor = host::colorInput("startColor", "sc", 0.0f, 0.0f, 0.0f, status);
    endColor = host::colorInput("endColor", "ec", 1.0f, 1.0f, 1.0f, status);
    outColor = host::colorOutput("outColor", "oc", status);
    return status == MStatus::kSuccess ? finish({&type, &startColor, &endColor}, outColor) : status;
}

MStatus rampNode::compute(const MPlug& plug, MDataBlock& block) {
    if (!isOutColor(plug, outColor))
        return MStatus::kUnknownParameter;
    MStatus status;
    int kind = block.inputValue(type, &status).asInt();
    if (status != MStatus::kSuccess)
        return status;
    host::Float3 start = host::inputColor(block, startColor, status);
    if (status != MStatus::kSuccess)
        return status;
    host::Float3 end = host::inputColor(block, endColor, status);
    if (status != MStatus::kSuccess)
        return status;
    return host::setColorOutput(block, outColor, host::rampColor(kind, start, end, 0.0f, 0.0f));
}

void* solidGradientNode::creator() {
    return new solidGradientNode();
}

MStatus solidGradientNode::initialize() {
    MStatus status;
    scale = host::vectorInput("scale", "sc", 1.0f, 1.0f, 1.0f, status);
    offset = host::vectorInput("offset", "of", 0.0f, 0.0f, 0.0f, status);
    outColor = host::colorOutput("outColor", "oc", status);
    return status == MStatus::kSuccess ? finish({&scale, &offset}, outColor) : status;
}

MStatus solidGradientNode::compute(const MPlug& plug, MDataBlock& block) {
    if (!isOutColor(plug, outColor))
        return MStatus::kUnknownParameter;
    MStatus status;
    host::Float3 s = host::inputColor(block, scale, status);
    if (status != MStatus::kSuccess)
        return status;
    host::Float3 o = host::inputColor(block, offset, status);
    if (status != MStatus::kSuccess)
        return status;
    return host::setColorOutput(block, outColor, host::solidGradientColor(host::Float3(), s, o));
}

void* normalTextureNode::creator() {
    return new normalTextureNode();
}

MStatus normalTextureNode::initialize() {
    MStatus status;
    useTangent = host::boolInput("useTangent", "ut", false, status);
    outColor = host::colorOutput("outColor", "oc", status);
    return status == MStatus::kSuccess ? finish({&useTangent}, outColor) : status;
}

MStatus normalTextureNode::compute(const MPlug& plug, MDataBlock& block) {
    if (!isOutColor(plug, outColor))
        return MStatus::kUnknownParameter;
    // Normal and tangent are both zero without a sample, so the switch does not change the result.
    return host::setColorOutput(block, outColor, host::directionColor(host::Float3()));
}

void* colorConstantNode::creator() {
    return new colorConstantNode();
}

MStatus colorConstantNode::initialize() {
    MStatus status;
    inColor = host::colorInput("inColor", "ic", 0.0f, 0.0f, 0.0f, status);
    outColor = host::colorOutput("outColor", "oc", status);
    return status == MStatus::kSuccess ? finish({&inColor}, outColor) : status;
}

MStatus colorConstantNode::compute(const MPlug& plug, MDataBlock& block) {
    if (!isOutColor(plug, outColor))
        return MStatus::kUnknownParameter;
    MStatus status;
    host::Float3 value = host::inputColor(block, inColor, status);
    if (status != MStatus::kSuccess)
        return status;
    return host::setColorOutput(block, outColor, value);
}

MStatus host::registerRampType() {
    return registerType(rampNode::typeName, rampNode::id, rampNode::creator, rampNode::initialize,
                        MPxNode::kDependNode, MFn::kTexture2d, "");
}

MStatus host::registerSolidGradientType() {
    return registerType(solidGradientNode::typeName, solidGradientNode::id, solidGradientNode::creator,
                        solidGradientNode::initialize, MPxNode::kDependNode, MFn::kTexture3d, "");
}

MStatus host::registerNormalTextureType() {
    return registerType(normalTextureNode::typeName, normalTextureNode::id, normalTextureNode::creator,
                        normalTextureNode::initialize, MPxNode::kDependNode, MFn::kTexture2d, "");
}

MStatus host::registerColorConstantType() {
    return registerType(colorConstantNode::typeName, colorConstantNode::id, colorConstantNode::creator,
                        colorConstantNode::initialize, MPxNode::kDependNode, MFn::kTexture2d, "");
}
