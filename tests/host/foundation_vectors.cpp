#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>
#include <maya/MVector.h>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <type_traits>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The operand types pick the intended overloads; float stays float.
static_assert(std::is_same_v<decltype(MPoint() - MPoint()), MVector>);
static_assert(std::is_same_v<decltype(MPoint() + MVector()), MPoint>);
static_assert(std::is_same_v<decltype(MPoint() - MVector()), MPoint>);
static_assert(std::is_same_v<decltype(MVector() * MVector()), double>);
static_assert(std::is_same_v<decltype(MVector() ^ MVector()), MVector>);
static_assert(std::is_same_v<decltype(2.0 * MVector()), MVector>);
static_assert(std::is_same_v<decltype(MMatrix() * MVector()), MVector>);
static_assert(std::is_same_v<decltype(MVector() * MMatrix()), MVector>);
static_assert(std::is_same_v<decltype(MPoint() * MMatrix()), MPoint>);
static_assert(std::is_same_v<decltype(MMatrix() * MPoint()), MPoint>);
static_assert(std::is_same_v<decltype(MFloatMatrix() * MFloatVector()), MFloatVector>);
static_assert(std::is_same_v<decltype(MFloatPoint() - MFloatPoint()), MFloatVector>);
static_assert(std::is_same_v<decltype(MFloatPoint() + MFloatVector()), MFloatPoint>);
static_assert(std::is_same_v<decltype(MFloatVector() * MFloatVector()), float>);
static_assert(std::is_same_v<decltype(MFloatVector() * 2.0), MFloatVector>);
static_assert(std::is_same_v<decltype(2.0 * MFloatVector()), MFloatVector>);
static_assert(std::is_same_v<decltype(MFloatVector() / 2.0), MFloatVector>);
static_assert(std::is_same_v<decltype(MFloatVector().length()), float>);
static_assert(!std::is_convertible_v<MPoint, MFloatPoint>, "narrowing a point is explicit");

void expectNear(const MVector& actual, const MVector& expected, double tolerance = 1e-12) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(FoundationVector, ArithmeticDotCrossLength) {
    const MVector a(1.0, 2.0, 3.0);
    const MVector b(-2.0, 0.5, 4.0);
    EXPECT_EQ(a + b, MVector(-1.0, 2.5, 7.0));
    EXPECT_EQ(a - b, MVector(3.0, 1.5, -1.0));
    EXPECT_EQ(-a, MVector(-1.0, -2.0, -3.0));
    EXPECT_EQ(a * 2.0, 2.0 * a);
    EXPECT_EQ(a / 2.0, MVector(0.5, 1.0, 1.5));
    EXPECT_EQ(a * b, -2.0 + 1.0 + 12.0);
    EXPECT_EQ(MVector::xAxis ^ MVector::yAxis, MVector::zAxis);
    EXPECT_EQ((a ^ b) * a, 0.0);
    EXPECT_EQ(MVector(3.0, 4.0).length(), 5.0);
    MVector c = a;
    c += b;
    c -= b;
    c *= 3.0;
    c /= 3.0;
    EXPECT_EQ(c, a);
}

TEST(FoundationVector, NormalizeZeroFailsAndStaysZero) {
    MVector zero;
    EXPECT_EQ(zero.normalize(), MS::kFailure);
    EXPECT_EQ(zero, MVector(0.0, 0.0, 0.0));
    EXPECT_EQ(MVector::zero.normal(), MVector::zero);
    MFloatVector floatZero;
    EXPECT_EQ(floatZero.normalize(), MS::kFailure);
    EXPECT_EQ(floatZero.normal(), MFloatVector::zero);

    MVector v(0.0, 3.0, 4.0);
    EXPECT_EQ(v.normalize(), MS::kSuccess);
    expectNear(v, MVector(0.0, 0.6, 0.8));
    // Squares would underflow or overflow; the direction still comes out.
    MVector tiny(1e-200, 0.0, 1e-200);
    EXPECT_EQ(tiny.normalize(), MS::kSuccess);
    expectNear(tiny, MVector(std::sqrt(0.5), 0.0, std::sqrt(0.5)));
    expectNear(MVector(0.0, -1e200, 0.0).normal(), MVector::yNegAxis);
}

