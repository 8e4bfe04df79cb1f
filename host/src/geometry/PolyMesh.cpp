#include "geometry/PolyMesh.h"

#include "geometry/MeshBvh.h"

#include <cmath>
#include <limits>
#include <utility>

namespace host::geom {

namespace {

// Barycentric weights below this (in units of the triangle) still count as inside: a uv on an edge
// shared by two fan triangles, or on the polygon's border, is found despite rounding.
constexpr double kInsideSlack = 1e-9;

Vec3 closestOnSegment(const Vec3& p, const Vec3& a, const Vec3& b, double& s) {
    const Vec3 ab = b - a;
    const double len2 = lengthSquared(ab);
    s = len2 > 0.0 ? dot(p - a, ab) / len2 : 0.0;
    s = s < 0.0 ? 0.0 : (s > 1.0 ? 1.0 : s);
    return a + ab * s;
}

}  // namespace

AffineMap::AffineMap(const double m[4][4]) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            l[i][j] = m[i][j];
    t = {m[3][0], m[3][1], m[3][2]};
    // Cofactor matrix of L; its transpose over det(L) is the inverse, so cofactor / det is L^-T.
    double c[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            c[i][j] = l[i1][j1] * l[i2][j2] - l[i1][j2] * l[i2][j1];
        }
    const double det = l[0][0] * c[0][0] + l[0][1] * c[0][1] + l[0][2] * c[0][2];
    const double scale = det != 0.0 && std::isfinite(det) ? 1.0 / det : 1.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            normal[i][j] = c[i][j] * scale;
}

Vec3 closestPointOnTriangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c, double w[3]) {
    // Voronoi regions of the vertices, then the edges, then the face.
    const Vec3 ab = b - a, ac = c - a, ap = p - a;
    const double d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0.0 && d2 <= 0.0) {
        w[0] = 1.0; w[1] = 0.0; w[2] = 0.0;
        return a;
    }
    const Vec3 bp = p - b;
    const double d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0.0 && d4 <= d3) {
        w[0] = 0.0; w[1] = 1.0; w[2] = 0.0;
        return b;
    }
    const Vec3 cp = p - c;
    const double d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0.0 && d5 <= d6) {
        w[0] = 0.0; w[1] = 0.0; w[2] = 1.0;
        return c;
    }
    const double vc = d1 * d4 - d3 * d2;
    const double vb = d5 * d2 - d1 * d6;
    const double va = d3 * d6 - d5 * d4;
    const double sum = va + vb + vc;  // |ab x ac|^2 up to rounding
    if (!(sum > 0.0)) {
        // Degenerate: the nearest of the three edges.
        double s0, s1, s2;
        const Vec3 q0 = closestOnSegment(p, a, b, s0), q1 = closestOnSegment(p, b, c, s1),
                   q2 = closestOnSegment(p, c, a, s2);
        const double e0 = lengthSquared(p - q0), e1 = lengthSquared(p - q1), e2 = lengthSquared(p - q2);
        if (e0 <= e1 && e0 <= e2) {
            w[0] = 1.0 - s0; w[1] = s0; w[2] = 0.0;
            return q0;
        }
        if (e1 <= e2) {
            w[0] = 0.0; w[1] = 1.0 - s1; w[2] = s1;
            return q1;
        }
        w[0] = s2; w[1] = 0.0; w[2] = 1.0 - s2;
        return q2;
    }
    if (vc <= 0.0 && d1 >= 0.0 && d3 <= 0.0) {
        const double s = d1 / (d1 - d3);
        w[0] = 1.0 - s; w[1] = s; w[2] = 0.0;
        return a + ab * s;
    }
    if (vb <= 0.0 && d2 >= 0.0 && d6 <= 0.0) {
        const double s = d2 / (d2 - d6);
        w[0] = 1.0 - s; w[1] = 0.0; w[2] = s;
        return a + ac * s;
    }
    if (va <= 0.0 && (d4 - d3) >= 0.0 && (d5 - d6) >= 0.0) {
        const double s = (d4 - d3) / ((d4 - d3) + (d5 - d6));
        w[0] = 0.0; w[1] = 1.0 - s; w[2] = s;
        return b + (c - b) * s;
    }
    const double v = vb / sum, u = vc / sum;
    w[0] = 1.0 - v - u; w[1] = v; w[2] = u;
    return a + ab * v + ac * u;
}

