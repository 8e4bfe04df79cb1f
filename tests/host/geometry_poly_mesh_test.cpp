#include "geometry/PolyMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using host::geom::AffineMap;
using host::geom::MeshUV;
using host::geom::PolyMesh;
using host::geom::UVLookup;
using host::geom::Vec3;

namespace {

void expectNear(const Vec3& a, const Vec3& b, double tol = 1e-12) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

// A unit quad in the xy plane (UVs = xy), a triangle beside it without UVs, and a non-planar
// pentagon whose corners carry UVs except the last.
PolyMesh mixedMesh() {
    std::vector<Vec3> pts{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0},
                          {0, 0, 1}, {2, 0, 1}, {3, 1, 2}, {2, 2, 1}, {0, 2, 1}};
    std::vector<int> counts{4, 3, 5};
    std::vector<int> connects{0, 1, 2, 3, 1, 4, 2, 5, 6, 7, 8, 9};
    std::vector<MeshUV> uvs{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}};
    std::vector<int> uvIds{0, 1, 2, 3, -1, -1, -1, 0, 1, 4, 2, -1};
    return PolyMesh(pts, counts, connects, uvs, uvIds);
}

// Axis-aligned cube of side 2 centred at the origin, faces wound outward.
PolyMesh cube() {
    std::vector<Vec3> pts;
    for (int i = 0; i < 8; ++i)
        pts.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    std::vector<int> connects{0, 2, 3, 1, 4, 5, 7, 6, 0, 1, 5, 4, 2, 6, 7, 3, 0, 4, 6, 2, 1, 3, 7, 5};
    return PolyMesh(pts, std::vector<int>(6, 4), connects);
}

TEST(PolyMesh, CountsAreasNormalsAndFanTriangles) {
    const PolyMesh m = mixedMesh();
    ASSERT_TRUE(m.isValid()) << m.error();
    EXPECT_EQ(m.numPolygons(), 3);
    EXPECT_EQ(m.numVertices(), 10);
    EXPECT_EQ(m.numFaceVertices(), 12);
    EXPECT_EQ(m.numTriangles(), 2 + 1 + 3);

    EXPECT_DOUBLE_EQ(m.polygonArea(0), 1.0);
    EXPECT_DOUBLE_EQ(m.polygonArea(1), 0.5);
    expectNear(m.faceNormal(0), {0, 0, 1});
    expectNear(m.faceNormal(1), {0, 0, 1});

    // Non-planar pentagon: area is the sum of its fan triangles, the normal the direction of their
    // summed vector areas.
    const std::vector<Vec3> p{{0, 0, 1}, {2, 0, 1}, {3, 1, 2}, {2, 2, 1}, {0, 2, 1}};
    double area = 0.0;
    Vec3 sum;
    for (int k = 0; k < 3; ++k) {
        const Vec3 c = cross(p[k + 1] - p[0], p[k + 2] - p[0]);
        area += 0.5 * length(c);
        sum += c;
    }
    EXPECT_NEAR(m.polygonArea(2), area, 1e-14);
    expectNear(m.faceNormal(2), normalized(sum));
    expectNear(m.polygonCenter(2), {7.0 / 5.0, 1.0, 6.0 / 5.0});

    // Triangles: polygons in order, triangle k of a polygon is its corners 0, k+1, k+2.
    EXPECT_EQ(m.firstTriangle(0), 0);
    EXPECT_EQ(m.firstTriangle(1), 2);
    EXPECT_EQ(m.firstTriangle(2), 3);
    EXPECT_EQ(m.triangle(1).polygon, 0);
    EXPECT_EQ(m.triangle(1).k, 1);
    EXPECT_EQ(m.triangle(5).polygon, 2);
    EXPECT_EQ(m.triangle(5).k, 2);
    int fv[3];
    m.triangleFaceVertices(5, fv);
    EXPECT_EQ(fv[0], 7);
    EXPECT_EQ(fv[1], 10);
    EXPECT_EQ(fv[2], 11);
}