TEST(FoundationVector, AngleIsBetweenZeroAndPi) {
    EXPECT_EQ(MVector::yAxis.angle(MVector::yAxis), 0.0);
    EXPECT_DOUBLE_EQ(MVector::xAxis.angle(MVector::yAxis), kPi / 2);
    EXPECT_DOUBLE_EQ(MVector::xAxis.angle(MVector::xNegAxis), kPi);
    EXPECT_DOUBLE_EQ(MVector(1.0, 1.0, 0.0).angle(MVector(5.0, 0.0, 0.0)), kPi / 4);
    EXPECT_EQ(MVector::zero.angle(MVector::xAxis), 0.0);
    // Accurate for tiny angles, where acos of a dot product is not.
    EXPECT_NEAR(MVector::xAxis.angle(MVector(1.0, 1e-9, 0.0)), 1e-9, 1e-20);
    EXPECT_TRUE(MVector::xAxis.isParallel(MVector(-2.0, 0.0, 0.0)));
    EXPECT_FALSE(MVector::xAxis.isParallel(MVector::yAxis));
}

TEST(FoundationVector, RotateByFollowsTheRightHandRule) {
    MQuaternion q;
    q.setAxisAngle(MVector::zAxis, kPi / 2);
    expectNear(MVector::xAxis.rotateBy(q), MVector::yAxis);
    expectNear(MVector::yAxis.rotateBy(q), MVector::xNegAxis);
    expectNear(MVector::zAxis.rotateBy(q), MVector::zAxis);

    q.setAxisAngle(MVector(3.0, 0.0, 0.0), kPi / 2);  // axis normalised inside
    expectNear(MVector::yAxis.rotateBy(q), MVector::zAxis);
    q.setAxisAngle(MVector::yAxis, kPi / 2);
    expectNear(MVector::zAxis.rotateBy(q), MVector::xAxis);

    // The plug-in's 1.57 radians about a tangent: the angle turned is exactly that.
    q.setAxisAngle(MVector(1.0, 1.0, 0.0), 1.57);
    const MVector radial(1.0, -1.0, 2.0);
    EXPECT_NEAR(radial.rotateBy(q).length(), radial.length(), 1e-12);
    const MVector perpendicular(1.0, -1.0, 0.0);
    EXPECT_NEAR(perpendicular.angle(perpendicular.rotateBy(q)), 1.57, 1e-12);

    expectNear(MVector(2.0, 0.0, 0.0).rotateBy(MVector::xAxis.rotateTo(MVector(0.0, 0.0, 5.0))), MVector(0.0, 0.0, 2.0));
    expectNear(MVector::xAxis.rotateBy(MVector::xAxis.rotateTo(MVector::xNegAxis)), MVector::xNegAxis);
}

TEST(FoundationVector, MatrixOnTheLeftIsTheColumnForm) {
    double values[4][4] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 10, 0}, {100, 200, 300, 1}};
    const MMatrix m(values);
    const MVector v(1.0, -1.0, 2.0);
    // Row form: v * M = sum_i v[i] * M[i][j], translation ignored.
    EXPECT_EQ(v * m, MVector(1 - 4 + 14, 2 - 5 + 16, 3 - 6 + 20));
    // Column form: M * v = sum_j M[i][j] * v[j], translation ignored.
    EXPECT_EQ(m * v, MVector(1 - 2 + 6, 4 - 5 + 12, 7 - 8 + 20));
    EXPECT_EQ(m * v, v * m.transpose());
    MVector w = v;
    w *= m;
    EXPECT_EQ(w, v * m);

    // Points take the translation in row 3.
    EXPECT_EQ(MPoint(v) * m, MPoint(111, 213, 317, 1));
    EXPECT_EQ(MPoint(1.0, -1.0, 2.0, 0.0) * m, MPoint(11, 13, 17, 0));
    EXPECT_EQ(m * MPoint(1.0, 0.0, 0.0, 1.0), MPoint(1, 4, 7, 101));
}

