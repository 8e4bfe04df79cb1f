#include "nodes/curveSource.h"

#include "data/Data.h"
#include "graph/Scene.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPlug.h>

const MTypeId curveSourceNode::id(0x720002);
const char* const curveSourceNode::typeName = "curveSource";

MObject curveSourceNode::curve;
MObject curveSourceNode::outCurve;

void* curveSourceNode::creator() {
    return new curveSourceNode();
}

MStatus curveSourceNode::initialize() {
    MStatus status;
    MFnTypedAttribute fn;
    curve = fn.create("curve", "cv", MFnData::kNurbsCurve, MObject::kNullObj, &status);
    if (status != MStatus::kSuccess)
        return status;
    outCurve = fn.create("outCurve", "oc", MFnData::kNurbsCurve, MObject::kNullObj, &status);
    if (status != MStatus::kSuccess)
        return status;
    fn.setWritable(false);
    fn.setStorable(false);
    for (const MObject* attribute : {&curve, &outCurve}) {
        status = addAttribute(*attribute);
        if (status != MStatus::kSuccess)
            return status;
    }
    return attributeAffects(curve, outCurve);
}

MStatus curveSourceNode::compute(const MPlug& plug, MDataBlock& block) {
    if (plug != outCurve)
        return MStatus::kUnknownParameter;
    MStatus status;
    MObject input = block.inputValue(curve, &status).data();
    if (status != MStatus::kSuccess)
        return status;
    auto data = std::dynamic_pointer_cast<host::Data>(input.impl());
    MObject copy = data ? MObject(data->clone()) : MObject();
    status = block.outputValue(outCurve).set(copy);
    if (status != MStatus::kSuccess)
        return status;
    return block.setClean(plug);
}

MStatus host::registerCurveSourceType() {
    return registerType(curveSourceNode::typeName, curveSourceNode::id, curveSourceNode::creator,
                        curveSourceNode::initialize, MPxNode::kDependNode, MFn::kDependencyNode, "");
}
