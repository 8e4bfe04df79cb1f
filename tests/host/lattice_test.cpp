#include "command_fixture.h"
#include "data/LatticeData.h"
#include "geometry/Lattice.h"

#include <maya/MFnLattice.h>
#include <maya/MFnLatticeData.h>
#include <maya/MTransformationMatrix.h>

#include <gtest/gtest.h>

using cmdtest::CommandTest;
using host::geom::Lattice;
using host::geom::Vec3;

namespace {

void expectNear(const Vec3& a, const Vec3& b, double tol = 1e-12) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

}  // namespace

TEST(LatticeGeometry, RegularGridAndPointOrder) {
    const Lattice lattice(3, 4, 2);
    ASSERT_TRUE(lattice.isValid());
    ASSERT_EQ(lattice.count(), 24);
    // s fastest, then t, then u; s along x, t along y, u along z over the unit cube.
    expectNear(lattice.points()[0], {-0.5, -0.5, -0.5});
    expectNear(lattice.points()[1], {0.0, -0.5, -0.5});
    expectNear(lattice.points()[3], {-0.5, -0.5 + 1.0 / 3.0, -0.5});
    expectNear(lattice.points()[12], {-0.5, -0.5, 0.5});
    expectNear(lattice.points()[23], {0.5, 0.5, 0.5});
    EXPECT_EQ(lattice.index(2, 1, 1), 2 + 3 * (1 + 4 * 1));
    int s = -1, t = -1, u = -1;
    ASSERT_TRUE(lattice.indices(17, s, t, u));
    EXPECT_EQ(lattice.index(s, t, u), 17);
    EXPECT_FALSE(lattice.indices(24, s, t, u));
    EXPECT_EQ(lattice.index(3, 0, 0), -1);
    EXPECT_EQ(lattice.index(0, -1, 0), -1);
    Vec3 p;
    EXPECT_FALSE(lattice.getPoint(0, 4, 0, p));

    EXPECT_EQ(Lattice().count(), 8);
    for (const Lattice& bad : {Lattice(1, 2, 2), Lattice(2, 2, 1001), Lattice(1000, 1000, 2),
                               Lattice(2, 2, 2, std::vector<Vec3>(7))}) {
        EXPECT_FALSE(bad.isValid());
        EXPECT_EQ(bad.count(), 0);
        EXPECT_EQ(bad.index(0, 0, 0), -1);
    }
}

TEST(LatticeGeometry, NewDivisionsResampleTheGrid) {
    Lattice lattice(2, 2, 2);
    // Stretch the grid along x and lift one corner; an affine change survives resampling exactly.
    for (int i = 0; i < lattice.count(); ++i) {
        Vec3 p = lattice.points()[i];
        p.x *= 4.0;
        ASSERT_TRUE(lattice.setPoint(i, p));
    }
    ASSERT_TRUE(lattice.setDivisions(5, 2, 3));
    EXPECT_EQ(lattice.count(), 30);
    expectNear(lattice.points()[1], {-1.0, -0.5, -0.5});
    expectNear(lattice.points()[lattice.index(4, 1, 1)], {2.0, 0.5, 0.0});
    EXPECT_FALSE(lattice.setDivisions(1, 2, 2));
    EXPECT_EQ(lattice.count(), 30);
    EXPECT_FALSE(lattice.setPoint(30, {0, 0, 0}));
    EXPECT_FALSE(lattice.setPoint(0, {std::nan(""), 0, 0}));
}

