#pragma once

#include "geometry/PolyMesh.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace host::geom {

// Uninitialised storage for trivially copyable elements, in memory the kernel may back with huge pages
// where it offers them: a build writes tens of megabytes once, and faulting that in 4 KiB pages can cost
// more than the build's own work. Move-only.
template <class T>
class BigArray {
public:
    BigArray() = default;
    explicit BigArray(size_t count);
    ~BigArray();
    BigArray(BigArray&& other) noexcept : data_(other.data_), size_(other.size_) { other.data_ = nullptr, other.size_ = 0; }
    BigArray& operator=(BigArray&& other) noexcept;
    BigArray(const BigArray&) = delete;
    BigArray& operator=(const BigArray&) = delete;

    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void swap(BigArray& other) noexcept;

private:
    T* data_ = nullptr;
    size_t size_ = 0;
};

// Bounding volume hierarchy over a mesh's fan triangles, for closest-point queries.
//
// Build: triangles are sorted along a Morton curve of their box centres (30-bit codes, radix sort), and
// the tree splits each run at its highest differing code bit (at the middle of a run of equal codes)
// down to leaves of at most kLeafSize triangles. Every inner node holds both children's boxes (single
// precision, rounded outward so that each encloses its triangles exactly), so one node read decides
// which children to visit. The triangles' vertex ids are kept in leaf order (a leaf is one contiguous
// block); their points are read from the mesh, which owns the tree and so outlives it. The build takes
// about 28 bytes per triangle beyond the nodes, since fresh memory is what a build mostly pays for, and
// that memory is taken in huge pages where the system offers them (BigArray).
//
// Query: depth first, nearer child first, skipping every box farther than the best distance found.
// Distances are computed in double precision by closestPointOnTriangle, as the brute-force scan does,
// and among equally near triangles the lowest triangle id wins, so the result is the scan's.
class MeshBvh {
public:
    static constexpr int kLeafSize = 4;

    explicit MeshBvh(const PolyMesh& mesh);
    ~MeshBvh();

    // Closest point with its triangle and weights (polygon left at -1: the mesh knows it).
    MeshClosestPoint closestPoint(const Vec3& q) const;

    int numNodes() const { return numNodes_; }
    int depth() const { return depth_; }

private:
    struct Node {
        float lo[2][3];
        float hi[2][3];
        int child[2];  // inner child's node index, or a leaf's first slot in tris_
        int count[2];  // triangles of a leaf, 0 for an inner child, -1 for no child
    };
    void build(int index, int which, int first, int last, int level, const BigArray<uint64_t>& keys);
    void setLeaf(Node& node, int slot, int first, int last) const;

    const Vec3* points_ = nullptr;  // the mesh's points
    BigArray<Node> nodes_;          // room for every node the build may make; numNodes_ used
    int numNodes_ = 0;
    BigArray<int> corners_;  // three vertex ids per triangle, in leaf order
    BigArray<int> ids_;      // triangle id per slot
    int depth_ = 0;
};

}  // namespace host::geom
