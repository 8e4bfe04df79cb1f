// nonLinearBlendShape on a polygon plane toward planes of the same topology, colour-weighted, through
// the whole evaluation (input copy, gathering with UVs and normals, target read, blend, output mesh).
// The baseline is a plain loop over the same number of points that reads the input and target points
// and writes the output points.
#include "goalReport.h"

#include "data/MeshData.h"
#include "geometry/MeshPrimitives.h"
#include "graph/Scene.h"
#include "nonLinearBlendShape.h"

#include <host/Host.h>
#include <maya/MPlug.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using host::geom::Vec3;

// A plane of (side + 1)^2 vertices deformed toward `targets` wider planes, all of weight 0.5.
struct Scene {
    std::string tag;
    int vertices = 0;
};

int sideFor(int vertices) {
    int side = 1;
    while ((side + 1) * (side + 1) < vertices) ++side;
    return side;
}

void ensureType() {
    static bool done = false;
    if (done) return;
    done = true;
    host::registerType("nonLinearBlendShape", nonLinearBlendShape::id, nonLinearBlendShape::creator,
                       nonLinearBlendShape::initialize, MPxNode::kDeformerNode, MFn::kPluginDeformerNode, "");
}

// Builds the scene once per (vertices, targets) and returns the deformer's output plug name.
std::string buildScene(int vertices, int targets) {
    ensureType();
    const std::string tag = "b" + std::to_string(vertices) + "t" + std::to_string(targets);
    const std::string deformer = tag + "Blend";
    if (host::findNode(deformer)) return deformer + ".outputGeom[0]";
    const int side = sideFor(vertices);
    auto makeShape = [&](const std::string& name, double width) {
        auto node = host::createNode("mesh", name);
        MObject data = host::makeMeshData(host::geom::makePolyPlane(width, width, side, side));
        host::plugFromName(name + ".inMesh").setValue(data);
    };
    makeShape(tag + "Base", 1.0);
    host::execute("deformer -type nonLinearBlendShape -n " + deformer + " " + tag + "Base");
    for (int i = 0; i < targets; ++i) {
        const std::string target = tag + "Target" + std::to_string(i);
        makeShape(target, 2.0 + i);
        host::execute("connectAttr " + target + ".outMesh " + deformer + ".inputTarget[0].inputGeomTarget[" +
                      std::to_string(i) + "]; setAttr " + deformer + ".inputWeightTarget[" + std::to_string(i) +
                      "] 0.5 0.5 0.5");
    }
    return deformer + ".outputGeom[0]";
}

void evaluateOnce(const std::string& output) {
    MPlug plug = host::plugFromName(output);
    host::changed(host::plugFromName(output.substr(0, output.find('.')) + ".forceUpdate"));
    host::pull(plug);
}

void BM_Deform(benchmark::State& state) {
    const std::string output = buildScene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) evaluateOnce(output);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The 10,000-vertex deform run 100 times: the linear extrapolation to 1,000,000 vertices.
void BM_DeformSmallTimes100(benchmark::State& state) {
    const std::string output = buildScene(10000, 1);
    for (auto _ : state)
        for (int i = 0; i < 100; ++i) evaluateOnce(output);
}

struct LoopData {
    std::vector<Vec3> input, target, output;
};

LoopData& loopData() {
    static LoopData d;
    if (d.input.empty()) {
        host::geom::PolyMesh plane = host::geom::makePolyPlane(1.0, 1.0, sideFor(1000000), sideFor(1000000));
        d.input = plane.points();
        d.target = host::geom::makePolyPlane(2.0, 2.0, sideFor(1000000), sideFor(1000000)).points();
        d.output.resize(d.input.size());
    }
    return d;
}

void plainLoop(LoopData& d) {
    const size_t n = d.input.size();
    for (size_t j = 0; j < n; ++j) d.output[j] = d.input[j] + (d.target[j] - d.input[j]) * 0.5;
    benchmark::DoNotOptimize(d.output.data());
    benchmark::ClobberMemory();
}

void BM_PlainLoop(benchmark::State& state) {
    LoopData& d = loopData();
    for (auto _ : state) plainLoop(d);
}

// The one-target deform plus two plain loops: what a second target may cost at most.
void BM_DeformOnePlusTwoLoops(benchmark::State& state) {
    const std::string output = buildScene(1000000, 1);
    LoopData& d = loopData();
    for (auto _ : state) {
        evaluateOnce(output);
        plainLoop(d);
        plainLoop(d);
    }
}

BENCHMARK(BM_PlainLoop)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_Deform)->Args({1000000, 1})->Args({1000000, 2})->Args({10000, 1})->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_DeformSmallTimes100)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_DeformOnePlusTwoLoops)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    return benchGoals::runAndReport(
        argc, argv,
        {{"deform of 1,000,000 vertices toward one colour-weighted target", "BM_Deform/1000000/1", "BM_PlainLoop", 10.0},
         {"deform grows linearly: 1,000,000 vertices against 100 x 10,000", "BM_Deform/1000000/1",
          "BM_DeformSmallTimes100", 1.5},
         {"a second colour-weighted target adds at most two plain loops", "BM_Deform/1000000/2",
          "BM_DeformOnePlusTwoLoops", 1.0}});
}