PolyMesh::PolyMesh() = default;

PolyMesh::PolyMesh(std::vector<Vec3> points, std::vector<int> counts, std::vector<int> connects)
    : PolyMesh(std::move(points), std::move(counts), std::move(connects), {}, {}) {}

PolyMesh::PolyMesh(std::vector<Vec3> points, std::vector<int> counts, std::vector<int> connects,
                   std::vector<MeshUV> uvs, std::vector<int> uvIds)
    : points_(std::move(points)) {
    topo_->connects = std::move(connects);
    topo_->uvIds = std::move(uvIds);
    topo_->uvs = std::move(uvs);
    if (!validate(counts))
        return;
    buildDerived();
}

void PolyMesh::fail(const std::string& why) {
    error_ = why;
    points_.clear();
    topo_ = std::make_shared<Topology>();
}

bool PolyMesh::validate(const std::vector<int>& counts) {
    for (const Vec3& p : points_)
        if (!isFinite(p)) {
            fail("a point is not finite");
            return false;
        }
    topo_->offsets.assign(1, 0);
    topo_->offsets.reserve(counts.size() + 1);
    long long total = 0;
    for (int n : counts) {
        if (n < 3) {
            fail("a polygon has fewer than three corners");
            return false;
        }
        total += n;
        if (total > static_cast<long long>(topo_->connects.size()))
            break;
        topo_->offsets.push_back(static_cast<int>(total));
    }
    if (total != static_cast<long long>(topo_->connects.size())) {
        fail("the polygon counts do not match the number of polygon vertices");
        return false;
    }
    const int numPoints = static_cast<int>(points_.size());
    for (int v : topo_->connects)
        if (v < 0 || v >= numPoints) {
            fail("a polygon vertex id is out of range");
            return false;
        }
    for (const MeshUV& uv : topo_->uvs)
        if (!std::isfinite(uv.u) || !std::isfinite(uv.v)) {
            fail("a UV is not finite");
            return false;
        }
    if (topo_->uvIds.empty()) {
        topo_->uvIds.assign(topo_->connects.size(), -1);
    } else if (topo_->uvIds.size() != topo_->connects.size()) {
        fail("the UV id count does not match the number of polygon vertices");
        return false;
    }
    const int numUVs = static_cast<int>(topo_->uvs.size());
    for (int id : topo_->uvIds)
        if (id < -1 || id >= numUVs) {
            fail("a UV id is out of range");
            return false;
        }
    return true;
}

void PolyMesh::buildDerived() {
    const int numPolys = numPolygons();
    const int numVerts = numVertices();
    topo_->triPolygon.resize(static_cast<size_t>(numFaceVertices()) - 2 * static_cast<size_t>(numPolys));
    for (int p = 0; p < numPolys; ++p)
        for (int k = 0; k + 2 < polygonSize(p); ++k)
            topo_->triPolygon[firstTriangle(p) + k] = p;

    // Faces around each vertex: count, then fill in face order, so each list is ascending; a vertex
    // repeated inside one polygon lists that polygon once.
    std::vector<int> lastFace(numVerts, -1);
    topo_->vertexFaceOffsets.assign(static_cast<size_t>(numVerts) + 1, 0);
    for (int p = 0; p < numPolys; ++p)
        for (int v : polygonVertices(p))
            if (lastFace[v] != p) {
                lastFace[v] = p;
                ++topo_->vertexFaceOffsets[v + 1];
            }
    for (int v = 0; v < numVerts; ++v)
        topo_->vertexFaceOffsets[v + 1] += topo_->vertexFaceOffsets[v];
    topo_->vertexFaces.resize(topo_->vertexFaceOffsets[numVerts]);
    std::vector<int> cursor(topo_->vertexFaceOffsets.begin(), topo_->vertexFaceOffsets.end() - 1);
    topo_->vertexFaceUVIds.resize(topo_->vertexFaces.size());
    lastFace.assign(numVerts, -1);
    for (int p = 0; p < numPolys; ++p)
        for (int k = topo_->offsets[p]; k < topo_->offsets[p + 1]; ++k) {
            const int v = topo_->connects[k];
            if (lastFace[v] != p) {
                lastFace[v] = p;
                topo_->vertexFaceUVIds[cursor[v]] = topo_->uvIds[k];
                topo_->vertexFaces[cursor[v]++] = p;
            }
        }
}

