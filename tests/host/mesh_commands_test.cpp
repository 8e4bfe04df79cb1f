#include "command_fixture.h"

#include "geometry/MeshPrimitives.h"

#include <maya/MFnMesh.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MItMeshVertex.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <cmath>
#include <string>
#include <vector>

using cmdtest::CommandTest;
using host::geom::PolyMesh;
using host::geom::Vec3;

namespace {

constexpr double kPi = 3.14159265358979323846;

double totalArea(const PolyMesh& m) {
    double a = 0.0;
    for (int p = 0; p < m.numPolygons(); ++p) a += m.polygonArea(p);
    return a;
}

void expectUV(MItMeshPolygon& it, int corner, float u, float v) {
    float2 uv = {-1, -1};
    ASSERT_EQ(it.getUV(corner, uv), MStatus::kSuccess);
    EXPECT_FLOAT_EQ(uv[0], u);
    EXPECT_FLOAT_EQ(uv[1], v);
}

TEST(MeshPrimitives, PlaneLayout) {
    const PolyMesh plane = host::geom::makePolyPlane(4.0, 2.0, 4, 2);
    ASSERT_TRUE(plane.isValid());
    EXPECT_EQ(plane.numVertices(), 15);
    EXPECT_EQ(plane.numPolygons(), 8);
    EXPECT_DOUBLE_EQ(totalArea(plane), 8.0);
    for (int p = 0; p < plane.numPolygons(); ++p) {
        EXPECT_EQ(plane.faceNormal(p), (Vec3{0, 1, 0}));
        EXPECT_DOUBLE_EQ(plane.polygonArea(p), 1.0);
    }
    // Vertex 0 at (-w/2, 0, h/2) with UV (0, 0); the last at (w/2, 0, -h/2) with UV (1, 1).
    EXPECT_EQ(plane.point(0), (Vec3{-2, 0, 1}));
    EXPECT_EQ(plane.point(14), (Vec3{2, 0, -1}));
    Vec3 p;
    ASSERT_EQ(plane.pointAtUV(5, 0.375f, 0.75f, p), host::geom::UVLookup::kFound);  // quad (1, 1)
    EXPECT_NEAR(p.x, -0.5, 1e-7);
    EXPECT_NEAR(p.z, -0.5, 1e-7);
    EXPECT_EQ(plane.pointAtUV(0, 0.375f, 0.75f, p), host::geom::UVLookup::kOutside);
}

TEST(MeshPrimitives, CubeAreasNormalsAndUVs) {
    const PolyMesh cube = host::geom::makePolyCube(2.0, 3.0, 4.0);
    ASSERT_TRUE(cube.isValid());
    EXPECT_DOUBLE_EQ(totalArea(cube), 2.0 * (2 * 3 + 2 * 4 + 3 * 4));
    const Vec3 normals[6] = {{0, 0, 1}, {0, 1, 0}, {0, 0, -1}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}};
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(cube.faceNormal(f), normals[f]) << f;
        const Vec3 c = cube.polygonCenter(f);
        EXPECT_GT(dot(c, normals[f]), 0.0);
    }
    // Every corner has a UV, and each face's UVs span a square of side 1/4: the unfolded cross.
    for (int f = 0; f < 6; ++f) {
        host::geom::MeshUV lo{1, 1}, hi{0, 0};
        for (int k = 0; k < 4; ++k) {
            host::geom::MeshUV uv;
            ASSERT_TRUE(cube.cornerUV(f, k, uv));
            lo = {std::min(lo.u, uv.u), std::min(lo.v, uv.v)};
            hi = {std::max(hi.u, uv.u), std::max(hi.v, uv.v)};
        }
        EXPECT_FLOAT_EQ(hi.u - lo.u, 0.25f);
        EXPECT_FLOAT_EQ(hi.v - lo.v, 0.25f);
    }
    // UV v runs up the front face (y), u across it (x).
    Vec3 p;
    ASSERT_EQ(cube.pointAtUV(0, 0.5f, 0.125f, p), host::geom::UVLookup::kFound);
    EXPECT_NEAR(p.x, 0.0, 1e-7);
    EXPECT_NEAR(p.y, 0.0, 1e-7);
    EXPECT_DOUBLE_EQ(p.z, 2.0);
    EXPECT_EQ(cube.pointAtUV(0, 0.5f, 0.375f, p), host::geom::UVLookup::kOutside);  // the top face's UVs
}

