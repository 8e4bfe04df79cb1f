#include "nodes/nurbsSurface.h"

#include "data/NurbsSurfaceData.h"
#include "graph/Dag.h"
#include "graph/Scene.h"
#include "nodes/GeometryAttributes.h"
#include "nodes/shading/ShadingAttributes.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MPlug.h>

#include <memory>
#include <vector>

const MTypeId nurbsSurfaceNode::id(0x720010);
const char* const nurbsSurfaceNode::typeName = "nurbsSurface";

MObject nurbsSurfaceNode::create;
MObject nurbsSurfaceNode::local;
MObject nurbsSurfaceNode::worldSpace;
MObject nurbsSurfaceNode::minValueU;
MObject nurbsSurfaceNode::maxValueU;
MObject nurbsSurfaceNode::minValueV;
MObject nurbsSurfaceNode::maxValueV;
MObject nurbsSurfaceNode::degreeU;
MObject nurbsSurfaceNode::degreeV;
MObject nurbsSurfaceNode::spansU;
MObject nurbsSurfaceNode::spansV;
MObject nurbsSurfaceNode::formU;
MObject nurbsSurfaceNode::formV;
MObject nurbsSurfaceNode::instObjGroups;

namespace {

MObject numericOutput(const char* longName, const char* shortName, MFnNumericData::Type type, MStatus& status) {
    MFnNumericAttribute fn;
    MStatus s;
    MObject attribute = fn.create(longName, shortName, type, 0.0, &s);
    if (s != MStatus::kSuccess)
        status = s;
    fn.setWritable(false);
    fn.setStorable(false);
    return attribute;
}

}  // namespace

void* nurbsSurfaceNode::creator() {
    return new nurbsSurfaceNode();
}

MStatus nurbsSurfaceNode::initialize() {
    MStatus status;
    create = host::geometryAttribute("create", "cr", MFnData::kNurbsSurface, false, false, status);
    local = host::geometryAttribute("local", "l", MFnData::kNurbsSurface, true, false, status);
    worldSpace = host::geometryAttribute("worldSpace", "ws", MFnData::kNurbsSurface, true, true, status);
    minValueU = numericOutput("minValueU", "mnu", MFnNumericData::kDouble, status);
    maxValueU = numericOutput("maxValueU", "mxu", MFnNumericData::kDouble, status);
    minValueV = numericOutput("minValueV", "mnv", MFnNumericData::kDouble, status);
    maxValueV = numericOutput("maxValueV", "mxv", MFnNumericData::kDouble, status);
    degreeU = numericOutput("degreeU", "du", MFnNumericData::kLong, status);
    degreeV = numericOutput("degreeV", "dv", MFnNumericData::kLong, status);
    spansU = numericOutput("spansU", "su", MFnNumericData::kLong, status);
    spansV = numericOutput("spansV", "sv", MFnNumericData::kLong, status);
    formU = numericOutput("formU", "fu", MFnNumericData::kLong, status);
    formV = numericOutput("formV", "fv", MFnNumericData::kLong, status);
    instObjGroups = host::messageInput("instObjGroups", "iog");
    MFnAttribute(instObjGroups).setArray(true);
    if (status != MStatus::kSuccess)
        return status;
    status = host::addAttributes({&create, &local, &worldSpace, &minValueU, &maxValueU, &minValueV, &maxValueV,
                                  &degreeU, &degreeV, &spansU, &spansV, &formU, &formV, &instObjGroups});
    if (status != MStatus::kSuccess)
        return status;
    for (const MObject* output : outputs()) {
        status = attributeAffects(create, *output);
        if (status != MStatus::kSuccess)
            return status;
    }
    return attributeAffects(host::worldMatrixAttribute(), worldSpace);
}

MStatus nurbsSurfaceNode::compute(const MPlug& plug, MDataBlock& block) {
    bool known = false;
    for (const MObject* output : outputs()) known = known || plug == *output;  // elements too
    if (!known)
        return MStatus::kUnknownParameter;

    MStatus status;
    MObject input = block.inputValue(create, &status).data();
    if (status != MStatus::kSuccess)
        return status;

    // The input's world-space surface is this shape's own surface, shared by both outputs.
    MObject localData;
    MObject worldData;
    double domain[4] = {0.0, 0.0, 0.0, 0.0};
    int degrees[2] = {0, 0}, spans[2] = {0, 0}, forms[2] = {0, 0};
    if (auto data = host::dataAs<host::NurbsSurfaceData>(input)) {
        const auto& surface = data->sharedWorldSurface();
        localData = MObject(std::make_shared<host::NurbsSurfaceData>(surface));
        worldData = MObject(std::make_shared<host::NurbsSurfaceData>(surface, host::worldMatrix(thisMObject())));
        if (surface->knotDomain(domain[0], domain[1], domain[2], domain[3])) {
            degrees[0] = surface->degreeU();
            degrees[1] = surface->degreeV();
            spans[0] = surface->numSpansInU();
            spans[1] = surface->numSpansInV();
            forms[0] = static_cast<int>(surface->formInU());
            forms[1] = static_cast<int>(surface->formInV());
        }
    }

    status = block.outputValue(local).set(localData);
    if (status != MStatus::kSuccess)
        return status;
    status = host::setFirstElement(block, worldSpace, worldData);
    if (status != MStatus::kSuccess)
        return status;
    block.outputValue(minValueU).set(domain[0]);
    block.outputValue(maxValueU).set(domain[1]);
    block.outputValue(minValueV).set(domain[2]);
    block.outputValue(maxValueV).set(domain[3]);
    block.outputValue(degreeU).set(degrees[0]);
    block.outputValue(degreeV).set(degrees[1]);
    block.outputValue(spansU).set(spans[0]);
    block.outputValue(spansV).set(spans[1]);
    block.outputValue(formU).set(forms[0]);
    block.outputValue(formV).set(forms[1]);

    for (const MObject* output : outputs()) block.setClean(*output);
    return block.setClean(plug);
}

std::vector<const MObject*> nurbsSurfaceNode::outputs() {
    return {&local, &worldSpace, &minValueU, &maxValueU, &minValueV, &maxValueV,
            &degreeU, &degreeV, &spansU, &spansV, &formU, &formV};
}

MStatus host::registerNurbsSurfaceType() {
    return registerType(nurbsSurfaceNode::typeName, nurbsSurfaceNode::id, nurbsSurfaceNode::creator,
                        nurbsSurfaceNode::initialize, MPxNode::kDependNode, MFn::kNurbsSurface, "");
}