PolyMesh::Shape PolyMesh::buildShape() const {
    const int numPolys = numPolygons();
    const int numVerts = numVertices();
    Shape shape;
    shape.areas.resize(numPolys);
    shape.faceNormals.resize(numPolys);
    for (int p = 0; p < numPolys; ++p) {
        const int* fv = &topo_->connects[topo_->offsets[p]];
        const int n = polygonSize(p);
        const Vec3& a = points_[fv[0]];
        Vec3 vectorArea;
        double area = 0.0;
        for (int k = 0; k + 2 < n; ++k) {
            const Vec3 c = cross(points_[fv[k + 1]] - a, points_[fv[k + 2]] - a);
            vectorArea += c;
            area += 0.5 * length(c);
        }
        shape.areas[p] = area;
        shape.faceNormals[p] = normalized(vectorArea);
    }
    shape.vertexNormals.resize(numVerts);
    for (int v = 0; v < numVerts; ++v) {
        Vec3 sum;
        for (int p : vertexFaces(v))
            sum += shape.faceNormals[p];
        shape.vertexNormals[v] = normalized(sum);
    }
    return shape;
}

PolyMesh::LazyShape& PolyMesh::LazyShape::operator=(const LazyShape&) {
    std::lock_guard<std::mutex> lock(mutex_);
    ready_.store(nullptr);
    shape_.reset();
    return *this;
}

const PolyMesh::Shape& PolyMesh::LazyShape::get(const PolyMesh& mesh) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!shape_) {
        shape_ = std::make_unique<const Shape>(mesh.buildShape());
        ready_.store(shape_.get(), std::memory_order_release);
    }
    return *shape_;
}

// A wrong count is reported before a point that is not finite: withFinitePoints reports it.
PolyMesh PolyMesh::withPoints(std::vector<Vec3> points) const {
    if (isValid() && points.size() == points_.size())
        for (const Vec3& p : points)
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
                PolyMesh mesh;
                mesh.fail("a point is not finite");
                return mesh;
            }
    return withFinitePoints(std::move(points));
}

PolyMesh PolyMesh::withFinitePoints(std::vector<Vec3> points) const {
    PolyMesh mesh;
    if (!isValid() || points.size() != points_.size()) {
        mesh.fail("the point count differs from the mesh's");
        return mesh;
    }
    mesh.points_ = std::move(points);
    mesh.topo_ = topo_;
    return mesh;
}

bool PolyMesh::cornerUV(int p, int k, MeshUV& uv) const {
    if (k < 0 || k >= polygonSize(p))
        return false;
    const int id = topo_->uvIds[topo_->offsets[p] + k];
    if (id < 0)
        return false;
    uv = topo_->uvs[id];
    return true;
}

bool PolyMesh::polygonHasUVs(int p) const {
    for (int id : polygonUVIds(p))
        if (id < 0)
            return false;
    return true;
}

Vec3 PolyMesh::polygonCenter(int p) const {
    Vec3 sum;
    for (int v : polygonVertices(p))
        sum += points_[v];
    return sum / polygonSize(p);
}

double PolyMesh::polygonArea(int p, const AffineMap& map) const {
    const IdRange fv = polygonVertices(p);
    const Vec3 a = map.apply(points_[fv[0]]);
    Vec3 b = map.apply(points_[fv[1]]);
    double area = 0.0;
    for (int k = 2; k < fv.size(); ++k) {
        const Vec3 c = map.apply(points_[fv[k]]);
        area += 0.5 * length(cross(b - a, c - a));
        b = c;
    }
    return area;
}

