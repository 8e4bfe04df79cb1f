#include "nodes/lattice.h"

#include "data/LatticeData.h"
#include "graph/Dag.h"
#include "graph/Scene.h"
#include "nodes/GeometryAttributes.h"
#include "nodes/shading/ShadingAttributes.h"

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MPlug.h>

#include <algorithm>
#include <memory>

const MTypeId latticeNode::id(0x720011);
const char* const latticeNode::typeName = "lattice";

MObject latticeNode::latticeInput;
MObject latticeNode::sDivisions;
MObject latticeNode::tDivisions;
MObject latticeNode::uDivisions;
MObject latticeNode::controlPoints;
MObject latticeNode::latticeOutput;
MObject latticeNode::worldLattice;

namespace {

// The grid without an input: regular over the divisions, then the control points that are set.
host::geom::Lattice gridLattice(MDataBlock& block) {
    int d[3];
    const MObject* attributes[3] = {&latticeNode::sDivisions, &latticeNode::tDivisions, &latticeNode::uDivisions};
    for (int k = 0; k < 3; ++k) {
        d[k] = std::clamp(block.inputValue(*attributes[k]).asInt(), 2, host::geom::Lattice::kMaxDivisions);
    }
    host::geom::Lattice lattice(d[0], d[1], d[2]);
    MStatus status;
    MArrayDataHandle points = block.inputArrayValue(latticeNode::controlPoints, &status);
    if (status != MStatus::kSuccess || !lattice.isValid())
        return lattice;
    const unsigned count = points.elementCount();
    for (unsigned i = 0; i < count; ++i, points.next()) {
        const unsigned index = points.elementIndex();
        if (index >= static_cast<unsigned>(lattice.count()))
            continue;
        const double3& p = points.inputValue().asDouble3();
        lattice.setPoint(static_cast<int>(index), {p[0], p[1], p[2]});
    }
    return lattice;
}

}  // namespace

void* latticeNode::creator() {
    return new latticeNode();
}

MStatus latticeNode::initialize() {
    MStatus status;
    latticeInput = host::geometryAttribute("latticeInput", "li", MFnData::kLattice, false, false, status);
    sDivisions = host::intInput("sDivisions", "sd", 2, status);
    tDivisions = host::intInput("tDivisions", "td", 2, status);
    uDivisions = host::intInput("uDivisions", "ud", 2, status);
    MFnNumericAttribute fn;
    MStatus s;
    controlPoints = fn.create("controlPoints", "cp", MFnNumericData::k3Double, 0.0, &s);
    if (s != MStatus::kSuccess)
        status = s;
    fn.setArray(true);
    latticeOutput = host::geometryAttribute("latticeOutput", "lo", MFnData::kLattice, true, false, status);
    worldLattice = host::geometryAttribute("worldLattice", "wl", MFnData::kLattice, true, true, status);
    if (status != MStatus::kSuccess)
        return status;
    status = host::addAttributes(
        {&latticeInput, &sDivisions, &tDivisions, &uDivisions, &controlPoints, &latticeOutput, &worldLattice});
    if (status != MStatus::kSuccess)
        return status;
    for (const MObject* output : {&latticeOutput, &worldLattice}) {
        status = host::affectOutput({&latticeInput, &sDivisions, &tDivisions, &uDivisions, &controlPoints}, *output);
        if (status != MStatus::kSuccess)
            return status;
    }
    return attributeAffects(host::worldMatrixAttribute(), worldLattice);
}

MStatus latticeNode::compute(const MPlug& plug, MDataBlock& block) {
    if (plug != latticeOutput && plug != worldLattice)  // elements too
        return MStatus::kUnknownParameter;

    MStatus status;
    MObject input = block.inputValue(latticeInput, &status).data();
    if (status != MStatus::kSuccess)
        return status;
    std::shared_ptr<const host::geom::Lattice> lattice;
    auto data = host::dataAs<host::LatticeData>(input);
    if (data && data->lattice().isValid())
        lattice = data->sharedWorldLattice();
    else
        lattice = std::make_shared<host::geom::Lattice>(gridLattice(block));

    status = block.outputValue(latticeOutput).set(MObject(std::make_shared<host::LatticeData>(lattice)));
    if (status != MStatus::kSuccess)
        return status;
    status = host::setFirstElement(
        block, worldLattice, MObject(std::make_shared<host::LatticeData>(lattice, host::worldMatrix(thisMObject()))));
    if (status != MStatus::kSuccess)
        return status;
    block.setClean(latticeOutput);
    block.setClean(worldLattice);
    return block.setClean(plug);
}

MStatus host::registerLatticeType() {
    return registerType(latticeNode::typeName, latticeNode::id, latticeNode::creator, latticeNode::initialize,
                        MPxNode::kDependNode, MFn::kLattice, "");
}
