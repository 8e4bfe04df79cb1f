// One renderSamplerInfo evaluation of 100,000 samples (positions, normals, u and v given, colour offsets
// too; the colour result written into 100,000 elements), outside the sampler, against one copy of its input
// arrays: the same numbers copied as the dense arrays of doubles that the inputs are (three double3 arrays
// and two double arrays: the attributes are k3Double and kDouble, so this is what copying them moves). Two
// more lines compare the same evaluation with a copy of those numbers as dense float arrays (half the bytes:
// the form the node converts them to, not the form they have) and with a copy of the five input multis as
// the node's data block holds them, which is what the evaluation walks.
//
// Each benchmark runs twice: first with the allocator as it starts (glibc hands large freed blocks back to the
// system, so every copy and every evaluation meets fresh pages and pays their faults), then, in the same run,
// with freed memory kept for reuse, as Maya's own allocator keeps it (the "/freedMemoryKept" runs and goal
// lines). Under that second setting the copies no longer pay for faults, which leaves the evaluation's own
// work to be compared.
//
// The sampler's own time is taken out: the host times each sampler call (reported per evaluation as
// samplerSec), and its copying of array contents into its record is turned off.

#include "goalReport.h"
#include "renderSamplerInfo.h"

#include <host/Host.h>

#include "graph/Scene.h"
#include "render/SamplerRecord.h"

#include <maya/MDataBlock.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFn.h>
#include <maya/MPlug.h>
#include <maya/MVectorArray.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

const unsigned sampleCount = 100000;

const MObject* const inputs[] = {&renderSamplerInfo::position, &renderSamplerInfo::normal, &renderSamplerInfo::uValue,
                                 &renderSamplerInfo::vValue, &renderSamplerInfo::resultColorOffset};

// rsi samples the lambert group sg at every sample; returns "" on success, else what went wrong.
std::string buildScene() {
    if (!host::findNodeType("renderSamplerInfo") &&
        host::registerType("renderSamplerInfo", renderSamplerInfo::id, renderSamplerInfo::creator,
                           renderSamplerInfo::initialize, MPxNode::kDependNode, MFn::kPluginDependNode,
                           "") != MStatus::kSuccess)
        return "could not register renderSamplerInfo";
    host::newScene();
    if (host::execute("createNode renderSamplerInfo -n rsi; shadingNode -asShader lambert -n m1;"
                      "sets -renderable true -noSurfaceShader true -empty -name sg;"
                      "connectAttr m1.outColor sg.surfaceShader; shadingNode -asTexture solidGradient -n grad;"
                      "connectAttr grad.outColor m1.color; connectAttr sg.message rsi.shader") != MStatus::kSuccess)
        return "could not build the scene";
    std::shared_ptr<host::Node> node = host::findNode("rsi");
    MDataBlock block(node.get());
    for (const MObject* input : inputs) {
        MArrayDataBuilder builder = block.inputArrayValue(*input).builder();
        for (unsigned i = 0; i < sampleCount; ++i) {
            MDataHandle element = builder.addElement(i);
            const double t = (i % 1000) * 0.001;
            if (input == &renderSamplerInfo::uValue || input == &renderSamplerInfo::vValue)
                element.set(t);
            else
                element.set(t, 1.0 - t, 0.5);
        }
    }
    MArrayDataBuilder results = block.outputArrayValue(renderSamplerInfo::resultColor).builder();
    for (unsigned i = 0; i < sampleCount; ++i)
        results.addElement(i);
    return std::string();
}

void dirty(unsigned iteration) { host::plugByName("rsi.forceUpdate").setValue(static_cast<double>(iteration)); }

void renderSamplerInfoEvaluation(benchmark::State& state) {
    const std::string problem = buildScene();
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    host::resetSampler();
    host::setSamplerRecording(true);
    host::setSamplerRecordsContents(false);
    unsigned iteration = 0;
    dirty(++iteration);
    if (host::evaluate("rsi.resultColor[0]") != MStatus::kSuccess || host::samplerCalls().size() != 1 ||
        host::samplerCalls()[0].numSamples != static_cast<int>(sampleCount) ||
        host::samplerCalls()[0].resultCount != sampleCount) {
        state.SkipWithError("the evaluation did not sample every sample once");
        return;
    }
    double sampler = 0.0;
    for (auto _ : state) {
        dirty(++iteration);
        host::clearSamplerCalls();
        const auto start = std::chrono::steady_clock::now();
        const MStatus status = host::evaluate("rsi.resultColor[0]");
        const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (status != MStatus::kSuccess || host::samplerCalls().size() != 1) {
            state.SkipWithError("an evaluation failed");
            return;
        }
        const double call = host::samplerCalls()[0].seconds;
        sampler += call;
        state.SetIterationTime(total - call > 1e-9 ? total - call : 1e-9);
    }
    state.SetItemsProcessed(state.iterations() * sampleCount);
    state.counters["samplerSec"] = sampler / static_cast<double>(state.iterations());
    host::resetSampler();
}