TEST(PolyMesh, VertexFacesNormalsAndUVs) {
    const PolyMesh c = cube();
    ASSERT_TRUE(c.isValid());
    // Every cube corner touches three faces, listed ascending; its normal points along the diagonal.
    for (int v = 0; v < 8; ++v) {
        ASSERT_EQ(c.vertexFaces(v).size(), 3);
        EXPECT_LT(c.vertexFaces(v)[0], c.vertexFaces(v)[1]);
        EXPECT_LT(c.vertexFaces(v)[1], c.vertexFaces(v)[2]);
        expectNear(c.vertexNormal(v), normalized(c.point(v)));
    }
    for (int f = 0; f < 6; ++f)
        expectNear(c.faceNormal(f), normalized(c.polygonCenter(f)));

    const PolyMesh m = mixedMesh();
    EXPECT_EQ(m.vertexFaces(2).size(), 2);  // quad and triangle
    MeshUV uv;
    ASSERT_TRUE(m.vertexUV(2, 0, uv));
    EXPECT_EQ(uv.u, 1.0f);
    EXPECT_EQ(uv.v, 1.0f);
    EXPECT_FALSE(m.vertexUV(2, 1, uv));  // the triangle has no UVs
    EXPECT_FALSE(m.vertexUV(0, 2, uv));  // not a corner of the pentagon
    EXPECT_FALSE(m.cornerUV(2, 4, uv));  // the pentagon's last corner has none
    EXPECT_FALSE(m.cornerUV(0, 4, uv));  // corner out of range
    EXPECT_TRUE(m.cornerUV(2, 2, uv));
    EXPECT_EQ(uv.u, 0.5f);
    EXPECT_TRUE(m.polygonHasUVs(0));
    EXPECT_FALSE(m.polygonHasUVs(2));

    // A vertex used by no polygon has no faces and a zero normal; a vertex repeated in one polygon
    // lists it once.
    const PolyMesh loose({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}, {1, 1, 0}}, {5}, {0, 1, 4, 0, 2});
    ASSERT_TRUE(loose.isValid()) << loose.error();
    EXPECT_EQ(loose.vertexFaces(3).size(), 0);
    expectNear(loose.vertexNormal(3), {});
    EXPECT_EQ(loose.vertexFaces(0).size(), 1);
}

