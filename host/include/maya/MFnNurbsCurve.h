#ifndef MFNNURBSCURVE_H
#define MFNNURBSCURVE_H

#include <maya/MDoubleArray.h>
#include <maya/MFnBase.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MSpace.h>
#include <maya/MVector.h>

// Function set on NURBS curve data (or a "nurbsCurve" shape node). Knots follow Maya's convention:
// n CVs of degree d have n + d - 1 knots; the knot domain is [knot[d-1], knot[n-1]].
// Queries in world space apply the data's (or shape's) world matrix, identity for plain data.
// tangent() is unit length; normal() is the unit principal normal, and on straight stretches a unit
// vector perpendicular to the tangent (see the implementation for the choice).
// closestPoint() finds the global closest point on the whole curve.
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
};

#endif
