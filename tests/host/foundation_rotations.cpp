#include <maya/MFloatMatrix.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MVector.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

namespace {

constexpr double kPi = 3.14159265358979323846;

MMatrix translation(double x, double y, double z) {
    MMatrix m;
    m.matrix[3][0] = x;
    m.matrix[3][1] = y;
    m.matrix[3][2] = z;
    return m;
}

MMatrix rotation(const MVector& axis, double angle) {
    return MQuaternion().setAxisAngle(axis, angle).asMatrix();
}

// Rotation about one axis built from its closed form, independent of the quaternion code.
MMatrix axisRotation(int axis, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    MMatrix m;
    const int i = (axis + 1) % 3;
    const int j = (axis + 2) % 3;
    m.matrix[i][i] = c;
    m.matrix[i][j] = s;
    m.matrix[j][i] = -s;
    m.matrix[j][j] = c;
    return m;
}

MMatrix eulerMatrix(const double angles[3], MTransformationMatrix::RotationOrder order) {
    static const int axes[7][3] = {{0, 0, 0}, {0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}};
    const int* a = axes[order];
    return axisRotation(a[0], angles[a[0]]) * axisRotation(a[1], angles[a[1]]) * axisRotation(a[2], angles[a[2]]);
}

void expectNear(const MVector& actual, const MVector& expected, double tolerance = 1e-12) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(FoundationMatrix, IdentityAccessAndProductOrder) {
    const MMatrix identity;
    EXPECT_EQ(identity, MMatrix::identity);
    EXPECT_EQ(identity(3, 3), 1.0);
    EXPECT_EQ(identity[2][1], 0.0);

    // R1 * R2 applies R1 first (row vectors).
    const MMatrix moveThenTurn = translation(1.0, 0.0, 0.0) * rotation(MVector::zAxis, kPi / 2);
    const MPoint p = MPoint(0.0, 0.0, 0.0) * moveThenTurn;
    EXPECT_NEAR(p.x, 0.0, 1e-15);
    EXPECT_NEAR(p.y, 1.0, 1e-15);
    const MMatrix turnThenMove = rotation(MVector::zAxis, kPi / 2) * translation(1.0, 0.0, 0.0);
    EXPECT_NEAR((MPoint() * turnThenMove).x, 1.0, 1e-15);

    double raw[4][4];
    EXPECT_EQ(moveThenTurn.get(raw), MS::kSuccess);
    EXPECT_EQ(MMatrix(raw), moveThenTurn);
    MMatrix m;
    m(0, 1) = 2.0;
    m[1][0] = 3.0;
    EXPECT_EQ(m.transpose()(1, 0), 2.0);
    EXPECT_EQ(m.transpose().matrix[0][1], 3.0);
}

TEST(FoundationMatrix, InverseDeterminantAndSingular) {
    double values[4][4] = {{2, 0, 1, 0}, {1, 3, 0, 0}, {0, 1, 4, 0}, {5, -2, 7, 1}};
    const MMatrix m(values);
    EXPECT_TRUE((m * m.inverse()).isEquivalent(MMatrix::identity, 1e-14));
    EXPECT_TRUE((m.inverse() * m).isEquivalent(MMatrix::identity, 1e-14));
    EXPECT_DOUBLE_EQ(m.det4x4(), 2 * 12 - 0 + 1 * 1);  // 2*(3*4-0*1) - 0 + 1*(1*1-3*0)
    EXPECT_DOUBLE_EQ(m.det3x3(), 25.0);
    EXPECT_FALSE(m.isSingular());

    double flat[4][4] = {{1, 2, 3, 0}, {2, 4, 6, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const MMatrix singular(flat);
    EXPECT_TRUE(singular.isSingular());
    EXPECT_EQ(singular.inverse(), MMatrix::identity);
    EXPECT_EQ(singular.det4x4(), 0.0);
}

TEST(FoundationMatrix, FloatMatrixStaysSingle) {
    double values[4][4] = {{0.1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}};
    const MFloatMatrix f(values);
    EXPECT_EQ(f.matrix[0][0], 0.1f);
    EXPECT_EQ(f(3, 2), 3.0f);
    EXPECT_TRUE((f * f.inverse()).isEquivalent(MFloatMatrix()));
    float raw[4][4];
    f.get(raw);
    EXPECT_EQ(MFloatMatrix(raw), f);
    EXPECT_EQ(MFloatMatrix(), MFloatMatrix().transpose());
}

TEST(FoundationQuaternion, ProductMatchesMatrixProduct) {
    const MQuaternion a = MQuaternion().setAxisAngle(MVector(1.0, 2.0, 3.0), 0.7);
    const MQuaternion b = MQuaternion().setAxisAngle(MVector(-1.0, 0.5, 0.0), 1.9);
    EXPECT_TRUE((a * b).asMatrix().isEquivalent(a.asMatrix() * b.asMatrix(), 1e-14));
    const MVector v(0.3, -0.2, 0.9);
    expectNear(v.rotateBy(a).rotateBy(b), v.rotateBy(a * b));
    expectNear(v.rotateBy(a), v * a.asMatrix());
    expectNear(v.rotateBy(a).rotateBy(a.conjugate()), v);
    EXPECT_TRUE((a * a.inverse()).isEquivalent(MQuaternion::identity, 1e-15));

    MVector axis;
    double angle = 0.0;
    EXPECT_TRUE(a.getAxisAngle(axis, angle));
    EXPECT_NEAR(angle, 0.7, 1e-14);
    expectNear(axis, MVector(1.0, 2.0, 3.0).normal());
    EXPECT_FALSE(MQuaternion().getAxisAngle(axis, angle));
    EXPECT_EQ(MQuaternion().setAxisAngle(MVector::zero, 1.0), MQuaternion::identity);

    // Back from a matrix, including a half turn (trace -1).
    for (const MQuaternion& q : {a, b, MQuaternion(kPi, MVector::yAxis)}) {
        MQuaternion back;
        back = q.asMatrix();
        EXPECT_TRUE(back.asMatrix().isEquivalent(q.asMatrix(), 1e-14));
    }
}

TEST(FoundationTransformation, AxisAngleToEulerXYZRoundTrip) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> component(-1.0, 1.0);
    std::uniform_real_distribution<double> turn(-kPi, kPi);
    for (int i = 0; i < 50; ++i) {
        const MVector axis(component(random), component(random), component(random));
        const double angle = turn(random);
        MTransformationMatrix t;
        ASSERT_EQ(t.setToRotationAxis(axis, angle), MS::kSuccess);
        ASSERT_EQ(t.reorderRotation(MTransformationMatrix::kXYZ), MS::kSuccess);
        double euler[3];
        MTransformationMatrix::RotationOrder order = MTransformationMatrix::kXYZ;
        ASSERT_EQ(t.getRotation(euler, order), MS::kSuccess);
        EXPECT_EQ(order, MTransformationMatrix::kXYZ);
        EXPECT_LE(std::fabs(euler[1]), kPi / 2 + 1e-15);
        // X first, then Y, then Z, each by the right-hand rule.
        EXPECT_TRUE(eulerMatrix(euler, MTransformationMatrix::kXYZ).isEquivalent(rotation(axis, angle), 1e-12))
            << "axis " << axis << " angle " << angle;
        EXPECT_TRUE(t.asMatrix().isEquivalent(rotation(axis, angle), 1e-14));
    }
}

TEST(FoundationTransformation, SingleAxisAnglesComeBackExactly) {
    MTransformationMatrix t;
    t.setToRotationAxis(MVector(2.0, 0.0, 0.0), 0.3);
    double euler[3];
    MTransformationMatrix::RotationOrder order = MTransformationMatrix::kXYZ;
    t.getRotation(euler, order);
    EXPECT_NEAR(euler[0], 0.3, 1e-15);
    EXPECT_NEAR(euler[1], 0.0, 1e-15);
    EXPECT_NEAR(euler[2], 0.0, 1e-15);
    // Rotating x about y turns it toward -z.
    t.setToRotationAxis(MVector::yAxis, kPi / 2);
    expectNear(MVector::xAxis * t.asMatrix(), MVector::zNegAxis, 1e-15);
    EXPECT_EQ(t.setToRotationAxis(MVector::zero, 1.0), MS::kInvalidParameter);
}

TEST(FoundationTransformation, EveryOrderRebuildsItsRotation) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> turn(-kPi, kPi);
    for (int o = MTransformationMatrix::kXYZ; o <= MTransformationMatrix::kZYX; ++o) {
        const auto order = static_cast<MTransformationMatrix::RotationOrder>(o);
        for (int i = 0; i < 20; ++i) {
            const double angles[3] = {turn(random), turn(random), turn(random)};
            MTransformationMatrix t;
            ASSERT_EQ(t.setRotation(angles, order), MS::kSuccess);
            EXPECT_TRUE(t.asMatrix().isEquivalent(eulerMatrix(angles, order), 1e-14));
            // Ask in every other order: same orientation.
            for (int other = MTransformationMatrix::kXYZ; other <= MTransformationMatrix::kZYX; ++other) {
                MTransformationMatrix copy = t;
                ASSERT_EQ(copy.reorderRotation(static_cast<MTransformationMatrix::RotationOrder>(other)), MS::kSuccess);
                double back[3];
                MTransformationMatrix::RotationOrder reported = MTransformationMatrix::kInvalid;
                ASSERT_EQ(copy.getRotation(back, reported), MS::kSuccess);
                EXPECT_EQ(reported, other);
                EXPECT_TRUE(eulerMatrix(back, reported).isEquivalent(eulerMatrix(angles, order), 1e-12))
                    << "order " << o << " reported in " << other;
            }
        }
    }
    MTransformationMatrix t;
    EXPECT_EQ(t.reorderRotation(MTransformationMatrix::kInvalid), MS::kInvalidParameter);
    EXPECT_EQ(t.rotationOrder(), MTransformationMatrix::kXYZ);
}

TEST(FoundationTransformation, GimbalLockStillRebuilds) {
    const double angles[3] = {0.4, kPi / 2, -1.1};
    MTransformationMatrix t;
    t.setRotation(angles, MTransformationMatrix::kXYZ);
    double back[3];
    MTransformationMatrix::RotationOrder order = MTransformationMatrix::kXYZ;
    t.getRotation(back, order);
    EXPECT_NEAR(back[1], kPi / 2, 1e-7);
    EXPECT_TRUE(eulerMatrix(back, order).isEquivalent(t.asMatrix(), 1e-12));
}

TEST(FoundationTransformation, DecomposesScaleShearRotationTranslation) {
    MTransformationMatrix built;
    const double scale[3] = {2.0, 0.5, -3.0};
    const double shear[3] = {0.2, -0.1, 0.3};
    const double angles[3] = {0.3, -0.6, 1.2};
    built.setScale(scale, MSpace::kTransform);
    built.setShear(shear, MSpace::kTransform);
    built.setRotation(angles, MTransformationMatrix::kXYZ);
    built.setTranslation(MVector(1.0, -2.0, 3.0), MSpace::kTransform);

    const MTransformationMatrix decomposed(built.asMatrix());
    EXPECT_TRUE(decomposed.asMatrix().isEquivalent(built.asMatrix(), 1e-13));
    double s[3], h[3], r[3];
    MTransformationMatrix::RotationOrder order = MTransformationMatrix::kXYZ;
    decomposed.getScale(s, MSpace::kWorld);
    decomposed.getShear(h, MSpace::kWorld);
    decomposed.getRotation(r, order);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(s[i], scale[i], 1e-13);
        EXPECT_NEAR(h[i], shear[i], 1e-13);
        EXPECT_NEAR(r[i], angles[i], 1e-13);
    }
    expectNear(decomposed.getTranslation(MSpace::kTransform), MVector(1.0, -2.0, 3.0));
    MStatus status;
    decomposed.getTranslation(MSpace::kInvalid, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
}

TEST(FoundationTransformation, ZeroScaleKeepsARotation) {
    MMatrix flat = rotation(MVector(1.0, 1.0, 0.0), 0.8);
    for (int j = 0; j < 3; ++j)
        flat.matrix[1][j] = 0.0;  // no y extent
    const MTransformationMatrix t(flat);
    EXPECT_TRUE(t.asMatrix().isEquivalent(flat, 1e-14));
    const MMatrix r = t.asRotateMatrix();
    EXPECT_TRUE((r * r.transpose()).isEquivalent(MMatrix::identity, 1e-14));
    EXPECT_NEAR(r.det3x3(), 1.0, 1e-14);


    MMatrix collapsed = translation(1.0, 2.0, 3.0);
    for (int i = 0; i < 3; ++i)
        collapsed.matrix[i][i] = 0.0;
    const MTransformationMatrix point(collapsed);
    EXPECT_EQ(point.asRotateMatrix(), MMatrix::identity);
    EXPECT_TRUE(point.asMatrix().isEquivalent(collapsed, 0.0));
}

TEST(FoundationMatrixDeathTest, IndexOutOfRangeAborts) {
    MMatrix m;
    EXPECT_DEATH(m(4, 0) = 1.0, "MMatrix: index 4 is out of range \\(length 4\\)");
    const MFloatMatrix f;
    EXPECT_DEATH(static_cast<void>(f[7]), "MFloatMatrix: index 7 is out of range \\(length 4\\)");
}

TEST(FoundationMatrix, Prints) {
    std::ostringstream os;
    os << MQuaternion() << ' ' << MMatrix();
    EXPECT_EQ(os.str(), "(0, 0, 0, 1) [[1, 0, 0, 0], [0, 1, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]");
}

}  // namespace
