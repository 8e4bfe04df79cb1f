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
// which children to visit. The triangles' corners are copied in leaf order so a leaf is read as one
// contiguous block.
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
    struct Tri {
        Vec3 a, b, c;
        int id;
    };
    struct Box {
        float lo[3];
        float hi[3];
    };

    // Builds the subtree over sorted slots [first, last) into slot `which` of node `parent`.
    void build(int parent, int which, int first, int last, int level);
    Box boxOf(int first, int last) const;

    std::vector<Node> nodes_;
    std::vector<Tri> tris_;
    std::vector<Box> triBoxes_;     // build only: box of each triangle, in sorted order
    std::vector<uint32_t> codes_;   // build only: Morton code of each sorted slot
    int depth_ = 0;
};

}  // namespace host::geom
