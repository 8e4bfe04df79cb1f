// Swept geometry data and its function set, and the scene iterator the emitter's switch walk uses.

#include "data/SweptGeometryData.h"
#include "graph/Scene.h"

#include <host/Host.h>
#include <maya/MDynSweptTriangle.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnDynSweptGeometryData.h>
#include <maya/MItDependencyNodes.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using host::geom::SweptTriangle;
using host::geom::Vec3;

// A right triangle in the xy plane that moves by (0, 0, 2) over the step, with UVs per corner.
SweptTriangle movingTriangle() {
    SweptTriangle t;
    t.previous[0] = Vec3(0, 0, 0);
    t.previous[1] = Vec3(2, 0, 0);
    t.previous[2] = Vec3(0, 2, 0);
    for (int k = 0; k < 3; ++k) {
        t.current[k] = t.previous[k] + Vec3(0, 0, 2);
        t.u[k] = 0.1 * k;
        t.v[k] = 0.2 * k;
    }
    return t;
}

TEST(SweptGeometry, TrianglesInterpolateBetweenTheSteps) {
    SweptTriangle degenerate;
    MObject data = host::makeSweptGeometryData({movingTriangle(), degenerate});
    MStatus status;
    MFnDynSweptGeometryData fn(data, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(fn.triangleCount(), 2);

    const MDynSweptTriangle t = fn.sweptTriangle(0, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(t.vertex(1, 0.0), MVector(2, 0, 0));
    EXPECT_EQ(t.vertex(1, 0.5), MVector(2, 0, 1));
    EXPECT_EQ(t.vertex(1), MVector(2, 0, 2));
    EXPECT_EQ(t.normal(0.25), MVector(0, 0, 1));  // unit, right-hand rule over corners 0, 1, 2
    EXPECT_EQ(t.uvPoint(2), MVector(0.2, 0.4, 0));
    EXPECT_DOUBLE_EQ(t.area(), 2.0);

    EXPECT_EQ(fn.sweptTriangle(1).normal(), MVector(0, 0, 0));
    fn.sweptTriangle(2, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    fn.sweptTriangle(-1, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
}

TEST(SweptGeometry, FunctionSetRefusesOtherData) {
    MStatus status;
    MFnDynSweptGeometryData refused(MFnDoubleArrayData().create(), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(refused.triangleCount(), 0);
    MFnDynSweptGeometryData(MObject(), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);

    MFnDynSweptGeometryData empty;
    MObject made = empty.create();
    EXPECT_EQ(made.apiType(), MFn::kDynSweptGeometryData);
    EXPECT_EQ(empty.triangleCount(&status), 0);
    EXPECT_EQ(status, MStatus::kSuccess);
}

TEST(DependencyNodeIterator, FiltersByTypeInCreationOrderAndSurvivesChanges) {
    host::newScene();
    ASSERT_TRUE(host::execute("createNode tripleShadingSwitch -n s1; particle -n p1; "
                              "createNode tripleShadingSwitch -n s2; createNode tripleShadingSwitch -n s3"));
    std::vector<std::string> seen;
    for (MItDependencyNodes it(MFn::kShadingSwitch); !it.isDone(); it.next()) {
        const std::string name = MFnDependencyNode(it.item()).name().asChar();
        seen.push_back(name);
        if (name == "s1") {
            // Changes during the walk: a new switch is not visited, a deleted one is skipped.
            ASSERT_TRUE(host::execute("createNode tripleShadingSwitch -n s4; delete s2"));
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"s1", "s3"}));

    MItDependencyNodes all;
    unsigned count = 0;
    for (; !all.isDone(); all.next())
        ++count;
    EXPECT_EQ(count, host::sceneNodes().size());
    EXPECT_EQ(all.item().isNull(), true);
    EXPECT_NE(all.next(), MStatus::kSuccess);
    host::newScene();
}

}  // namespace
