#pragma once

#include "geometry/Vec3.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace host::geom {

class MeshBvh;

// A search tree made on first use and kept. The tree reads its mesh's points, so a copy of the mesh
// starts without one, and a mesh moved from or assigned to drops its own.
class LazyMeshBvh {
public:
    LazyMeshBvh();
    LazyMeshBvh(const LazyMeshBvh&);
    LazyMeshBvh(LazyMeshBvh&& other) noexcept;
    LazyMeshBvh& operator=(const LazyMeshBvh&);
    LazyMeshBvh& operator=(LazyMeshBvh&& other) noexcept;
    ~LazyMeshBvh();
    const MeshBvh& get(const class PolyMesh& mesh) const;

private:
    void reset();

    mutable std::mutex mutex_;
    mutable std::atomic<const MeshBvh*> ready_{nullptr};
    mutable std::unique_ptr<const MeshBvh> tree_;
};

// A texture coordinate of the mesh's UV set (single precision, as Maya keeps them).
struct MeshUV {
    float u = 0.0f;
    float v = 0.0f;
};

// Affine map x -> x * L + t in Maya's row-vector convention (L is the upper 3x3 of a 4x4 matrix, t its
// last row; the last column is ignored), for queries in another space than the mesh's own. Normals map
// through the inverse transpose of L, which keeps them pointing to the same side of the surface under
// mirroring; a singular L maps normals through its cofactor matrix instead.
struct AffineMap {
    double l[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
    double normal[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
    Vec3 t;

    AffineMap() = default;
    explicit AffineMap(const double m[4][4]);

    Vec3 apply(const Vec3& p) const {
        return {p.x * l[0][0] + p.y * l[1][0] + p.z * l[2][0] + t.x,
                p.x * l[0][1] + p.y * l[1][1] + p.z * l[2][1] + t.y,
                p.x * l[0][2] + p.y * l[1][2] + p.z * l[2][2] + t.z};
    }
    // Unit normal after the map (zero stays zero).
    Vec3 applyNormal(const Vec3& n) const {
        return normalized({n.x * normal[0][0] + n.y * normal[1][0] + n.z * normal[2][0],
                           n.x * normal[0][1] + n.y * normal[1][1] + n.z * normal[2][1],
                           n.x * normal[0][2] + n.y * normal[1][2] + n.z * normal[2][2]});
    }
};

// Contiguous run of ids inside one of the mesh's tables.
struct IdRange {
    const int* first = nullptr;
    const int* last = nullptr;
    const int* begin() const { return first; }
    const int* end() const { return last; }
    int size() const { return static_cast<int>(last - first); }
    int operator[](int i) const { return first[i]; }
};

// Fan triangle k of a polygon: its corners 0, k + 1 and k + 2.
struct FanTriangle {
    int polygon = -1;
    int k = 0;
};

// Outcome of a UV lookup on one polygon.
enum class UVLookup {
    kFound,    // the result is set
    kOutside,  // the uv lies outside the polygon's UV region
    kNoUVs,    // a corner of the polygon has no UV
};

// Closest point on the mesh. found is false only on a mesh without polygons or a non-finite query.
// weights are the barycentric weights of the fan triangle's corners (0, k + 1, k + 2).
struct MeshClosestPoint {
    bool found = false;
    Vec3 point;
    double distanceSquared = 0.0;
    int triangle = -1;
    int polygon = -1;
    double weights[3] = {0.0, 0.0, 0.0};
};

// Closest point of the triangle (a, b, c) to p, with its barycentric weights (wa + wb + wc = 1).
// Degenerate triangles give the closest point of their edges.
Vec3 closestPointOnTriangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c, double w[3]);

// Polygon mesh: points, polygons of any corner count (three or more, planar or not), and one UV set
// holding per-face-vertex UVs, where any corner may have none.
//
// The mesh is immutable once built: construction validates the input, then computes the faces around
// each vertex (ascending, each once) and the fan triangulation: polygons in order, polygon p's triangle
// k being corners (0, k + 1, k + 2), numbered from firstTriangle(p). Polygons, UVs and this adjacency
// are shared by the meshes made from one another with withPoints. The shape, made on the first query
// that needs it and kept, is the polygon areas (the sum of the polygon's fan triangles), unit face
// normals (Newell's, which for any polygon is the direction of the sum of its fan triangles' vector
// areas) and vertex normals (the normalised mean of the unit normals of the faces around the vertex).
// A degenerate polygon (zero vector area) has a zero normal; a vertex on no face, or whose face normals
// cancel, has a zero normal.
//
// Invalid input (a polygon of fewer than three corners, a vertex or UV id out of range, a UV id table
// of the wrong length, a non-finite point or UV) gives an invalid mesh without polygons or points, with
// the reason in error(). Queries never allocate, except the first query of an area or normal, which
// makes the shape, and the first closestPoint, which builds the search tree (MeshBvh); both are kept
// with the mesh, and any number of threads may query at once.
class PolyMesh {
public:
    PolyMesh();  // empty and valid
    // counts: corner count of each polygon; connects: their vertex ids, polygon after polygon.
    PolyMesh(std::vector<Vec3> points, std::vector<int> counts, std::vector<int> connects);
    // uvIds: per face-vertex (same order as connects) an id into uvs, or -1 for none; empty for no UVs.
    PolyMesh(std::vector<Vec3> points, std::vector<int> counts, std::vector<int> connects, std::vector<MeshUV> uvs,
             std::vector<int> uvIds);

