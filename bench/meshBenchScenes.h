#ifndef VEXMORA_BENCH_MESHBENCHSCENES_H
#define VEXMORA_BENCH_MESHBENCHSCENES_H

// Meshes and query points shared by the mesh benchmarks: bumpy spheres of 2 n^2 fan triangles (n by
// n + 1 subdivisions), with query points near the surface: a random point of a random triangle, moved
// along its normal by up to 1% of the radius either way.

#include "data/MeshData.h"
#include "geometry/MeshPrimitives.h"

#include <maya/MFnMesh.h>
#include <maya/MObject.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace meshBench {

using host::geom::PolyMesh;
using host::geom::Vec3;

const std::vector<int> triangleCounts = {20000, 320000, 1280000};
const int queryCount = 1000;

struct Scene {
    std::shared_ptr<const PolyMesh> mesh;
    MObject data;  // mesh data holding the mesh, identity matrix
    std::vector<Vec3> queries;
};

inline PolyMesh bumpySphere(int n) {
    const PolyMesh sphere = host::geom::makePolySphere(1.0, n, n + 1);
    std::vector<Vec3> points = sphere.points();
    for (Vec3& p : points) p *= 1.0 + 0.05 * std::sin(7.0 * p.x) * std::sin(5.0 * p.y) * std::sin(6.0 * p.z);
    std::vector<int> counts(sphere.numPolygons());
    for (int f = 0; f < sphere.numPolygons(); ++f) counts[f] = sphere.polygonSize(f);
    return PolyMesh(std::move(points), std::move(counts), sphere.faceVertices(), sphere.uvs(),
                    sphere.faceVertexUVIds());
}

inline std::vector<Vec3> nearSurfaceQueries(const PolyMesh& mesh, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> triangle(0, mesh.numTriangles() - 1);
    std::uniform_real_distribution<double> unit(0.0, 1.0), offset(-0.01, 0.01);
    std::vector<Vec3> queries;
    for (int i = 0; i < queryCount; ++i) {
        int fv[3];
        mesh.triangleFaceVertices(triangle(rng), fv);
        const Vec3& a = mesh.point(mesh.faceVertices()[fv[0]]);
        const Vec3& b = mesh.point(mesh.faceVertices()[fv[1]]);
        const Vec3& c = mesh.point(mesh.faceVertices()[fv[2]]);
        double s = unit(rng), t = unit(rng);
        if (s + t > 1.0) s = 1.0 - s, t = 1.0 - t;
        const Vec3 n = host::geom::normalized(host::geom::cross(b - a, c - a));
        queries.push_back(a + (b - a) * s + (c - a) * t + n * offset(rng));
    }
    return queries;
}

// The scene of a triangle count, built once per process.
inline const Scene& scene(int triangles) {
    static std::vector<std::unique_ptr<Scene>> scenes(triangleCounts.size());
    size_t at = 0;
    while (at + 1 < triangleCounts.size() && triangleCounts[at] != triangles) ++at;
    if (!scenes[at]) {
        auto s = std::make_unique<Scene>();
        const int n = static_cast<int>(std::lround(std::sqrt(triangles / 2.0)));
        s->mesh = std::make_shared<const PolyMesh>(bumpySphere(n));
        s->data = MObject(std::make_shared<host::MeshData>(s->mesh));
        s->queries = nearSurfaceQueries(*s->mesh, static_cast<unsigned>(triangles));
        scenes[at] = std::move(s);
    }
    return *scenes[at];
}

// One query per iteration, the next in the list, through MFnMesh::getClosestPointAndNormal in world
// space on the scene's mesh data, a new function set each time as a caller would make it. The tree is
// built before timing.
inline void treeBench(benchmark::State& state, int triangles) {
    const Scene& s = scene(triangles);
    MPoint warm;
    MFnMesh(s.data).getClosestPoint(MPoint(), warm);
    size_t i = 0;
    for (auto _ : state) {
        const Vec3& q = s.queries[i];
        i = i + 1 == s.queries.size() ? 0 : i + 1;
        MFnMesh fn(s.data);
        MPoint closest;
        MVector normal;
        int polygon = -1;
        fn.getClosestPointAndNormal(MPoint(q.x, q.y, q.z), closest, normal, MSpace::kWorld, &polygon);
        benchmark::DoNotOptimize(polygon);
        benchmark::DoNotOptimize(closest);
    }
}

}  // namespace meshBench

#endif