TEST(LatticeFunctionSet, DataDivisionsPointsAndWorldSpace) {
    MFnLatticeData dataFn;
    MStatus status;
    MObject data = dataFn.create(&status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(data.apiType(), MFn::kLatticeData);
    EXPECT_TRUE(data.hasFn(MFn::kLattice));
    MFnLattice fn(dataFn.lattice(), &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    unsigned s = 0, t = 0, u = 0;
    EXPECT_EQ(fn.getDivisions(s, t, u), MStatus::kSuccess);
    EXPECT_EQ(s + t + u, 6u);
    EXPECT_EQ(fn.setDivisions(3, 2, 2), MStatus::kSuccess);
    EXPECT_EQ(fn.point(1, 1, 1, &status), MPoint(0.0, 0.5, 0.5));
    fn.point(3, 0, 0, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(fn.setDivisions(3, 2, 0), MStatus::kInvalidParameter);
    EXPECT_EQ(fn.setDivisions(4000000000u, 2, 2), MStatus::kInvalidParameter);
    fn.getDivisions(s, t, u);
    EXPECT_EQ(s, 3u);

    MFnLattice wrong(MObject(), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(wrong.getDivisions(s, t, u), MStatus::kFailure);
    MFnLatticeData notLattice(MObject(), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);

    MTransformationMatrix m;
    m.setTranslation(MVector(0.0, 10.0, 0.0), MSpace::kTransform);
    auto moved = std::make_shared<host::LatticeData>(Lattice(2, 2, 2), m.asMatrix());
    expectNear(moved->worldLattice().points()[0], {-0.5, 9.5, -0.5});
    expectNear(moved->lattice().points()[0], {-0.5, -0.5, -0.5});
}

TEST_F(CommandTest, LatticeShapeDivisionsControlPointsAndInput) {
    ok("lattice -dv 3 2 2");
    MStringArray names;
    ASSERT_TRUE(result.getResult(names));
    ASSERT_EQ(names.length(), 1u);
    EXPECT_EQ(names[0], "ffd1Lattice");
    EXPECT_TRUE(host::findNode("ffd1LatticeShape"));
    MFnLattice fn(host::nodeByName("ffd1LatticeShape"));
    unsigned s = 0, t = 0, u = 0;
    ASSERT_EQ(fn.getDivisions(s, t, u), MStatus::kSuccess);
    EXPECT_EQ(s, 3u);
    EXPECT_EQ(t, 2u);

    // A control point moves point (1, 1, 0) = index 1 + 3 * 1; elements past the grid are ignored.
    ok("setAttr ffd1LatticeShape.controlPoints[4] 7 8 9");
    ok("setAttr ffd1LatticeShape.controlPoints[99] 1 1 1");
    fn.setObject(host::nodeByName("ffd1LatticeShape"));
    EXPECT_EQ(fn.point(1, 1, 0), MPoint(7, 8, 9));
    EXPECT_EQ(fn.point(2, 1, 0), MPoint(0.5, 0.5, -0.5));

    // Divisions set on the shape; out-of-range values are clamped.
    ASSERT_EQ(fn.setDivisions(2, 3, 4), MStatus::kSuccess);
    fn.getDivisions(s, t, u);
    EXPECT_EQ(u, 4u);
    ok("setAttr ffd1LatticeShape.sDivisions 0");
    fn.setObject(host::nodeByName("ffd1LatticeShape"));
    fn.getDivisions(s, t, u);
    EXPECT_EQ(s, 2u);

    // A lattice on the input is the shape's lattice.
    ok("createNode lattice -n deformed");
    ok("connectAttr ffd1LatticeShape.worldLattice[0] deformed.latticeInput");
    MFnLattice second(host::nodeByName("deformed"));
    second.getDivisions(s, t, u);
    EXPECT_EQ(t, 3u);
    EXPECT_EQ(u, 4u);

    ok("lattice -n cage");
    ASSERT_TRUE(result.getResult(names));
    EXPECT_EQ(names[0], "cageLattice");
    ok("lattice");
    ASSERT_TRUE(result.getResult(names));
    EXPECT_EQ(names[0], "ffd2Lattice");
    fails("lattice -dv 1 2 2", {"-divisions"});
    fails("lattice -dv 2 two 2", {"-divisions"});
    fails("lattice -dv 1000 1000 1000", {"-divisions"});
    fails("lattice pSphere1", {"not supported"});
}
