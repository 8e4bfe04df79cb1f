// Reading a per-particle vector attribute of a million particles through its plug, merging new values
// under a full selection and writing it back, against one plain copy of an array of the same size.
//
// The operation calls normalField's own members through the node library, on a particle object of a
// host scene, as the field does for each connected particle object.

#include "goalReport.h"
#include "normalField.h"

#include <host/Host.h>

#include <maya/MDoubleArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#include <benchmark/benchmark.h>

#include <string>

namespace {

const unsigned particleCount = 1000000;
const char* const attributeName = "outNormal";

MVectorArray ramp(unsigned count, double scale) {
    MVectorArray array(count);
    for (unsigned i = 0; i < count; ++i)
        array[i] = MVector(scale * i, 2.0 * scale * i, 3.0 * scale * i);
    return array;
}

bool sameVectors(const MVectorArray& a, const MVectorArray& b) {
    return a.hostVector() == b.hostVector();
}

// A fresh scene with particle object "p1" whose vector-array attribute outNormal holds count vectors.
// Returns an empty string on success, otherwise what went wrong.
std::string buildScene(unsigned count) {
    host::newScene();
    if (host::execute("createNode particle -n p1; addAttr -ln outNormal -dt vectorArray p1;") != MStatus::kSuccess)
        return "could not create p1.outNormal";
    MFnDependencyNode particle(host::nodeByName("p1"));
    MStatus status;
    MPlug plug = particle.findPlug(attributeName, &status);
    if (status != MStatus::kSuccess)
        return "p1 has no plug outNormal";
    MFnVectorArrayData data;
    MObject object = data.create(ramp(count, -1.0), &status);
    if (status != MStatus::kSuccess || plug.setValue(object) != MStatus::kSuccess)
        return "could not set p1.outNormal";
    return std::string();
}

void particleAttributeMerge(benchmark::State& state) {
    const std::string problem = buildScene(particleCount);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    MFnDependencyNode particle(host::nodeByName("p1"));
    normalField field;
    const MDoubleArray selection(particleCount, 1.0);
    const MVectorArray values = ramp(particleCount, 0.5);

    // One run outside the timing, to check that the attribute really is read and written whole.
    MVectorArray before;
    field.getVectorArrayData(particle, attributeName, before);
    field.setData(particle, attributeName, selection, values);
    MVectorArray after;
    field.getVectorArrayData(particle, attributeName, after);
    if (before.length() != particleCount || !sameVectors(after, values)) {
        state.SkipWithError("the attribute was not read or written as expected");
        return;
    }

    for (auto _ : state) {
        MVectorArray current;
        field.getVectorArrayData(particle, attributeName, current);
        benchmark::DoNotOptimize(current.hostVector().data());
        field.setData(particle, attributeName, selection, values);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * particleCount);
}

void vectorArrayCopy(benchmark::State& state) {
    const MVectorArray values = ramp(particleCount, 0.5);
    for (auto _ : state) {
        MVectorArray copy(values);
        benchmark::DoNotOptimize(copy.hostVector().data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * particleCount);
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = 5;
    benchmark::RegisterBenchmark("vectorArrayCopy/1000000", vectorArrayCopy)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("particleAttributeMerge/1000000", particleAttributeMerge)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    return benchGoals::runAndReport(argc, argv,
                                    {{"particle_attribute_merge_1000000",
                                      "particleAttributeMerge/1000000", "vectorArrayCopy/1000000", 3.0}});
}