bool PolyMesh::vertexUV(int v, int p, MeshUV& uv) const {
    const int n = polygonSize(p);
    const int* fv = &topo_->connects[topo_->offsets[p]];
    for (int k = 0; k < n; ++k)
        if (fv[k] == v)
            return cornerUV(p, k, uv);
    return false;
}

FanTriangle PolyMesh::triangle(int t) const {
    const int p = topo_->triPolygon[t];
    return {p, t - firstTriangle(p)};
}

void PolyMesh::triangleFaceVertices(int t, int fv[3]) const {
    const FanTriangle tri = triangle(t);
    const int base = topo_->offsets[tri.polygon];
    fv[0] = base;
    fv[1] = base + tri.k + 1;
    fv[2] = base + tri.k + 2;
}

UVLookup PolyMesh::pointAtUV(int p, float u, float v, Vec3& point, double tolerance) const {
    if (!polygonHasUVs(p))
        return UVLookup::kNoUVs;
    const int base = topo_->offsets[p];
    const int n = polygonSize(p);
    const MeshUV& a = topo_->uvs[topo_->uvIds[base]];
    const double qu = u - static_cast<double>(a.u), qv = v - static_cast<double>(a.v);
    int bestK = -1;
    double best[3] = {0.0, 0.0, 0.0};
    double bestDist2 = std::numeric_limits<double>::infinity();
    for (int k = 0; k + 2 < n; ++k) {
        const MeshUV& b = topo_->uvs[topo_->uvIds[base + k + 1]];
        const MeshUV& c = topo_->uvs[topo_->uvIds[base + k + 2]];
        const double bu = static_cast<double>(b.u) - a.u, bv = static_cast<double>(b.v) - a.v;
        const double cu = static_cast<double>(c.u) - a.u, cv = static_cast<double>(c.v) - a.v;
        const double det = bu * cv - cu * bv;
        const double scale = bu * bu + bv * bv + cu * cu + cv * cv;
        if (!(std::fabs(det) > 1e-12 * scale))
            continue;  // collinear UVs: no UV region
        const double wb = (qu * cv - cu * qv) / det;
        const double wc = (bu * qv - qu * bv) / det;
        const double wa = 1.0 - wb - wc;
        if (wa >= -kInsideSlack && wb >= -kInsideSlack && wc >= -kInsideSlack) {
            bestK = k;
            best[0] = wa; best[1] = wb; best[2] = wc;
            bestDist2 = 0.0;
            break;
        }
        if (tolerance > 0.0) {
            double w[3];
            const Vec3 q = closestPointOnTriangle({qu, qv, 0.0}, {}, {bu, bv, 0.0}, {cu, cv, 0.0}, w);
            const double d2 = lengthSquared(q - Vec3{qu, qv, 0.0});
            if (d2 < bestDist2) {
                bestDist2 = d2;
                bestK = k;
                best[0] = w[0]; best[1] = w[1]; best[2] = w[2];
            }
        }
    }
    if (bestK < 0 || bestDist2 > tolerance * tolerance)
        return UVLookup::kOutside;
    const int* fv = &topo_->connects[base];
    point = points_[fv[0]] * best[0] + points_[fv[bestK + 1]] * best[1] + points_[fv[bestK + 2]] * best[2];
    return UVLookup::kFound;
}