    bool isValid() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // The same mesh with other points: topology, UVs and adjacency are shared, areas and normals are
    // made again when queried. An invalid mesh (as from the constructor) when the count differs or a point is not
    // finite.
    PolyMesh withPoints(std::vector<Vec3> points) const;
    // withPoints without looking at the points, for a caller that knows them all finite (a valid mesh's
    // points changed only to finite values): one pass less over a large mesh.
    PolyMesh withFinitePoints(std::vector<Vec3> points) const;
    // Whether the two meshes share one topology (one was made from the other with withPoints).
    bool sharesTopology(const PolyMesh& other) const { return topo_ == other.topo_; }

    int numVertices() const { return static_cast<int>(points_.size()); }
    int numPolygons() const { return static_cast<int>(topo_->offsets.size()) - 1; }
    int numFaceVertices() const { return static_cast<int>(topo_->connects.size()); }
    int numTriangles() const { return static_cast<int>(topo_->triPolygon.size()); }
    int numUVs() const { return static_cast<int>(topo_->uvs.size()); }

    const std::vector<Vec3>& points() const { return points_; }
    const Vec3& point(int vertex) const { return points_[vertex]; }
    const std::vector<int>& faceVertices() const { return topo_->connects; }
    const std::vector<int>& faceVertexUVIds() const { return topo_->uvIds; }  // one per face-vertex, -1 none
    const std::vector<MeshUV>& uvs() const { return topo_->uvs; }
    const std::vector<int>& polygonOffsets() const { return topo_->offsets; }  // numPolygons + 1 face-vertex offsets
    const std::vector<double>& polygonAreas() const { return shape().areas; }

    // Per polygon (p in [0, numPolygons())).
    int polygonSize(int p) const { return topo_->offsets[p + 1] - topo_->offsets[p]; }
    int faceVertexOffset(int p) const { return topo_->offsets[p]; }
    IdRange polygonVertices(int p) const { return {&topo_->connects[topo_->offsets[p]], &topo_->connects[topo_->offsets[p + 1]]}; }
    IdRange polygonUVIds(int p) const { return {&topo_->uvIds[topo_->offsets[p]], &topo_->uvIds[topo_->offsets[p + 1]]}; }
    // UV of corner k; false (uv untouched) when the corner has none or k is out of range.
    bool cornerUV(int p, int k, MeshUV& uv) const;
    // True when every corner of the polygon has a UV.
    bool polygonHasUVs(int p) const;
    double polygonArea(int p) const { return shape().areas[p]; }
    const Vec3& faceNormal(int p) const { return shape().faceNormals[p]; }
    Vec3 polygonCenter(int p) const;  // mean of the corners

    // Area in another space: the fan sum over the mapped corners. (Normals and centres map directly:
    // map.applyNormal(faceNormal(p)), map.apply(polygonCenter(p)).)
    double polygonArea(int p, const AffineMap& map) const;

