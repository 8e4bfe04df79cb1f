// meshConstraint through the loaded plug-in: the position, rotation and normal at a polygon's (u, v), and
// the requests it refuses.

#include "animation_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using anim::numbers;
using anim::run;

class MeshConstraint : public anim::AnimationSuite {
protected:
    void SetUp() override {
        AnimationSuite::SetUp();
        // A 2 by 2 plane of 2 by 2 quads in the xz plane facing +y; each quad covers a quarter of the UVs.
        run("polyPlane -w 2 -h 2 -sx 2 -sy 2 -n pl; createNode meshConstraint -n mc;"
            "connectAttr plShape.worldMesh[0] mc.inMesh");
    }
    void setInput(int element, int polygon, double u, double v) {
        const std::string at = "mc.input[" + std::to_string(element) + "].";
        run("setAttr " + at + "polygonId " + std::to_string(polygon) + "; setAttr " + at + "uValue " +
            std::to_string(u) + "; setAttr " + at + "vValue " + std::to_string(v));
    }
    std::vector<double> position(int element) {
        return numbers("getAttr mc.resultPosition[" + std::to_string(element) + "]");
    }
};

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t k = 0; k < actual.size(); ++k)
        EXPECT_NEAR(actual[k], expected[k], 1e-6) << "component " << k;
}

TEST_F(MeshConstraint, PositionIsThePointAtTheUvOrTheCentreOutsideIt) {
    setInput(0, 0, 0.25, 0.25);
    setInput(1, 0, 0.9, 0.9);
    setInput(2, 3, 0.9, 0.9);
    const std::vector<double> centre0 = position(1);
    const std::vector<double> inside = position(0);
    // (0.25, 0.25) is the middle of polygon 0's UVs, so both land on its centre.
    expectNear(inside, centre0);
    EXPECT_NEAR(centre0[1], 0.0, 1e-12);
    // (0.9, 0.9) lies inside polygon 3, at 0.8 of its width from its first UV corner.
    const std::vector<double> p3 = position(2);
    EXPECT_NEAR(std::fabs(p3[0]), 0.8, 1e-6);
    EXPECT_NEAR(std::fabs(p3[2]), 0.8, 1e-6);
    // The output is the single-precision point widened: 0.8 shows as the float nearest it.
    EXPECT_EQ(std::fabs(p3[0]), static_cast<double>(static_cast<float>(std::fabs(p3[0]))));
}

TEST_F(MeshConstraint, PolygonIdsAreClampedToTheMesh) {
    setInput(0, -5, 0.25, 0.25);
    setInput(1, 0, 0.25, 0.25);
    setInput(2, 99, 0.75, 0.75);
    setInput(3, 3, 0.75, 0.75);
    expectNear(position(0), position(1));
    expectNear(position(2), position(3));
}

TEST_F(MeshConstraint, NormalIsScaledByThreeAndRotationFollowsTheFirstEdge) {
    setInput(0, 0, 0.25, 0.25);
    expectNear(numbers("getAttr mc.resultNormal[0]"), {0, 3, 0});
    // A normal along y needs no first rotation: only a turn about y remains.
    const std::vector<double> rotation = numbers("getAttr mc.resultRotation[0]");
    ASSERT_EQ(rotation.size(), 3u);
    EXPECT_NEAR(rotation[0], 0.0, 1e-9);
    EXPECT_NEAR(rotation[2], 0.0, 1e-9);
    EXPECT_NEAR(std::fabs(rotation[1]), 90.0, 1e-6) << "the plane's first edge runs along x";

    // A square facing +z: the y axis turns onto z about x, then the edge along x stays: (90, 0, 90).
    run("polyCreateFacet -p 0 0 0 -p 1 0 0 -p 1 1 0 -p 0 1 0 -n sq; connectAttr -f sqShape.worldMesh[0] mc.inMesh");
    expectNear(numbers("getAttr mc.resultNormal[0]"), {0, 0, 3});
    expectNear(numbers("getAttr mc.resultRotation[0]"), {90, 0, 90});
}

TEST_F(MeshConstraint, ANonPlanarFirstEdgeIsProjectedIntoThePolygonsPlane) {
    // The first corner is lifted: the first edge leaves the plane whose normal the polygon reports.
    run("polyCreateFacet -p 0 0 0.5 -p 1 0 0 -p 1 1 0 -p 0 1 0 -n bent; connectAttr -f bentShape.worldMesh[0] mc.inMesh");
    setInput(0, 0, 0.5, 0.5);
    const std::vector<double> rotation = numbers("getAttr mc.resultRotation[0]");
    ASSERT_EQ(rotation.size(), 3u);
    for (double angle : rotation)
        EXPECT_TRUE(std::isfinite(angle));
    // Without UVs the point query fails with another code than kFailure: the point stays the origin.
    expectNear(position(0), {0, 0, 0});
}

TEST_F(MeshConstraint, MissingInputsFailAndLeaveThePlugDirty) {
    // No input element 4.
    EXPECT_EQ(host::evaluate("mc.resultPosition[4]"), MStatus::kUnknownParameter);
    EXPECT_FALSE(host::isPlugClean("mc.resultPosition[4]"));
    // A mesh without polygons: nothing connected to inMesh.
    setInput(0, 0, 0.25, 0.25);
    run("disconnectAttr plShape.worldMesh[0] mc.inMesh");
    host::OutputCapture capture;
    EXPECT_EQ(host::evaluate("mc.resultNormal[0]"), MStatus::kUnknownParameter);
    EXPECT_FALSE(host::isPlugClean("mc.resultNormal[0]"));
    EXPECT_EQ(capture.err(), "");
}

TEST_F(MeshConstraint, AChildPlugIsAnsweredWithoutAValue) {
    setInput(0, 0, 0.25, 0.25);
    EXPECT_EQ(host::evaluate("mc.resultRotation[0].rotateY"), MStatus::kSuccess);
    EXPECT_TRUE(host::isPlugClean("mc.resultRotation[0].rotateY"));
    EXPECT_EQ(numbers("getAttr mc.resultRotation[0].rotateY"), (std::vector<double>{0}));
}

}  // namespace
