// Looking up a plug by name on particle objects with 10, 100, 1,000 and 10,000 dynamic attributes: the
// last-added dynamic attribute and the static "position". The time per lookup should not grow with the
// number of attributes.

#include "goalReport.h"

#include <host/Host.h>

#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::vector<int> attributeCounts = {10, 100, 1000, 10000};

std::string nodeName(int attributeCount) {
    return "lookup" + std::to_string(attributeCount);
}

std::string dynamicName(int index) {
    return "benchAttr" + std::to_string(index);
}

// One particle object per attribute count, all in one scene, built once. Returns an empty string on
// success, otherwise what went wrong.
std::string buildScene() {
    host::newScene();
    for (int count : attributeCounts) {
        const std::string node = nodeName(count);
        if (host::execute("createNode particle -n " + node) != MStatus::kSuccess)
            return "could not create " + node;
        MFnDependencyNode fn(host::nodeByName(node));
        for (int i = 0; i < count; ++i) {
            MFnNumericAttribute attr;
            MStatus status;
            MObject a = attr.create(MString(dynamicName(i)), MString("ba" + std::to_string(i)),
                                    MFnNumericData::kDouble, 0.0, &status);
            if (status != MStatus::kSuccess || fn.addAttribute(a) != MStatus::kSuccess)
                return "could not add " + dynamicName(i) + " to " + node;
        }
    }
    return std::string();
}

const std::string& sceneProblem() {
    static const std::string problem = buildScene();
    return problem;
}

void lookup(benchmark::State& state, int attributeCount, const std::string& attributeName) {
    if (!sceneProblem().empty()) {
        state.SkipWithError(sceneProblem().c_str());
        return;
    }
    MFnDependencyNode fn(host::nodeByName(nodeName(attributeCount)));
    const MString name(attributeName);
    MStatus status;
    if (fn.findPlug(name, &status).isNull() || status != MStatus::kSuccess) {
        state.SkipWithError(("no plug " + attributeName).c_str());
        return;
    }
    for (auto _ : state) {
        MPlug plug = fn.findPlug(name);
        benchmark::DoNotOptimize(plug);
    }
}

std::string benchmarkName(const char* kind, int attributeCount) {
    return std::string("findPlug/") + kind + "/" + std::to_string(attributeCount);
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = 5;
    for (int count : attributeCounts) {
        benchmark::RegisterBenchmark(benchmarkName("lastDynamic", count).c_str(), lookup, count,
                                     dynamicName(count - 1))
            ->UseRealTime()->Repetitions(repetitions);
        benchmark::RegisterBenchmark(benchmarkName("static", count).c_str(), lookup, count,
                                     std::string("position"))
            ->UseRealTime()->Repetitions(repetitions);
    }
    const int most = attributeCounts.back();
    const int fewest = attributeCounts.front();
    return benchGoals::runAndReport(
        argc, argv,
        {{"plug_lookup_last_dynamic_10000_vs_10_attributes", benchmarkName("lastDynamic", most),
          benchmarkName("lastDynamic", fewest), 2.0},
         {"plug_lookup_static_10000_vs_10_attributes", benchmarkName("static", most),
          benchmarkName("static", fewest), 2.0}});
}
