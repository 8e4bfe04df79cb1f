#include "render/RasterScene.h"

#include "data/MeshData.h"
#include "data/NurbsCurveData.h"
#include "data/NurbsSurfaceData.h"
#include "graph/Dag.h"
#include "graph/Scene.h"

#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlug.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>

namespace host {

namespace {

const RasterColor kBackgroundTop{0.43f, 0.43f, 0.43f};
const RasterColor kBackgroundBottom{0.2f, 0.2f, 0.2f};
const RasterColor kCurveColor{0.95f, 0.95f, 0.88f};
const RasterColor kShapeColor{0.62f, 0.62f, 0.62f};
const RasterColor kWireColor{0.08f, 0.09f, 0.16f};
constexpr double kCurveWidth = 1.6;
constexpr double kWireWidth = 1.25;
constexpr double kWireBias = 1e-3;
constexpr int kPiecesPerSpan = 24;

bool hasPlug(const std::shared_ptr<Node>& node, const char* name, MPlug& plug) {
    Attribute* attribute = node->findAttribute(name);
    if (!attribute)
        return false;
    plug = plugOf(node, attribute);
    return true;
}

double numberOr(const std::shared_ptr<Node>& node, const char* name, double fallback) {
    MPlug plug;
    double value = fallback;
    if (!hasPlug(node, name, plug) || plug.getValue(value) != MStatus::kSuccess || !std::isfinite(value))
        return fallback;
    return value;
}

// Alive, and neither it nor a transform above it has its "visibility" off.
bool isShown(const std::shared_ptr<Node>& node) {
    if (!node->alive)
        return false;
    for (std::shared_ptr<Node> at = node; at; at = dagParent(*at)) {
        MPlug plug;
        bool visible = true;
        if (hasPlug(at, "visibility", plug) && plug.getValue(visible) == MStatus::kSuccess && !visible)
            return false;
    }
    return true;
}

bool isType(const std::shared_ptr<Node>& node, const char* typeName) {
    return node->type && node->type->name == typeName;
}

// The node's per-particle vectors or doubles, shared with the data (no copy); empty when it has none.
MVectorArray vectorsOf(const std::shared_ptr<Node>& node, const char* name) {
    MPlug plug;
    MObject data;
    if (!hasPlug(node, name, plug) || plug.getValue(data) != MStatus::kSuccess)
        return MVectorArray();
    MStatus status;
    MFnVectorArrayData fn(data, &status);
    return status == MStatus::kSuccess ? fn.array() : MVectorArray();
}

MDoubleArray doublesOf(const std::shared_ptr<Node>& node, const char* name) {
    MPlug plug;
    MObject data;
    if (!hasPlug(node, name, plug) || plug.getValue(data) != MStatus::kSuccess)
        return MDoubleArray();
    MStatus status;
    MFnDoubleArrayData fn(data, &status);
    return status == MStatus::kSuccess ? fn.array() : MDoubleArray();
}

void drawParticles(Raster& raster, const RasterCamera& camera, const std::shared_ptr<Node>& node) {
    const MVectorArray positions = vectorsOf(node, "position");
    const MVectorArray colors = vectorsOf(node, "rgbPP");
    const MDoubleArray opacities = doublesOf(node, "opacityPP");
    RasterParticles batch;
    batch.positions = positions.hostVector().data();
    batch.count = positions.length();
    batch.colors = colors.hostVector().data();
    batch.colorCount = colors.length();
    batch.opacities = opacities.hostVector().data();
    batch.opacityCount = opacities.length();
    const int renderType = static_cast<int>(numberOr(node, "particleRenderType", 0.0));
    if (renderType == 4 || renderType == 7 || renderType == 8)
        batch.radius = std::max(numberOr(node, "radius", 1.0), 1e-6);
    else
        batch.pointSize = std::clamp(numberOr(node, "pointSize", 2.0), 1.0, 64.0);
    raster.particles(camera, batch);
}

// The data of element 0 of a world-space output array, held by holder; null when it is not of type T.
template <typename T>
std::shared_ptr<T> worldDataOf(const std::shared_ptr<Node>& node, const char* name, MObject& holder) {
    MPlug plug;
    if (!hasPlug(node, name, plug))
        return nullptr;
    MStatus status;
    MPlug element = plug.elementByLogicalIndex(0, &status);
    if (status != MStatus::kSuccess || element.getValue(holder) != MStatus::kSuccess)
        return nullptr;
    return std::dynamic_pointer_cast<T>(holder.impl());
}

const geom::NurbsCurve* worldCurveOf(const std::shared_ptr<Node>& node, MObject& holder) {
    auto data = worldDataOf<NurbsCurveData>(node, "worldSpace", holder);
    return data && data->worldCurve().isValid() ? &data->worldCurve() : nullptr;
}

std::shared_ptr<const geom::PolyMesh> worldMeshOf(const std::shared_ptr<Node>& node) {
    MObject holder;
    auto data = worldDataOf<MeshData>(node, "worldMesh", holder);
    return data && data->mesh().isValid() ? data->worldMesh() : nullptr;
}

const geom::NurbsSurface* worldSurfaceOf(const std::shared_ptr<Node>& node, MObject& holder) {
    auto data = worldDataOf<NurbsSurfaceData>(node, "worldSpace", holder);
    return data && data->worldSurface().isValid() ? &data->worldSurface() : nullptr;
}

void drawMesh(Raster& raster, const RasterCamera& camera, const geom::PolyMesh& mesh) {
    for (int t = 0; t < mesh.numTriangles(); ++t) {
        const geom::FanTriangle triangle = mesh.triangle(t);
        const geom::IdRange corners = mesh.polygonVertices(triangle.polygon);
        raster.triangle(camera, mesh.point(corners[0]), mesh.point(corners[triangle.k + 1]),
                        mesh.point(corners[triangle.k + 2]), kShapeColor);
    }
    // Each edge once, however many polygons share it.
    std::unordered_set<std::uint64_t> drawn;
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        const geom::IdRange corners = mesh.polygonVertices(p);
        for (int k = 0; k < corners.size(); ++k) {
            const int a = corners[k], b = corners[(k + 1) % corners.size()];
            const std::uint64_t key = static_cast<std::uint64_t>(std::min(a, b)) << 32 | static_cast<std::uint32_t>(std::max(a, b));
            if (drawn.insert(key).second)
                raster.segment(camera, mesh.point(a), mesh.point(b), kWireColor, kWireWidth, kWireBias);
        }
    }
}

// The distinct knots of a direction inside its domain, ends included.
std::vector<double> spanBreaks(const std::vector<double>& knots, double start, double end) {
    std::vector<double> breaks{start};
    for (double knot : knots)
        if (knot > breaks.back() && knot < end)
            breaks.push_back(knot);
    breaks.push_back(end);
    return breaks;
}

void drawSurface(Raster& raster, const RasterCamera& camera, const geom::NurbsSurface& surface) {
    for (const geom::SurfaceTriangle& t : surface.tessellate())
        raster.triangle(camera, t.corner[0].point, t.corner[1].point, t.corner[2].point, kShapeColor);
    double u0 = 0.0, u1 = 0.0, v0 = 0.0, v1 = 0.0;
    surface.knotDomain(u0, u1, v0, v1);
    const std::vector<double> us = spanBreaks(surface.knotsInU(), u0, u1);
    const std::vector<double> vs = spanBreaks(surface.knotsInV(), v0, v1);
    auto isoparm = [&](bool alongV, double fixed, const std::vector<double>& breaks) {
        std::vector<geom::Vec3> points;
        for (size_t span = 1; span < breaks.size(); ++span)
            for (int i = span == 1 ? 0 : 1; i <= kPiecesPerSpan; ++i) {
                const double t = breaks[span - 1] + (breaks[span] - breaks[span - 1]) * i / kPiecesPerSpan;
                points.push_back(alongV ? surface.pointAt(fixed, t) : surface.pointAt(t, fixed));
            }
        raster.polyline(camera, points, kWireColor, kWireWidth, kWireBias);
    };
    for (double u : us)
        isoparm(true, u, vs);
    for (double v : vs)
        isoparm(false, v, us);
}

std::vector<geom::Vec3> curvePolyline(const geom::NurbsCurve& curve) {
    double start = 0.0, end = 0.0;
    curve.knotDomain(start, end);
    const std::vector<double> breaks = spanBreaks(curve.knots(), start, end);
    const int pieces = curve.degree() == 1 ? 1 : kPiecesPerSpan;
    std::vector<geom::Vec3> points{curve.pointAt(start)};
    for (size_t span = 1; span < breaks.size(); ++span)
        for (int i = 1; i <= pieces; ++i)
            points.push_back(curve.pointAt(breaks[span - 1] + (breaks[span] - breaks[span - 1]) * i / pieces));
    return points;
}

void grow(geom::Vec3& lo, geom::Vec3& hi, const geom::Vec3& p, bool& any) {
    if (!geom::isFinite(p))
        return;
    if (!any) {
        lo = hi = p;
        any = true;
        return;
    }
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
}

}  // namespace

