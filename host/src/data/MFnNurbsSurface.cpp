#include <maya/MFnNurbsSurface.h>

#include "data/NurbsSurfaceData.h"
#include "data/WorldPoints.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

#include <cmath>
#include <utility>
#include <vector>

using host::NurbsSurfaceData;
using host::geom::NurbsSurface;
using host::geom::Vec3;

namespace {

inline void report(MStatus* status, MStatus::MStatusCode code) {
    if (status)
        *status = code;
}

inline MPoint toPoint(const Vec3& v) {
    return MPoint(v.x, v.y, v.z);
}

// The surface data of a "nurbsSurface" shape's output (plug name, element 0 when it is an array),
// pulled now. Null when it has none.
MObject shapeOutput(const MObject& shape, const char* name) {
    MFnDependencyNode fn(shape);
    MStatus status;
    MPlug plug = fn.findPlug(name, &status);
    if (status != MStatus::kSuccess)
        return MObject();
    if (plug.isArray()) {
        plug = plug.elementByLogicalIndex(0, &status);
        if (status != MStatus::kSuccess)
            return MObject();
    }
    MObject data;
    if (plug.getValue(data) != MStatus::kSuccess)
        return MObject();
    return data;
}

bool isSurfaceShape(const MObject& object) {
    return object.apiType() == MFn::kNurbsSurface && object.hasFn(MFn::kDependencyNode);
}

MFnNurbsSurface::Form toForm(NurbsSurface::Form form) {
    switch (form) {
        case NurbsSurface::kOpen: return MFnNurbsSurface::kOpen;
        case NurbsSurface::kClosed: return MFnNurbsSurface::kClosed;
        case NurbsSurface::kPeriodic: return MFnNurbsSurface::kPeriodic;
        default: return MFnNurbsSurface::kInvalid;
    }
}

// The value of a query on a valid surface, else zero with kFailure.
template <class Query>
auto ask(const NurbsSurface* surface, MStatus* status, Query query) -> decltype(query(*surface)) {
    report(status, surface ? MStatus::kSuccess : MStatus::kFailure);
    return surface ? query(*surface) : decltype(query(*surface)){};
}

}  // namespace

MFnNurbsSurface::MFnNurbsSurface(const MObject& surface, MStatus* status) {
    MStatus result = setObject(surface);
    if (status)
        *status = result;
}

MFnNurbsSurface::MFnNurbsSurface(const MDagPath& path, MStatus* status) {
    MStatus result = setObject(path);
    if (status)
        *status = result;
}

MStatus MFnNurbsSurface::setObject(const MObject& object) {
    obj_ = MObject();
    data_ = nullptr;
    held_ = MObject();
    if (object.apiType() == MFn::kNurbsSurfaceData) {
        auto data = host::dataAs<NurbsSurfaceData>(object);
        if (!data)
            return MStatus::kInvalidParameter;
        obj_ = object;
        data_ = data.get();
        return MStatus::kSuccess;
    }
    if (isSurfaceShape(object)) {
        obj_ = object;
        held_ = shapeOutput(object, "worldSpace");
        data_ = host::dataAs<NurbsSurfaceData>(held_).get();
        return MStatus::kSuccess;
    }
    return MStatus::kInvalidParameter;
}

MStatus MFnNurbsSurface::setObject(const MDagPath& path) {
    MStatus status;
    MDagPath shapePath(path);
    shapePath.extendToShape();
    const MObject shape = shapePath.node(&status);
    if (status != MStatus::kSuccess || !isSurfaceShape(shape)) {
        setObject(MObject());
        return MStatus::kInvalidParameter;
    }
    setObject(shape);
    const MMatrix world = shapePath.inclusiveMatrix();
    auto local = host::dataAs<NurbsSurfaceData>(shapeOutput(shape, "local"));
    held_ = local ? MObject(std::make_shared<NurbsSurfaceData>(local->sharedSurface(), world)) : MObject();
    data_ = host::dataAs<NurbsSurfaceData>(held_).get();
    return MStatus::kSuccess;
}

// The surface queries work on: null when the set holds no valid surface.
const NurbsSurface* MFnNurbsSurface::surfaceIn(MSpace::Space space) const {
    if (!data_)
        return nullptr;
    const NurbsSurface& surface = space == MSpace::kWorld ? data_->worldSurface() : data_->surface();
    return surface.isValid() ? &surface : nullptr;
}

