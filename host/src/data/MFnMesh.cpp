#include <maya/MFnMesh.h>

#include "data/MeshAccess.h"

#include <utility>
#include <vector>

using host::MeshData;
using host::toPoint;
using host::toVec3;
using host::toVector;
using host::geom::MeshUV;
using host::geom::PolyMesh;
using host::geom::Vec3;

MFnMesh::MFnMesh() = default;
MFnMesh::~MFnMesh() = default;

MFnMesh::MFnMesh(const MObject& object, MStatus* status) {
    host::setStatus(status, setObject(object));
}

MFnMesh::MFnMesh(const MDagPath& path, MStatus* status) {
    host::setStatus(status, setObject(path));
}

MStatus MFnMesh::setObject(const MObject& object) {
    MStatus status;
    data_ = host::meshDataOf(object, status);
    obj_ = data_ ? object : MObject();
    return status;
}

MStatus MFnMesh::setObject(const MDagPath& path) {
    MStatus status;
    data_ = host::meshDataOf(path, status);
    obj_ = data_ ? path.node() : MObject();
    return status;
}

MObject MFnMesh::create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                        const MIntArray& polygonCounts, const MIntArray& polygonConnects, MObject& parentOrOwner,
                        MStatus* status) {
    if (numVertices < 0 || static_cast<unsigned>(numVertices) != vertexArray.length() || numPolygons < 0 ||
        static_cast<unsigned>(numPolygons) != polygonCounts.length()) {
        host::setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    return createMesh(vertexArray, polygonCounts, polygonConnects, nullptr, nullptr, parentOrOwner, status);
}

MObject MFnMesh::create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                        const MIntArray& polygonCounts, const MIntArray& polygonConnects, const MFloatArray& uArray,
                        const MFloatArray& vArray, MObject& parentOrOwner, MStatus* status) {
    if (numVertices < 0 || static_cast<unsigned>(numVertices) != vertexArray.length() || numPolygons < 0 ||
        static_cast<unsigned>(numPolygons) != polygonCounts.length() || uArray.length() != vArray.length()) {
        host::setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    return createMesh(vertexArray, polygonCounts, polygonConnects, &uArray, &vArray, parentOrOwner, status);
}

MObject MFnMesh::createMesh(const MFloatPointArray& vertexArray, const MIntArray& polygonCounts,
                            const MIntArray& polygonConnects, const MFloatArray* uArray, const MFloatArray* vArray,
                            MObject& parentOrOwner, MStatus* status) {
    std::shared_ptr<MeshData> owner;
    if (!parentOrOwner.isNull()) {
        owner = host::dataAs<MeshData>(parentOrOwner);
        if (!owner) {
            host::setStatus(status, MStatus::kInvalidParameter);
            return MObject();
        }
    }
    std::vector<Vec3> points;
    points.reserve(vertexArray.length());
    for (unsigned i = 0; i < vertexArray.length(); ++i) {
        const MFloatPoint& p = vertexArray[i];
        points.push_back(p.w == 1.0f || p.w == 0.0f ? Vec3{p.x, p.y, p.z} : Vec3{p.x / p.w, p.y / p.w, p.z / p.w});
    }
    std::vector<MeshUV> uvs;
    if (uArray)
        for (unsigned i = 0; i < uArray->length(); ++i)
            uvs.push_back({(*uArray)[i], (*vArray)[i]});
    PolyMesh mesh(std::move(points), polygonCounts.hostVector(), polygonConnects.hostVector(), std::move(uvs), {});
    if (!mesh.isValid()) {
        host::setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    auto shared = std::make_shared<const PolyMesh>(std::move(mesh));
    MObject result = parentOrOwner;
    if (owner) {
        owner->setMesh(std::move(shared));
    } else {
        result = MObject(std::make_shared<MeshData>(shared));
    }
    data_ = host::dataAs<MeshData>(result);
    obj_ = result;
    host::setStatus(status, MStatus::kSuccess);
    return result;
}

MStatus MFnMesh::assignUVs(const MIntArray& uvCounts, const MIntArray& uvIds, const MString* uvSet) {
    if (!data_)
        return MStatus::kFailure;
    auto owner = host::dataAs<MeshData>(obj_);
    if (!owner || !host::isDefaultUVSet(uvSet))
        return MStatus::kInvalidParameter;
    const PolyMesh& m = owner->mesh();
    if (uvCounts.length() != static_cast<unsigned>(m.numPolygons()))
        return MStatus::kInvalidParameter;
    std::vector<int> ids(m.numFaceVertices(), -1);
    unsigned next = 0;
    for (int p = 0; p < m.numPolygons(); ++p) {
        const int n = uvCounts[p];
        if (n == 0)
            continue;
        if (n != m.polygonSize(p) || next + n > uvIds.length())
            return MStatus::kInvalidParameter;
        for (int k = 0; k < n; ++k)
            ids[m.faceVertexOffset(p) + k] = uvIds[next++];
    }
    if (next != uvIds.length())
        return MStatus::kInvalidParameter;
    std::vector<int> counts(m.numPolygons());
    for (int p = 0; p < m.numPolygons(); ++p)
        counts[p] = m.polygonSize(p);
    PolyMesh mesh(m.points(), std::move(counts), m.faceVertices(), m.uvs(), std::move(ids));
    if (!mesh.isValid())
        return MStatus::kInvalidParameter;
    owner->setMesh(std::make_shared<const PolyMesh>(std::move(mesh)));
    return MStatus::kSuccess;
}

int MFnMesh::numVertices(MStatus* status) const {
    host::setStatus(status, data_ ? MStatus::kSuccess : MStatus::kFailure);
    return data_ ? data_->mesh().numVertices() : 0;
}

int MFnMesh::numPolygons(MStatus* status) const {
    host::setStatus(status, data_ ? MStatus::kSuccess : MStatus::kFailure);
    return data_ ? data_->mesh().numPolygons() : 0;
}

int MFnMesh::numFaceVertices(MStatus* status) const {
    host::setStatus(status, data_ ? MStatus::kSuccess : MStatus::kFailure);
    return data_ ? data_->mesh().numFaceVertices() : 0;
}

int MFnMesh::numUVs(MStatus* status) const {
    host::setStatus(status, data_ ? MStatus::kSuccess : MStatus::kFailure);
    return data_ ? data_->mesh().numUVs() : 0;
}

MStatus MFnMesh::getPoints(MPointArray& points, MSpace::Space space) const {
    if (!data_)
        return MStatus::kFailure;
    const PolyMesh& m = data_->mesh();
    const bool world = space == MSpace::kWorld;
    points.setLength(m.numVertices());
    for (int v = 0; v < m.numVertices(); ++v)
        points[v] = toPoint(world ? data_->worldMap().apply(m.point(v)) : m.point(v));
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPoint(int vertexId, MPoint& point, MSpace::Space space) const {
    if (!data_)
        return MStatus::kFailure;
    const PolyMesh& m = data_->mesh();
    if (vertexId < 0 || vertexId >= m.numVertices())
        return MStatus::kInvalidParameter;
    point = toPoint(space == MSpace::kWorld ? data_->worldMap().apply(m.point(vertexId)) : m.point(vertexId));
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPolygonVertices(int polygonId, MIntArray& vertexList) const {
    if (!data_)
        return MStatus::kFailure;
    const PolyMesh& m = data_->mesh();
    if (polygonId < 0 || polygonId >= m.numPolygons())
        return MStatus::kInvalidParameter;
    const host::geom::IdRange ids = m.polygonVertices(polygonId);
    vertexList.hostVector().assign(ids.begin(), ids.end());
    return MStatus::kSuccess;
}

int MFnMesh::polygonVertexCount(int polygonId, MStatus* status) const {
    if (!data_ || polygonId < 0 || polygonId >= data_->mesh().numPolygons()) {
        host::setStatus(status, data_ ? MStatus::kInvalidParameter : MStatus::kFailure);
        return 0;
    }
    host::setStatus(status, MStatus::kSuccess);
    return data_->mesh().polygonSize(polygonId);
}

MStatus MFnMesh::getPolygonNormal(int polygonId, MVector& normal, MSpace::Space space) const {
    if (!data_)
        return MStatus::kFailure;
    const PolyMesh& m = data_->mesh();
    if (polygonId < 0 || polygonId >= m.numPolygons())
        return MStatus::kInvalidParameter;
    const Vec3& n = m.faceNormal(polygonId);
    normal = toVector(space == MSpace::kWorld ? data_->worldMap().applyNormal(n) : n);
    return MStatus::kSuccess;
}

MStatus MFnMesh::getUVs(MFloatArray& uArray, MFloatArray& vArray, const MString* uvSet) const {
    if (!data_)
        return MStatus::kFailure;
    if (!host::isDefaultUVSet(uvSet))
        return MStatus::kInvalidParameter;
    const std::vector<MeshUV>& uvs = data_->mesh().uvs();
    uArray.setLength(static_cast<unsigned>(uvs.size()));
    vArray.setLength(static_cast<unsigned>(uvs.size()));
    for (size_t i = 0; i < uvs.size(); ++i) {
        uArray[static_cast<unsigned>(i)] = uvs[i].u;
        vArray[static_cast<unsigned>(i)] = uvs[i].v;
    }
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPolygonUVid(int polygonId, int vertexIndex, int& uvId, const MString* uvSet) const {
    if (!data_)
        return MStatus::kFailure;
    const PolyMesh& m = data_->mesh();
    if (!host::isDefaultUVSet(uvSet) || polygonId < 0 || polygonId >= m.numPolygons() || vertexIndex < 0 ||
        vertexIndex >= m.polygonSize(polygonId))
        return MStatus::kInvalidParameter;
    const int id = m.polygonUVIds(polygonId)[vertexIndex];
    if (id < 0)
        return MStatus::kFailure;
    uvId = id;
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPolygonUV(int polygonId, int vertexIndex, float& u, float& v, const MString* uvSet) const {
    int id = -1;
    const MStatus status = getPolygonUVid(polygonId, vertexIndex, id, uvSet);
    if (status != MStatus::kSuccess)
        return status;
    u = data_->mesh().uvs()[id].u;
    v = data_->mesh().uvs()[id].v;
    return MStatus::kSuccess;
}

MStatus MFnMesh::getClosestPointAndNormal(const MPoint& toThisPoint, MPoint& theClosestPoint, MVector& theNormal,
                                          MSpace::Space space, int* closestPolygon) const {
    if (closestPolygon)
        *closestPolygon = -1;
    if (!data_)
        return MStatus::kFailure;
    const bool world = space == MSpace::kWorld;
    const Vec3 q = toVec3(toThisPoint);
    const host::geom::MeshClosestPoint r = world ? data_->closestPointWorld(q) : data_->mesh().closestPoint(q);
    if (!r.found)
        return MStatus::kFailure;
    const Vec3& n = data_->mesh().faceNormal(r.polygon);
    theClosestPoint = toPoint(r.point);
    theNormal = toVector(world ? data_->worldMap().applyNormal(n) : n);
    if (closestPolygon)
        *closestPolygon = r.polygon;
    return MStatus::kSuccess;
}

MStatus MFnMesh::getClosestPoint(const MPoint& toThisPoint, MPoint& theClosestPoint, MSpace::Space space,
                                 int* closestPolygon) const {
    MVector normal;
    return getClosestPointAndNormal(toThisPoint, theClosestPoint, normal, space, closestPolygon);
}
