#include "data/NurbsCurveData.h"

#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNurbsCurve.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

MObject makeCurve(const MPointArray& cvs, const MDoubleArray& knots, unsigned degree,
                  MFnNurbsCurve::Form form = MFnNurbsCurve::kOpen) {
    MFnNurbsCurve fn;
    MStatus status;
    MObject data = fn.create(cvs, knots, degree, form, false, false, MObject::kNullObj, &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    return data;
}

MPointArray points(std::initializer_list<MPoint> list) {
    MPointArray out;
    for (const MPoint& p : list) out.append(p);
    return out;
}

MDoubleArray knots(std::initializer_list<double> list) {
    MDoubleArray out;
    for (double k : list) out.append(k);
    return out;
}

// An L of two straight pieces: (0,0,0)-(4,0,0) for t in [0,1], (4,0,0)-(4,3,0) for t in [1,2].
MObject lShape() {
    return makeCurve(points({MPoint(0, 0, 0), MPoint(4, 0, 0), MPoint(4, 3, 0)}), knots({0, 1, 2}), 1);
}

// The straight cubic C(t) = (3t, 0, 0), t in [0, 1].
MObject straightCubic() {
    return makeCurve(points({MPoint(0, 0, 0), MPoint(1, 0, 0), MPoint(2, 0, 0), MPoint(3, 0, 0)}),
                     knots({0, 0, 0, 1, 1, 1}), 3);
}

// A parabola over CVs (-s,1), (0,-1), (s,1), t in [0, 1]; its vertex is C(0.5) = (0, 0, 0).
MObject parabola(double xScale = 1.0) {
    return makeCurve(points({MPoint(-xScale, 1, 0), MPoint(0, -1, 0), MPoint(xScale, 1, 0)}), knots({0, 0, 1, 1}), 2);
}

void expectNear(const MVector& a, const MVector& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

void expectNear(const MPoint& a, const MPoint& b, double tol = 1e-9) {
    expectNear(MVector(a.x, a.y, a.z), MVector(b.x, b.y, b.z), tol);
}

}  // namespace

TEST(CurveFunctionSet, DegreeOneLineAgainstClosedForms) {
    MStatus status;
    MFnNurbsCurve fn(lShape(), &status);
    ASSERT_EQ(status, MStatus::kSuccess);

    double t = -1;
    expectNear(fn.closestPoint(MPoint(2, 1, 0), &t, 0.01, MSpace::kWorld, &status), MPoint(2, 0, 0));
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_NEAR(t, 0.5, 1e-9);
    expectNear(fn.closestPoint(MPoint(5, 1.5, 0), &t), MPoint(4, 1.5, 0));
    EXPECT_NEAR(t, 1.5, 1e-9);
    // Beyond either end: exactly the end parameters.
    fn.closestPoint(MPoint(-3, 2, 0), &t);
    EXPECT_EQ(t, 0.0);
    fn.closestPoint(MPoint(4.5, 9, 0), &t);
    EXPECT_EQ(t, 2.0);
    // A homogeneous query point counts by its cartesian position.
    fn.closestPoint(MPoint(4, 2, 0, 2), &t);
    EXPECT_NEAR(t, 0.5, 1e-9);

    expectNear(fn.tangent(0.5), MVector(1, 0, 0));
    expectNear(fn.tangent(1.5, MSpace::kWorld), MVector(0, 1, 0));
    MPoint p;
    ASSERT_EQ(fn.getPointAtParam(1.5, p), MStatus::kSuccess);
    expectNear(p, MPoint(4, 1.5, 0));
    // Out of the domain clamps; NaN is refused.
    ASSERT_EQ(fn.getPointAtParam(7.0, p), MStatus::kSuccess);
    expectNear(p, MPoint(4, 3, 0));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(fn.getPointAtParam(nan, p), MStatus::kInvalidParameter);
    fn.tangent(nan, MSpace::kObject, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    // A non-finite query point has no closest point.
    fn.closestPoint(MPoint(nan, 0, 0), &t, 0.01, MSpace::kObject, &status);
    EXPECT_EQ(status, MStatus::kFailure);

    EXPECT_NEAR(fn.length(), 7.0, 1e-9);
    EXPECT_EQ(fn.degree(), 1);
    EXPECT_EQ(fn.numCVs(), 3);
    EXPECT_EQ(fn.numKnots(), 3);
    EXPECT_EQ(fn.numSpans(), 2);
}

TEST(CurveFunctionSet, StraightCubicHasUnitTangentAndPerpendicularNormal) {
    MFnNurbsCurve fn(straightCubic());
    double t = -1;
    MStatus status;
    expectNear(fn.closestPoint(MPoint(1.2, 5, -2), &t, 0.01, MSpace::kWorld, &status), MPoint(1.2, 0, 0));
    EXPECT_NEAR(t, 0.4, 1e-9);
    // The first derivative is (3, 0, 0); the tangent is its direction.
    expectNear(fn.tangent(t, MSpace::kWorld, &status), MVector(1, 0, 0));
    EXPECT_EQ(status, MStatus::kSuccess);
    MVector n = fn.normal(0.3, MSpace::kObject, &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_NEAR(n.length(), 1.0, 1e-12);
    EXPECT_NEAR(n * MVector(1, 0, 0), 0.0, 1e-12);
    expectNear(n, MVector(0, 1, 0));  // the documented choice on a straight stretch along x
    EXPECT_NEAR(fn.length(1e-6), 3.0, 1e-9);

    MPointArray cvs;
    ASSERT_EQ(fn.getCVs(cvs), MStatus::kSuccess);
    ASSERT_EQ(cvs.length(), 4u);
    expectNear(cvs[2], MPoint(2, 0, 0));
    MPoint cv;
    EXPECT_EQ(fn.getCV(4, cv), MStatus::kInvalidParameter);
    EXPECT_EQ(fn.getCV(-1, cv), MStatus::kInvalidParameter);
}

TEST(CurveFunctionSet, NormalOfACurvedCurvePointsToItsInside) {
    MFnNurbsCurve fn(parabola());
    MPoint vertex;
    fn.getPointAtParam(0.5, vertex);
    expectNear(vertex, MPoint(0, 0, 0));
    expectNear(fn.tangent(0.5), MVector(1, 0, 0));
    expectNear(fn.normal(0.5), MVector(0, 1, 0));
}

TEST(CurveFunctionSet, KnotsDomainAndFormOfOpenClosedAndPeriodicCurves) {
    MFnNurbsCurve open(straightCubic());
    double start = -1, end = -1;
    ASSERT_EQ(open.getKnotDomain(start, end), MStatus::kSuccess);
    EXPECT_EQ(start, 0.0);
    EXPECT_EQ(end, 1.0);
    EXPECT_EQ(open.form(), MFnNurbsCurve::kOpen);
    MDoubleArray k;
    ASSERT_EQ(open.getKnots(k), MStatus::kSuccess);
    EXPECT_EQ(k.length(), 6u);

    // A clamped cubic whose last CV returns to the first: closed, not periodic.
    MFnNurbsCurve closed(makeCurve(
        points({MPoint(0, 0, 0), MPoint(2, 0, 0), MPoint(2, 2, 0), MPoint(0, 2, 0), MPoint(0, 0, 0)}),
        knots({0, 0, 0, 1, 2, 2, 2}), 3, MFnNurbsCurve::kClosed));
    EXPECT_EQ(closed.form(), MFnNurbsCurve::kClosed);
    closed.getKnotDomain(start, end);
    EXPECT_EQ(end, 2.0);

    // Periodic cubic over four points: the last three CVs repeat the first three, knots -2 .. 6.
    MPointArray ring = points({MPoint(1, 0, 0), MPoint(0, 1, 0), MPoint(-1, 0, 0), MPoint(0, -1, 0)});
    for (unsigned i = 0; i < 3; ++i) ring.append(ring[i]);
    MFnNurbsCurve periodic(makeCurve(ring, knots({-2, -1, 0, 1, 2, 3, 4, 5, 6}), 3, MFnNurbsCurve::kPeriodic));
    EXPECT_EQ(periodic.form(), MFnNurbsCurve::kPeriodic);
    periodic.getKnotDomain(start, end);
    EXPECT_EQ(start, 0.0);
    EXPECT_EQ(end, 4.0);
    EXPECT_EQ(periodic.numSpans(), 4);
    EXPECT_EQ(periodic.numKnots(), 9);
    MPoint a, b;
    periodic.getPointAtParam(0.0, a);
    periodic.getPointAtParam(4.0, b);
    expectNear(a, b);
}

TEST(CurveFunctionSet, WorldSpaceAppliesTheDataMatrix) {
    // Turn a quarter about z (x goes to y), then move by (10, 0, 0): C(t) = (10, 3t, 0) in world space.
    MMatrix m;
    m.matrix[0][0] = 0, m.matrix[0][1] = 1;
    m.matrix[1][0] = -1, m.matrix[1][1] = 0;
    m.matrix[3][0] = 10;
    MFnNurbsCurve source(straightCubic());
    auto data = host::dataAs<host::NurbsCurveData>(source.object());
    ASSERT_TRUE(data);
    MObject moved = host::makeNurbsCurveData(data->curve(), m);

    MFnNurbsCurve fn(moved);
    double t = -1;
    expectNear(fn.closestPoint(MPoint(12, 1.2, 0), &t, 0.01, MSpace::kWorld), MPoint(10, 1.2, 0));
    EXPECT_NEAR(t, 0.4, 1e-9);
    expectNear(fn.tangent(t, MSpace::kWorld), MVector(0, 1, 0));
    // Object space ignores the matrix: the same query is nearest the cubic's end (3, 0, 0).
    expectNear(fn.closestPoint(MPoint(12, 1.2, 0), &t), MPoint(3, 0, 0));
    EXPECT_EQ(t, 1.0);
    expectNear(fn.tangent(0.5), MVector(1, 0, 0));
    MPoint p;
    fn.getCV(1, p, MSpace::kWorld);
    expectNear(p, MPoint(10, 1, 0));
    fn.getPointAtParam(1.0, p, MSpace::kWorld);
    expectNear(p, MPoint(10, 3, 0));

    // Curved, under the same turn: the normal turns with the curve.
    MObject turned = host::makeNurbsCurveData(host::dataAs<host::NurbsCurveData>(parabola())->curve(), m);
    expectNear(MFnNurbsCurve(turned).normal(0.5, MSpace::kWorld), MVector(-1, 0, 0));
}

TEST(CurveFunctionSet, NonUniformScaleFindsTheTrueWorldClosestPoint) {
    // Stretching x by 3 must give the closest point on the stretched curve, not the stretched closest
    // point of the original.
    MMatrix stretch;
    stretch.matrix[0][0] = 3;
    MObject scaled = host::makeNurbsCurveData(host::dataAs<host::NurbsCurveData>(parabola())->curve(), stretch);
    MFnNurbsCurve world(scaled);
    MFnNurbsCurve reference(parabola(3.0));
    for (const MPoint& q : {MPoint(2, 0.5, 0), MPoint(-1, 3, 1), MPoint(0.3, -2, 0)}) {
        double t1 = -1, t2 = -2;
        MPoint a = world.closestPoint(q, &t1, 0.01, MSpace::kWorld);
        MPoint b = reference.closestPoint(q, &t2);
        expectNear(a, b, 1e-9);
        EXPECT_NEAR(t1, t2, 1e-9);
    }
}

TEST(CurveFunctionSet, RefusesOtherObjectsAndFailsWithoutACurve) {
    MStatus status;
    MFnNurbsCurve onNull(MObject::kNullObj, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    onNull.closestPoint(MPoint(), nullptr, 0.01, MSpace::kWorld, &status);
    EXPECT_EQ(status, MStatus::kFailure);

    MObject doubles = MFnDoubleArrayData().create();
    MFnNurbsCurve onArray(doubles, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_TRUE(onArray.object().isNull());

    // A set that refuses a new object forgets the old one.
    MFnNurbsCurve fn(straightCubic());
    EXPECT_EQ(fn.setObject(doubles), MStatus::kInvalidParameter);
    double start, end;
    EXPECT_EQ(fn.getKnotDomain(start, end), MStatus::kFailure);
    EXPECT_EQ(fn.numCVs(&status), 0);
    EXPECT_EQ(status, MStatus::kFailure);

    // Curve data without a valid curve is accepted, but every query fails.
    MObject empty(std::make_shared<host::NurbsCurveData>());
    MFnNurbsCurve onEmpty(empty, &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    double t = 42;
    onEmpty.closestPoint(MPoint(1, 2, 3), &t, 0.01, MSpace::kWorld, &status);
    EXPECT_EQ(status, MStatus::kFailure);
    EXPECT_EQ(t, 42.0);
    EXPECT_EQ(onEmpty.form(), MFnNurbsCurve::kInvalid);
    MDoubleArray k;
    EXPECT_EQ(onEmpty.getKnots(k), MStatus::kFailure);
}

TEST(CurveFunctionSet, CurveDataIsOfItsFunctionSetsKind) {
    MObject data = straightCubic();
    EXPECT_EQ(data.apiType(), MFn::kNurbsCurveData);
    EXPECT_EQ(host::dataTypeOf(data), MFnData::kNurbsCurve);
    EXPECT_TRUE(data.hasFn(MFn::kNurbsCurve));
    EXPECT_TRUE(data.hasFn(MFn::kData));
    EXPECT_FALSE(data.hasFn(MFn::kMesh));
}

TEST(CurveFunctionSet, CreateRefusesBadInputAndKeepsTheSet) {
    MFnNurbsCurve fn(straightCubic());
    MStatus status;
    MPointArray four = points({MPoint(0, 0, 0), MPoint(1, 0, 0), MPoint(2, 0, 0), MPoint(3, 0, 0)});
    auto refused = [&](MObject result) {
        EXPECT_EQ(status, MStatus::kInvalidParameter);
        EXPECT_TRUE(result.isNull());
        EXPECT_EQ(fn.numCVs(), 4);  // still the cubic
    };
    refused(fn.create(four, knots({0, 0, 1, 1}), 3, MFnNurbsCurve::kOpen, false, false, MObject::kNullObj, &status));
    refused(fn.create(four, knots({0, 0, 0, 1, 1, 1}), 4, MFnNurbsCurve::kOpen, false, false, MObject::kNullObj,
                      &status));
    refused(fn.create(four, knots({0, 0, 0, 1, 1, 1}), 3, MFnNurbsCurve::kPeriodic, false, false,
                      MObject::kNullObj, &status));
    refused(fn.create(four, knots({0, 0, 0, 1, 1, 1}), 3, MFnNurbsCurve::kClosed, false, false, MObject::kNullObj,
                      &status));
    MPointArray weighted = four;
    weighted[1].w = 2.0;
    refused(fn.create(weighted, knots({0, 0, 0, 1, 1, 1}), 3, MFnNurbsCurve::kOpen, false, true, MObject::kNullObj,
                      &status));
    MObject doubles = MFnDoubleArrayData().create();
    refused(fn.create(four, knots({0, 0, 0, 1, 1, 1}), 3, MFnNurbsCurve::kOpen, false, false, doubles, &status));
}

TEST(CurveFunctionSet, CreateIntoExistingCurveDataReplacesItsCurve) {
    MObject data = straightCubic();
    MFnNurbsCurve reader(data);
    MFnNurbsCurve writer;
    MStatus status;
    MObject result = writer.create(points({MPoint(0, 0, 0), MPoint(0, 5, 0)}), knots({0, 2}), 1,
                                   MFnNurbsCurve::kOpen, false, false, data, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(result.impl(), data.impl());
    // A set already on that data sees the new curve.
    double start, end;
    reader.getKnotDomain(start, end);
    EXPECT_EQ(end, 2.0);
    EXPECT_EQ(reader.degree(), 1);
}
