#include "geometry/MeshBvh.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <type_traits>

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace host::geom {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kMaxDepth = 128;  // 30 code bits plus one middle split per halving of 2^31 triangles

float roundDown(double x) {
    float f = static_cast<float>(x);
    if (static_cast<double>(f) > x)
        f = std::nextafter(f, -std::numeric_limits<float>::infinity());
    return f;
}

float roundUp(double x) {
    float f = static_cast<float>(x);
    if (static_cast<double>(f) < x)
        f = std::nextafter(f, std::numeric_limits<float>::infinity());
    return f;
}

// Spreads the low 10 bits of x to every third bit.
uint32_t spreadBits(uint32_t x) {
    x = (x | (x << 16)) & 0x030000FFu;
    x = (x | (x << 8)) & 0x0300F00Fu;
    x = (x | (x << 4)) & 0x030C30C3u;
    x = (x | (x << 2)) & 0x09249249u;
    return x;
}

uint32_t quantize(double x, double lo, double scale) {
    const double q = (x - lo) * scale;
    return q <= 0.0 ? 0u : (q >= 1023.0 ? 1023u : static_cast<uint32_t>(q));
}

// Sorts (code << 32 | index) keys by their 30-bit code: three 10-bit passes.
void radixSort(BigArray<uint64_t>& keys) {
    BigArray<uint64_t> tmp(keys.size());
    for (int shift = 32; shift < 62; shift += 10) {
        size_t counts[1025] = {};
        for (uint64_t k : keys)
            ++counts[((k >> shift) & 1023u) + 1];
        for (int i = 0; i < 1024; ++i)
            counts[i + 1] += counts[i];
        for (uint64_t k : keys)
            tmp[counts[(k >> shift) & 1023u]++] = k;
        keys.swap(tmp);
    }
}

constexpr size_t kHugePage = size_t(2) << 20;

}  // namespace

template <class T>
BigArray<T>::BigArray(size_t count) : size_(count) {
    static_assert(std::is_trivially_copyable<T>::value, "BigArray holds plain values");
    if (count == 0)
        return;
    const size_t bytes = count * sizeof(T);
#ifdef _WIN32
    // Windows' C runtime has no aligned_alloc whose memory free releases: no huge pages there.
    data_ = static_cast<T*>(std::malloc(bytes));
    (void)kHugePage;
#else
    if (bytes >= kHugePage) {
        const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        data_ = static_cast<T*>(std::aligned_alloc(kHugePage, rounded));
#ifdef MADV_HUGEPAGE
        if (data_)
            madvise(data_, rounded, MADV_HUGEPAGE);
#endif
    } else {
        data_ = static_cast<T*>(std::malloc(bytes));
    }
#endif
    if (!data_)
        throw std::bad_alloc();
}

template <class T>
BigArray<T>::~BigArray() {
    std::free(data_);
}

template <class T>
BigArray<T>& BigArray<T>::operator=(BigArray&& other) noexcept {
    BigArray(std::move(other)).swap(*this);
    return *this;
}

template <class T>
void BigArray<T>::swap(BigArray& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
}

template class BigArray<int>;
template class BigArray<uint64_t>;
template class BigArray<MeshBvh::Node>;

MeshBvh::~MeshBvh() = default;

