// One shadingField evaluation of 100,000 particles that writes outColor, outTransparency and outLuminance and
// samples one "map" element, against one plain copy of the particle object's position array.
//
// What is judged is the field's own work (gathering the sample data, compacting it, the writes), so the
// time spent inside the sampler is taken out: each iteration times the evaluation and subtracts the two
// sampler calls' own durations, which the host records for every call. The sampler's copying of array
// contents into its record is turned off.

#include "goalReport.h"
#include "shadingField.h"

#include <host/Host.h>

#include "graph/Scene.h"
#include "render/SamplerRecord.h"

#include <maya/MDoubleArray.h>
#include <maya/MFn.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

const unsigned particleCount = 100000;

MVectorArray ramp(unsigned count, double scale) {
    MVectorArray array(count);
    for (unsigned i = 0; i < count; ++i)
        array[i] = MVector(scale * (i % 1000), 0.5 * scale * (i % 700), 0.25);
    return array;
}

bool setVectors(const char* plugName, const MVectorArray& values) {
    MFnVectorArrayData fn;
    MObject data = fn.create(values);
    MPlug plug = host::plugByName(plugName);
    return !plug.isNull() && plug.setValue(data) == MStatus::kSuccess;
}

bool setDoubles(const char* plugName, const MDoubleArray& values) {
    MFnDoubleArrayData fn;
    MObject data = fn.create(values);
    MPlug plug = host::plugByName(plugName);
    return !plug.isNull() && plug.setValue(data) == MStatus::kSuccess;
}

// sf samples the lambert group sg1 into rgbPP, opacityPP and lumPP and the colorConstant c1 into mapPP of
// p1, whose particles all have positions and velocities. Returns "" on success, else what went wrong.
std::string buildScene() {
    host::newScene();
    const char* text =
        "createNode shadingField -n sf; createNode particle -n p1; connectAttr p1.fieldData sf.inputData[0];"
        "shadingNode -asShader lambert -n m1; setAttr m1.transparency 0.1 0.2 0.3;"
        "sets -renderable true -noSurfaceShader true -empty -name sg1;"
        "connectAttr m1.outColor sg1.surfaceShader; connectAttr sg1.message sf.shader;"
        "shadingNode -asTexture colorConstant -n c1; setAttr c1.inColor 0.4 0.5 0.6;"
        "connectAttr c1.outColor sf.map[0]; setAttr sf.to[0] -type \"string\" mapPP;"
        "addAttr -ln rgbPP -dt vectorArray p1; addAttr -ln opacityPP -dt vectorArray p1;"
        "addAttr -ln lumPP -dt doubleArray p1; addAttr -ln mapPP -dt vectorArray p1;"
        "setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.outTransparency -type \"string\" opacityPP;"
        "setAttr sf.outLuminance -type \"string\" lumPP;";
    if (host::execute(text) != MStatus::kSuccess)
        return "could not build the scene";
    const MVectorArray zero(particleCount, MVector(0.0, 0.0, 0.0));
    if (!setVectors("p1.position", ramp(particleCount, 0.001)) ||
        !setVectors("p1.velocity", ramp(particleCount, -0.002)) || !setVectors("p1.rgbPP", zero) ||
        !setVectors("p1.opacityPP", zero) || !setVectors("p1.mapPP", zero) ||
        !setDoubles("p1.lumPP", MDoubleArray(particleCount, 0.0)))
        return "could not set the particle attributes";
    return std::string();
}

// Dirties the force output so that the next read runs compute again.
void dirtyField(unsigned iteration) {
    MPlug magnitude = host::plugByName("sf.magnitude");
    magnitude.setValue(iteration % 2 ? 1.0 : 2.0);
}

// Minor page faults of the process so far: fresh memory touched for the first time shows up here.
long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

bool evaluationLooksRight() {
    const auto& calls = host::samplerCalls();
    if (calls.size() != 2)
        return false;
    for (const host::SamplerCall& call : calls)
        if (call.numSamples != static_cast<int>(particleCount) || !call.refPointsAreThePoints ||
            call.normals.length != particleCount || call.status != MStatus::kSuccess)
            return false;
    return calls[0].name == "sg1" && calls[1].name == "c1.outColor";
}