TEST(MeshPrimitives, SphereClosesAndItsAreaConverges) {
    const PolyMesh coarse = host::geom::makePolySphere(2.0, 20, 20);
    ASSERT_TRUE(coarse.isValid());
    EXPECT_EQ(coarse.numVertices(), 20 * 19 + 2);
    EXPECT_EQ(coarse.numPolygons(), 20 * 20);
    // Closed: every vertex has a neighbourhood of faces; every face points away from the centre.
    for (int f = 0; f < coarse.numPolygons(); ++f)
        EXPECT_GT(dot(coarse.faceNormal(f), coarse.polygonCenter(f)), 0.0) << f;
    for (int v = 0; v < coarse.numVertices(); ++v) {
        EXPECT_GE(coarse.vertexFaces(v).size(), 4);
        EXPECT_NEAR(dot(coarse.vertexNormal(v), coarse.point(v) / 2.0), 1.0, 1e-3);
    }
    // The area approaches 4 pi r^2 from below, the error falling about fourfold per doubling.
    const double exact = 4.0 * kPi * 4.0;
    double lastError = 1e9;
    for (int n : {10, 20, 40, 80, 160}) {
        const double error = exact - totalArea(host::geom::makePolySphere(2.0, n, n));
        EXPECT_GT(error, 0.0);
        EXPECT_LT(error, lastError / 3.5);
        lastError = error;
    }
    EXPECT_LT(lastError / exact, 2e-4);
    // UVs: the seam column is repeated; pole triangles carry their own pole UV.
    EXPECT_EQ(coarse.numUVs(), 21 * 19 + 2 * 20);
    host::geom::MeshUV uv;
    ASSERT_TRUE(coarse.cornerUV(20 * 18, 0, uv));  // first south-pole triangle, pole corner
    EXPECT_FLOAT_EQ(uv.u, 0.025f);
    EXPECT_FLOAT_EQ(uv.v, 0.0f);
}

MDagPath pathOf(const char* name) {
    MSelectionList list;
    MDagPath path;
    EXPECT_EQ(list.add(MString(name)), MStatus::kSuccess) << name;
    EXPECT_EQ(list.getDagPath(0, path), MStatus::kSuccess) << name;
    return path;
}