void drawScene(Raster& raster, const RasterCamera& camera) {
    raster.clear(kBackgroundTop, kBackgroundBottom);
    // Copy the list: reading plugs may evaluate nodes, which must not disturb the iteration.
    const std::vector<std::shared_ptr<Node>> nodes = sceneNodes();
    for (const auto& node : nodes) {
        if (!isShown(node))
            continue;
        MObject holder;
        if (isType(node, "nurbsCurve")) {
            if (const geom::NurbsCurve* curve = worldCurveOf(node, holder))
                raster.polyline(camera, curvePolyline(*curve), kCurveColor, kCurveWidth);
        } else if (isType(node, "mesh")) {
            if (auto mesh = worldMeshOf(node))
                drawMesh(raster, camera, *mesh);
        } else if (isType(node, "nurbsSurface")) {
            if (const geom::NurbsSurface* surface = worldSurfaceOf(node, holder))
                drawSurface(raster, camera, *surface);
        }
    }
    for (const auto& node : nodes)
        if (isShown(node) && isType(node, "particle"))
            drawParticles(raster, camera, node);
}

bool sceneBounds(geom::Vec3& lo, geom::Vec3& hi) {
    bool any = false;
    const std::vector<std::shared_ptr<Node>> nodes = sceneNodes();
    for (const auto& node : nodes) {
        if (!isShown(node))
            continue;
        if (isType(node, "particle")) {
            const MVectorArray positions = vectorsOf(node, "position");
            for (const MVector& p : positions.hostVector())
                grow(lo, hi, {p.x, p.y, p.z}, any);
        } else if (isType(node, "nurbsCurve")) {
            MObject holder;
            if (const geom::NurbsCurve* curve = worldCurveOf(node, holder))
                for (const geom::Vec3& p : curve->cvs())
                    grow(lo, hi, p, any);
        } else if (isType(node, "mesh")) {
            if (auto mesh = worldMeshOf(node))
                for (const geom::Vec3& p : mesh->points())
                    grow(lo, hi, p, any);
        } else if (isType(node, "nurbsSurface")) {
            MObject holder;
            if (const geom::NurbsSurface* surface = worldSurfaceOf(node, holder))
                for (const geom::Vec3& p : surface->cvs())
                    grow(lo, hi, p, any);
        }
    }
    return any;
}

