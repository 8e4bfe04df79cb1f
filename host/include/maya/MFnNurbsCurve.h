#ifndef MFNNURBSCURVE_H
#define MFNNURBSCURVE_H

#include <maya/MDoubleArray.h>
#include <maya/MFnBase.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MSpace.h>
#include <maya/MVector.h>

namespace host {
class NurbsCurveData;
namespace geom {
class NurbsCurve;
}
}  // namespace host

// Function set on NURBS curve data (or a "nurbsCurve" shape node). Knots follow Maya's convention:
// n CVs of degree d have n + d - 1 knots; the knot domain is [knot[d-1], knot[n-1]].
// Queries in world space apply the data's (or shape's) world matrix, identity for plain data.
// tangent() is unit length; normal() is the unit principal normal, and on straight stretches, where
// that is undefined, the unit vector perpendicular to the tangent nearest the coordinate axis least
// aligned with the tangent (ties: x, then y, then z): a straight curve along x gets (0, 1, 0).
// closestPoint() finds the global closest point on the whole curve.
//
// Host choices:
// - On a shape the set works on the curve of the shape's "worldSpace"[0] output (its "local" curve with
//   the world matrix) as it is when the set is attached; attach again to see later changes. A shape
//   without a curve is accepted; its queries then fail (kFailure), as on data holding no valid curve.
// - Parameters outside the knot domain are clamped into it (the curve is not extended); a NaN
//   parameter is refused with kInvalidParameter. Any space but kWorld is object space.
// - closestPoint refines the parameter to about machine precision, so every tolerance is met; a
//   non-finite query point fails (kFailure).
// - tangent() and normal() fail (kFailure, zero vector) only where they are undefined: a curve whose
//   CVs all coincide.
// - create() builds non-rational curves: createRational is accepted when every weight (w) is 1, and
//   refused otherwise; create2D is accepted and the CVs keep their z. kPeriodic needs the last d CVs to
//   repeat the first d and knots whose spacing repeats; kClosed needs the ends to meet. form() reports
//   the shape of the curve built (an open request whose ends meet reports kClosed). A parentOrOwner
//   that is curve data receives the curve (and is returned); any other non-null owner is refused.
//   A refused create leaves the set as it was and returns a null object.
class MFnNurbsCurve : public MFnBase {
public:
    enum Form { kInvalid = 0, kOpen = 1, kClosed = 2, kPeriodic = 3, kLast = 4 };

    MFnNurbsCurve() = default;
    // Refuses (kInvalidParameter) anything that is not curve data or a curve shape.
    explicit MFnNurbsCurve(const MObject& curve, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kNurbsCurve; }

    // Creates curve data (when parentOrOwner is null) with the given CVs, knots and degree; the set is
    // attached to it.
    MObject create(const MPointArray& controlVertices, const MDoubleArray& knotSequences, unsigned degree, Form form,
                   bool create2D, bool createRational, MObject& parentOrOwner = MObject::kNullObj,
                   MStatus* status = nullptr);

    MPoint closestPoint(const MPoint& toThisPoint, double* param = nullptr, double tolerance = 1.0e-3,
                        MSpace::Space space = MSpace::kObject, MStatus* status = nullptr) const;
    MVector tangent(double param, MSpace::Space space = MSpace::kObject, MStatus* status = nullptr) const;
    MVector normal(double param, MSpace::Space space = MSpace::kObject, MStatus* status = nullptr) const;
    MStatus getPointAtParam(double param, MPoint& point, MSpace::Space space = MSpace::kObject) const;
    MStatus getCV(int index, MPoint& point, MSpace::Space space = MSpace::kObject) const;
    MStatus getCVs(MPointArray& points, MSpace::Space space = MSpace::kObject) const;
    MStatus getKnots(MDoubleArray& knots) const;
    MStatus getKnotDomain(double& start, double& end) const;
    Form form(MStatus* status = nullptr) const;
    int degree(MStatus* status = nullptr) const;
    int numCVs(MStatus* status = nullptr) const;
    int numKnots(MStatus* status = nullptr) const;
    int numSpans(MStatus* status = nullptr) const;
    double length(double tolerance = 1.0e-3, MStatus* status = nullptr) const;

    // Attaches to curve data or a curve shape; refuses (kInvalidParameter, attached to nothing) others.
    MStatus setObject(const MObject& object);

private:
    const host::geom::NurbsCurve* curveIn(MSpace::Space space) const;

    const host::NurbsCurveData* data_ = nullptr;  // the attached curve; kept alive by obj_ or shapeData_
    MObject shapeData_;                            // on a shape: the curve data read from it
};

#endif
