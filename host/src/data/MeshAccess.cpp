#include "data/MeshAccess.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

namespace host {

namespace {

bool isMeshShape(const MObject& object) {
    return object.apiType() == MFn::kMesh && object.hasFn(MFn::kDependencyNode);
}

std::shared_ptr<const MeshData> shapeWorldMesh(const MObject& shape) {
    MFnDependencyNode fn(shape);
    MStatus status;
    MPlug world = fn.findPlug("worldMesh", &status);
    MObject value;
    if (status == MStatus::kSuccess) {
        MPlug element = world.elementByLogicalIndex(0, &status);
        if (status == MStatus::kSuccess)
            element.getValue(value);
    }
    if (auto data = dataAs<MeshData>(value))
        return data;
    return std::make_shared<const MeshData>();
}

}  // namespace

std::shared_ptr<const MeshData> meshDataOf(const MObject& object, MStatus& status) {
    status = MStatus::kSuccess;
    if (object.apiType() == MFn::kMeshData)
        if (auto data = dataAs<MeshData>(object))
            return data;
    if (isMeshShape(object))
        return shapeWorldMesh(object);
    status = MStatus::kInvalidParameter;
    return nullptr;
}

std::shared_ptr<const MeshData> meshDataOf(const MDagPath& path, MStatus& status) {
    status = MStatus::kSuccess;
    MDagPath shapePath = path;
    MObject node = shapePath.extendToShape() == MStatus::kSuccess ? shapePath.node() : MObject();
    if (!isMeshShape(node)) {
        status = MStatus::kInvalidParameter;
        return nullptr;
    }
    std::shared_ptr<const MeshData> data = shapeWorldMesh(node);
    const MMatrix matrix = shapePath.inclusiveMatrix();
    if (data->worldMatrix() == matrix)
        return data;  // its world-space caches serve this path too
    return std::make_shared<const MeshData>(data->sharedMesh(), matrix);
}

bool isDefaultUVSet(const MString* uvSet) {
    return !uvSet || uvSet->length() == 0 || *uvSet == "map1";
}

}  // namespace host