TEST_F(CommandTest, PolyPrimitiveCommandsNameTheirObjects) {
    ok("polyPlane -w 4 -h 2 -sx 4 -sy 2");
    MStringArray names;
    ASSERT_EQ(result.getResult(names), MStatus::kSuccess);
    ASSERT_EQ(names.length(), 1u);
    EXPECT_EQ(names[0], MString("pPlane1"));
    ok("polyPlane");
    ok("polySphere -r 2 -sx 8 -sy 6");
    ok("polyCube -w 2 -h 3 -d 4 -ch on");
    ok("polyCreateFacet -p 0 0 0 -p 2 0 0 -p 2 1 1 -p 0 1 0");
    ok("polyCube -n box");
    ok("polyCube -n box");
    ASSERT_EQ(result.getResult(names), MStatus::kSuccess);
    EXPECT_EQ(names[0], MString("box1"));
    for (const char* path : {"|pPlane1|pPlaneShape1", "|pPlane2|pPlaneShape2", "|pSphere1|pSphereShape1",
                             "|pCube1|pCubeShape1", "|polySurface1|polySurfaceShape1", "|box|boxShape",
                             "|box1|boxShape1"})
        EXPECT_EQ(pathOf(path).fullPathName(), MString(path));

    MFnMesh plane(pathOf("pPlane1"));  // a transform's path reaches its mesh
    EXPECT_EQ(plane.numPolygons(), 8);
    EXPECT_TRUE(pathOf("pPlane1").hasFn(MFn::kMesh));
    EXPECT_EQ(MFnMesh(host::nodeByName("pPlaneShape2")).numPolygons(), 100);
    EXPECT_EQ(MFnMesh(host::nodeByName("pSphereShape1")).numPolygons(), 48);
    MFnMesh facet(host::nodeByName("polySurfaceShape1"));
    EXPECT_EQ(facet.numPolygons(), 1);
    EXPECT_EQ(facet.numVertices(), 4);

    // Polygon iteration over the command's meshes: plane UVs, the facet without UVs.
    MItMeshPolygon it(host::nodeByName("pPlaneShape1"));
    expectUV(it, 0, 0.0f, 0.0f);
    expectUV(it, 2, 0.25f, 0.5f);
    MPoint p(9, 9, 9);
    float2 inside = {0.125f, 0.25f}, outside = {0.5f, 0.25f};
    ASSERT_EQ(it.getPointAtUV(p, inside), MStatus::kSuccess);
    EXPECT_NEAR(p.x, -1.5, 1e-6);
    EXPECT_NEAR(p.z, 0.5, 1e-6);
    EXPECT_EQ(it.getPointAtUV(p, outside), MStatus::kFailure);
    MItMeshPolygon facetIt(host::nodeByName("polySurfaceShape1"));
    p = MPoint(9, 9, 9);
    EXPECT_EQ(facetIt.getPointAtUV(p, inside), MStatus::kInvalidParameter);
    EXPECT_EQ(p, MPoint(9, 9, 9));
    double area = 0.0;
    ASSERT_EQ(facetIt.getArea(area), MStatus::kSuccess);
    EXPECT_NEAR(area, std::sqrt(2.0) + std::sqrt(5.0) / 2.0, 1e-12);  // non-planar: the fan sum
}