TEST(PolyMesh, InvalidInputGivesAnEmptyInvalidMesh) {
    const std::vector<Vec3> tri{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const std::vector<PolyMesh> bad{
        PolyMesh(tri, {2}, {0, 1}),
        PolyMesh(tri, {3}, {0, 1, 3}),
        PolyMesh(tri, {3}, {0, 1, -1}),
        PolyMesh(tri, {3, 3}, {0, 1, 2}),
        PolyMesh(tri, {3}, {0, 1, 2, 0}),
        PolyMesh({{0, 0, 0}, {1, 0, 0}, {0, NAN, 0}}, {3}, {0, 1, 2}),
        PolyMesh(tri, {3}, {0, 1, 2}, {{0, 0}}, {0, 0}),
        PolyMesh(tri, {3}, {0, 1, 2}, {{0, 0}}, {0, 0, 1}),
        PolyMesh(tri, {3}, {0, 1, 2}, {{0, INFINITY}}, {0, 0, 0}),
    };
    for (const PolyMesh& m : bad) {
        EXPECT_FALSE(m.isValid());
        EXPECT_FALSE(m.error().empty());
        EXPECT_EQ(m.numPolygons(), 0);
        EXPECT_EQ(m.numVertices(), 0);
        EXPECT_EQ(m.numTriangles(), 0);
        EXPECT_FALSE(m.closestPoint({0, 0, 0}).found);
    }
    const PolyMesh empty;
    EXPECT_TRUE(empty.isValid());
    EXPECT_EQ(empty.numPolygons(), 0);
}

// A mesh made with other points shares the polygons, UVs and adjacency, and answers areas, normals and
// closest points from its own points, while the mesh it came from keeps its own.
TEST(PolyMesh, WithPointsKeepsTopologyAndReshapes) {
    const PolyMesh flat = cube();
    EXPECT_DOUBLE_EQ(flat.polygonArea(0), 4.0);  // the original's shape is made before the copy
    std::vector<Vec3> stretched = flat.points();
    for (Vec3& p : stretched)
        p.z *= 3.0;
    const PolyMesh tall = flat.withPoints(stretched);
    ASSERT_TRUE(tall.isValid());
    EXPECT_EQ(tall.faceVertices(), flat.faceVertices());
    EXPECT_EQ(tall.numTriangles(), flat.numTriangles());
    for (int v = 0; v < 8; ++v) {
        ASSERT_EQ(tall.vertexFaces(v).size(), flat.vertexFaces(v).size());
        for (int k = 0; k < flat.vertexFaces(v).size(); ++k)
            EXPECT_EQ(tall.vertexFaces(v)[k], flat.vertexFaces(v)[k]);
    }
    // Face 2 is the side y = -1, 2 x 6 after the stretch; the corner normals stay the mean of three axes.
    EXPECT_DOUBLE_EQ(tall.polygonArea(2), 12.0);
    EXPECT_DOUBLE_EQ(flat.polygonArea(2), 4.0);
    expectNear(flat.vertexNormal(7), normalized(Vec3{1, 1, 1}));
    expectNear(tall.vertexNormal(7), normalized(Vec3{1, 1, 1}));
    expectNear(tall.faceNormal(1), {0, 0, 1});
    EXPECT_NEAR(tall.closestPoint({0, 0, 5}).point.z, 3.0, 1e-12);
    EXPECT_NEAR(flat.closestPoint({0, 0, 5}).point.z, 1.0, 1e-12);

    EXPECT_EQ(flat.withPoints({{0, 0, 0}}).error(), "the point count differs from the mesh's");
    EXPECT_EQ(flat.withPoints({{NAN, 0, 0}}).error(), "the point count differs from the mesh's");
    EXPECT_EQ(flat.withFinitePoints({{0, 0, 0}}).error(), "the point count differs from the mesh's");
    EXPECT_TRUE(flat.withFinitePoints(stretched).sharesTopology(flat));
    stretched[3].x = NAN;
    EXPECT_EQ(flat.withPoints(stretched).error(), "a point is not finite");
    EXPECT_EQ(flat.withPoints(stretched).numPolygons(), 0);
}

TEST(PolyMesh, PointAtUVInsideOutsideAndWithoutUVs) {
    const PolyMesh m = mixedMesh();
    Vec3 p{7, 7, 7};
    ASSERT_EQ(m.pointAtUV(0, 0.25f, 0.75f, p), UVLookup::kFound);
    expectNear(p, {0.25, 0.75, 0});
    // On the diagonal shared by the two fan triangles, and on the border.
    ASSERT_EQ(m.pointAtUV(0, 0.5f, 0.5f, p), UVLookup::kFound);
    expectNear(p, {0.5, 0.5, 0});
    ASSERT_EQ(m.pointAtUV(0, 1.0f, 0.0f, p), UVLookup::kFound);
    expectNear(p, {1, 0, 0});

    p = {7, 7, 7};
    EXPECT_EQ(m.pointAtUV(0, 1.01f, 0.5f, p), UVLookup::kOutside);
    EXPECT_EQ(m.pointAtUV(1, 0.1f, 0.1f, p), UVLookup::kNoUVs);
    EXPECT_EQ(m.pointAtUV(2, 0.1f, 0.1f, p), UVLookup::kNoUVs);  // one corner lacks a UV
    expectNear(p, {7, 7, 7});
    // A tolerance takes in a uv just outside: the nearest point on the border.
    ASSERT_EQ(m.pointAtUV(0, 1.01f, 0.5f, p, 0.02), UVLookup::kFound);
    expectNear(p, {1, 0.5, 0}, 1e-7);
    EXPECT_EQ(m.pointAtUV(0, 1.05f, 0.5f, p, 0.02), UVLookup::kOutside);

    // Collinear UVs have no region: every uv is outside.
    const PolyMesh flat({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {3}, {0, 1, 2}, {{0, 0}, {1, 0}, {2, 0}}, {0, 1, 2});
    EXPECT_EQ(flat.pointAtUV(0, 1.0f, 0.0f, p), UVLookup::kOutside);

    // Non-planar quad: the uv is located in its UV fan and mapped onto the matching 3D triangle.
    const PolyMesh bent({{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 0}}, {4}, {0, 1, 2, 3},
                        {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {0, 1, 2, 3});
    ASSERT_EQ(bent.pointAtUV(0, 0.75f, 0.25f, p), UVLookup::kFound);  // first triangle (0,1,2)
    expectNear(p, {0.75, 0.25, 0.25});
    ASSERT_EQ(bent.pointAtUV(0, 0.25f, 0.75f, p), UVLookup::kFound);  // second triangle (0,2,3)
    expectNear(p, {0.25, 0.75, 0.25});
}

TEST(PolyMesh, UVAtPointUsesTheNearestPointOfThePolygon) {
    const PolyMesh m = mixedMesh();
    MeshUV uv;
    Vec3 nearest;
    ASSERT_EQ(m.uvAtPoint(0, {0.3, 0.6, 5.0}, uv, &nearest), UVLookup::kFound);
    EXPECT_NEAR(uv.u, 0.3f, 1e-7);
    EXPECT_NEAR(uv.v, 0.6f, 1e-7);
    expectNear(nearest, {0.3, 0.6, 0});
    // Off the polygon: clamped to its border.
    ASSERT_EQ(m.uvAtPoint(0, {3.0, 0.5, -1.0}, uv, &nearest), UVLookup::kFound);
    EXPECT_NEAR(uv.u, 1.0f, 1e-7);
    EXPECT_NEAR(uv.v, 0.5f, 1e-7);
    EXPECT_EQ(m.uvAtPoint(1, {0, 0, 0}, uv), UVLookup::kNoUVs);

    // Through a map: the polygon scaled by 2 in x, so a world point at x = 1 is u = 0.5.
    double mat[4][4] = {{2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 3, 1}};
    const AffineMap map(mat);
    ASSERT_EQ(m.uvAtPoint(0, {1.0, 0.25, 10.0}, map, uv, &nearest), UVLookup::kFound);
    EXPECT_NEAR(uv.u, 0.5f, 1e-7);
    EXPECT_NEAR(uv.v, 0.25f, 1e-7);
    expectNear(nearest, {1.0, 0.25, 3.0});
    EXPECT_DOUBLE_EQ(m.polygonArea(0, map), 2.0);
}

TEST(PolyMesh, AffineMapKeepsNormalsOnTheirSide) {
    // Non-uniform scale: the normal of the plane x + y = 1 becomes that of x/2 + y = 1.
    double scale[4][4] = {{2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {5, 6, 7, 1}};
    const AffineMap s(scale);
    expectNear(s.apply({1, 1, 1}), {7, 7, 8});
    expectNear(s.applyNormal(normalized(Vec3{1, 1, 0})), normalized(Vec3{0.5, 1, 0}));
    // Mirroring keeps a cube's normals pointing outward.
    double mirror[4][4] = {{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const AffineMap mir(mirror);
    const PolyMesh c = cube();
    for (int f = 0; f < 6; ++f)
        EXPECT_GT(dot(mir.applyNormal(c.faceNormal(f)), mir.apply(c.polygonCenter(f))), 0.0);
}

TEST(PolyMesh, ClosestPointOnTriangleRegions) {
    const Vec3 a{0, 0, 0}, b{2, 0, 0}, c{0, 2, 0};
    double w[3];
    struct Case {
        Vec3 q, expected;
    };
    const Case cases[] = {
        {{-1, -1, 1}, a},       {{3, -1, 0}, b},        {{-1, 3, 2}, c},         {{1, -3, 0}, {1, 0, 0}},
        {{-2, 1, 0}, {0, 1, 0}}, {{2, 2, -1}, {1, 1, 0}}, {{0.5, 0.5, 4}, {0.5, 0.5, 0}},
    };
    for (const Case& k : cases) {
        const Vec3 x = closestPointOnTriangle(k.q, a, b, c, w);
        expectNear(x, k.expected);
        EXPECT_NEAR(w[0] + w[1] + w[2], 1.0, 1e-15);
        expectNear(a * w[0] + b * w[1] + c * w[2], x);
    }
    // Degenerate triangles: a segment and a point.
    expectNear(closestPointOnTriangle({1, 1, 0}, a, b, {4, 0, 0}, w), {1, 0, 0});
    expectNear(a * w[0] + b * w[1] + Vec3{4, 0, 0} * w[2], {1, 0, 0});
    expectNear(closestPointOnTriangle({1, 1, 1}, b, b, b, w), b);
}

}  // namespace

namespace {

// Triangle soups and surfaces for checking the search tree against the scan.
PolyMesh randomSoup(std::mt19937& rng, int count, double size) {
    std::uniform_real_distribution<double> pos(-10.0, 10.0), off(-size, size);
    std::vector<Vec3> pts;
    std::vector<int> connects;
    for (int t = 0; t < count; ++t) {
        const Vec3 c{pos(rng), pos(rng), pos(rng)};
        for (int k = 0; k < 3; ++k) {
            connects.push_back(static_cast<int>(pts.size()));
            pts.push_back(c + Vec3{off(rng), off(rng), off(rng)});
        }
    }
    return PolyMesh(pts, std::vector<int>(count, 3), connects);
}

// A bumpy grid of quads and pentagon-free n-gons: rows alternate quads and split triangles.
PolyMesh bumpyGrid(std::mt19937& rng, int n) {
    std::uniform_real_distribution<double> bump(-0.3, 0.3);
    std::vector<Vec3> pts;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            pts.push_back({double(i), double(j), bump(rng)});
    std::vector<int> counts, connects;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const int a = j * (n + 1) + i, b = a + 1, c = a + n + 2, d = a + n + 1;
            if ((i + j) % 3 == 0) {
                counts.insert(counts.end(), {3, 3});
                connects.insert(connects.end(), {a, b, c, a, c, d});
            } else {
                counts.push_back(4);
                connects.insert(connects.end(), {a, b, c, d});
            }
        }
    return PolyMesh(pts, counts, connects);
}

void expectTreeMatchesScan(const PolyMesh& m, std::mt19937& rng, int queries, double spread) {
    std::uniform_real_distribution<double> pos(-spread, spread);
    for (int i = 0; i < queries; ++i) {
        const Vec3 q{pos(rng), pos(rng), pos(rng)};
        const auto fast = m.closestPoint(q);
        const auto slow = m.closestPointBruteForce(q);
        ASSERT_TRUE(fast.found);
        ASSERT_EQ(fast.triangle, slow.triangle) << "query " << i;
        EXPECT_EQ(fast.polygon, slow.polygon);
        EXPECT_NEAR(std::sqrt(fast.distanceSquared), std::sqrt(slow.distanceSquared), 1e-9);
        expectNear(fast.point, slow.point, 1e-9);
        EXPECT_EQ(fast.weights[0], slow.weights[0]);
    }
}

TEST(PolyMeshClosestPoint, TreeMatchesScanOnRandomMeshes) {
    std::mt19937 rng(7);
    for (int count : {1, 4, 5, 9, 200, 3000})
        expectTreeMatchesScan(randomSoup(rng, count, 0.5), rng, 200, 14.0);
    expectTreeMatchesScan(randomSoup(rng, 2000, 4.0), rng, 300, 12.0);  // large overlapping triangles
    const PolyMesh grid = bumpyGrid(rng, 40);
    expectTreeMatchesScan(grid, rng, 500, 45.0);
    // Queries on and just off the surface, where many boxes touch the query.
    std::uniform_int_distribution<int> vert(0, grid.numVertices() - 1);
    for (int i = 0; i < 300; ++i) {
        const Vec3 q = grid.point(vert(rng)) + Vec3{0.0, 0.0, i % 2 ? 1e-6 : 0.0};
        EXPECT_EQ(grid.closestPoint(q).triangle, grid.closestPointBruteForce(q).triangle);
    }
}

TEST(PolyMeshClosestPoint, CoincidentAndFlatTrianglesAndTies) {
    std::mt19937 rng(3);
    // Many copies of one triangle (equal Morton codes) and a perfectly flat mesh.
    std::vector<Vec3> pts{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    std::vector<int> connects;
    for (int i = 0; i < 50; ++i)
        connects.insert(connects.end(), {0, 1, 2});
    const PolyMesh stack(pts, std::vector<int>(50, 3), connects);
    const auto r = stack.closestPoint({0.2, 0.2, 3.0});
    EXPECT_EQ(r.triangle, 0);  // ties go to the lowest id, as in the scan
    expectNear(r.point, {0.2, 0.2, 0.0});
    EXPECT_NEAR(r.weights[0], 0.6, 1e-15);

    std::vector<Vec3> flat;
    for (int j = 0; j < 30; ++j)
        for (int i = 0; i < 30; ++i)
            flat.push_back({double(i), double(j), 0.0});
    std::vector<int> quads;
    for (int j = 0; j < 29; ++j)
        for (int i = 0; i < 29; ++i)
            quads.insert(quads.end(), {j * 30 + i, j * 30 + i + 1, j * 30 + i + 31, j * 30 + i + 30});
    expectTreeMatchesScan(PolyMesh(flat, std::vector<int>(29 * 29, 4), quads), rng, 300, 35.0);

    // Mesh without polygons, and a non-finite query.
    EXPECT_FALSE(PolyMesh({{0, 0, 0}}, {}, {}).closestPoint({0, 0, 0}).found);
    EXPECT_FALSE(stack.closestPoint({NAN, 0, 0}).found);
    // Queries so far away that every squared distance overflows find nothing, as the scan does; the last
    // finds its point.
    const PolyMesh grid = bumpyGrid(rng, 40);
    for (const Vec3& far : {Vec3{1e300, 0, 0}, Vec3{-1e200, 1e200, 1e160}, Vec3{0, 0, 1e150}}) {
        EXPECT_EQ(grid.closestPoint(far).found, grid.closestPointBruteForce(far).found) << far.x;
        EXPECT_EQ(grid.closestPoint(far).found, far.z == 1e150) << far.x;
    }
    // A copied mesh answers too (it builds its own tree).
    const PolyMesh copy = stack;
    EXPECT_EQ(copy.closestPoint({0.2, 0.2, 3.0}).triangle, 0);
}

}  // namespace