MeshBvh::MeshBvh(const PolyMesh& mesh) : points_(mesh.points().data()) {
    const int n = mesh.numTriangles();
    Node root{};
    for (int s = 0; s < 2; ++s) {
        root.child[s] = -1;
        root.count[s] = -1;
        for (int a = 0; a < 3; ++a) {
            root.lo[s][a] = std::numeric_limits<float>::infinity();
            root.hi[s][a] = -std::numeric_limits<float>::infinity();
        }
    }
    // At most n - 1 inner nodes (one for an empty mesh); pages never written are never taken.
    BigArray<Node>(std::max(n, 1)).swap(nodes_);
    nodes_[0] = root;
    numNodes_ = 1;
    if (n == 0)
        return;

    // Morton code of each triangle's box centre on a grid over the mesh's points (which hold every
    // centre), fan triangles visited polygon by polygon.
    Vec3 lo{kInf, kInf, kInf}, hi{-kInf, -kInf, -kInf};
    for (const Vec3& p : mesh.points()) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    const double extent = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    const double scale = extent > 0.0 ? 1023.999 / extent : 0.0;
    const std::vector<int>& fvs = mesh.faceVertices();
    BigArray<uint64_t> keys(n);
    int tri = 0;
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        const int* corner = &fvs[mesh.faceVertexOffset(p)];
        const Vec3& a = points_[corner[0]];
        for (int k = 0; k + 2 < mesh.polygonSize(p); ++k, ++tri) {
            const Vec3& b = points_[corner[k + 1]];
            const Vec3& c = points_[corner[k + 2]];
            const double x = 0.5 * (std::min({a.x, b.x, c.x}) + std::max({a.x, b.x, c.x}));
            const double y = 0.5 * (std::min({a.y, b.y, c.y}) + std::max({a.y, b.y, c.y}));
            const double z = 0.5 * (std::min({a.z, b.z, c.z}) + std::max({a.z, b.z, c.z}));
            const uint32_t code = spreadBits(quantize(x, lo.x, scale)) << 2 | spreadBits(quantize(y, lo.y, scale)) << 1 |
                                  spreadBits(quantize(z, lo.z, scale));
            keys[tri] = static_cast<uint64_t>(code) << 32 | static_cast<uint32_t>(tri);
        }
    }
    radixSort(keys);

    BigArray<int>(static_cast<size_t>(n) * 3).swap(corners_);
    BigArray<int>(n).swap(ids_);
    for (int i = 0; i < n; ++i) {
        const int t = static_cast<int>(static_cast<uint32_t>(keys[i]));
        int fv[3];
        mesh.triangleFaceVertices(t, fv);
        ids_[i] = t;
        for (int k = 0; k < 3; ++k)
            corners_[3 * static_cast<size_t>(i) + k] = fvs[fv[k]];
    }

    if (n <= kLeafSize)
        setLeaf(nodes_[0], 0, 0, n);
    else
        build(0, -1, 0, n, 0, keys);
}