TEST_F(CommandTest, ClosestPointsInWorldSpaceFollowTheTransform) {
    ok("polyPlane -w 2 -h 2 -sx 2 -sy 2");
    ok("polyCube -w 2 -h 2 -d 2");
    MPoint closest;
    MVector normal;
    int polygon = -1;
    MFnMesh plane(pathOf("pPlane1"));
    ASSERT_EQ(plane.getClosestPointAndNormal(MPoint(0.5, 3, 0.5), closest, normal, MSpace::kWorld, &polygon),
              MStatus::kSuccess);
    EXPECT_EQ(polygon, 1);  // quad (1, 0): x > 0, z > 0 (rows run from +z to -z)
    EXPECT_EQ(closest, MPoint(0.5, 0, 0.5));

    // Moved up by 5 and turned a quarter about z: the plane now stands in x = -5 ... facing -x.
    ok("setAttr pPlane1.translate 0 5 0");
    ok("setAttr pPlane1.rotate 0 0 90");
    plane.setObject(pathOf("pPlane1"));
    ASSERT_EQ(plane.getClosestPointAndNormal(MPoint(-3, 5.5, 0.5), closest, normal, MSpace::kWorld, &polygon),
              MStatus::kSuccess);
    EXPECT_NEAR(closest.x, 0.0, 1e-12);
    EXPECT_NEAR(closest.y, 5.5, 1e-12);
    EXPECT_NEAR(closest.z, 0.5, 1e-12);
    EXPECT_NEAR(normal.x, -1.0, 1e-12);
    EXPECT_NEAR(normal.y, 0.0, 1e-12);
    ASSERT_EQ(plane.getClosestPointAndNormal(MPoint(-3, 5.5, 0.5), closest, normal, MSpace::kObject, &polygon),
              MStatus::kSuccess);
    EXPECT_EQ(closest, MPoint(-1, 0, 0.5));  // object space ignores the transform

    // The cube scaled non-uniformly and moved: its +x face lies at x = 4 + 3.
    ok("setAttr pCube1.scale 3 1 1");
    ok("setAttr pCube1.translate 4 0 0");
    MFnMesh cube(pathOf("pCubeShape1"));
    ASSERT_EQ(cube.getClosestPointAndNormal(MPoint(10, 0.25, -0.5), closest, normal, MSpace::kWorld, &polygon),
              MStatus::kSuccess);
    EXPECT_EQ(polygon, 4);
    EXPECT_NEAR(closest.x, 7.0, 1e-12);
    EXPECT_NEAR(closest.y, 0.25, 1e-12);
    EXPECT_NEAR(closest.z, -0.5, 1e-12);
    EXPECT_NEAR(normal.x, 1.0, 1e-12);

    // The shape's worldMesh output carries the matrix; connected data answers in world space too.
    MObject world;
    ASSERT_EQ(host::plugByName("pCubeShape1.worldMesh[0]").getValue(world), MStatus::kSuccess);
    MItMeshPolygon face(world);
    int prev;
    ASSERT_EQ(face.setIndex(4, prev), MStatus::kSuccess);
    EXPECT_NEAR(face.center(MSpace::kWorld).x, 7.0, 1e-12);
    double area = 0.0;
    ASSERT_EQ(face.getArea(area, MSpace::kWorld), MStatus::kSuccess);
    EXPECT_NEAR(area, 4.0, 1e-12);
    ASSERT_EQ(face.setIndex(0, prev), MStatus::kSuccess);
    ASSERT_EQ(face.getArea(area, MSpace::kWorld), MStatus::kSuccess);
    EXPECT_NEAR(area, 12.0, 1e-12);
    // A shape fed by another's worldMesh takes that mesh in world space, and follows its moves.
    ok("createNode mesh -n copyShape");
    ok("connectAttr pCubeShape1.worldMesh[0] copyShape.inMesh");
    MPoint p;
    ASSERT_EQ(MFnMesh(host::nodeByName("copyShape")).getPoint(1, p), MStatus::kSuccess);
    EXPECT_EQ(p, MPoint(7, -1, 1));
    ok("setAttr pCube1.translate 5 0 0");
    ASSERT_EQ(MFnMesh(host::nodeByName("copyShape")).getPoint(1, p), MStatus::kSuccess);
    EXPECT_EQ(p, MPoint(8, -1, 1));

    float2 uv;
    MPoint q(4.0, 0.0, 5.0);
    ASSERT_EQ(face.getUVAtPoint(q, uv, MSpace::kWorld), MStatus::kSuccess);
    EXPECT_NEAR(uv[0], 0.5f, 1e-6);
    EXPECT_NEAR(uv[1], 0.125f, 1e-6);
}

TEST_F(CommandTest, PolyCommandErrorsCreateNothing) {
    const size_t before = host::sceneNodes().size();
    fails("polyPlane -sx 0", {"-subdivisionsX"});
    fails("polyPlane -w -1", {"-w", "greater than 0"});
    fails("polyPlane -w abc", {"number"});
    fails("polySphere -sx 2", {"-subdivisionsX", "3 to"});
    fails("polySphere -sy 1", {"-subdivisionsY", "2 to"});
    fails("polyCube -q 1", {"flag"});
    fails("polyCube 3", {"flags only"});
    fails("polyCube -n 1abc", {"not a valid node name"});
    fails("polyCreateFacet -p 0 0 0 -p 1 0 0", {"three points"});
    fails("polyCreateFacet -p 0 0 0 -p 1 0", {"three numbers"});
    fails("polyCreateFacet -p 0 0 x -p 1 0 0 -p 0 1 0", {"three numbers"});
    fails("polyPlane -sx 10000 -sy 10000", {"too many faces"});
    EXPECT_EQ(host::sceneNodes().size(), before);
}

}  // namespace
