#include "nodes/mesh.h"

#include "data/MeshData.h"
#include "graph/Dag.h"
#include "graph/Scene.h"
#include "nodes/GeometryAttributes.h"
#include "nodes/shading/ShadingAttributes.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnAttribute.h>
#include <maya/MPlug.h>

#include <memory>

const MTypeId meshNode::id(0x720020);
const char* const meshNode::typeName = "mesh";

MObject meshNode::inMesh;
MObject meshNode::outMesh;
MObject meshNode::worldMesh;
MObject meshNode::instObjGroups;

void* meshNode::creator() {
    return new meshNode();
}

MStatus meshNode::initialize() {
    MStatus status;
    inMesh = host::geometryAttribute("inMesh", "i", MFnData::kMesh, false, false, status);
    outMesh = host::geometryAttribute("outMesh", "o", MFnData::kMesh, true, false, status);
    worldMesh = host::geometryAttribute("worldMesh", "w", MFnData::kMesh, true, true, status);
    instObjGroups = host::messageInput("instObjGroups", "iog");
    MFnAttribute(instObjGroups).setArray(true);
    if (status != MStatus::kSuccess)
        return status;
    status = host::addAttributes({&inMesh, &outMesh, &worldMesh, &instObjGroups});
    if (status != MStatus::kSuccess)
        return status;
    status = attributeAffects(inMesh, outMesh);
    if (status == MStatus::kSuccess)
        status = attributeAffects(inMesh, worldMesh);
    if (status != MStatus::kSuccess)
        return status;
    return attributeAffects(host::worldMatrixAttribute(), worldMesh);
}

MStatus meshNode::compute(const MPlug& plug, MDataBlock& block) {
    if (!(plug == outMesh) && !(plug == worldMesh))
        return MStatus::kUnknownParameter;

    MStatus status;
    MObject input = block.inputValue(inMesh, &status).data();
    if (status != MStatus::kSuccess)
        return status;
    std::shared_ptr<const host::geom::PolyMesh> mesh;
    if (auto data = host::dataAs<host::MeshData>(input))
        mesh = data->worldMesh();
    auto local = std::make_shared<host::MeshData>(mesh);
    auto world = std::make_shared<host::MeshData>(local->sharedMesh(), host::worldMatrix(thisMObject()));

    status = block.outputValue(outMesh).set(MObject(local));
    if (status != MStatus::kSuccess)
        return status;
    status = host::setFirstElement(block, worldMesh, MObject(world));
    if (status != MStatus::kSuccess)
        return status;
    block.setClean(outMesh);
    block.setClean(worldMesh);
    return block.setClean(plug);
}

MStatus host::registerMeshType() {
    return registerType(meshNode::typeName, meshNode::id, meshNode::creator, meshNode::initialize,
                        MPxNode::kDependNode, MFn::kMesh, "");
}
