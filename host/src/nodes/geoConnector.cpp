#include "nodes/geoConnector.h"

#include "data/SweptGeometryData.h"
#include "graph/Scene.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnGenericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MPlug.h>

#include <utility>

const MTypeId geoConnectorNode::id(0x7F000010);
const char* const geoConnectorNode::typeName = "geoConnector";

MObject geoConnectorNode::localGeometry;
MObject geoConnectorNode::currentTime;
MObject geoConnectorNode::sweptGeometry;

void* geoConnectorNode::creator() {
    return new geoConnectorNode();
}

MStatus geoConnectorNode::initialize() {
    MStatus status;
    MFnGenericAttribute generic;
    localGeometry = generic.create("localGeometry", "lg", &status);
    if (status != MStatus::kSuccess)
        return status;
    generic.addAccept(MFnData::kMesh);
    generic.addAccept(MFnData::kNurbsSurface);
    MFnUnitAttribute unit;
    currentTime = unit.create("currentTime", "ct", MFnUnitAttribute::kTime, 0.0, &status);
    if (status != MStatus::kSuccess)
        return status;
    MFnTypedAttribute typed;
    sweptGeometry = typed.create("sweptGeometry", "swg", MFnData::kDynSweptGeometry, MObject::kNullObj, &status);
    if (status != MStatus::kSuccess)
        return status;
    typed.setWritable(false);
    typed.setStorable(false);
    for (const MObject* attribute : {&localGeometry, &currentTime, &sweptGeometry}) {
        status = addAttribute(*attribute);
        if (status != MStatus::kSuccess)
            return status;
    }
    status = attributeAffects(localGeometry, sweptGeometry);
    if (status != MStatus::kSuccess)
        return status;
    return attributeAffects(currentTime, sweptGeometry);
}

MStatus geoConnectorNode::compute(const MPlug& plug, MDataBlock& block) {
    if (plug != sweptGeometry)
        return MStatus::kUnknownParameter;
    MStatus status;
    const MTime now = block.inputValue(currentTime, &status).asTime();
    if (status != MStatus::kSuccess)
        return status;
    const MObject geometry = block.inputValue(localGeometry, &status).data();
    if (status != MStatus::kSuccess)
        return status;

    std::vector<host::geom::SweptTriangle> triangles = host::sweptTrianglesOf(geometry);
    if (computed_ && triangles.size() == last_.size()) {
        const bool forward = now > lastTime_;
        if (forward || now == lastTime_) {
            for (size_t j = 0; j < triangles.size(); ++j)
                for (int k = 0; k < 3; ++k)
                    triangles[j].previous[k] = forward ? last_[j].current[k] : last_[j].previous[k];
        }
    }
    last_ = triangles;
    lastTime_ = now;
    computed_ = true;

    status = block.outputValue(sweptGeometry).set(host::makeSweptGeometryData(std::move(triangles)));
    if (status != MStatus::kSuccess)
        return status;
    return block.setClean(plug);
}

namespace host {

MStatus registerGeoConnectorType() {
    return registerType(geoConnectorNode::typeName, geoConnectorNode::id, geoConnectorNode::creator,
                        geoConnectorNode::initialize, MPxNode::kDependNode, MFn::kGeoConnector, "");
}

std::vector<geom::SweptTriangle> sweptTrianglesOf(const MObject&) {
    return {};
}

}  // namespace host