// Slot `slot` of node becomes the leaf of sorted triangles [first, last), boxed exactly.
void MeshBvh::setLeaf(Node& node, int slot, int first, int last) const {
    Vec3 lo{kInf, kInf, kInf}, hi{-kInf, -kInf, -kInf};
    for (size_t i = 3 * static_cast<size_t>(first); i < 3 * static_cast<size_t>(last); ++i) {
        const Vec3& p = points_[corners_[i]];
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    node.child[slot] = first;
    node.count[slot] = last - first;
    for (int a = 0; a < 3; ++a) {
        node.lo[slot][a] = roundDown(lo[a]);
        node.hi[slot][a] = roundUp(hi[a]);
    }
}

// Splits sorted triangles [first, last) (more than kLeafSize) into the two slots of a node: node `index`
// itself when which < 0 (the root), else a new node made for slot `which` of node `index`, whose box
// then becomes the union of its children's.
void MeshBvh::build(int index, int which, int first, int last, int level, const BigArray<uint64_t>& keys) {
    int node = index;
    if (which >= 0) {
        node = numNodes_++;
        nodes_[node] = Node{};
        nodes_[index].child[which] = node;
        nodes_[index].count[which] = 0;
    }
    depth_ = std::max(depth_, level + 1);

    const uint64_t c0 = keys[first] >> 32, c1 = keys[last - 1] >> 32;
    int split = first + (last - first) / 2;
    if (c0 != c1) {
        int bit = 31;
        while (!(((c0 ^ c1) >> bit) & 1u))
            --bit;
        const uint64_t threshold = (c1 >> bit) << bit << 32;
        const uint64_t* base = &keys[0];
        split = static_cast<int>(std::lower_bound(base + first, base + last, threshold) - base);
    }
    const int ranges[2][2] = {{first, split}, {split, last}};
    for (int s = 0; s < 2; ++s) {
        if (ranges[s][1] - ranges[s][0] <= kLeafSize)
            setLeaf(nodes_[node], s, ranges[s][0], ranges[s][1]);
        else
            build(node, s, ranges[s][0], ranges[s][1], level + 1, keys);
    }
    if (which >= 0) {
        Node& parent = nodes_[index];
        const Node& self = nodes_[node];
        for (int a = 0; a < 3; ++a) {
            parent.lo[which][a] = std::min(self.lo[0][a], self.lo[1][a]);
            parent.hi[which][a] = std::max(self.hi[0][a], self.hi[1][a]);
        }
    }
}

MeshClosestPoint MeshBvh::closestPoint(const Vec3& q) const {
    MeshClosestPoint result;
    if (ids_.empty() || !isFinite(q))
        return result;

    double best = kInf;
    int bestSlot = -1;
    Vec3 bestPoint;
    double bestW[3] = {0.0, 0.0, 0.0};
    auto testLeaf = [&](int first, int count) {
        for (int i = first; i < first + count; ++i) {
            const int* c = &corners_[3 * static_cast<size_t>(i)];
            double w[3];
            const Vec3 x = closestPointOnTriangle(q, points_[c[0]], points_[c[1]], points_[c[2]], w);
            const double d2 = lengthSquared(x - q);
            if (d2 < best || (d2 == best && bestSlot >= 0 && ids_[i] < ids_[bestSlot])) {
                best = d2;
                bestSlot = i;
                bestPoint = x;
                bestW[0] = w[0]; bestW[1] = w[1]; bestW[2] = w[2];
            }
        }
    };
    auto boxDistance = [&q](const Node& node, int s) {
        const double dx = std::max({static_cast<double>(node.lo[s][0]) - q.x, q.x - node.hi[s][0], 0.0});
        const double dy = std::max({static_cast<double>(node.lo[s][1]) - q.y, q.y - node.hi[s][1], 0.0});
        const double dz = std::max({static_cast<double>(node.lo[s][2]) - q.z, q.z - node.hi[s][2], 0.0});
        return dx * dx + dy * dy + dz * dz;
    };

    int stackNode[kMaxDepth];
    double stackDist[kMaxDepth];
    int top = 0;
    int node = 0;
    for (;;) {
        const Node& n = nodes_[node];
        const double d[2] = {n.count[0] < 0 ? kInf : boxDistance(n, 0), n.count[1] < 0 ? kInf : boxDistance(n, 1)};
        const int nearSlot = d[1] < d[0] ? 1 : 0;
        // Start loading the inner children while the leaves are tested.
        for (int slot = 0; slot < 2; ++slot)
            if (n.count[slot] == 0)
                __builtin_prefetch(&nodes_[n.child[slot]]);
        int inner[2];
        double innerDist[2];
        int numInner = 0;
        for (int o = 0; o < 2; ++o) {
            const int s = o == 0 ? nearSlot : 1 - nearSlot;
            // Equal distances stay in: a tie may still hold a lower triangle id. A box whose distance
            // overflows holds no triangle nearer than that, so none can be found in it.
            if (n.count[s] < 0 || d[s] > best || d[s] == kInf)
                continue;
            if (n.count[s] > 0) {
                testLeaf(n.child[s], n.count[s]);
            } else {
                inner[numInner] = n.child[s];
                innerDist[numInner] = d[s];
                ++numInner;
            }
        }
        if (numInner == 2 && innerDist[1] <= best)
            stackNode[top] = inner[1], stackDist[top] = innerDist[1], ++top;
        if (numInner > 0 && innerDist[0] <= best) {
            node = inner[0];
            continue;
        }
        for (node = -1; top > 0 && node < 0;) {
            --top;
            if (stackDist[top] <= best)
                node = stackNode[top];
        }
        if (node < 0)
            break;
    }

    if (bestSlot < 0)  // every distance overflowed, as the brute-force scan finds too
        return result;
    result.found = true;
    result.point = bestPoint;
    result.distanceSquared = best;
    result.triangle = ids_[bestSlot];
    result.weights[0] = bestW[0]; result.weights[1] = bestW[1]; result.weights[2] = bestW[2];
    return result;
}

}  // namespace host::geom
