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

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

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

namespace {

using host::SweptGeometryData;
using host::geom::PolyMesh;
using host::geom::SweptTriangle;

// How the new triangles relate to the last compute's: moved forward from them, recomputed at the same
// time (keeping their previous step), or unrelated (first compute, time going back).
enum class Step { kUnrelated, kForward, kSame };

// Whether two meshes have the same polygons and UVs (so the same fan table).
bool sameTopology(const PolyMesh& a, const PolyMesh& b) {
    return a.sharesTopology(b) || (a.polygonOffsets() == b.polygonOffsets() && a.faceVertices() == b.faceVertices() &&
                        a.faceVertexUVIds() == b.faceVertexUVIds() && a.uvs().size() == b.uvs().size() &&
                        std::equal(a.uvs().begin(), a.uvs().end(), b.uvs().begin(),
                                   [](const host::geom::MeshUV& x, const host::geom::MeshUV& y) {
                                       return x.u == y.u && x.v == y.v;
                                   }));
}

std::shared_ptr<SweptGeometryData> meshSwept(const std::shared_ptr<const PolyMesh>& current,
                                             const SweptGeometryData* last, Step step) {
    std::shared_ptr<const PolyMesh> previous = current;
    std::shared_ptr<const SweptGeometryData::MeshFans> fans;
    if (last && last->currentMesh()) {
        if (last->triangleCount() == current->numTriangles()) {
            if (step == Step::kForward)
                previous = last->currentMesh();
            else if (step == Step::kSame)
                previous = last->previousMesh();
        }
        // A mesh that only moved keeps the table of its corners.
        if (sameTopology(*last->currentMesh(), *current))
            fans = last->meshFans();
    }
    return std::make_shared<SweptGeometryData>(previous, current, fans);
}

std::shared_ptr<SweptGeometryData> surfaceSwept(const host::geom::NurbsSurface& surface,
                                                const SweptGeometryData* last, Step step) {
    std::vector<SweptTriangle> triangles;
    for (const host::geom::SurfaceTriangle& cell : surface.tessellate()) {
        SweptTriangle triangle;
        for (int c = 0; c < 3; ++c) {
            triangle.previous[c] = cell.corner[c].point;
            triangle.current[c] = cell.corner[c].point;
            triangle.u[c] = cell.corner[c].u;
            triangle.v[c] = cell.corner[c].v;
        }
        triangles.push_back(triangle);
    }
    const std::vector<SweptTriangle>* before = last ? last->triangles().get() : nullptr;
    if (before && before->size() == triangles.size() && step != Step::kUnrelated) {
        for (size_t j = 0; j < triangles.size(); ++j)
            for (int k = 0; k < 3; ++k)
                triangles[j].previous[k] =
                    step == Step::kForward ? (*before)[j].current[k] : (*before)[j].previous[k];
    }
    return std::make_shared<SweptGeometryData>(std::move(triangles));
}

}  // namespace

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

    const Step step = !computed_ ? Step::kUnrelated
                      : now > lastTime_ ? Step::kForward
                      : now == lastTime_ ? Step::kSame
                                         : Step::kUnrelated;
    std::shared_ptr<SweptGeometryData> swept;
    if (auto meshData = host::dataAs<host::MeshData>(geometry))
        swept = meshSwept(meshData->worldMesh(), last_.get(), step);
    else if (auto surfaceData = host::dataAs<host::NurbsSurfaceData>(geometry))
        swept = surfaceSwept(surfaceData->worldSurface(), last_.get(), step);
    else
        swept = std::make_shared<SweptGeometryData>(std::vector<SweptTriangle>());
    last_ = swept;
    lastTime_ = now;
    computed_ = true;

    status = block.outputValue(sweptGeometry).set(MObject(swept));
    if (status != MStatus::kSuccess)
        return status;
    return block.setClean(plug);
}

namespace host {

MStatus registerGeoConnectorType() {
    return registerType(geoConnectorNode::typeName, geoConnectorNode::id, geoConnectorNode::creator,
                        geoConnectorNode::initialize, MPxNode::kDependNode, MFn::kGeoConnector, "");
}

}  // namespace host
