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

#include <memory>
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

TEST(SweptGeometry, TrianglesAreViewsThatLastWhileTheDataLives) {
    const MDynSweptTriangle none;
    EXPECT_EQ(none.vertex(2, 0.5), MVector(0, 0, 0));
    EXPECT_EQ(none.uvPoint(1), MVector(0, 0, 0));
    EXPECT_EQ(none.normal(), MVector(0, 0, 0));

    MObject data = host::makeSweptGeometryData({SweptTriangle(), movingTriangle()});
    MDynSweptTriangle kept;
    {
        MFnDynSweptGeometryData fn(data);
        kept = fn.sweptTriangle(1);
    }
    // The function set is gone; the data, held by its object, is not.
    const MDynSweptTriangle copy = kept;
    EXPECT_EQ(copy.vertex(2, 0.5), MVector(0, 2, 1));
    EXPECT_EQ(copy.uvPoint(1), MVector(0.1, 0.2, 0));
    EXPECT_EQ(copy.vertex(7), MVector(0, 0, 2));  // corner 0
    EXPECT_EQ(copy.uvPoint(-1), MVector(0, 0, 0));
}

using host::geom::MeshUV;
using host::geom::PolyMesh;

// A quad (UVs on three corners) and a triangle: fan triangles (0 1 2), (0 2 3), (4 5 6).
std::shared_ptr<const PolyMesh> quadAndTriangle(double lift) {
    std::vector<Vec3> points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {3, 0, 0}, {2, 1, 0}};
    for (Vec3& p : points) p.z += lift;
    return std::make_shared<const PolyMesh>(points, std::vector<int>{4, 3}, std::vector<int>{0, 1, 2, 3, 4, 5, 6},
                                            std::vector<MeshUV>{{0.5f, 0.25f}, {1.0f, 0.75f}},
                                            std::vector<int>{0, -1, 1, 0, -1, -1, -1});
}

