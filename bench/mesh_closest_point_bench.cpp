// Closest points on polygon meshes: MFnMesh::getClosestPointAndNormal (the search tree kept with the
// mesh) against a scan of every fan triangle, on bumpy spheres of 20,000, 320,000 and 1,280,000
// triangles with 1,000 near-surface queries each; one iteration answers one query (the next in the
// list). Building the tree is compared with one scan, which is one pass over the triangles.
//
// Also the polygon walk the emitter makes in every evaluation, over a plane of 1,000,000 triangles: each
// polygon's area, corner count and corner UVs read through MItMeshPolygon (what the emitter reads; the
// emitter's own evaluation is measured in sampler_emitter_bench), against one pass copying the mesh's
// face-vertex UVs into the same two float arrays.
//
// Before timing, every query is answered by both the tree and the scan: the distances must agree to
// 1e-9 and the polygons must be the same (one ACCURACY line per mesh; a failure makes the exit status
// non-zero).

#include "goalReport.h"
#include "meshBenchScenes.h"

#include "geometry/MeshBvh.h"

#include <maya/MFloatArray.h>
#include <maya/MFnMesh.h>
#include <maya/MItMeshPolygon.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using meshBench::scene;

namespace {

const std::vector<double> speedGoals = {150.0, 500.0, 1500.0};
const double buildGoal = 10.0;
const double walkGoal = 3.0;
const double accuracyLimit = 1e-9;

std::string name(const char* what, int triangles) {
    return std::string(what) + "/" + std::to_string(triangles);
}

void scanBench(benchmark::State& state, int triangles) {
    const meshBench::Scene& s = scene(triangles);
    size_t i = 0;
    for (auto _ : state) {
        const meshBench::Vec3& q = s.queries[i];
        i = i + 1 == s.queries.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(s.mesh->closestPointBruteForce(q));
    }
}

void buildBench(benchmark::State& state, int triangles) {
    const meshBench::Scene& s = scene(triangles);
    for (auto _ : state) {
        host::geom::MeshBvh tree(*s.mesh);
        benchmark::DoNotOptimize(tree.numNodes());
    }
}

// A plane of 1000 by 500 quads: 1,000,000 fan triangles.
const MObject& walkMesh() {
    static const MObject data = host::makeMeshData(host::geom::makePolyPlane(10.0, 5.0, 1000, 500));
    return data;
}

void walkBench(benchmark::State& state) {
    const MObject& data = walkMesh();
    MFloatArray us, vs;
    us.setLength(MFnMesh(data).numFaceVertices());
    vs.setLength(us.length());
    for (auto _ : state) {
        double area = 0.0;
        unsigned at = 0;
        for (MItMeshPolygon it(data); !it.isDone(); it.next()) {
            double a = 0.0;
            it.getArea(a, MSpace::kObject);
            area += a;
            const unsigned corners = it.polygonVertexCount();
            for (unsigned k = 0; k < corners; ++k, ++at) {
                int id;
                it.getUVIndex(static_cast<int>(k), id, us[at], vs[at]);
            }
        }
        benchmark::DoNotOptimize(area);
        benchmark::DoNotOptimize(us[at - 1]);
    }
}

void copyBench(benchmark::State& state) {
    auto data = host::dataAs<host::MeshData>(walkMesh());
    const host::geom::PolyMesh& mesh = data->mesh();
    MFloatArray us, vs;
    us.setLength(mesh.numFaceVertices());
    vs.setLength(us.length());
    for (auto _ : state) {
        const std::vector<int>& ids = mesh.faceVertexUVIds();
        const std::vector<host::geom::MeshUV>& uvs = mesh.uvs();
        for (size_t i = 0; i < ids.size(); ++i) {
            us[static_cast<unsigned>(i)] = uvs[ids[i]].u;
            vs[static_cast<unsigned>(i)] = uvs[ids[i]].v;
        }
        benchmark::DoNotOptimize(us[0]);
        benchmark::DoNotOptimize(vs[vs.length() - 1]);
    }
}

bool checkAccuracy(int triangles) {
    const meshBench::Scene& s = scene(triangles);
    double worst = 0.0;
    int mismatched = 0;
    MFnMesh fn(s.data);
    for (const meshBench::Vec3& q : s.queries) {
        MPoint closest;
        MVector normal;
        int polygon = -1;
        fn.getClosestPointAndNormal(MPoint(q.x, q.y, q.z), closest, normal, MSpace::kWorld, &polygon);
        const auto scan = s.mesh->closestPointBruteForce(q);
        const double ours = std::sqrt((closest.x - q.x) * (closest.x - q.x) + (closest.y - q.y) * (closest.y - q.y) +
                                      (closest.z - q.z) * (closest.z - q.z));
        worst = std::max(worst, std::fabs(ours - std::sqrt(scan.distanceSquared)));
        if (polygon != scan.polygon) ++mismatched;
    }
    const bool ok = worst <= accuracyLimit && mismatched == 0;
    std::cout << "ACCURACY closest_point_" << triangles << "_triangles: max |tree - scan| = " << worst << " (limit "
              << accuracyLimit << "), " << mismatched << " other polygons over " << s.queries.size() << " queries "
              << (ok ? "ok" : "FAILED") << std::endl;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = 5;
    std::vector<benchGoals::Goal> goals;
    for (size_t i = 0; i < meshBench::triangleCounts.size(); ++i) {
        const int n = meshBench::triangleCounts[i];
        benchmark::RegisterBenchmark(name("closestPoint/tree", n).c_str(), meshBench::treeBench, n)
            ->UseRealTime()->Repetitions(repetitions)->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark(name("closestPoint/scan", n).c_str(), scanBench, n)
            ->UseRealTime()->Repetitions(repetitions)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(name("build", n).c_str(), buildBench, n)
            ->UseRealTime()->Repetitions(repetitions)->Unit(benchmark::kMillisecond);
        goals.push_back({"closest_point_" + std::to_string(n) + "_triangles_speedup_over_scan",
                         name("closestPoint/scan", n), name("closestPoint/tree", n), speedGoals[i], true});
        goals.push_back({"tree_build_" + std::to_string(n) + "_triangles_vs_one_scan", name("build", n),
                         name("closestPoint/scan", n), buildGoal});
    }
    benchmark::RegisterBenchmark("walk/polygons/1000000", walkBench)
        ->UseRealTime()->Repetitions(repetitions)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("walk/copyUVs/1000000", copyBench)
        ->UseRealTime()->Repetitions(repetitions)->Unit(benchmark::kMillisecond);
    goals.push_back({"polygon_walk_1000000_triangles_vs_uv_copy", "walk/polygons/1000000", "walk/copyUVs/1000000",
                     walkGoal});
    const int result = benchGoals::runAndReport(argc, argv, goals);

    bool accurate = true;
    for (int n : meshBench::triangleCounts) accurate = checkAccuracy(n) && accurate;
    return result != 0 ? result : (accurate ? 0 : 1);
}
