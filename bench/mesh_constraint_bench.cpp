// meshConstraint: evaluating 1,000 output elements (their polygons spread over the whole mesh) on a mesh
// of 1,000,000 polygons against the same on a mesh of 1,000 polygons. An element's work must not grow
// with the mesh: nothing of the mesh may be copied or searched per evaluation.

#include "goalReport.h"
#include "meshConstraint.h"

#include <host/Host.h>

#include "graph/Scene.h"

#include <maya/MFn.h>
#include <maya/MPlug.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const int elementCount = 1000;

// A plane of sx by sy quads feeding mc, whose inputs name polygons spread evenly over it.
std::string buildScene(int sx, int sy) {
    if (!host::findNodeType("meshConstraint") &&
        host::registerType("meshConstraint", meshConstraint::id, meshConstraint::creator, meshConstraint::initialize,
                           MPxNode::kDependNode, MFn::kPluginDependNode, "") != MStatus::kSuccess)
        return "could not register meshConstraint";
    host::newScene();
    if (host::execute("polyPlane -w 10 -h 10 -sx " + std::to_string(sx) + " -sy " + std::to_string(sy) +
                      " -n pl; createNode meshConstraint -n mc; connectAttr plShape.worldMesh[0] mc.inMesh") !=
        MStatus::kSuccess)
        return "could not build the scene";
    const int polygons = sx * sy;
    for (int i = 0; i < elementCount; ++i) {
        const std::string at = "mc.input[" + std::to_string(i) + "].";
        const int polygon = static_cast<int>((static_cast<long long>(i) * 7919 * polygons / elementCount) % polygons);
        host::plugByName(at + "polygonId").setValue(polygon);
        host::plugByName(at + "uValue").setValue(((i * 37) % 100) / 100.0);
        host::plugByName(at + "vValue").setValue(((i * 53) % 100) / 100.0);
    }
    return std::string();
}

void constraintElements(benchmark::State& state, int sx, int sy) {
    const std::string problem = buildScene(sx, sy);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    // Plugs are found once, as a downstream connection holds them, so that names are not parsed per pull.
    std::vector<MPlug> plugs;
    for (int i = 0; i < elementCount; ++i)
        plugs.push_back(host::plugByName("mc.resultPosition[" + std::to_string(i) + "]"));
    // The first evaluation makes the plane's mesh: a one-off, which each repetition would otherwise time.
    for (const MPlug& plug : plugs)
        if (host::pull(plug) != MStatus::kSuccess) {
            state.SkipWithError("an element failed");
            return;
        }
    MPlug dirtier = host::plugByName("mc.input[0].uValue");
    unsigned iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dirtier.setValue((++iteration % 2) ? 0.25 : 0.5);
        state.ResumeTiming();
        for (const MPlug& plug : plugs)
            if (host::pull(plug) != MStatus::kSuccess) {
                state.SkipWithError("an element failed");
                return;
            }
    }
    state.SetItemsProcessed(state.iterations() * elementCount);
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = 5;
    host::setMayaState(MGlobal::kBatch);
    benchmark::RegisterBenchmark("meshConstraint1000Elements/1000Polygons",
                                 [](benchmark::State& s) { constraintElements(s, 40, 25); })
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("meshConstraint1000Elements/1000000Polygons",
                                 [](benchmark::State& s) { constraintElements(s, 1000, 1000); })
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(repetitions);
    return benchGoals::runAndReport(argc, argv,
                                    {{"mesh_constraint_1000_elements_1000000_vs_1000_polygons",
                                      "meshConstraint1000Elements/1000000Polygons",
                                      "meshConstraint1000Elements/1000Polygons", 1.5}});
}