template <class Corner>
UVLookup PolyMesh::nearestOnPolygon(int p, const Vec3& q, Corner corner, MeshUV& uv, Vec3* nearest) const {
    if (!polygonHasUVs(p))
        return UVLookup::kNoUVs;
    const int base = topo_->offsets[p];
    const int n = polygonSize(p);
    const Vec3 a = corner(base);
    Vec3 b = corner(base + 1);
    int bestK = 0;
    double best[3] = {1.0, 0.0, 0.0};
    Vec3 bestPoint = a;
    double bestDist2 = std::numeric_limits<double>::infinity();
    for (int k = 0; k + 2 < n; ++k) {
        const Vec3 c = corner(base + k + 2);
        double w[3];
        const Vec3 x = closestPointOnTriangle(q, a, b, c, w);
        const double d2 = lengthSquared(x - q);
        if (d2 < bestDist2) {
            bestDist2 = d2;
            bestK = k;
            bestPoint = x;
            best[0] = w[0]; best[1] = w[1]; best[2] = w[2];
        }
        b = c;
    }
    const MeshUV& ua = topo_->uvs[topo_->uvIds[base]];
    const MeshUV& ub = topo_->uvs[topo_->uvIds[base + bestK + 1]];
    const MeshUV& uc = topo_->uvs[topo_->uvIds[base + bestK + 2]];
    uv.u = static_cast<float>(ua.u * best[0] + ub.u * best[1] + uc.u * best[2]);
    uv.v = static_cast<float>(ua.v * best[0] + ub.v * best[1] + uc.v * best[2]);
    if (nearest)
        *nearest = bestPoint;
    return UVLookup::kFound;
}

UVLookup PolyMesh::uvAtPoint(int p, const Vec3& q, MeshUV& uv, Vec3* nearest) const {
    return nearestOnPolygon(p, q, [this](int fv) { return points_[topo_->connects[fv]]; }, uv, nearest);
}

UVLookup PolyMesh::uvAtPoint(int p, const Vec3& q, const AffineMap& map, MeshUV& uv, Vec3* nearest) const {
    return nearestOnPolygon(p, q, [this, &map](int fv) { return map.apply(points_[topo_->connects[fv]]); }, uv, nearest);
}

LazyMeshBvh::LazyMeshBvh() = default;
LazyMeshBvh::LazyMeshBvh(const LazyMeshBvh&) {}
LazyMeshBvh::~LazyMeshBvh() = default;

LazyMeshBvh::LazyMeshBvh(LazyMeshBvh&& other) noexcept {
    other.reset();
}

LazyMeshBvh& LazyMeshBvh::operator=(const LazyMeshBvh&) {
    reset();
    return *this;
}

LazyMeshBvh& LazyMeshBvh::operator=(LazyMeshBvh&& other) noexcept {
    reset();
    other.reset();
    return *this;
}

void LazyMeshBvh::reset() {
    ready_.store(nullptr);
    tree_.reset();
}

const MeshBvh& LazyMeshBvh::get(const PolyMesh& mesh) const {
    if (const MeshBvh* tree = ready_.load(std::memory_order_acquire))
        return *tree;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!tree_) {
        tree_ = std::make_unique<const MeshBvh>(mesh);
        ready_.store(tree_.get(), std::memory_order_release);
    }
    return *tree_;
}

MeshClosestPoint PolyMesh::closestPoint(const Vec3& q) const {
    MeshClosestPoint result = bvh().closestPoint(q);
    if (result.found)
        result.polygon = topo_->triPolygon[result.triangle];
    return result;
}

MeshClosestPoint PolyMesh::closestPointBruteForce(const Vec3& q) const {
    MeshClosestPoint result;
    if (!isFinite(q))
        return result;
    result.distanceSquared = std::numeric_limits<double>::infinity();
    const int numTris = numTriangles();
    for (int t = 0; t < numTris; ++t) {
        int fv[3];
        triangleFaceVertices(t, fv);
        double w[3];
        const Vec3 x =
            closestPointOnTriangle(q, points_[topo_->connects[fv[0]]], points_[topo_->connects[fv[1]]], points_[topo_->connects[fv[2]]], w);
        const double d2 = lengthSquared(x - q);
        if (d2 < result.distanceSquared) {
            result.found = true;
            result.point = x;
            result.distanceSquared = d2;
            result.triangle = t;
            result.weights[0] = w[0]; result.weights[1] = w[1]; result.weights[2] = w[2];
        }
    }
    if (result.found)
        result.polygon = topo_->triPolygon[result.triangle];
    else
        result.distanceSquared = 0.0;
    return result;
}

}  // namespace host::geom
