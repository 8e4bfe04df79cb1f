#include "nodes/nurbsCurve.h"

#include "data/NurbsCurveData.h"
#include "graph/Dag.h"
#include "graph/Scene.h"

#include <maya/MArrayDataBuilder.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPlug.h>

#include <memory>

// Host node type ids for geometry are 0x7200xx.
const MTypeId nurbsCurveNode::id(0x720001);
const char* const nurbsCurveNode::typeName = "nurbsCurve";

MObject nurbsCurveNode::create;
MObject nurbsCurveNode::local;
MObject nurbsCurveNode::worldSpace;
MObject nurbsCurveNode::minValue;
MObject nurbsCurveNode::maxValue;
MObject nurbsCurveNode::degree;
MObject nurbsCurveNode::spans;
MObject nurbsCurveNode::form;

namespace {

void makeOutput(MFnAttribute& fn) {
    fn.setWritable(false);
    fn.setStorable(false);
}

MObject numericOutput(const char* longName, const char* shortName, MFnNumericData::Type type, MStatus& status) {
    MFnNumericAttribute fn;
    MStatus s;
    MObject attribute = fn.create(longName, shortName, type, 0.0, &s);
    if (s != MStatus::kSuccess)
        status = s;
    makeOutput(fn);
    return attribute;
}

MObject curveAttribute(const char* longName, const char* shortName, bool output, bool array, MStatus& status) {
    MFnTypedAttribute fn;
    MStatus s;
    MObject attribute = fn.create(longName, shortName, MFnData::kNurbsCurve, MObject::kNullObj, &s);
    if (s != MStatus::kSuccess)
        status = s;
    if (array)
        fn.setArray(true);
    if (output)
        makeOutput(fn);
    return attribute;
}

}  // namespace

void* nurbsCurveNode::creator() {
    return new nurbsCurveNode();
}

MStatus nurbsCurveNode::initialize() {
    MStatus status;
    create = curveAttribute("create", "cr", false, false, status);
    local = curveAttribute("local", "l", true, false, status);
    worldSpace = curveAttribute("worldSpace", "ws", true, true, status);
    minValue = numericOutput("minValue", "min", MFnNumericData::kDouble, status);
    maxValue = numericOutput("maxValue", "max", MFnNumericData::kDouble, status);
    degree = numericOutput("degree", "d", MFnNumericData::kLong, status);
    spans = numericOutput("spans", "s", MFnNumericData::kLong, status);
    form = numericOutput("form", "f", MFnNumericData::kLong, status);
    if (status != MStatus::kSuccess)
        return status;
    for (const MObject* attribute : {&create, &local, &worldSpace, &minValue, &maxValue, &degree, &spans, &form}) {
        status = addAttribute(*attribute);
        if (status != MStatus::kSuccess)
            return status;
    }
    for (const MObject* output : {&local, &worldSpace, &minValue, &maxValue, &degree, &spans, &form}) {
        status = attributeAffects(create, *output);
        if (status != MStatus::kSuccess)
            return status;
    }
    return attributeAffects(host::worldMatrixAttribute(), worldSpace);
}

MStatus nurbsCurveNode::compute(const MPlug& plug, MDataBlock& block) {
    const MObject* outputs[] = {&local, &worldSpace, &minValue, &maxValue, &degree, &spans, &form};
    bool known = false;
    for (const MObject* output : outputs) known = known || plug == *output;  // elements too
    if (!known)
        return MStatus::kUnknownParameter;

    MStatus status;
    MObject input = block.inputValue(create, &status).data();
    if (status != MStatus::kSuccess)
        return status;

    // The input's world-space curve is this shape's own curve, shared by both outputs.
    MObject localData;
    MObject worldData;
    double start = 0.0, end = 0.0;
    int degreeValue = 0, spanCount = 0, formValue = 0;
    if (auto data = host::dataAs<host::NurbsCurveData>(input)) {
        const auto& curve = data->sharedWorldCurve();
        localData = MObject(std::make_shared<host::NurbsCurveData>(curve));
        worldData = MObject(std::make_shared<host::NurbsCurveData>(curve, host::worldMatrix(thisMObject())));
        if (curve->knotDomain(start, end)) {
            degreeValue = curve->degree();
            spanCount = curve->numSpans();
            formValue = static_cast<int>(curve->form());
        }
    }

    status = block.outputValue(local).set(localData);
    if (status != MStatus::kSuccess)
        return status;
    MArrayDataHandle worldArray = block.outputArrayValue(worldSpace, &status);
    if (status != MStatus::kSuccess)
        return status;
    MArrayDataBuilder builder = worldArray.builder(&status);
    if (status != MStatus::kSuccess)
        return status;
    MDataHandle element = builder.addElement(0, &status);
    if (status != MStatus::kSuccess)
        return status;
    status = element.set(worldData);
    if (status != MStatus::kSuccess)
        return status;
    block.outputValue(minValue).set(start);
    block.outputValue(maxValue).set(end);
    block.outputValue(degree).set(degreeValue);
    block.outputValue(spans).set(spanCount);
    block.outputValue(form).set(formValue);

    for (const MObject* output : outputs) block.setClean(*output);
    return block.setClean(plug);
}

MStatus host::registerNurbsCurveType() {
    return registerType(nurbsCurveNode::typeName, nurbsCurveNode::id, nurbsCurveNode::creator,
                        nurbsCurveNode::initialize, MPxNode::kDependNode, MFn::kNurbsCurve, "");
}
