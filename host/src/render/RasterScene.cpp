#include "render/RasterScene.h"

#include "data/NurbsCurveData.h"
#include "graph/Scene.h"

#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlug.h>

#include <algorithm>
#include <cmath>

namespace host {

namespace {

const RasterColor kBackgroundTop{0.43f, 0.43f, 0.43f};
const RasterColor kBackgroundBottom{0.2f, 0.2f, 0.2f};
const RasterColor kCurveColor{0.95f, 0.95f, 0.88f};
constexpr double kCurveWidth = 1.6;
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

bool isShown(const std::shared_ptr<Node>& node) {
    if (!node->alive)
        return false;
    MPlug plug;
    bool visible = true;
    return !hasPlug(node, "visibility", plug) || plug.getValue(visible) != MStatus::kSuccess || visible;
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

const geom::NurbsCurve* worldCurveOf(const std::shared_ptr<Node>& node, MObject& holder) {
    MPlug plug;
    if (!hasPlug(node, "worldSpace", plug))
        return nullptr;
    MStatus status;
    MPlug element = plug.elementByLogicalIndex(0, &status);
    if (status != MStatus::kSuccess || element.getValue(holder) != MStatus::kSuccess)
        return nullptr;
    auto data = std::dynamic_pointer_cast<NurbsCurveData>(holder.impl());
    if (!data || !data->worldCurve().isValid())
        return nullptr;
    return &data->worldCurve();
}

std::vector<geom::Vec3> curvePolyline(const geom::NurbsCurve& curve) {
    double start = 0.0, end = 0.0;
    curve.knotDomain(start, end);
    std::vector<double> breaks{start};
    for (double knot : curve.knots())
        if (knot > breaks.back() && knot < end)
            breaks.push_back(knot);
    breaks.push_back(end);
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
        if (isType(node, "nurbsCurve")) {
            MObject holder;
            if (const geom::NurbsCurve* curve = worldCurveOf(node, holder))
                raster.polyline(camera, curvePolyline(*curve), kCurveColor, kCurveWidth);
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
        }
    }
    return any;
}

MMatrix cameraWorldMatrix(const std::shared_ptr<Node>& camera) {
    return MDagPath({camera}).inclusiveMatrix();
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

bool plug3(const std::shared_ptr<Node>& node, const char* name, MPlug& plug) {
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
