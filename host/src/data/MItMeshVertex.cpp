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
        static_assert(sizeof(Vec3) == 3 * sizeof(double), "points are three packed doubles");
        static_assert(sizeof(MeshUV) == 2 * sizeof(float), "UVs are two packed floats");
        const host::geom::PolyMesh& mesh = *mesh_;
        points_ = count_ > 0 ? &mesh.points().data()->x : nullptr;
        worldNormals_ = data_->hasWorldMatrix();
        uvs_ = mesh.numUVs() > 0 ? &mesh.uvs().data()->u : nullptr;
        vertexFaceOffsets_ = mesh.vertexFaceOffsets().data();
        vertexFaces_ = mesh.vertexFaceIds().data();
        vertexFaceUVIds_ = mesh.vertexFaceUVIds().data();
    }
    host::setStatus(status, result);
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

MPoint MItMeshVertex::otherPosition(MSpace::Space space, MStatus* status) {
    if (!current()) {
        host::setStatus(status, MStatus::kFailure);
        return MPoint();
    }
    host::setStatus(status, MStatus::kSuccess);
    const Vec3& p = mesh_->point(index_);
    return toPoint(space == MSpace::kWorld ? data_->worldMap().apply(p) : p);
}

// The first normal asked for makes the mesh's vertex normals (if no one has yet) and keeps them at hand.
MStatus MItMeshVertex::otherNormal(MVector& normal, MSpace::Space space) {
    if (!normals_)
        normals_ = &mesh_->vertexNormals().data()->x;
    const Vec3& n = mesh_->vertexNormal(index_);
    normal = toVector(space == MSpace::kWorld && worldNormals_ ? data_->worldMap().applyNormal(n) : n);
    return MStatus::kSuccess;
}

bool MItMeshVertex::isDefaultUVSet(const MString* uvSet) {
    return host::isDefaultUVSet(uvSet);
}

MStatus MItMeshVertex::numConnectedFaces(int& faceCount) {
    if (!current())
        return MStatus::kFailure;
    faceCount = mesh_->vertexFaces(index_).size();
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
    for (int k = vertexFaceOffsets_[index_], last = vertexFaceOffsets_[index_ + 1]; k < last; ++k) {
        const int id = vertexFaceUVIds_[k];
        if (id >= 0) {
            uArray.append(uvs_[2 * id]);
            vArray.append(uvs_[2 * id + 1]);
            faceIds.append(vertexFaces_[k]);
        }
    }
    return MStatus::kSuccess;
}
