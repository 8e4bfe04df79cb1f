#ifndef MFNNURBSSURFACE_H
#define MFNNURBSSURFACE_H

#include <maya/MDagPath.h>
#include <maya/MDoubleArray.h>
#include <maya/MFnBase.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MSpace.h>
#include <maya/MVector.h>

namespace host {
class NurbsSurfaceData;
namespace geom {
class NurbsSurface;
}
}  // namespace host

// Function set on NURBS surface data, a "nurbsSurface" shape node, or a DAG path to one. Knots follow
// Maya's convention: a direction with n CVs of degree d has n + d - 1 knots, and its knot domain is
// [knot[d-1], knot[n-1]]. CVs are indexed (u, v); in arrays (getCVs, create) V runs fastest: CV (i, j) is
// element i * numCVsInV + j.
//
// Host choices:
// - Spaces: any space but kWorld is object space. World space applies, on data, the data's world matrix
//   (identity for plain data); on a shape node, the world matrix of its "worldSpace"[0] output; on a DAG
//   path, the path's inclusive matrix. The set reads the surface when it is attached; attach again to see
//   later changes. A shape without a surface is accepted; its queries then fail (kFailure), as on data
//   holding no valid surface.
// - normal(u, v) is the unit Su x Sv (world space: of the transformed surface, turned over when the
//   matrix mirrors, so it stays on the same side). Parameters outside the knot domain are clamped into
//   it, in every form: a normal asked at u = 1 on a domain 0 .. 4 is the normal at u = 1, one asked at
//   u = 7 the normal on the edge u = 4. NaN parameters are refused (kInvalidParameter, zero vector). At
//   a pole, where Su x Sv vanishes, the normal is the limit from inside the domain; zero (kFailure) only
//   on a surface degenerate all around the point.
// - area(space, tolerance) integrates |Su x Sv|; tolerance is an absolute bound on the error in square
//   units (not positive or not finite: 1e-3).
// - create() builds non-rational surfaces: createRational is accepted when every weight (w) is 1.
//   A form of kPeriodic needs the last d rows of CVs in that direction to repeat the first d and knots
//   whose spacing repeats; kClosed needs the boundary curves to meet. formInU/V() report the shape of the
//   surface built (an open request whose edges meet reports kClosed). A parentOrOwner that is surface
//   data receives the surface (and is returned); any other non-null owner is refused. A refused create
//   leaves the set as it was and returns a null object.
class MFnNurbsSurface : public MFnBase {
public:
    enum Form { kInvalid = 0, kOpen = 1, kClosed = 2, kPeriodic = 3, kLast = 4 };

    MFnNurbsSurface() = default;
    // Refuses (kInvalidParameter) anything that is not surface data or a surface shape.
    explicit MFnNurbsSurface(const MObject& surface, MStatus* status = nullptr);
    // The path must end at a surface shape, or at a transform with exactly one shape below, a surface.
    explicit MFnNurbsSurface(const MDagPath& path, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kNurbsSurface; }

    MObject create(const MPointArray& controlVertices, const MDoubleArray& uKnotSequences,
                   const MDoubleArray& vKnotSequences, unsigned degreeInU, unsigned degreeInV, Form formU,
                   Form formV, bool createRational, MObject& parentOrOwner = MObject::kNullObj,
                   MStatus* status = nullptr);

    double area(MSpace::Space space = MSpace::kObject, double tolerance = 1.0e-3, MStatus* status = nullptr) const;
    MVector normal(double u, double v, MSpace::Space space = MSpace::kObject, MStatus* status = nullptr) const;
    MStatus getPointAtParam(double u, double v, MPoint& point, MSpace::Space space = MSpace::kObject) const;
    MStatus getCV(int indexU, int indexV, MPoint& point, MSpace::Space space = MSpace::kObject) const;
    MStatus getCVs(MPointArray& points, MSpace::Space space = MSpace::kObject) const;
    MStatus getKnotsInU(MDoubleArray& knots) const;
    MStatus getKnotsInV(MDoubleArray& knots) const;
    MStatus getKnotDomain(double& startU, double& endU, double& startV, double& endV) const;
    Form formInU(MStatus* status = nullptr) const;
    Form formInV(MStatus* status = nullptr) const;
    int degreeU(MStatus* status = nullptr) const;
    int degreeV(MStatus* status = nullptr) const;
    int numCVsInU(MStatus* status = nullptr) const;
    int numCVsInV(MStatus* status = nullptr) const;
    int numKnotsInU(MStatus* status = nullptr) const;
    int numKnotsInV(MStatus* status = nullptr) const;
    int numSpansInU(MStatus* status = nullptr) const;
    int numSpansInV(MStatus* status = nullptr) const;

    // Attaches to surface data or a surface shape; refuses (kInvalidParameter, attached to nothing) others.
    MStatus setObject(const MObject& object);
    MStatus setObject(const MDagPath& path);

private:
    const host::geom::NurbsSurface* surfaceIn(MSpace::Space space) const;

    const host::NurbsSurfaceData* data_ = nullptr;  // the surface; kept alive by obj_ or held_
    MObject held_;                                   // on a shape or path: the surface data read from it
};

#endif
