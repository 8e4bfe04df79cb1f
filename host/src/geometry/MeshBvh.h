#pragma once

#include "geometry/PolyMesh.h"

#include <cstdint>
#include <vector>

namespace host::geom {

// Bounding volume hierarchy over a mesh's fan triangles, for closest-point queries.
//
// Build: triangles are sorted along a Morton curve of their box centres (30-bit codes, radix sort), and
// the tree splits each run at its highest differing code bit (at the middle of a run of equal codes)
// down to leaves of at most kLeafSize triangles. Every inner node holds both children's boxes (single
// precision, rounded outward so that each encloses its triangles exactly), so one node read decides
// which children to visit. The triangles' vertex ids are kept in leaf order (a leaf is one contiguous
// block); their points are read from the mesh, which owns the tree and so outlives it. The build takes
// about 28 bytes per triangle beyond the nodes, since fresh memory is what a build mostly pays for.
//
// Query: depth first, nearer child first, skipping every box farther than the best distance found.
// Distances are computed in double precision by closestPointOnTriangle, as the brute-force scan does,
// and among equally near triangles the lowest triangle id wins, so the result is the scan's.
class MeshBvh {
public:
    static constexpr int kLeafSize = 4;

    explicit MeshBvh(const PolyMesh& mesh);

    // Closest point with its triangle and weights (polygon left at -1: the mesh knows it).
    MeshClosestPoint closestPoint(const Vec3& q) const;

    int numNodes() const { return static_cast<int>(nodes_.size()); }
    int depth() const { return depth_; }

private:
    struct Node {
        float lo[2][3];
        float hi[2][3];
        int child[2];  // inner child's node index, or a leaf's first slot in tris_
        int count[2];  // triangles of a leaf, 0 for an inner child, -1 for no child
    };
    void build(int index, int which, int first, int last, int level, const std::vector<uint64_t>& keys);
    void setLeaf(Node& node, int slot, int first, int last) const;

    const Vec3* points_ = nullptr;  // the mesh's points
    std::vector<Node> nodes_;
    std::vector<int> corners_;  // three vertex ids per triangle, in leaf order
    std::vector<int> ids_;      // triangle id per slot
    int depth_ = 0;
};

}  // namespace host::geom