// The five input multis copied as the data block holds them.
void inputMultiCopy(benchmark::State& state) {
    const std::string problem = buildScene();
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    std::shared_ptr<host::Node> node = host::findNode("rsi");
    for (auto _ : state) {
        for (const MObject* input : inputs) {
            host::Value copy = node->topValue(host::attributeOf(*input).get());
            benchmark::DoNotOptimize(copy.elements().size());
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * sampleCount);
}

// One copy of three vector arrays and two scalar arrays of sampleCount entries each.
template <class Vectors, class Scalars>
void copyDense(benchmark::State& state, const Vectors& vectors, const Scalars& scalars) {
    for (auto _ : state) {
        Vectors a(vectors), b(vectors), c(vectors);
        Scalars u(scalars), v(scalars);
        benchmark::DoNotOptimize(a.length() + b.length() + c.length() + u.length() + v.length());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * sampleCount);
}

// The same numbers as the dense arrays of doubles they are: three double3 arrays and two double arrays.
void inputDenseCopy(benchmark::State& state) {
    copyDense(state, MVectorArray(sampleCount, MVector(0.25, 0.75, 0.5)), MDoubleArray(sampleCount, 0.25));
}

// The same numbers as dense float arrays: three vector arrays and two float arrays.
void inputDenseFloatCopy(benchmark::State& state) {
    copyDense(state, MFloatVectorArray(sampleCount, MFloatVector(0.25f, 0.75f, 0.5f)),
              MFloatArray(sampleCount, 0.25f));
}

// From now on freed memory stays with the process for reuse instead of going back to the system: no
// trimming of the heap's top, and blocks of any size the allocator may take from the heap come from it.
// Process-wide and not undone, so every benchmark registered after the first that calls it runs so too.
void keepFreedMemory() {
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, 0x7fffffff);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
#endif
}

void registerAll(const std::string& suffix, bool keepMemory, int repetitions) {
    auto run = [keepMemory](void (*benchmarkFunction)(benchmark::State&)) {
        return [keepMemory, benchmarkFunction](benchmark::State& state) {
            if (keepMemory) keepFreedMemory();
            benchmarkFunction(state);
        };
    };
    benchmark::RegisterBenchmark(("renderSamplerInfoInputMultiCopy/100000" + suffix).c_str(), run(inputMultiCopy))
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(repetitions);
    // The float copy runs before the double one: a larger copy raises the allocator's thresholds, after
    // which the smaller one no longer meets fresh pages at all, unlike the evaluation.
    benchmark::RegisterBenchmark(("renderSamplerInfoInputDenseFloatCopy/100000" + suffix).c_str(),
                                 run(inputDenseFloatCopy))
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark(("renderSamplerInfoInputDenseCopy/100000" + suffix).c_str(), run(inputDenseCopy))
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark(("renderSamplerInfoOutsideSampler/100000" + suffix).c_str(),
                                 run(renderSamplerInfoEvaluation))
        ->Unit(benchmark::kMicrosecond)->UseManualTime()->Repetitions(repetitions);
}

std::vector<benchGoals::Goal> goals(const std::string& goalSuffix, const std::string& suffix) {
    const std::string evaluation = "renderSamplerInfoOutsideSampler/100000" + suffix;
    return {{"render_sampler_info_evaluation_100000" + goalSuffix, evaluation,
             "renderSamplerInfoInputDenseCopy/100000" + suffix, 10.0},
            // For reference: the same evaluation against a float copy, and against a copy of the multis.
            {"render_sampler_info_evaluation_100000_vs_float_copy" + goalSuffix, evaluation,
             "renderSamplerInfoInputDenseFloatCopy/100000" + suffix, 0.0, false, true},
            {"render_sampler_info_evaluation_100000_vs_multi_copy" + goalSuffix, evaluation,
             "renderSamplerInfoInputMultiCopy/100000" + suffix, 0.0, false, true}};
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = 5;
    host::setMayaState(MGlobal::kBatch);
    registerAll("", false, repetitions);
    registerAll("/freedMemoryKept", true, repetitions);
    std::vector<benchGoals::Goal> all = goals("", "");
    for (benchGoals::Goal& goal : goals("_freed_memory_kept", "/freedMemoryKept")) all.push_back(goal);
    return benchGoals::runAndReport(argc, argv, all);
}