MMatrix cameraWorldMatrix(const std::shared_ptr<Node>& camera) {
    return camera ? worldMatrix(*camera) : MMatrix();
}

RasterCamera::Lens cameraLens(const std::shared_ptr<Node>& camera) {
    RasterCamera::Lens lens;
    lens.focalLength = numberOr(camera, "focalLength", lens.focalLength);
    lens.horizontalAperture = numberOr(camera, "horizontalFilmAperture", lens.horizontalAperture);
    lens.verticalAperture = numberOr(camera, "verticalFilmAperture", lens.verticalAperture);
    lens.nearClip = numberOr(camera, "nearClipPlane", lens.nearClip);
    if (!(lens.focalLength > 0.0) || !(lens.horizontalAperture > 0.0) || !(lens.verticalAperture > 0.0))
        lens = RasterCamera::Lens();
    return lens;
}

namespace {

// The node placing a camera: the transform above a camera shape (or the node itself).
bool plug3(const std::shared_ptr<Node>& camera, const char* name, MPlug& plug) {
    std::shared_ptr<Node> parent = camera ? dagParent(*camera) : nullptr;
    const std::shared_ptr<Node>& node = camera && isShape(*camera) && parent ? parent : camera;
    return hasPlug(node, name, plug) && plug.numChildren() == 3;
}

}  // namespace

bool placeCamera(const std::shared_ptr<Node>& camera, const geom::Vec3& eye, const double rotate[3]) {
    MPlug translate, rotation;
    if (!plug3(camera, "translate", translate) || !plug3(camera, "rotate", rotation))
        return false;
    for (unsigned i = 0; i < 3; ++i) {
        translate.child(i).setValue(eye[static_cast<int>(i)]);
        rotation.child(i).setValue(rotate[i]);
    }
    return true;
}

void cameraPlacement(const std::shared_ptr<Node>& camera, geom::Vec3& eye, double rotate[3]) {
    MPlug translate, rotation;
    double t[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < 3; ++i)
        rotate[i] = 0.0;
    if (plug3(camera, "translate", translate))
        for (unsigned i = 0; i < 3; ++i)
            translate.child(i).getValue(t[i]);
    if (plug3(camera, "rotate", rotation))
        for (unsigned i = 0; i < 3; ++i)
            rotation.child(i).getValue(rotate[i]);
    eye = {t[0], t[1], t[2]};
}

bool fitCamera(const std::shared_ptr<Node>& camera, int width, int height) {
    geom::Vec3 lo, hi;
    if (!sceneBounds(lo, hi))
        return false;
    geom::Vec3 eye;
    double rotate[3];
    cameraPlacement(camera, eye, rotate);
    const geom::Vec3 centre = (lo + hi) * 0.5;
    const double radius = std::max(0.5 * geom::length(hi - lo), 0.5) * 1.05;
    return placeCamera(camera, RasterCamera::framingEye(centre, radius, rotate, width, height, cameraLens(camera)),
                       rotate);
}

}  // namespace host