MObject MFnNurbsSurface::create(const MPointArray& controlVertices, const MDoubleArray& uKnotSequences,
                                const MDoubleArray& vKnotSequences, unsigned degreeInU, unsigned degreeInV,
                                Form formU, Form formV, bool createRational, MObject& parentOrOwner,
                                MStatus* status) {
    std::shared_ptr<NurbsSurfaceData> owner;
    if (!parentOrOwner.isNull()) {
        owner = host::dataAs<NurbsSurfaceData>(parentOrOwner);
        if (!owner) {
            report(status, MStatus::kInvalidParameter);
            return MObject();
        }
    }
    auto knownForm = [](Form f) { return f == kOpen || f == kClosed || f == kPeriodic; };
    if (!knownForm(formU) || !knownForm(formV)) {
        report(status, MStatus::kInvalidParameter);
        return MObject();
    }
    std::vector<Vec3> cvs;
    cvs.reserve(controlVertices.length());
    for (unsigned i = 0; i < controlVertices.length(); ++i) {
        const MPoint& p = controlVertices[i];
        if (createRational && p.w != 1.0) {
            report(status, MStatus::kInvalidParameter);
            return MObject();
        }
        cvs.push_back({p.x, p.y, p.z});
    }
    std::vector<double> knotsU(uKnotSequences.hostVector().begin(), uKnotSequences.hostVector().end());
    std::vector<double> knotsV(vKnotSequences.hostVector().begin(), vKnotSequences.hostVector().end());
    // The CV counts follow from the knot counts (n = knots - degree + 1); absurd degrees fail validation.
    const int du = degreeInU > 1000u ? 0 : static_cast<int>(degreeInU);
    const int dv = degreeInV > 1000u ? 0 : static_cast<int>(degreeInV);
    const int nu = static_cast<int>(knotsU.size()) - du + 1;
    const int nv = static_cast<int>(knotsV.size()) - dv + 1;
    NurbsSurface surface(du, dv, nu, nv, std::move(cvs), std::move(knotsU), std::move(knotsV));
    auto fits = [](Form asked, NurbsSurface::Form built) {
        return asked == kOpen || (asked == kClosed && built != NurbsSurface::kOpen) ||
               (asked == kPeriodic && built == NurbsSurface::kPeriodic);
    };
    if (!surface.isValid() || !fits(formU, surface.formInU()) || !fits(formV, surface.formInV())) {
        report(status, MStatus::kInvalidParameter);
        return MObject();
    }
    MObject result;
    if (owner) {
        owner->setSurface(std::move(surface));
        result = parentOrOwner;
    } else {
        result = host::makeNurbsSurfaceData(std::move(surface));
    }
    setObject(result);
    report(status, MStatus::kSuccess);
    return result;
}

double MFnNurbsSurface::area(MSpace::Space space, double tolerance, MStatus* status) const {
    const NurbsSurface* surface = surfaceIn(space);
    report(status, surface ? MStatus::kSuccess : MStatus::kFailure);
    return surface ? surface->area(tolerance) : 0.0;
}

MVector MFnNurbsSurface::normal(double u, double v, MSpace::Space space, MStatus* status) const {
    const NurbsSurface* surface = surfaceIn(space);
    if (!surface || std::isnan(u) || std::isnan(v)) {
        report(status, surface ? MStatus::kInvalidParameter : MStatus::kFailure);
        return MVector(0.0, 0.0, 0.0);
    }
    Vec3 n = surface->normal(u, v);
    if (space == MSpace::kWorld && host::isMirroring(data_->worldMatrix()))
        n = -n;
    report(status, n == Vec3{} ? MStatus::kFailure : MStatus::kSuccess);
    return MVector(n.x, n.y, n.z);
}

MStatus MFnNurbsSurface::getPointAtParam(double u, double v, MPoint& point, MSpace::Space space) const {
    const NurbsSurface* surface = surfaceIn(space);
    if (!surface)
        return MStatus::kFailure;
    if (std::isnan(u) || std::isnan(v))
        return MStatus::kInvalidParameter;
    point = toPoint(surface->pointAt(u, v));
    return MStatus::kSuccess;
}

MStatus MFnNurbsSurface::getCV(int indexU, int indexV, MPoint& point, MSpace::Space space) const {
    const NurbsSurface* surface = surfaceIn(space);
    if (!surface)
        return MStatus::kFailure;
    Vec3 cv;
    if (!surface->getCV(indexU, indexV, cv))
        return MStatus::kInvalidParameter;
    point = toPoint(cv);
    return MStatus::kSuccess;
}

MStatus MFnNurbsSurface::getCVs(MPointArray& points, MSpace::Space space) const {
    const NurbsSurface* surface = surfaceIn(space);
    if (!surface)
        return MStatus::kFailure;
    MPointArray out;
    for (const Vec3& cv : surface->cvs()) out.append(toPoint(cv));
    points = out;
    return MStatus::kSuccess;
}

MStatus MFnNurbsSurface::getKnotsInU(MDoubleArray& knots) const {
    const NurbsSurface* surface = surfaceIn(MSpace::kObject);
    if (!surface)
        return MStatus::kFailure;
    knots.hostVector() = surface->knotsInU();
    return MStatus::kSuccess;
}

MStatus MFnNurbsSurface::getKnotsInV(MDoubleArray& knots) const {
    const NurbsSurface* surface = surfaceIn(MSpace::kObject);
    if (!surface)
        return MStatus::kFailure;
    knots.hostVector() = surface->knotsInV();
    return MStatus::kSuccess;
}

MStatus MFnNurbsSurface::getKnotDomain(double& startU, double& endU, double& startV, double& endV) const {
    const NurbsSurface* surface = surfaceIn(MSpace::kObject);
    if (!surface)
        return MStatus::kFailure;
    surface->knotDomain(startU, endU, startV, endV);
    return MStatus::kSuccess;
}

MFnNurbsSurface::Form MFnNurbsSurface::formInU(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return toForm(s.formInU()); });
}

MFnNurbsSurface::Form MFnNurbsSurface::formInV(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return toForm(s.formInV()); });
}

int MFnNurbsSurface::degreeU(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return s.degreeU(); });
}

int MFnNurbsSurface::degreeV(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return s.degreeV(); });
}

int MFnNurbsSurface::numCVsInU(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return s.numCVsInU(); });
}

int MFnNurbsSurface::numCVsInV(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return s.numCVsInV(); });
}

int MFnNurbsSurface::numKnotsInU(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return s.numKnotsInU(); });
}

int MFnNurbsSurface::numKnotsInV(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return s.numKnotsInV(); });
}

int MFnNurbsSurface::numSpansInU(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return s.numSpansInU(); });
}

int MFnNurbsSurface::numSpansInV(MStatus* status) const {
    return ask(surfaceIn(MSpace::kObject), status, [](const NurbsSurface& s) { return s.numSpansInV(); });
}
