#include <maya/MItMeshVertex.h>

#include "data/MeshAccess.h"

using host::toPoint;
using host::toVector;
using host::geom::MeshUV;
using host::geom::Vec3;

MItMeshVertex::MItMeshVertex(const MObject& polyObject, MStatus* status) {
    MStatus result;
    auto data = host::meshDataOf(polyObject, result);
    attach(std::move(data), result, status);
}

MItMeshVertex::MItMeshVertex(const MDagPath& polyObject, MObject& component, MStatus* status) {
    MStatus result = MStatus::kInvalidParameter;
    std::shared_ptr<const host::MeshData> data;
    if (component.isNull())
        data = host::meshDataOf(polyObject, result);
    attach(std::move(data), result, status);
}

MItMeshVertex::~MItMeshVertex() = default;

void MItMeshVertex::attach(std::shared_ptr<const host::MeshData> data, MStatus result, MStatus* status) {
    data_ = std::move(data);
    if (data_) {
        mesh_ = data_->sharedMesh();
        count_ = mesh_->numVertices();
    }
    host::setStatus(status, result);
}

bool MItMeshVertex::isDone(MStatus* status) {
    host::setStatus(status, MStatus::kSuccess);
    return !current();
}

MStatus MItMeshVertex::next() {
    if (!current())
        return MStatus::kFailure;
    ++index_;
    return MStatus::kSuccess;
}

MStatus MItMeshVertex::reset() {
    index_ = 0;
    return data_ ? MStatus::kSuccess : MStatus::kFailure;
}

int MItMeshVertex::index(MStatus* status) {
    host::setStatus(status, current() ? MStatus::kSuccess : MStatus::kFailure);
    return index_;
}

int MItMeshVertex::count(MStatus* status) {
    host::setStatus(status, data_ ? MStatus::kSuccess : MStatus::kFailure);
    return count_;
}

MStatus MItMeshVertex::setIndex(int index, int& prevIndex) {
    prevIndex = index_;
    if (index < 0 || index >= count_)
        return MStatus::kFailure;
    index_ = index;
    return MStatus::kSuccess;
}

MPoint MItMeshVertex::position(MSpace::Space space, MStatus* status) {
    if (!current()) {
        host::setStatus(status, MStatus::kFailure);
        return MPoint();
    }
    host::setStatus(status, MStatus::kSuccess);
    const Vec3& p = mesh_->point(index_);
    return toPoint(space == MSpace::kWorld ? data_->worldMap().apply(p) : p);
}

MStatus MItMeshVertex::getNormal(MVector& normal, MSpace::Space space) {
    if (!current())
        return MStatus::kFailure;
    const Vec3& n = mesh_->vertexNormal(index_);
    normal = toVector(space == MSpace::kWorld ? data_->worldMap().applyNormal(n) : n);
    return MStatus::kSuccess;
}

MStatus MItMeshVertex::getConnectedFaces(MIntArray& faceList) {
    if (!current())
        return MStatus::kFailure;
    const host::geom::IdRange faces = mesh_->vertexFaces(index_);
    faceList.hostVector().assign(faces.begin(), faces.end());
    return MStatus::kSuccess;
}

MStatus MItMeshVertex::numConnectedFaces(int& faceCount) {
    if (!current())
        return MStatus::kFailure;
    faceCount = mesh_->vertexFaces(index_).size();
    return MStatus::kSuccess;
}

MStatus MItMeshVertex::getUV(int faceId, float2& uvPoint, const MString* uvSet) {
    if (!host::isDefaultUVSet(uvSet))
        return MStatus::kInvalidParameter;
    if (!current() || faceId < 0 || faceId >= mesh_->numPolygons())
        return MStatus::kFailure;
    MeshUV uv;
    if (!mesh_->vertexUV(index_, faceId, uv))
        return MStatus::kFailure;
    uvPoint[0] = uv.u;
    uvPoint[1] = uv.v;
    return MStatus::kSuccess;
}

MStatus MItMeshVertex::getUVs(MFloatArray& uArray, MFloatArray& vArray, MIntArray& faceIds, const MString* uvSet) {
    if (!host::isDefaultUVSet(uvSet))
        return MStatus::kInvalidParameter;
    if (!current())
        return MStatus::kFailure;
    uArray.clear();
    vArray.clear();
    faceIds.clear();
    for (int f : mesh_->vertexFaces(index_)) {
        MeshUV uv;
        if (mesh_->vertexUV(index_, f, uv)) {
            uArray.append(uv.u);
            vArray.append(uv.v);
            faceIds.append(f);
        }
    }
    return MStatus::kSuccess;
}