void shadingFieldEvaluation(benchmark::State& state) {
    // The node type comes straight from the node library, registered as the plug-in registers it.
    if (!host::findNodeType("shadingField") &&
        host::registerType("shadingField", shadingField::id, shadingField::creator, shadingField::initialize,
                           MPxNode::kFieldNode, MFn::kPluginFieldNode, "") != MStatus::kSuccess) {
        state.SkipWithError("could not register shadingField");
        return;
    }
    const std::string problem = buildScene();
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    host::resetSampler();
    host::setSamplerRecording(true);
    host::setSamplerRecordsContents(false);

    unsigned iteration = 0;
    dirtyField(iteration++);
    if (host::evaluate("sf.outputForce[0]") != MStatus::kSuccess || !evaluationLooksRight()) {
        state.SkipWithError("the evaluation did not make the two expected sampler calls");
        return;
    }
    MObject lum;
    host::plugByName("p1.lumPP").getValue(lum);
    if (MFnDoubleArrayData(lum).length() != particleCount) {
        state.SkipWithError("the luminance was not written");
        return;
    }

    // The hook notes when each sampler call starts, which splits the field's own time into the gathering
    // (before the first call) and the rest (each pass's writes, after its call).
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> callStarts;
    host::setSamplerHook([&callStarts](const host::SamplerCall&) { callStarts.push_back(Clock::now()); });
    double gathering = 0.0;
    double shaderPass = 0.0;
    double mapPass = 0.0;
    long evaluationFaults = 0;
    for (auto _ : state) {
        dirtyField(iteration++);
        host::clearSamplerCalls();
        callStarts.clear();

        const long faultsBefore = minorFaults();
        const Clock::time_point start = Clock::now();
        const MStatus status = host::evaluate("sf.outputForce[0]");
        const Clock::time_point evaluated = Clock::now();
        const long faultsEvaluated = minorFaults();
        if (status != MStatus::kSuccess || host::samplerCalls().size() != 2) {
            state.SkipWithError("an evaluation failed");
            return;
        }

        if (callStarts.size() != 2) {
            state.SkipWithError("the sampler hook did not run twice");
            return;
        }
        // The host times each sampler call; what is left of the evaluation is the field's own work.
        const double firstCall = host::samplerCalls()[0].seconds;
        const double secondCall = host::samplerCalls()[1].seconds;
        evaluationFaults += faultsEvaluated - faultsBefore;

        auto seconds = [](Clock::time_point from, Clock::time_point to) {
            return std::chrono::duration<double>(to - from).count();
        };
        gathering += seconds(start, callStarts[0]);
        shaderPass += seconds(callStarts[0], callStarts[1]) - firstCall;
        mapPass += seconds(callStarts[1], evaluated) - secondCall;
        const double outside = seconds(start, evaluated) - firstCall - secondCall;
        state.SetIterationTime(outside > 1e-9 ? outside : 1e-9);
    }
    state.SetItemsProcessed(state.iterations() * particleCount);
    // Per evaluation, in seconds: before the first sampler call, and each pass's own work after its call.
    const double evaluations = static_cast<double>(state.iterations());
    state.counters["gatherSec"] = gathering / evaluations;
    state.counters["shaderPassSec"] = shaderPass / evaluations;
    state.counters["mapPassSec"] = mapPass / evaluations;
    // Minor page faults per evaluation (sampler calls included).
    state.counters["evalFaults"] = static_cast<double>(evaluationFaults) / evaluations;
    host::resetSampler();
}

void positionArrayCopy(benchmark::State& state) {
    const MVectorArray positions = ramp(particleCount, 0.001);
    for (auto _ : state) {
        MVectorArray copy(positions);
        benchmark::DoNotOptimize(copy.length());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * particleCount);
}

// The same copy with the array out of the cache first, as the evaluation finds the particle data: a
// 64 MB buffer is walked (untimed) before each copy.
void positionArrayColdCopy(benchmark::State& state) {
    const MVectorArray positions = ramp(particleCount, 0.001);
    std::vector<char> evict(64u << 20, 1);
    for (auto _ : state) {
        for (size_t i = 0; i < evict.size(); i += 64) evict[i] = static_cast<char>(evict[i] + 1);
        benchmark::ClobberMemory();
        const auto start = std::chrono::steady_clock::now();
        MVectorArray copy(positions);
        benchmark::DoNotOptimize(copy.length());
        benchmark::ClobberMemory();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.SetItemsProcessed(state.iterations() * particleCount);
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = 5;
    host::setMayaState(MGlobal::kBatch);
    benchmark::RegisterBenchmark("positionArrayCopy/100000", positionArrayCopy)
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("positionArrayColdCopy/100000", positionArrayColdCopy)
        ->Unit(benchmark::kMicrosecond)->UseManualTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("shadingFieldOutsideSampler/100000", shadingFieldEvaluation)
        ->Unit(benchmark::kMicrosecond)->UseManualTime()->Repetitions(repetitions);
    return benchGoals::runAndReport(argc, argv,
                                    {{"shading_field_evaluation_100000", "shadingFieldOutsideSampler/100000",
                                      "positionArrayCopy/100000", 12.0},
                                     {"shading_field_evaluation_100000_vs_cold_copy",
                                      "shadingFieldOutsideSampler/100000", "positionArrayColdCopy/100000", 12.0}});
}
