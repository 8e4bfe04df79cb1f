#include "command_fixture.h"
#include "data/NurbsSurfaceData.h"
#include "graph/Dag.h"
#include "geometry/NurbsSurfacePrimitives.h"

#include <maya/MDagPath.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MTransformationMatrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using cmdtest::CommandTest;

namespace {

constexpr double kPi = 3.14159265358979323846;

void expectNear(const MVector& a, const MVector& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

std::vector<double> values(const MDoubleArray& a) {
    return std::vector<double>(a.hostVector().begin(), a.hostVector().end());
}

// A bilinear patch over the unit square in z = 0, CVs (i, j) at (i, j, 0): Su x Sv = +z.
MObject unitSquare(MFnNurbsSurface& fn, MStatus* status = nullptr) {
    MPointArray cvs;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) cvs.append(MPoint(i, j, 0.0));
    MDoubleArray k;
    k.append(0.0);
    k.append(1.0);
    return fn.create(cvs, k, k, 1, 1, MFnNurbsSurface::kOpen, MFnNurbsSurface::kOpen, false, MObject::kNullObj, status);
}

}  // namespace

TEST(SurfaceFunctionSet, CreateAndQueriesOnData) {
    MFnNurbsSurface fn;
    MStatus status;
    MObject data = unitSquare(fn, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(data.apiType(), MFn::kNurbsSurfaceData);
    EXPECT_TRUE(data.hasFn(MFn::kNurbsSurface));
    EXPECT_EQ(fn.numCVsInU(), 2);
    EXPECT_EQ(fn.numKnotsInV(), 2);
    EXPECT_EQ(fn.numSpansInU(), 1);
    EXPECT_EQ(fn.degreeV(), 1);
    EXPECT_EQ(fn.formInU(), MFnNurbsSurface::kOpen);
    double u0 = -1, u1 = -1, v0 = -1, v1 = -1;
    EXPECT_EQ(fn.getKnotDomain(u0, u1, v0, v1), MStatus::kSuccess);
    EXPECT_EQ(u0, 0.0);
    EXPECT_EQ(v1, 1.0);
    MPoint cv;
    EXPECT_EQ(fn.getCV(1, 0, cv), MStatus::kSuccess);
    EXPECT_EQ(cv, MPoint(1.0, 0.0, 0.0));
    EXPECT_EQ(fn.getCV(2, 0, cv), MStatus::kInvalidParameter);
    EXPECT_EQ(fn.getCV(0, -1, cv), MStatus::kInvalidParameter);
    MPoint p;
    EXPECT_EQ(fn.getPointAtParam(0.25, 0.5, p), MStatus::kSuccess);
    EXPECT_EQ(p, MPoint(0.25, 0.5, 0.0));
    EXPECT_NEAR(fn.area(MSpace::kObject, 0.01, &status), 1.0, 1e-12);
    expectNear(fn.normal(0.5, 0.5, MSpace::kWorld, &status), MVector(0, 0, 1));
    EXPECT_EQ(status, MStatus::kSuccess);
    // Outside the domain: clamped. NaN: refused.
    EXPECT_EQ(fn.getPointAtParam(-3.0, 7.0, p), MStatus::kSuccess);
    EXPECT_EQ(p, MPoint(0.0, 1.0, 0.0));
    fn.normal(std::nan(""), 0.5, MSpace::kObject, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);

    // The function set works through a const reference, as callers hold it.
    const MFnNurbsSurface& ref = fn;
    MDoubleArray knots;
    EXPECT_EQ(ref.getKnotsInU(knots), MStatus::kSuccess);
    EXPECT_EQ(values(knots), (std::vector<double>{0.0, 1.0}));
}

TEST(SurfaceFunctionSet, RefusesWrongObjectsAndBadCreates) {
    MStatus status;
    MFnNurbsSurface none(MObject(), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    MPointArray curveCvs;
    for (int i = 0; i < 4; ++i) curveCvs.append(MPoint(i, 0, 0));
    MDoubleArray k;
    for (double x : {0.0, 0.0, 0.0, 1.0, 1.0, 1.0}) k.append(x);
    MObject curve = MFnNurbsCurve().create(curveCvs, k, 3, MFnNurbsCurve::kOpen, false, false);
    MFnNurbsSurface onCurve(curve, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    double a, b, c, d;
    EXPECT_EQ(onCurve.getKnotDomain(a, b, c, d), MStatus::kFailure);
    EXPECT_EQ(onCurve.area(MSpace::kObject, 0.01, &status), 0.0);
    EXPECT_EQ(status, MStatus::kFailure);
    EXPECT_EQ(onCurve.numCVsInU(&status), 0);
    EXPECT_EQ(status, MStatus::kFailure);

    MFnNurbsSurface fn;
    MPointArray cvs;
    for (int i = 0; i < 4; ++i) cvs.append(MPoint(i % 2, i / 2, 0.0));
    MDoubleArray k01;
    k01.append(0.0);
    k01.append(1.0);
    // Periodic asked of an open patch; a weight other than 1 on a rational request; wrong CV count.
    EXPECT_TRUE(fn.create(cvs, k01, k01, 1, 1, MFnNurbsSurface::kPeriodic, MFnNurbsSurface::kOpen, false,
                          MObject::kNullObj, &status).isNull());
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    MPointArray weighted = cvs;
    weighted[2].w = 2.0;
    EXPECT_TRUE(fn.create(weighted, k01, k01, 1, 1, MFnNurbsSurface::kOpen, MFnNurbsSurface::kOpen, true,
                          MObject::kNullObj, &status).isNull());
    cvs.remove(3);
    EXPECT_TRUE(fn.create(cvs, k01, k01, 1, 1, MFnNurbsSurface::kOpen, MFnNurbsSurface::kOpen, false,
                          MObject::kNullObj, &status).isNull());
    EXPECT_EQ(status, MStatus::kInvalidParameter);
}

TEST(SurfaceFunctionSet, WorldSpaceFollowsTheDataMatrix) {
    // Scaled by 2 in x and moved: area doubles, points move; object space is untouched.
    MTransformationMatrix t;
    const double scale[3] = {2.0, 1.0, 1.0};
    t.setScale(scale, MSpace::kTransform);
    t.setTranslation(MVector(0.0, 0.0, 5.0), MSpace::kTransform);
    MObject data = host::makeNurbsSurfaceData(host::geom::makePlane(1.0, 1.0, 1, 1, 3, {0.0, 0.0, 1.0}),
                                              t.asMatrix());
    MFnNurbsSurface fn(data);
    EXPECT_NEAR(fn.area(MSpace::kObject, 1e-6), 1.0, 1e-9);
    EXPECT_NEAR(fn.area(MSpace::kWorld, 1e-6), 2.0, 1e-9);
    MPoint p;
    fn.getCV(0, 0, p, MSpace::kWorld);
    EXPECT_NEAR(p.z, 5.0, 1e-12);
    fn.getCV(0, 0, p, MSpace::kObject);
    EXPECT_NEAR(p.z, 0.0, 1e-12);
    // A mirroring matrix keeps the normal on the mirrored side of the surface.
    const double mirror[3] = {1.0, 1.0, -1.0};
    MTransformationMatrix m;
    m.setScale(mirror, MSpace::kTransform);
    MFnNurbsSurface mirrored(host::makeNurbsSurfaceData(host::geom::makePlane(1.0, 1.0, 1, 1, 3, {0.0, 0.0, 1.0}),
                                                        m.asMatrix()));
    expectNear(mirrored.normal(0.5, 0.5, MSpace::kObject), MVector(0, 0, 1));
    expectNear(mirrored.normal(0.5, 0.5, MSpace::kWorld), MVector(0, 0, -1));
}

TEST_F(CommandTest, NurbsPlaneCommandMakesAShapeWithTheClosedFormArea) {
    ok("nurbsPlane -w 2 -lr 3 -u 2 -v 4 -d 3");
    MStringArray names;
    ASSERT_TRUE(result.getResult(names));
    ASSERT_EQ(names.length(), 1u);
    EXPECT_EQ(names[0], "nurbsPlane1");
    MStatus status;
    MFnNurbsSurface fn(host::nodeByName("nurbsPlaneShape1"), &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_NEAR(fn.area(MSpace::kObject, 0.01), 2.0 * 6.0, 1e-9);
    EXPECT_EQ(fn.numCVsInU(), 5);
    EXPECT_EQ(fn.numCVsInV(), 7);
    double u0, u1, v0, v1;
    fn.getKnotDomain(u0, u1, v0, v1);
    EXPECT_EQ(u1, 2.0);
    EXPECT_EQ(v1, 4.0);
    MDoubleArray knots;
    fn.getKnotsInU(knots);
    EXPECT_EQ(values(knots), (std::vector<double>{0, 0, 0, 1, 2, 2, 2}));
    expectNear(fn.normal(0.3, 2.2, MSpace::kWorld), MVector(0, 1, 0));
    EXPECT_EQ(getDouble("nurbsPlaneShape1.maxValueV"), 4.0);
    EXPECT_EQ(getDouble("nurbsPlaneShape1.spansU"), 2.0);
    EXPECT_EQ(getDouble("nurbsPlaneShape1.formU"), 1.0);

    ok("nurbsPlane -ax 0 0 1 -p 1 2 3 -n floor -ch off");
    ASSERT_TRUE(result.getResult(names));
    EXPECT_EQ(names[0], "floor");
    MFnNurbsSurface floor(host::nodeByName("floorShape"));
    expectNear(floor.normal(0.5, 0.5), MVector(0, 0, 1));
    MPoint centre;
    floor.getPointAtParam(0.5, 0.5, centre);
    EXPECT_NEAR(centre.distanceTo(MPoint(1, 2, 3)), 0.0, 1e-12);

    ok("nurbsPlane");
    ASSERT_TRUE(result.getResult(names));
    EXPECT_EQ(names[0], "nurbsPlane2");

    fails("nurbsPlane -w 0", {"-width"});
    fails("nurbsPlane -d 8", {"-degree", "1 to 7"});
    fails("nurbsPlane -ax 0 0 0", {"-axis"});
    fails("nurbsPlane -u x", {"-patchesU"});
    fails("nurbsPlane -bogus 1", {"bogus"});
    fails("nurbsPlane extra", {});
}

TEST_F(CommandTest, SphereCommandMakesAPeriodicSphere) {
    ok("sphere -r 2");
    MStringArray names;
    ASSERT_TRUE(result.getResult(names));
    EXPECT_EQ(names[0], "nurbsSphere1");
    MFnNurbsSurface fn(host::nodeByName("nurbsSphereShape1"));
    EXPECT_EQ(fn.formInU(), MFnNurbsSurface::kOpen);
    EXPECT_EQ(fn.formInV(), MFnNurbsSurface::kPeriodic);
    EXPECT_EQ(fn.numSpansInU(), 4);
    EXPECT_EQ(fn.numSpansInV(), 8);
    EXPECT_EQ(fn.numCVsInV(), 11);
    const double exact = 4.0 * kPi * 4.0;
    EXPECT_NEAR(fn.area(MSpace::kObject, 0.01), exact, 0.01 * exact);
    // Outward normals at the equator seam and at the poles.
    MPoint p;
    fn.getPointAtParam(2.0, 0.0, p);
    expectNear(MVector(p), MVector(2, 0, 0), 1e-12);
    expectNear(fn.normal(2.0, 0.0), MVector(1, 0, 0), 1e-12);
    expectNear(fn.normal(0.0, 0.0), MVector(0, -1, 0), 1e-5);
    expectNear(fn.normal(4.0, 3.0), MVector(0, 1, 0), 1e-5);

    ok("sphere -s 16 -nsp 8 -r 0.5 -ax 1 0 0 -n ball");
    ASSERT_TRUE(result.getResult(names));
    EXPECT_EQ(names[0], "ball");
    MFnNurbsSurface ball(host::nodeByName("ballShape"));
    EXPECT_NEAR(ball.area(MSpace::kObject, 1e-4), kPi, 1e-3);
    expectNear(ball.normal(8.0, 0.0), MVector(1, 0, 0), 1e-5);

    fails("sphere -r -1", {"-radius"});
    fails("sphere -s 2", {"-sections"});
    fails("sphere -d 5 -s 4", {"sections"});
    fails("sphere -nsp 0", {"-spans"});
}

TEST_F(CommandTest, SurfaceShapeOutputsFeedOtherNodesAndFunctionSets) {
    ok("sphere -n ball");
    ok("createNode nurbsSurface -n copy");
    ok("connectAttr ballShape.worldSpace[0] copy.create");
    MFnNurbsSurface fn(host::nodeByName("copy"));
    EXPECT_EQ(fn.formInV(), MFnNurbsSurface::kPeriodic);
    EXPECT_EQ(getDouble("copy.maxValueV"), 8.0);
    // A shape with no surface: the set attaches and its queries fail.
    ok("createNode nurbsSurface -n empty");
    MStatus status;
    MFnNurbsSurface none(host::nodeByName("empty"), &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    double a, b, c, d;
    EXPECT_EQ(none.getKnotDomain(a, b, c, d), MStatus::kFailure);
    EXPECT_EQ(getDouble("empty.degreeU"), 0.0);
}

TEST_F(CommandTest, SurfaceWorldSpaceFollowsItsTransform) {
    ok("sphere -n ball");
    ok("setAttr ball.ty 5");
    ok("setAttr ball.sx 2");
    // The shape's worldSpace output carries the transform's matrix; "local" does not.
    MFnNurbsSurface onShape(host::nodeByName("ballShape"));
    MPoint top;
    onShape.getPointAtParam(4.0, 0.0, top, MSpace::kWorld);
    expectNear(MVector(top), MVector(0, 6, 0), 1e-12);
    onShape.getPointAtParam(4.0, 0.0, top, MSpace::kObject);
    expectNear(MVector(top), MVector(0, 1, 0), 1e-12);
    const double objectArea = onShape.area(MSpace::kObject, 1e-4);
    EXPECT_GT(onShape.area(MSpace::kWorld, 1e-4), 1.5 * objectArea);

    // On DAG paths: to the shape, or to its transform (extended to the shape).
    MStatus status;
    for (const char* name : {"ball", "ballShape"}) {
        MFnNurbsSurface onPath(host::dagPathOf(host::findNode(name)), &status);
        ASSERT_EQ(status, MStatus::kSuccess) << name;
        EXPECT_EQ(onPath.numCVsInU(), 7);
        MPoint seam;
        onPath.getPointAtParam(2.0, 0.0, seam, MSpace::kWorld);
        expectNear(MVector(seam), MVector(2, 5, 0), 1e-12);
    }
    // Moving the transform again reaches the output on the next read.
    ok("setAttr ball.ty -1");
    MFnNurbsSurface again(host::nodeByName("ballShape"));
    again.getPointAtParam(4.0, 0.0, top, MSpace::kWorld);
    expectNear(MVector(top), MVector(0, 0, 0), 1e-12);
    // A path to a transform without a surface below is refused.
    ok("createNode transform -n empty");
    MFnNurbsSurface none(host::dagPathOf(host::findNode("empty")), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
}
