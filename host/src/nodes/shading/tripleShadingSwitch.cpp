#include "nodes/shading/tripleShadingSwitch.h"

#include "graph/Scene.h"
#include "nodes/shading/ShadingAttributes.h"
#include "nodes/shading/ShadingTypes.h"

#include <maya/MFnCompoundAttribute.h>
#include <maya/MPlug.h>

const MTypeId tripleShadingSwitchNode::id(0x710007);
const char* const tripleShadingSwitchNode::typeName = "tripleShadingSwitch";
MObject tripleShadingSwitchNode::input;
MObject tripleShadingSwitchNode::inTriple;
MObject tripleShadingSwitchNode::inShape;
MObject tripleShadingSwitchNode::defaultColor;
MObject tripleShadingSwitchNode::output;

void* tripleShadingSwitchNode::creator() {
    return new tripleShadingSwitchNode();
}

MStatus tripleShadingSwitchNode::initialize() {
    MStatus status;
    inTriple = host::colorInput("inTriple", "it", 0.0f, 0.0f, 0.0f, status);
    inShape = host::messageInput("inShape", "is");
    defaultColor = host::colorInput("default", "def", 0.0f, 0.0f, 0.0f, status);
    output = host::colorOutput("output", "out", status);
    MFnCompoundAttribute compound;
    MStatus s;
    input = compound.create("input", "i", &s);
    if (status == MStatus::kSuccess)
        status = s;
    if (status != MStatus::kSuccess)
        return status;
    // The child order is what the shape rewiring relies on: child 0 the colour, child 1 the shape.
    status = compound.addChild(inTriple);
    if (status == MStatus::kSuccess)
        status = compound.addChild(inShape);
    if (status == MStatus::kSuccess)
        status = compound.setArray(true);
    if (status == MStatus::kSuccess)
        status = host::addAttributes({&input, &defaultColor, &output});
    if (status == MStatus::kSuccess)
        status = host::affectOutput({&input, &defaultColor}, output);
    return status;
}

MStatus tripleShadingSwitchNode::compute(const MPlug& plug, MDataBlock& block) {
    if ((plug.isChild() ? plug.parent() : plug) != output)
        return MStatus::kUnknownParameter;
    MStatus status;
    host::Float3 value = host::inputColor(block, defaultColor, status);
    if (status != MStatus::kSuccess)
        return status;
    return host::setColorOutput(block, output, value);
}

MStatus host::registerTripleShadingSwitchType() {
    return registerType(tripleShadingSwitchNode::typeName, tripleShadingSwitchNode::id,
                        tripleShadingSwitchNode::creator, tripleShadingSwitchNode::initialize,
                        MPxNode::kDependNode, static_cast<MFn::Type>(593), "");
}