TEST(SweptGeometry, MeshFormReadsTheFanTrianglesOfBothSteps) {
    const auto before = quadAndTriangle(0.0);
    const auto after = quadAndTriangle(2.0);
    MObject data = host::makeSweptGeometryData(before, after);
    MFnDynSweptGeometryData fn(data);
    ASSERT_EQ(fn.triangleCount(), 3);
    const MDynSweptTriangle second = fn.sweptTriangle(1);
    EXPECT_EQ(second.vertex(1), MVector(1, 1, 2));
    EXPECT_EQ(second.vertex(2, 0.0), MVector(0, 1, 0));
    EXPECT_EQ(second.vertex(2, 0.5), MVector(0, 1, 1));
    EXPECT_EQ(second.uvPoint(0), MVector(0.5, 0.25, 0));  // corner 0 of the quad
    EXPECT_EQ(second.uvPoint(1), MVector(1.0, 0.75, 0));  // corner 2
    EXPECT_EQ(second.uvPoint(2), MVector(0.5, 0.25, 0));  // corner 3 shares UV 0
    EXPECT_EQ(fn.sweptTriangle(0).uvPoint(1), MVector(0, 0, 0));  // no UV
    EXPECT_EQ(fn.sweptTriangle(2).vertex(0, 0.0), MVector(2, 0, 0));

    // A previous mesh with the same triangle count but other polygons: its own fan triangles.
    const auto triangles = std::make_shared<const PolyMesh>(
        std::vector<Vec3>{{0, 0, 5}, {1, 0, 5}, {1, 1, 5}, {0, 1, 5}},
        std::vector<int>{3, 3, 3}, std::vector<int>{3, 2, 1, 0, 1, 2, 1, 0, 3});
    MFnDynSweptGeometryData other(host::makeSweptGeometryData(triangles, after));
    EXPECT_EQ(other.sweptTriangle(0).vertex(0, 0.0), MVector(0, 1, 5));
    EXPECT_EQ(other.sweptTriangle(1).vertex(2, 0.0), MVector(1, 1, 5));
    EXPECT_EQ(other.sweptTriangle(1).vertex(2), MVector(0, 1, 2));
    // One of another triangle count is no previous step.
    MFnDynSweptGeometryData unrelated(host::makeSweptGeometryData(std::make_shared<const PolyMesh>(), after));
    EXPECT_EQ(unrelated.sweptTriangle(1).vertex(1, 0.0), MVector(1, 1, 2));
    // No mesh, no triangles.
    EXPECT_EQ(MFnDynSweptGeometryData(host::makeSweptGeometryData(nullptr, nullptr)).triangleCount(), 0);
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

// The swept triangles of the connector's current geometry, read through its output.
MFnDynSweptGeometryData sweptOf(MObject& holder) {
    holder = MObject();
    host::plugByName("gc.sweptGeometry").getValue(holder);
    return MFnDynSweptGeometryData(holder);
}

TEST(GeoConnector, FansEachPolygonAndKeepsThePreviousStep) {
    host::newScene();
    ASSERT_TRUE(host::execute("currentTime 1; polyCreateFacet -p 0 0 0 -p 1 0 0 -p 1 0 -1 -p 0 0 -1 -n quad;"
                              "polyCreateFacet -p 0 2 0 -p 1 2 0 -p 1 2 -1 -p 0 2 -1 -n high;"
                              "createNode geoConnector -n gc; connectAttr quadShape.worldMesh[0] gc.localGeometry;"
                              "connectAttr time1.outTime gc.currentTime"));
    MObject holder;
    MFnDynSweptGeometryData swept = sweptOf(holder);
    ASSERT_EQ(swept.triangleCount(), 2);
    // Fan (0, 1, 2), (0, 2, 3); no UVs read (0, 0); the first step has no earlier one.
    EXPECT_EQ(swept.sweptTriangle(1).vertex(0), MVector(0, 0, 0));
    EXPECT_EQ(swept.sweptTriangle(1).vertex(1), MVector(1, 0, -1));
    EXPECT_EQ(swept.sweptTriangle(1).vertex(2), MVector(0, 0, -1));
    EXPECT_EQ(swept.sweptTriangle(1).vertex(2, 0.0), MVector(0, 0, -1));
    EXPECT_EQ(swept.sweptTriangle(0).uvPoint(1), MVector(0, 0, 0));
    EXPECT_EQ(swept.sweptTriangle(0).normal(), MVector(0, 1, 0));

    // The geometry moves up by 2 over the next step.
    ASSERT_TRUE(host::execute("connectAttr -f highShape.worldMesh[0] gc.localGeometry; currentTime 2"));
    swept = sweptOf(holder);
    EXPECT_EQ(swept.sweptTriangle(0).vertex(1, 0.0), MVector(1, 0, 0));
    EXPECT_EQ(swept.sweptTriangle(0).vertex(1, 0.5), MVector(1, 1, 0));
    // The swept data refers to the shapes' meshes: the corner table is shared while the polygons stay.
    auto dataOf = [](const MObject& object) { return host::dataAs<host::SweptGeometryData>(object); };
    const auto moved = dataOf(holder);
    ASSERT_TRUE(moved && moved->currentMesh() && moved->meshFans());
    ASSERT_TRUE(host::execute("currentTime 3"));
    swept = sweptOf(holder);
    const auto still = dataOf(holder);
    EXPECT_EQ(still->meshFans(), moved->meshFans());
    EXPECT_EQ(still->previousMesh(), still->currentMesh());  // the shape did not move over this step
    EXPECT_EQ(swept.sweptTriangle(0).vertex(1, 0.0), MVector(1, 2, 0));
    // Nothing changed: a second read is no new compute.
    MObject again;
    sweptOf(again);
    EXPECT_EQ(dataOf(again), still);
    // Going back in time starts over: no motion.
    ASSERT_TRUE(host::execute("currentTime 0"));
    swept = sweptOf(holder);
    EXPECT_EQ(swept.sweptTriangle(0).vertex(1, 0.0), MVector(1, 2, 0));
    // No geometry, no triangles.
    ASSERT_TRUE(host::execute("disconnectAttr highShape.worldMesh[0] gc.localGeometry; createNode geoConnector -n gc2"));
    MObject empty;
    host::plugByName("gc2.sweptGeometry").getValue(empty);
    EXPECT_EQ(MFnDynSweptGeometryData(empty).triangleCount(), 0);
    host::newScene();
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
