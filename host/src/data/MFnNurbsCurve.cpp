#include <maya/MFnNurbsCurve.h>

#include "data/NurbsCurveData.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

using host::NurbsCurveData;
using host::geom::NurbsCurve;
using host::geom::Vec3;

namespace {

inline void report(MStatus* status, MStatus::MStatusCode code) {
    if (status)
        *status = code;
}

inline MPoint toPoint(const Vec3& v) {
    return MPoint(v.x, v.y, v.z);
}

inline MVector toVector(const Vec3& v) {
    return MVector(v.x, v.y, v.z);
}

// The cartesian point of a homogeneous one (w = 0 is read as w = 1).
inline Vec3 toVec3(const MPoint& p) {
    if (p.w == 1.0 || p.w == 0.0)
        return {p.x, p.y, p.z};
    return {p.x / p.w, p.y / p.w, p.z / p.w};
}

// The curve data of a "nurbsCurve" shape: its worldSpace[0] output, pulled now. Null when it has none.
MObject shapeCurveData(const MObject& shape) {
    MFnDependencyNode fn(shape);
    MStatus status;
    MPlug world = fn.findPlug("worldSpace", &status);
    if (status != MStatus::kSuccess)
        return MObject();
    MPlug element = world.elementByLogicalIndex(0, &status);
    MObject data;
    if (status != MStatus::kSuccess || element.getValue(data) != MStatus::kSuccess)
        return MObject();
    return data;
}

// Arc length of one polynomial piece by 5-point Gauss-Legendre, halving until two halves agree with the
// whole to the tolerance.
double gaussSpeed(const NurbsCurve& curve, double a, double b) {
    static const double nodes[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640,
                                    0.9061798459386640};
    static const double weights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665,
                                      0.2369268850561891, 0.2369268850561891};
    const double half = 0.5 * (b - a);
    const double mid = 0.5 * (a + b);
    double sum = 0.0;
    for (int i = 0; i < 5; ++i) sum += weights[i] * host::geom::length(curve.derivative(mid + half * nodes[i], 1));
    return sum * half;
}

double adaptiveLength(const NurbsCurve& curve, double a, double b, double whole, double tolerance, int depth) {
    const double mid = 0.5 * (a + b);
    const double left = gaussSpeed(curve, a, mid);
    const double right = gaussSpeed(curve, mid, b);
    if (depth >= 20 || std::fabs(left + right - whole) <= tolerance)
        return left + right;
    return adaptiveLength(curve, a, mid, left, 0.5 * tolerance, depth + 1) +
           adaptiveLength(curve, mid, b, right, 0.5 * tolerance, depth + 1);
}

}  // namespace

MFnNurbsCurve::MFnNurbsCurve(const MObject& curve, MStatus* status) {
    MStatus result = setObject(curve);
    if (status)
        *status = result;
}

MStatus MFnNurbsCurve::setObject(const MObject& object) {
    obj_ = MObject();
    data_ = nullptr;
    shapeData_ = MObject();
    if (object.apiType() == MFn::kNurbsCurveData) {
        auto data = host::dataAs<NurbsCurveData>(object);
        if (!data)
            return MStatus::kInvalidParameter;
        obj_ = object;
        data_ = data.get();
        return MStatus::kSuccess;
    }
    if (object.apiType() == MFn::kNurbsCurve && object.hasFn(MFn::kDependencyNode)) {
        obj_ = object;
        shapeData_ = shapeCurveData(object);
        auto data = host::dataAs<NurbsCurveData>(shapeData_);
        data_ = data.get();
        return MStatus::kSuccess;
    }
    return MStatus::kInvalidParameter;
}

// The curve queries work on: null when the set holds no valid curve.
const NurbsCurve* MFnNurbsCurve::curveIn(MSpace::Space space) const {
    if (!data_)
        return nullptr;
    const NurbsCurve& curve = space == MSpace::kWorld ? data_->worldCurve() : data_->curve();
    return curve.isValid() ? &curve : nullptr;
}

