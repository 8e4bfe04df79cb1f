#include "command_fixture.h"

#include "data/MeshData.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MItMeshVertex.h>
#include <maya/MPlug.h>

#include <cmath>

using cmdtest::CommandTest;

namespace {

void expectNear(const MVector& a, const MVector& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

void expectNear(const MPoint& a, const MPoint& b, double tol = 1e-9) {
    expectNear(MVector(a.x, a.y, a.z), MVector(b.x, b.y, b.z), tol);
}

MIntArray ints(std::initializer_list<int> list) {
    MIntArray out;
    for (int i : list) out.append(i);
    return out;
}

// Two unit quads side by side in the xy plane (x from 0 to 2) and a triangle above them; UVs on the
// quads only: u = x / 2, v = y.
MObject twoQuadsAndATriangle(MObject owner = MObject()) {
    MFloatPointArray pts;
    for (MFloatPoint p : {MFloatPoint(0, 0, 0), MFloatPoint(1, 0, 0), MFloatPoint(2, 0, 0), MFloatPoint(0, 1, 0),
                          MFloatPoint(1, 1, 0), MFloatPoint(2, 1, 0), MFloatPoint(1, 2, 0)})
        pts.append(p);
    MFloatArray u, v;
    for (int i = 0; i < 6; ++i) {
        u.append(0.5f * static_cast<float>(i % 3));
        v.append(static_cast<float>(i / 3));
    }
    MFnMesh fn;
    MStatus status;
    MObject data = fn.create(7, 3, pts, ints({4, 4, 3}), ints({0, 1, 4, 3, 1, 2, 5, 4, 3, 4, 6}), u, v, owner, &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(fn.assignUVs(ints({4, 4, 0}), ints({0, 1, 4, 3, 1, 2, 5, 4})), MStatus::kSuccess);
    return data;
}

// The same mesh under a world matrix: scale 2, a quarter turn about z, then a move by (10, 0, 5).
MObject movedMesh() {
    auto data = host::dataAs<host::MeshData>(twoQuadsAndATriangle());
    MMatrix m;
    m.matrix[0][0] = 0.0; m.matrix[0][1] = 2.0;
    m.matrix[1][0] = -2.0; m.matrix[1][1] = 0.0;
    m.matrix[2][2] = 2.0;
    m.matrix[3][0] = 10.0; m.matrix[3][2] = 5.0;
    return MObject(std::make_shared<host::MeshData>(data->sharedMesh(), m));
}

TEST(MeshFunctionSets, CreateAndQueryAMesh) {
    MObject data = twoQuadsAndATriangle();
    MStatus status;
    MFnMesh fn(data, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(fn.numVertices(), 7);
    EXPECT_EQ(fn.numPolygons(), 3);
    EXPECT_EQ(fn.numFaceVertices(), 11);
    EXPECT_EQ(fn.numUVs(), 6);
    MIntArray verts;
    ASSERT_EQ(fn.getPolygonVertices(1, verts), MStatus::kSuccess);
    EXPECT_EQ(verts.length(), 4u);
    EXPECT_EQ(verts[1], 2);
    EXPECT_EQ(fn.getPolygonVertices(3, verts), MStatus::kInvalidParameter);
    float u = -1, v = -1;
    ASSERT_EQ(fn.getPolygonUV(1, 2, u, v), MStatus::kSuccess);
    EXPECT_EQ(u, 1.0f);
    EXPECT_EQ(v, 1.0f);
    EXPECT_EQ(fn.getPolygonUV(2, 0, u, v), MStatus::kFailure);  // the triangle has no UVs
    MString other("other");
    EXPECT_EQ(fn.getPolygonUV(1, 2, u, v, &other), MStatus::kInvalidParameter);

    // Refusals: a non-mesh object, invalid topology, a non-mesh owner.
    MFnMesh none(MObject(), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(none.numPolygons(&status), 0);
    EXPECT_EQ(status, MStatus::kFailure);
    MFloatPointArray three;
    for (int i = 0; i < 3; ++i) three.append(MFloatPoint(i, i * i, 0));
    EXPECT_TRUE(fn.create(3, 1, three, ints({3}), ints({0, 1, 3}), MObject::kNullObj, &status).isNull());
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_TRUE(fn.create(3, 1, three, ints({2}), ints({0, 1}), MObject::kNullObj, &status).isNull());
    EXPECT_TRUE(fn.create(4, 1, three, ints({3}), ints({0, 1, 2}), MObject::kNullObj, &status).isNull());
    EXPECT_EQ(fn.numPolygons(), 3);  // still on the first mesh
    MObject notMesh = MFnMeshData().create();
    EXPECT_FALSE(fn.create(3, 1, three, ints({3}), ints({0, 1, 2}), notMesh, &status).isNull());
    EXPECT_EQ(MFnMesh(notMesh).numPolygons(), 1);  // mesh data owner filled
    EXPECT_EQ(fn.assignUVs(ints({3}), ints({0, 1, 7})), MStatus::kInvalidParameter);  // no such UV
}

TEST(MeshFunctionSets, PolygonIteratorWalk) {
    MObject data = twoQuadsAndATriangle();
    MStatus status;
    MItMeshPolygon it(data, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(it.count(), 3);
    int visited = 0;
    double total = 0.0;
    MIntArray verts;
    for (; !it.isDone(); it.next(), ++visited) {
        EXPECT_EQ(it.index(), visited);
        double area = 0.0;
        ASSERT_EQ(it.getArea(area), MStatus::kSuccess);
        total += area;
        ASSERT_EQ(it.getVertices(verts), MStatus::kSuccess);
        EXPECT_EQ(verts.length(), it.polygonVertexCount());
        int uvId = -1;
        float u = -1.0f, v = -1.0f;
        const MStatus uvStatus = it.getUVIndex(0, uvId, u, v);
        if (visited < 2) {
            EXPECT_EQ(uvStatus, MStatus::kSuccess);
            EXPECT_EQ(u, 0.5f * visited);
        } else {
            EXPECT_EQ(uvStatus, MStatus::kFailure);
            EXPECT_EQ(u, -1.0f);  // untouched
        }
    }
    EXPECT_EQ(visited, 3);
    EXPECT_DOUBLE_EQ(total, 2.5);
    double area = -1.0;
    EXPECT_EQ(it.getArea(area), MStatus::kFailure);  // done
    EXPECT_EQ(it.next(), MStatus::kFailure);

    int prev = -1;
    EXPECT_EQ(it.setIndex(1, prev), MStatus::kSuccess);
    EXPECT_EQ(prev, 3);
    EXPECT_EQ(it.setIndex(3, prev), MStatus::kFailure);
    EXPECT_EQ(it.setIndex(-1, prev), MStatus::kFailure);
    EXPECT_EQ(it.index(), 1);
    expectNear(it.center(), MPoint(1.5, 0.5, 0));
    expectNear(it.point(1), MPoint(2, 0, 0));
    it.point(4, MSpace::kObject, &status);
    EXPECT_EQ(status, MStatus::kFailure);
    MVector n;
    ASSERT_EQ(it.getNormal(n), MStatus::kSuccess);
    expectNear(n, MVector(0, 0, 1));

    // A mesh without polygons: setIndex fails whatever the index; a non-mesh object is refused.
    MItMeshPolygon empty(MFnMeshData().create(), &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_TRUE(empty.isDone());
    EXPECT_EQ(empty.setIndex(0, prev), MStatus::kFailure);
    MItMeshPolygon refused(MObject(), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(refused.count(), 0);
}

TEST(MeshFunctionSets, PointAtUVStatusCodes) {
    MObject data = movedMesh();
    MItMeshPolygon it(data);
    int prev;
    ASSERT_EQ(it.setIndex(1, prev), MStatus::kSuccess);
    MPoint p(7, 7, 7);
    float2 uv = {0.75f, 0.5f};
    ASSERT_EQ(it.getPointAtUV(p, uv, MSpace::kObject), MStatus::kSuccess);
    expectNear(p, MPoint(1.5, 0.5, 0));
    ASSERT_EQ(it.getPointAtUV(p, uv, MSpace::kWorld), MStatus::kSuccess);
    expectNear(p, MPoint(10 - 1.0, 3.0, 5.0));  // (x, y) -> (-2y, 2x) + (10, 0, 5)

    float2 outside = {0.25f, 0.5f};  // inside the first quad's UVs, not the second's
    p = MPoint(7, 7, 7);
    EXPECT_EQ(it.getPointAtUV(p, outside, MSpace::kWorld), MStatus::kFailure);
    expectNear(p, MPoint(7, 7, 7));
    ASSERT_EQ(it.setIndex(2, prev), MStatus::kSuccess);
    EXPECT_EQ(it.getPointAtUV(p, uv, MSpace::kWorld), MStatus::kInvalidParameter);  // no UVs
    expectNear(p, MPoint(7, 7, 7));

    // World-space normal, centre and corners follow the matrix.
    MVector n;
    ASSERT_EQ(it.getNormal(n, MSpace::kWorld), MStatus::kSuccess);
    expectNear(n, MVector(0, 0, 1));
    expectNear(it.center(MSpace::kWorld), MPoint(10 - 2.0 * 4.0 / 3.0, 2.0 * 2.0 / 3.0, 5));
    expectNear(it.point(2, MSpace::kWorld), MPoint(10 - 4.0, 2.0, 5));
    double area;
    ASSERT_EQ(it.getArea(area, MSpace::kWorld), MStatus::kSuccess);
    EXPECT_NEAR(area, 2.0, 1e-12);

    // UV at a world point off the polygon: the UV of the nearest point on it.
    ASSERT_EQ(it.setIndex(0, prev), MStatus::kSuccess);
    MPoint q(10 - 2.0 * 0.5, 2.0 * 0.5, 9.0);  // above object (0.5, 0.5)
    ASSERT_EQ(it.getUVAtPoint(q, uv, MSpace::kWorld), MStatus::kSuccess);
    EXPECT_NEAR(uv[0], 0.25f, 1e-6);
    EXPECT_NEAR(uv[1], 0.5f, 1e-6);
    ASSERT_EQ(it.setIndex(2, prev), MStatus::kSuccess);
    uv[0] = -3.0f;
    EXPECT_EQ(it.getUVAtPoint(q, uv, MSpace::kWorld), MStatus::kInvalidParameter);
    EXPECT_EQ(uv[0], -3.0f);
}

TEST(MeshFunctionSets, VertexIteratorNormalsFacesAndUVs) {
    MObject data = movedMesh();
    MStatus status;
    MItMeshVertex it(data, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(it.count(), 7);
    int prev;
    ASSERT_EQ(it.setIndex(4, prev), MStatus::kSuccess);  // shared by all three polygons
    MIntArray faces;
    ASSERT_EQ(it.getConnectedFaces(faces), MStatus::kSuccess);
    ASSERT_EQ(faces.length(), 3u);
    EXPECT_EQ(faces[0], 0);
    EXPECT_EQ(faces[2], 2);
    float2 uv = {-1, -1};
    ASSERT_EQ(it.getUV(1, uv), MStatus::kSuccess);
    EXPECT_EQ(uv[0], 0.5f);
    EXPECT_EQ(uv[1], 1.0f);
    EXPECT_EQ(it.getUV(2, uv), MStatus::kFailure);   // that face has no UVs
    EXPECT_EQ(it.getUV(9, uv), MStatus::kFailure);   // no such face
    EXPECT_EQ(uv[0], 0.5f);
    MVector n;
    ASSERT_EQ(it.getNormal(n, MSpace::kWorld), MStatus::kSuccess);
    expectNear(n, MVector(0, 0, 1));
    expectNear(it.position(MSpace::kObject), MPoint(1, 1, 0));
    expectNear(it.position(MSpace::kWorld), MPoint(8, 2, 5));
    ASSERT_EQ(it.setIndex(2, prev), MStatus::kSuccess);
    ASSERT_EQ(it.getConnectedFaces(faces), MStatus::kSuccess);
    EXPECT_EQ(faces.length(), 1u);
    MFloatArray us, vs;
    MIntArray ids;
    ASSERT_EQ(it.getUVs(us, vs, ids), MStatus::kSuccess);
    EXPECT_EQ(us.length(), 1u);
    EXPECT_EQ(us[0], 1.0f);
}

// getUV answers from a table of each vertex's faces and tries the face after the last one found first:
// whatever order the faces are asked in, it must give the vertex's first corner in the face, fail on
// faces the vertex is not on and on corners without UV, and never carry a face over to the next vertex.
TEST(MeshFunctionSets, VertexIteratorUVsInAnyOrder) {
    using host::geom::MeshUV;
    // Polygon 2 visits vertex 2 twice (first at corner 1); polygon 1 has a corner without UV.
    const std::vector<int> counts = {4, 3, 4};
    const std::vector<int> connects = {0, 1, 2, 3, 1, 4, 2, 5, 2, 4, 2};
    const std::vector<int> uvIds = {0, 1, 2, 3, 4, -1, 5, 6, 7, 8, 9};
    std::vector<MeshUV> uvs;
    for (int i = 0; i < 10; ++i) uvs.push_back({0.1f * i, 1.0f - 0.1f * i});
    std::vector<host::geom::Vec3> points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}};
    MObject data = host::makeMeshData(host::geom::PolyMesh(points, counts, connects, uvs, uvIds));
    auto expected = [&](int vertex, int face, int& id) {
        int offset = 0;
        for (int p = 0; p < face; ++p) offset += counts[p];
        for (int k = offset; k < offset + counts[face]; ++k)
            if (connects[k] == vertex) {
                id = uvIds[k];
                return true;
            }
        return false;
    };
    MItMeshVertex it(data);
    MIntArray listed;
    for (bool listFirst : {false, true})
    for (const std::vector<int>& order : {std::vector<int>{0, 1, 2}, {2, 1, 0}, {1, 1, 0, 2, 2, 0}, {-1, 7, 2}}) {
        for (it.reset(); !it.isDone(); it.next()) {
            if (listFirst) it.getConnectedFaces(listed);
            for (int face : order) {
                float2 uv = {-5.0f, -5.0f};
                int id = -1;
                const bool has = face >= 0 && face < 3 && expected(it.index(), face, id) && id >= 0;
                EXPECT_EQ(it.getUV(face, uv), has ? MStatus::kSuccess : MStatus::kFailure)
                    << "vertex " << it.index() << " face " << face;
                EXPECT_EQ(uv[0], has ? uvs[id].u : -5.0f);
                EXPECT_EQ(uv[1], has ? uvs[id].v : -5.0f);
            }
        }
    }
}

TEST(MeshFunctionSets, ClosestPointAndNormalInBothSpaces) {
    MObject data = movedMesh();
    MFnMesh fn(data);
    MPoint closest;
    MVector normal;
    int polygon = -5;
    ASSERT_EQ(fn.getClosestPointAndNormal(MPoint(1.5, 0.25, 3.0), closest, normal, MSpace::kObject, &polygon),
              MStatus::kSuccess);
    EXPECT_EQ(polygon, 1);
    expectNear(closest, MPoint(1.5, 0.25, 0));
    expectNear(normal, MVector(0, 0, 1));
    // World: object (0.5, 1.5) is the triangle; it sits at (10 - 3, 1) in world space.
    ASSERT_EQ(fn.getClosestPointAndNormal(MPoint(7, 1, -2), closest, normal, MSpace::kWorld, &polygon),
              MStatus::kSuccess);
    EXPECT_EQ(polygon, 2);
    expectNear(closest, MPoint(7, 1, 5));
    expectNear(normal, MVector(0, 0, 1));

    // A shear is answered on the mapped mesh, exactly.
    auto sheared = host::dataAs<host::MeshData>(twoQuadsAndATriangle());
    MMatrix shear;
    shear.matrix[1][0] = 1.0;  // x += y
    MFnMesh shearFn(MObject(std::make_shared<host::MeshData>(sheared->sharedMesh(), shear)));
    ASSERT_EQ(shearFn.getClosestPointAndNormal(MPoint(2.5, 1.0, 1.0), closest, normal, MSpace::kWorld, &polygon),
              MStatus::kSuccess);
    EXPECT_EQ(polygon, 1);
    expectNear(closest, MPoint(2.5, 1.0, 0.0));

    // No polygons: failure, polygon -1, outputs untouched.
    MFnMesh emptyFn(MFnMeshData().create());
    closest = MPoint(1, 2, 3);
    EXPECT_EQ(emptyFn.getClosestPointAndNormal(MPoint(), closest, normal, MSpace::kWorld, &polygon),
              MStatus::kFailure);
    EXPECT_EQ(polygon, -1);
    expectNear(closest, MPoint(1, 2, 3));
}

TEST_F(CommandTest, MeshShapeSharesItsMeshWithEveryView) {
    ok("createNode mesh -n meshShape1");
    MObject input = twoQuadsAndATriangle();
    ASSERT_EQ(host::plugByName("meshShape1.inMesh").setValue(input), MStatus::kSuccess);
    MObject shape = host::nodeByName("meshShape1");
    EXPECT_EQ(shape.apiType(), MFn::kMesh);
    EXPECT_EQ(MFnDependencyNode(shape).typeName(), MString("mesh"));

    MStatus status;
    MItMeshPolygon polys(shape, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(polys.count(), 3);
    MItMeshVertex verts(shape, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(verts.count(), 7);

    MObject out, world;
    ASSERT_EQ(host::plugByName("meshShape1.outMesh").getValue(out), MStatus::kSuccess);
    ASSERT_EQ(host::plugByName("meshShape1.worldMesh[0]").getValue(world), MStatus::kSuccess);
    const auto* mesh = &host::dataAs<host::MeshData>(input)->mesh();
    EXPECT_EQ(&host::dataAs<host::MeshData>(out)->mesh(), mesh);
    EXPECT_EQ(&host::dataAs<host::MeshData>(world)->mesh(), mesh);

    // A path to the shape works like the shape; a new input reaches new views.
    MDagPath path({host::findNode("meshShape1")});
    MFnMesh fn(path, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(fn.numPolygons(), 3);
    MObject smaller = MFnMeshData().create();
    MFloatPointArray three;
    for (int i = 0; i < 3; ++i) three.append(MFloatPoint(i, i * i, 0));
    MFnMesh().create(3, 1, three, ints({3}), ints({0, 1, 2}), smaller);
    ASSERT_EQ(host::plugByName("meshShape1.inMesh").setValue(smaller), MStatus::kSuccess);
    EXPECT_EQ(MItMeshPolygon(path).count(), 1);
    EXPECT_EQ(polys.count(), 3);  // a view keeps the mesh it was built on

    ok("createNode nurbsCurve -n curveShape1");
    MItMeshPolygon onCurve(host::nodeByName("curveShape1"), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    MFnMesh onCurvePath(MDagPath({host::findNode("curveShape1")}), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
}

}  // namespace
