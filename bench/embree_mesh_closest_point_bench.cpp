// Closest points on polygon meshes: MFnMesh::getClosestPointAndNormal against Embree's rtcPointQuery on
// the same bumpy spheres of 20,000, 320,000 and 1,280,000 triangles and the same 1,000 near-surface
// queries (see meshBenchScenes.h); one iteration answers one query. Embree is only a yardstick here:
// it holds the same triangles (vertex and index buffers), and its query callback computes each
// triangle's closest point with the host's own routine on the mesh's double-precision points, so the
// two differ only in how they find the triangles to test.
//
// Before timing, every query is answered by both and the distances are compared (one ACCURACY line per
// mesh; the host must never be farther than Embree by more than 1e-9).

#include "goalReport.h"
#include "meshBenchScenes.h"

#include <maya/MFnMesh.h>

#include <embree3/rtcore.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

using meshBench::PolyMesh;
using meshBench::Vec3;
using meshBench::scene;

namespace {

const double speedGoal = 2.0;
const double accuracyLimit = 1e-9;

std::string name(const char* what, int triangles) {
    return std::string(what) + "/" + std::to_string(triangles);
}

// The triangles of one mesh in an Embree scene.
struct EmbreeMesh {
    RTCDevice device = nullptr;
    RTCScene scene = nullptr;
    std::vector<unsigned> indices;  // three vertex ids per fan triangle

    explicit EmbreeMesh(const PolyMesh& mesh) {
        device = rtcNewDevice(nullptr);
        scene = rtcNewScene(device);
        RTCGeometry geometry = rtcNewGeometry(device, RTC_GEOMETRY_TYPE_TRIANGLE);
        float* vertices = static_cast<float*>(rtcSetNewGeometryBuffer(
            geometry, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3, 3 * sizeof(float), mesh.numVertices()));
        for (int v = 0; v < mesh.numVertices(); ++v) {
            vertices[3 * v] = static_cast<float>(mesh.point(v).x);
            vertices[3 * v + 1] = static_cast<float>(mesh.point(v).y);
            vertices[3 * v + 2] = static_cast<float>(mesh.point(v).z);
        }
        unsigned* tris = static_cast<unsigned*>(rtcSetNewGeometryBuffer(
            geometry, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3, 3 * sizeof(unsigned), mesh.numTriangles()));
        for (int t = 0; t < mesh.numTriangles(); ++t) {
            int fv[3];
            mesh.triangleFaceVertices(t, fv);
            for (int k = 0; k < 3; ++k) {
                tris[3 * t + k] = static_cast<unsigned>(mesh.faceVertices()[fv[k]]);
                indices.push_back(tris[3 * t + k]);
            }
        }
        rtcCommitGeometry(geometry);
        rtcAttachGeometry(scene, geometry);
        rtcReleaseGeometry(geometry);
        rtcCommitScene(scene);
    }
    ~EmbreeMesh() {
        rtcReleaseScene(scene);
        rtcReleaseDevice(device);
    }
};

struct QueryState {
    const PolyMesh* mesh;
    const std::vector<unsigned>* indices;
    Vec3 q;
    double best;
    unsigned triangle;
};

bool closestCallback(RTCPointQueryFunctionArguments* args) {
    QueryState& s = *static_cast<QueryState*>(args->userPtr);
    const unsigned* t = &(*s.indices)[3 * static_cast<size_t>(args->primID)];
    double w[3];
    const Vec3 x = host::geom::closestPointOnTriangle(s.q, s.mesh->point(t[0]), s.mesh->point(t[1]),
                                                      s.mesh->point(t[2]), w);
    const double d = host::geom::length(x - s.q);
    if (d < s.best) {
        s.best = d;
        s.triangle = args->primID;
        // Shrink the search sphere; a little slack keeps Embree's single-precision boxes from
        // excluding a triangle that is as near in double precision.
        args->query->radius = static_cast<float>(d * (1.0 + 1e-6));
        return true;
    }
    return false;
}

const EmbreeMesh& embree(int triangles) {
    static std::vector<std::unique_ptr<EmbreeMesh>> meshes(meshBench::triangleCounts.size());
    size_t at = 0;
    while (at + 1 < meshBench::triangleCounts.size() && meshBench::triangleCounts[at] != triangles) ++at;
    if (!meshes[at]) meshes[at] = std::make_unique<EmbreeMesh>(*scene(triangles).mesh);
    return *meshes[at];
}

double embreeDistance(const EmbreeMesh& e, const PolyMesh& mesh, const Vec3& q) {
    QueryState state{&mesh, &e.indices, q, std::numeric_limits<double>::infinity(), 0};
    RTCPointQuery query;
    query.x = static_cast<float>(q.x);
    query.y = static_cast<float>(q.y);
    query.z = static_cast<float>(q.z);
    query.time = 0.0f;
    query.radius = std::numeric_limits<float>::infinity();
    RTCPointQueryContext context;
    rtcInitPointQueryContext(&context);
    rtcPointQuery(e.scene, &query, &context, closestCallback, &state);
    return state.best;
}

void embreeBench(benchmark::State& state, int triangles) {
    const meshBench::Scene& s = scene(triangles);
    const EmbreeMesh& e = embree(triangles);
    size_t i = 0;
    for (auto _ : state) {
        const Vec3& q = s.queries[i];
        i = i + 1 == s.queries.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(embreeDistance(e, *s.mesh, q));
    }
}

bool checkAccuracy(int triangles) {
    const meshBench::Scene& s = scene(triangles);
    const EmbreeMesh& e = embree(triangles);
    double worst = -std::numeric_limits<double>::infinity();
    MFnMesh fn(s.data);
    for (const Vec3& q : s.queries) {
        MPoint closest;
        MVector normal;
        fn.getClosestPointAndNormal(MPoint(q.x, q.y, q.z), closest, normal, MSpace::kWorld);
        const double ours = host::geom::length(Vec3{closest.x, closest.y, closest.z} - q);
        worst = std::max(worst, ours - embreeDistance(e, *s.mesh, q));
    }
    const bool ok = worst <= accuracyLimit;
    std::cout << "ACCURACY embree_closest_point_" << triangles << "_triangles: max(host - embree) = " << worst
              << " (limit " << accuracyLimit << ") over " << s.queries.size() << " queries " << (ok ? "ok" : "FAILED")
              << std::endl;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = 5;
    std::vector<benchGoals::Goal> goals;
    for (int n : meshBench::triangleCounts) {
        benchmark::RegisterBenchmark(name("closestPoint/tree", n).c_str(), meshBench::treeBench, n)
            ->UseRealTime()->Repetitions(repetitions)->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark(name("closestPoint/embree", n).c_str(), embreeBench, n)
            ->UseRealTime()->Repetitions(repetitions)->Unit(benchmark::kNanosecond);
        goals.push_back({"closest_point_" + std::to_string(n) + "_triangles_vs_embree", name("closestPoint/tree", n),
                         name("closestPoint/embree", n), speedGoal});
    }
    const int result = benchGoals::runAndReport(argc, argv, goals);
    bool accurate = true;
    for (int n : meshBench::triangleCounts) accurate = checkAccuracy(n) && accurate;
    return result != 0 ? result : (accurate ? 0 : 1);
}