TEST(FoundationVector, FloatTypesComputeInSinglePrecision) {
    // In float, 1e8 + 1 rounds back to 1e8; a widened sum would give 1.
    const MFloatVector big(1e8f, 1.0f, -1e8f);
    EXPECT_EQ(big * MFloatVector(1.0f, 1.0f, 1.0f), 0.0f);
    // 0.1 narrowed to float and widened back.
    const MFloatVector narrowed(MVector(0.1, 0.0, 0.0));
    EXPECT_EQ(MVector(narrowed).x, 0.100000001490116119384765625);
    EXPECT_EQ((MFloatVector(0.1f, 0.2f, 0.3f) * 3.0).x, 0.1f * 3.0f);
    EXPECT_EQ(MFloatVector::xAxis ^ MFloatVector::yAxis, MFloatVector::zAxis);
    MFloatVector n(0.0f, 3.0f, 4.0f);
    EXPECT_EQ(n.normalize(), MS::kSuccess);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
    EXPECT_FLOAT_EQ(MFloatVector::xAxis.angle(MFloatVector::yAxis), static_cast<float>(kPi / 2));
}

TEST(FoundationPoint, PointVectorConversionsAndArithmetic) {
    EXPECT_EQ(MPoint(), MPoint(0.0, 0.0, 0.0, 1.0));
    EXPECT_EQ(MPoint(MVector(1.0, 2.0, 3.0)), MPoint(1.0, 2.0, 3.0, 1.0));
    EXPECT_EQ(MVector(MPoint(1.0, 2.0, 3.0, 0.5)), MVector(1.0, 2.0, 3.0));
    const MPoint p(1.0, 2.0, 3.0);
    const MPoint c(0.5, 0.5, 0.5);
    EXPECT_EQ(p - c, MVector(0.5, 1.5, 2.5));
    EXPECT_EQ(c + (p - c), p);
    EXPECT_EQ(p - MVector(1.0, 1.0, 1.0), MPoint(0.0, 1.0, 2.0));
    EXPECT_EQ(p * 2.0, MPoint(2.0, 4.0, 6.0, 1.0));
    EXPECT_DOUBLE_EQ(p.distanceTo(c), (p - c).length());
    EXPECT_TRUE(MPoint(2.0, 4.0, 6.0, 2.0).isEquivalent(p));

    MPoint rational(2.0, 4.0, 6.0, 2.0);
    MStatus status;
    rational.cartesianize(&status);
    EXPECT_EQ(status, MS::kSuccess);
    EXPECT_EQ(rational, p);
    MPoint direction(1.0, 0.0, 0.0, 0.0);
    direction.cartesianize(&status);
    EXPECT_EQ(status, MS::kFailure);
    EXPECT_EQ(direction, MPoint(1.0, 0.0, 0.0, 0.0));
}

TEST(FoundationPoint, FloatPoints) {
    const MFloatPoint target(1.0f, 2.0f, 3.0f);
    const MFloatPoint origin(0.5f, 0.5f, 0.5f, 0.0f);
    EXPECT_EQ(target - origin, MFloatVector(0.5f, 1.5f, 2.5f));
    MFloatPoint weighted(0.0f, 0.0f, 0.0f, 0.0f);
    weighted += (target - origin) * 2.0f;
    EXPECT_EQ(weighted, MFloatPoint(1.0f, 3.0f, 5.0f, 0.0f));
    EXPECT_EQ(origin + MFloatVector(1.0f, 1.0f, 1.0f), MFloatPoint(1.5f, 1.5f, 1.5f, 0.0f));

    const MPoint precise(0.1, 0.2, 0.3);
    const MFloatPoint narrowed(precise);
    EXPECT_EQ(narrowed, MFloatPoint(0.1f, 0.2f, 0.3f, 1.0f));
    MFloatPoint cast;
    EXPECT_EQ(cast.setCast(precise), MS::kSuccess);
    EXPECT_EQ(cast, narrowed);
    EXPECT_EQ(MPoint(narrowed).x, static_cast<double>(0.1f));
}

TEST(FoundationVector, Prints) {
    std::ostringstream os;
    os << MVector(1.0, 2.5, -3.0) << ' ' << MPoint(1.0, 2.0, 3.0) << ' ' << MFloatVector(0.5f, 0.0f, 1.0f);
    EXPECT_EQ(os.str(), "(1, 2.5, -3) (1, 2, 3, 1) (0.5, 0, 1)");
}

TEST(FoundationVectorDeathTest, ComponentIndexOutOfRangeAborts) {
    MVector v;
    EXPECT_DEATH(v[3] = 1.0, "MVector: index 3 is out of range \\(length 3\\)");
    const MPoint p;
    EXPECT_DEATH(static_cast<void>(p[4]), "MPoint: index 4 is out of range \\(length 4\\)");
}

}  // namespace