    // Per vertex.
    // data() + offset: a mesh without polygons has no face ids at all.
    IdRange vertexFaces(int v) const {
        return {topo_->vertexFaces.data() + topo_->vertexFaceOffsets[v], topo_->vertexFaces.data() + topo_->vertexFaceOffsets[v + 1]};
    }
    const Vec3& vertexNormal(int v) const { return shape().vertexNormals[v]; }
    const std::vector<Vec3>& vertexNormals() const { return shape().vertexNormals; }
    // The faces of vertex v are vertexFaceIds()[vertexFaceOffsets()[v] .. vertexFaceOffsets()[v + 1]).
    const std::vector<int>& vertexFaceOffsets() const { return topo_->vertexFaceOffsets; }
    const std::vector<int>& vertexFaceIds() const { return topo_->vertexFaces; }
    // Beside vertexFaceIds(): the UV id of the vertex's first corner in that face, -1 for none.
    const std::vector<int>& vertexFaceUVIds() const { return topo_->vertexFaceUVIds; }
    // UV of the vertex in face p (its first corner there); false when the vertex is not a corner of p or
    // that corner has no UV.
    bool vertexUV(int v, int p, MeshUV& uv) const;

    // Fan triangulation.
    int firstTriangle(int p) const { return topo_->offsets[p] - 2 * p; }
    FanTriangle triangle(int t) const;
    // Face-vertex indices (into faceVertices()) of triangle t's corners.
    void triangleFaceVertices(int t, int fv[3]) const;

    // Point of polygon p whose interpolated UV is (u, v): the uv is located in the polygon's UV fan
    // (triangle order; points on shared edges belong to the first triangle), and its barycentric weights
    // blend the corners. A uv outside every fan triangle by more than `tolerance` (a UV-space distance)
    // is kOutside; within it, the nearest point of the nearest triangle is used. Fan triangles whose UVs
    // are collinear are skipped. `point` is written only on kFound.
    UVLookup pointAtUV(int p, float u, float v, Vec3& point, double tolerance = 0.0) const;
    // UV of the point of polygon p nearest to q (over its fan triangles, object space or through map).
    // `uv` (and `nearest` when given) are written only on kFound; kOutside is never returned.
    UVLookup uvAtPoint(int p, const Vec3& q, MeshUV& uv, Vec3* nearest = nullptr) const;
    UVLookup uvAtPoint(int p, const Vec3& q, const AffineMap& map, MeshUV& uv, Vec3* nearest = nullptr) const;

    // Closest point over all triangles (among equally near ones the lowest triangle id), through the
    // search tree.
    MeshClosestPoint closestPoint(const Vec3& q) const;
    // The same by visiting every triangle.
    MeshClosestPoint closestPointBruteForce(const Vec3& q) const;
    const MeshBvh& bvh() const { return bvh_.get(*this); }

private:
    // What the points do not change; meshes made with withPoints share it.
    struct Topology {
        std::vector<int> offsets{0};  // numPolygons + 1 face-vertex offsets
        std::vector<int> connects;
        std::vector<int> uvIds;  // one per face-vertex (-1 for none), also when the mesh has no UVs
        std::vector<MeshUV> uvs;
        std::vector<int> vertexFaceOffsets{0};
        std::vector<int> vertexFaces;
        std::vector<int> vertexFaceUVIds;  // per vertexFaces entry: UV id of the vertex's first corner there
        std::vector<int> triPolygon;  // polygon of each fan triangle
    };
    // Areas and normals, from the points and the adjacency.
    struct Shape {
        std::vector<double> areas;
        std::vector<Vec3> faceNormals;
        std::vector<Vec3> vertexNormals;
    };
    // The shape made on first use and kept; a copy of the mesh starts without one.
    class LazyShape {
    public:
        LazyShape() = default;
        LazyShape(const LazyShape&) {}
        LazyShape& operator=(const LazyShape&);
        const Shape* ready() const { return ready_.load(std::memory_order_acquire); }
        const Shape& get(const PolyMesh& mesh) const;

    private:
        mutable std::mutex mutex_;
        mutable std::atomic<const Shape*> ready_{nullptr};
        mutable std::unique_ptr<const Shape> shape_;
    };

    const Shape& shape() const {
        const Shape* s = shape_.ready();
        return s ? *s : shape_.get(*this);
    }
    void fail(const std::string& why);
    bool validate(const std::vector<int>& counts);
    void buildDerived();
    Shape buildShape() const;
    template <class Corner>
    UVLookup nearestOnPolygon(int p, const Vec3& q, Corner corner, MeshUV& uv, Vec3* nearest) const;

    std::string error_;
    std::vector<Vec3> points_;
    std::shared_ptr<Topology> topo_ = std::make_shared<Topology>();  // changed only while constructing
    LazyShape shape_;
    LazyMeshBvh bvh_;
};

}  // namespace host::geom
