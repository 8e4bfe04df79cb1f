#include <maya/MItMeshPolygon.h>

#include "data/MeshAccess.h"

#include <cstddef>

using host::toPoint;
using host::toVec3;
using host::toVector;
using host::geom::MeshUV;
using host::geom::UVLookup;
using host::geom::Vec3;

// The inline UV reads see the UV list as pairs of floats.
static_assert(sizeof(MeshUV) == 2 * sizeof(float) && offsetof(MeshUV, u) == 0 && offsetof(MeshUV, v) == sizeof(float),
              "MeshUV is two packed floats");

MItMeshPolygon::MItMeshPolygon(const MObject& polyObject, MStatus* status) {
    MStatus result;
    auto data = host::meshDataOf(polyObject, result);
    attach(std::move(data), result, status);
}

MItMeshPolygon::MItMeshPolygon(const MDagPath& polyObject, MObject& component, MStatus* status) {
    MStatus result = MStatus::kInvalidParameter;
    std::shared_ptr<const host::MeshData> data;
    if (component.isNull())
        data = host::meshDataOf(polyObject, result);
    attach(std::move(data), result, status);
}

MItMeshPolygon::~MItMeshPolygon() = default;

void MItMeshPolygon::attach(std::shared_ptr<const host::MeshData> data, MStatus result, MStatus* status) {
    data_ = std::move(data);
    if (data_) {
        mesh_ = data_->sharedMesh();
        count_ = mesh_->numPolygons();
        offsets_ = mesh_->polygonOffsets().data();
        connects_ = mesh_->faceVertices().data();
        uvIds_ = mesh_->faceVertexUVIds().data();
        uvs_ = reinterpret_cast<const float*>(mesh_->uvs().data());
        areas_ = mesh_->polygonAreas().data();
    }
    host::setStatus(status, result);
}

MStatus MItMeshPolygon::worldArea(double& area) const {
    area = data_->hasWorldMatrix() ? mesh_->polygonArea(index_, data_->worldMap()) : mesh_->polygonArea(index_);
    return MStatus::kSuccess;
}

bool MItMeshPolygon::isDefaultUVSet(const MString* uvSet) {
    return host::isDefaultUVSet(uvSet);
}

MStatus MItMeshPolygon::reset() {
    index_ = 0;
    return data_ ? MStatus::kSuccess : MStatus::kFailure;
}

int MItMeshPolygon::index(MStatus* status) {
    host::setStatus(status, current() ? MStatus::kSuccess : MStatus::kFailure);
    return index_;
}

int MItMeshPolygon::count(MStatus* status) {
    host::setStatus(status, data_ ? MStatus::kSuccess : MStatus::kFailure);
    return count_;
}

MStatus MItMeshPolygon::setIndex(int index, int& prevIndex) {
    prevIndex = index_;
    if (index < 0 || index >= count_)
        return MStatus::kFailure;
    index_ = index;
    return MStatus::kSuccess;
}

int MItMeshPolygon::vertexIndex(int index, MStatus* status) {
    if (!current() || index < 0 || index >= mesh_->polygonSize(index_)) {
        host::setStatus(status, MStatus::kFailure);
        return -1;
    }
    host::setStatus(status, MStatus::kSuccess);
    return mesh_->polygonVertices(index_)[index];
}

MStatus MItMeshPolygon::getNormal(MVector& normal, MSpace::Space space) {
    if (!current())
        return MStatus::kFailure;
    const Vec3& n = mesh_->faceNormal(index_);
    normal = toVector(space == MSpace::kWorld ? data_->worldMap().applyNormal(n) : n);
    return MStatus::kSuccess;
}

MPoint MItMeshPolygon::center(MSpace::Space space, MStatus* status) {
    if (!current()) {
        host::setStatus(status, MStatus::kFailure);
        return MPoint();
    }
    host::setStatus(status, MStatus::kSuccess);
    const Vec3 c = mesh_->polygonCenter(index_);
    return toPoint(space == MSpace::kWorld ? data_->worldMap().apply(c) : c);
}

MPoint MItMeshPolygon::point(int index, MSpace::Space space, MStatus* status) {
    if (!current() || index < 0 || index >= mesh_->polygonSize(index_)) {
        host::setStatus(status, MStatus::kFailure);
        return MPoint();
    }
    host::setStatus(status, MStatus::kSuccess);
    const Vec3& p = mesh_->point(mesh_->polygonVertices(index_)[index]);
    return toPoint(space == MSpace::kWorld ? data_->worldMap().apply(p) : p);
}

bool MItMeshPolygon::hasUVs(MStatus* status) {
    host::setStatus(status, current() ? MStatus::kSuccess : MStatus::kFailure);
    return current() && mesh_->polygonHasUVs(index_);
}

MStatus MItMeshPolygon::getPointAtUV(MPoint& point, float2& uvPoint, MSpace::Space space, const MString* uvSet,
                                     double tolerance) {
    if (!host::isDefaultUVSet(uvSet))
        return MStatus::kInvalidParameter;
    if (!current())
        return MStatus::kFailure;
    Vec3 p;
    switch (mesh_->pointAtUV(index_, uvPoint[0], uvPoint[1], p, tolerance)) {
    case UVLookup::kFound:
        point = toPoint(space == MSpace::kWorld ? data_->worldMap().apply(p) : p);
        return MStatus::kSuccess;
    case UVLookup::kNoUVs:
        return MStatus::kInvalidParameter;
    case UVLookup::kOutside:
        break;
    }
    return MStatus::kFailure;
}

MStatus MItMeshPolygon::getUVAtPoint(MPoint& point, float2& uvPoint, MSpace::Space space, const MString* uvSet) {
    if (!host::isDefaultUVSet(uvSet))
        return MStatus::kInvalidParameter;
    if (!current())
        return MStatus::kFailure;
    const Vec3 q = toVec3(point);
    if (!isFinite(q))
        return MStatus::kInvalidParameter;
    MeshUV uv;
    const UVLookup found = space == MSpace::kWorld && data_->hasWorldMatrix()
                               ? mesh_->uvAtPoint(index_, q, data_->worldMap(), uv)
                               : mesh_->uvAtPoint(index_, q, uv);
    if (found != UVLookup::kFound)
        return MStatus::kInvalidParameter;
    uvPoint[0] = uv.u;
    uvPoint[1] = uv.v;
    return MStatus::kSuccess;
}