MObject MFnNurbsCurve::create(const MPointArray& controlVertices, const MDoubleArray& knotSequences, unsigned degree,
                              Form form, bool /*create2D*/, bool createRational, MObject& parentOrOwner,
                              MStatus* status) {
    std::shared_ptr<NurbsCurveData> owner;
    if (!parentOrOwner.isNull()) {
        owner = host::dataAs<NurbsCurveData>(parentOrOwner);
        if (!owner) {
            report(status, MStatus::kInvalidParameter);
            return MObject();
        }
    }
    if (form != kOpen && form != kClosed && form != kPeriodic) {
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
    const std::vector<double> knots(knotSequences.hostVector().begin(), knotSequences.hostVector().end());
    const int d = degree > 1000u ? 0 : static_cast<int>(degree);  // absurd degrees fail validation
    NurbsCurve curve(d, std::move(cvs), knots);
    const bool fits = curve.isValid() &&
                      (form == kOpen || (form == kClosed && curve.form() != NurbsCurve::kOpen) ||
                       (form == kPeriodic && curve.form() == NurbsCurve::kPeriodic));
    if (!fits) {
        report(status, MStatus::kInvalidParameter);
        return MObject();
    }
    MObject result;
    if (owner) {
        owner->setCurve(std::move(curve));
        result = parentOrOwner;
    } else {
        result = host::makeNurbsCurveData(std::move(curve));
    }
    setObject(result);
    report(status, MStatus::kSuccess);
    return result;
}

MPoint MFnNurbsCurve::closestPoint(const MPoint& toThisPoint, double* param, double tolerance, MSpace::Space space,
                                   MStatus* status) const {
    const NurbsCurve* curve = curveIn(space);
    if (!curve) {
        report(status, MStatus::kFailure);
        return MPoint();
    }
    const host::geom::CurveClosestPoint found = curve->closestPoint(toVec3(toThisPoint), tolerance);
    if (!found.found) {
        report(status, MStatus::kFailure);
        return MPoint();
    }
    if (param)
        *param = found.param;
    report(status, MStatus::kSuccess);
    return toPoint(found.point);
}

MVector MFnNurbsCurve::tangent(double param, MSpace::Space space, MStatus* status) const {
    const NurbsCurve* curve = curveIn(space);
    if (!curve || std::isnan(param)) {
        report(status, curve ? MStatus::kInvalidParameter : MStatus::kFailure);
        return MVector(0.0, 0.0, 0.0);
    }
    const Vec3 t = curve->tangent(param);
    report(status, t == Vec3{} ? MStatus::kFailure : MStatus::kSuccess);
    return toVector(t);
}

// The unit principal normal. On straight stretches, where it is undefined, the unit vector perpendicular
// to the tangent that lies nearest the coordinate axis least aligned with the tangent (ties: x, then y,
// then z); a straight curve along x thus gets (0, 1, 0).
MVector MFnNurbsCurve::normal(double param, MSpace::Space space, MStatus* status) const {
    const NurbsCurve* curve = curveIn(space);
    if (!curve || std::isnan(param)) {
        report(status, curve ? MStatus::kInvalidParameter : MStatus::kFailure);
        return MVector(0.0, 0.0, 0.0);
    }
    const Vec3 n = curve->normal(param);
    report(status, n == Vec3{} ? MStatus::kFailure : MStatus::kSuccess);
    return toVector(n);
}

MStatus MFnNurbsCurve::getPointAtParam(double param, MPoint& point, MSpace::Space space) const {
    const NurbsCurve* curve = curveIn(space);
    if (!curve)
        return MStatus::kFailure;
    if (std::isnan(param))
        return MStatus::kInvalidParameter;
    point = toPoint(curve->pointAt(param));
    return MStatus::kSuccess;
}

MStatus MFnNurbsCurve::getCV(int index, MPoint& point, MSpace::Space space) const {
    const NurbsCurve* curve = curveIn(space);
    if (!curve)
        return MStatus::kFailure;
    Vec3 cv;
    if (!curve->getCV(index, cv))
        return MStatus::kInvalidParameter;
    point = toPoint(cv);
    return MStatus::kSuccess;
}

MStatus MFnNurbsCurve::getCVs(MPointArray& points, MSpace::Space space) const {
    const NurbsCurve* curve = curveIn(space);
    if (!curve)
        return MStatus::kFailure;
    MPointArray out;
    for (const Vec3& cv : curve->cvs()) out.append(toPoint(cv));
    points = out;
    return MStatus::kSuccess;
}

MStatus MFnNurbsCurve::getKnots(MDoubleArray& knots) const {
    const NurbsCurve* curve = curveIn(MSpace::kObject);
    if (!curve)
        return MStatus::kFailure;
    knots.hostVector() = curve->knots();
    return MStatus::kSuccess;
}

MStatus MFnNurbsCurve::getKnotDomain(double& start, double& end) const {
    const NurbsCurve* curve = curveIn(MSpace::kObject);
    if (!curve)
        return MStatus::kFailure;
    curve->knotDomain(start, end);
    return MStatus::kSuccess;
}

MFnNurbsCurve::Form MFnNurbsCurve::form(MStatus* status) const {
    const NurbsCurve* curve = curveIn(MSpace::kObject);
    report(status, curve ? MStatus::kSuccess : MStatus::kFailure);
    if (!curve)
        return kInvalid;
    switch (curve->form()) {
        case NurbsCurve::kOpen: return kOpen;
        case NurbsCurve::kClosed: return kClosed;
        case NurbsCurve::kPeriodic: return kPeriodic;
        default: return kInvalid;
    }
}

int MFnNurbsCurve::degree(MStatus* status) const {
    const NurbsCurve* curve = curveIn(MSpace::kObject);
    report(status, curve ? MStatus::kSuccess : MStatus::kFailure);
    return curve ? curve->degree() : 0;
}

int MFnNurbsCurve::numCVs(MStatus* status) const {
    const NurbsCurve* curve = curveIn(MSpace::kObject);
    report(status, curve ? MStatus::kSuccess : MStatus::kFailure);
    return curve ? curve->numCVs() : 0;
}

int MFnNurbsCurve::numKnots(MStatus* status) const {
    const NurbsCurve* curve = curveIn(MSpace::kObject);
    report(status, curve ? MStatus::kSuccess : MStatus::kFailure);
    return curve ? curve->numKnots() : 0;
}

int MFnNurbsCurve::numSpans(MStatus* status) const {
    const NurbsCurve* curve = curveIn(MSpace::kObject);
    report(status, curve ? MStatus::kSuccess : MStatus::kFailure);
    return curve ? curve->numSpans() : 0;
}

// Object-space arc length, span by span (the speed is smooth within a knot span).
double MFnNurbsCurve::length(double tolerance, MStatus* status) const {
    const NurbsCurve* curve = curveIn(MSpace::kObject);
    report(status, curve ? MStatus::kSuccess : MStatus::kFailure);
    if (!curve)
        return 0.0;
    const std::vector<double>& knots = curve->knots();
    const int first = curve->degree() - 1;
    const int last = curve->numCVs() - 1;
    const double tol = tolerance > 0.0 && std::isfinite(tolerance) ? tolerance : 1.0e-3;
    const double perSpan = tol / std::max(1, last - first);
    double total = 0.0;
    for (int i = first; i < last; ++i) {
        const double a = knots[static_cast<size_t>(i)];
        const double b = knots[static_cast<size_t>(i + 1)];
        if (b > a)
            total += adaptiveLength(*curve, a, b, gaussSpeed(*curve, a, b), perSpan, 0);
    }
    return total;
}
