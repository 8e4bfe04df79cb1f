#include "nodes/mesh.h"

#include "data/MeshData.h"
#include "graph/Dag.h"
#include "graph/Scene.h"
#include "nodes/shading/ShadingAttributes.h"

#include <maya/MArrayDataBuilder.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPlug.h>

#include <memory>

const MTypeId meshNode::id(0x720020);
const char* const meshNode::typeName = "mesh";

MObject meshNode::inMesh;
MObject meshNode::outMesh;
MObject meshNode::worldMesh;
MObject meshNode::instObjGroups;

namespace {

MObject meshAttribute(const char* longName, const char* shortName, bool output, bool array, MStatus& status) {
    MFnTypedAttribute fn;
    MStatus s;
    MObject attribute = fn.create(longName, shortName, MFnData::kMesh, MObject::kNullObj, &s);
    if (s != MStatus::kSuccess)
        status = s;
    if (array)
        fn.setArray(true);
    if (output) {
        fn.setWritable(false);
        fn.setStorable(false);
    }
    return attribute;
}

}  // namespace

void* meshNode::creator() {
    return new meshNode();
}

MStatus meshNode::initialize() {
    MStatus status;
    inMesh = meshAttribute("inMesh", "i", false, false, status);
    outMesh = meshAttribute("outMesh", "o", true, false, status);
    worldMesh = meshAttribute("worldMesh", "w", true, true, status);
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
    MArrayDataHandle worldArray = block.outputArrayValue(worldMesh, &status);
    if (status != MStatus::kSuccess)
        return status;
    MArrayDataBuilder builder = worldArray.builder(&status);
    if (status != MStatus::kSuccess)
        return status;
    MDataHandle element = builder.addElement(0, &status);
    if (status != MStatus::kSuccess)
        return status;
    status = element.set(MObject(world));
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
