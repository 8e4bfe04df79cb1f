// One curveField evaluation (closest point, tangent and force for every particle, stored in the output
// element) against the bare loop of the curve's closest-point and tangent queries over the same particles,
// and the evaluation's growth from 10,000 to 1,000,000 particles.
//
// The guide is a cubic of eight spans; the particles lie scattered in a tube around it. All three force
// terms are active (speed, attraction toward a tube, rotation), no per-particle result is written and no
// map is connected. Each iteration dirties the force through the field's magnitude and evaluates it.

#include "curveField.h"
#include "goalReport.h"

#include <host/Host.h>

#include "graph/Scene.h"
#include "nodes/particle.h"

#include <maya/MFn.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPoint.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

const char* const guide =
    "curve -d 3 -p 0 0 0 -p 3 4 0 -p 6 -2 1 -p 10 0 0 -p 13 5 -2 -p 16 1 3 -p 20 -3 0 -p 23 2 1 -p 26 0 0 "
    "-p 30 4 -1 -p 33 0 0 -n guide";

// Particles scattered around the guide's x range, up to 4 units off its axis.
MVectorArray scatteredParticles(unsigned count) {
    MVectorArray positions(count);
    std::uint64_t state = 12345;
    auto next = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0;  // [0, 1)
    };
    for (unsigned i = 0; i < count; ++i)
        positions[i] = MVector(-1.0 + 35.0 * next(), -4.0 + 8.0 * next(), -4.0 + 8.0 * next());
    return positions;
}

// A fresh scene with the guide, the field "cf" and particle object "p1" of count particles connected to it.
// Returns an empty string on success, otherwise what went wrong.
std::string buildScene(unsigned count) {
    host::newScene();
    const std::string commands = std::string(guide) +
                                 "; createNode curveField -n cf; connectAttr guide.worldSpace[0] cf.inputCurve;"
                                 " setAttr cf.rotation 30; setAttr cf.rotationSpeed 1; setAttr cf.offset 1;"
                                 " particle -n p1; connectDynamic -f cf p1";
    if (host::execute(commands) != MStatus::kSuccess)
        return "could not build the scene";
    if (host::setParticles(host::nodeByName("p1"), scatteredParticles(count)) != MStatus::kSuccess)
        return "could not give p1 its particles";
    return std::string();
}

MObject curveData() {
    MObject data;
    host::plugByName("guide.worldSpace[0]").getValue(data);
    return data;
}

void curveFieldEvaluation(benchmark::State& state) {
    const unsigned count = static_cast<unsigned>(state.range(0));
    const std::string problem = buildScene(count);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    MPlug magnitude = host::plugByName("cf.magnitude");
    // One run outside the timing, to check that the evaluation really computes a force per particle.
    if (host::evaluate("cf.outputForce[0]") != MStatus::kSuccess) {
        state.SkipWithError("the evaluation failed");
        return;
    }
    MObject forces;
    host::plugByName("cf.outputForce[0]").getValue(forces);
    if (MFnVectorArrayData(forces).length() != count) {
        state.SkipWithError("the output does not hold one force per particle");
        return;
    }
    magnitude.setValue(1.0);
    if (host::isPlugClean("cf.outputForce[0]")) {
        state.SkipWithError("setting the magnitude does not dirty the force");
        return;
    }
    for (auto _ : state) {
        magnitude.setValue(1.0);
        MStatus status = host::evaluate("cf.outputForce[0]");
        benchmark::DoNotOptimize(status);
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["per_particle"] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

void curveQueries(benchmark::State& state) {
    const unsigned count = static_cast<unsigned>(state.range(0));
    const std::string problem = buildScene(count);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    const MVectorArray positions = scatteredParticles(count);
    MFnNurbsCurve curve(curveData());
    for (auto _ : state) {
        MVector sum;
        for (unsigned i = 0; i < count; ++i) {
            double t = 0.0;
            const MPoint closest = curve.closestPoint(MPoint(positions[i]), &t, 0.01, MSpace::kWorld);
            sum += MVector(closest) + curve.tangent(t, MSpace::kWorld);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["per_particle"] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

}  // namespace

int main(int argc, char** argv) {
    // The node type straight from the node library, as the plug-in registers it.
    if (host::registerType("curveField", curveField::id, curveField::creator, curveField::initialize,
                           MPxNode::kFieldNode, MFn::kPluginFieldNode, "curve_field_bench") != MStatus::kSuccess)
        return 1;
    const int repetitions = 5;
    for (long count : {10000L, 100000L, 1000000L})
        benchmark::RegisterBenchmark(("curveFieldEvaluation/" + std::to_string(count)).c_str(), curveFieldEvaluation)
            ->Arg(count)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("curveQueries/100000", curveQueries)
        ->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    // Linear growth: a hundred times the particles may cost at most 1.3 times a hundred times the time.
    return benchGoals::runAndReport(
        argc, argv,
        {{"curve_field_100000_vs_curve_queries", "curveFieldEvaluation/100000", "curveQueries/100000", 1.3},
         {"curve_field_1000000_vs_10000", "curveFieldEvaluation/1000000", "curveFieldEvaluation/10000", 130.0},
         {"curve_field_100000_vs_10000", "curveFieldEvaluation/100000", "curveFieldEvaluation/10000", 13.0}});
}
