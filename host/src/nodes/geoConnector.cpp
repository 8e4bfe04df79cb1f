#include "nodes/geoConnector.h"

#include "data/MeshData.h"
#include "data/NurbsSurfaceData.h"
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

namespace {

void setCorner(geom::SweptTriangle& triangle, int k, const geom::Vec3& point, double u, double v) {
    triangle.previous[k] = point;
    triangle.current[k] = point;
    triangle.u[k] = u;
    triangle.v[k] = v;
}

}  // namespace

std::vector<geom::SweptTriangle> sweptTrianglesOf(const MObject& geometry) {
    std::vector<geom::SweptTriangle> triangles;
    if (auto meshData = dataAs<MeshData>(geometry)) {
        const std::shared_ptr<const geom::PolyMesh> world = meshData->worldMesh();
        const geom::PolyMesh& mesh = *world;
        const std::vector<int>& vertices = mesh.faceVertices();
        const std::vector<int>& uvIds = mesh.faceVertexUVIds();
        const std::vector<geom::MeshUV>& uvs = mesh.uvs();
        triangles.reserve(static_cast<size_t>(mesh.numTriangles()));
        for (int p = 0; p < mesh.numPolygons(); ++p) {
            const int first = mesh.faceVertexOffset(p);
            for (int k = 0; k + 2 < mesh.polygonSize(p); ++k) {
                geom::SweptTriangle triangle;
                const int corners[3] = {first, first + k + 1, first + k + 2};
                for (int c = 0; c < 3; ++c) {
                    const size_t faceVertex = static_cast<size_t>(corners[c]);
                    const int uvId = faceVertex < uvIds.size() ? uvIds[faceVertex] : -1;
                    const geom::MeshUV uv = uvId >= 0 ? uvs[static_cast<size_t>(uvId)] : geom::MeshUV();
                    setCorner(triangle, c, mesh.point(vertices[faceVertex]), uv.u, uv.v);
                }
                triangles.push_back(triangle);
            }
        }
    } else if (auto surfaceData = dataAs<NurbsSurfaceData>(geometry)) {
        for (const geom::SurfaceTriangle& cell : surfaceData->worldSurface().tessellate()) {
            geom::SweptTriangle triangle;
            for (int c = 0; c < 3; ++c)
                setCorner(triangle, c, cell.corner[c].point, cell.corner[c].u, cell.corner[c].v);
            triangles.push_back(triangle);
        }
    }
    return triangles;
}

}  // namespace host
