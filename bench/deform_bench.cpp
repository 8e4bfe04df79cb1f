// nonLinearBlendShape on a polygon plane toward planes of the same topology, colour-weighted, through
// the whole evaluation (input copy, gathering with UVs and normals, target read, blend, output mesh).
// The baseline is a plain loop over the same number of points that reads the input and target points
// and writes the output points. Colour weights call no sampler, so no figure here subtracts sampler time.
// The output mesh makes its normals when first asked (deformThenNormals shows that cost, for reference).
// Also for reference: a deformer that only makes the host calls the blend shape makes on this scene
// (hostCalls), through the same evaluation: the floor those calls set under the deform.
#include "goalReport.h"

#include "data/Data.h"
#include "data/MeshData.h"
#include "geometry/MeshPrimitives.h"
#include "graph/Scene.h"
#include "nonLinearBlendShape.h"

#include <host/Host.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MItGeometry.h>
#include <maya/MItMeshVertex.h>
#include <maya/MPlug.h>
#include <maya/MPxDeformerNode.h>

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
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

// Keeps a value computed without storing it anywhere.
template <typename T>
void keep(T value) {
    asm volatile("" : : "g"(value));
}

template <typename Point>
void keepXYZ(const Point& p) {
    keep(p.x);
    keep(p.y);
    keep(p.z);
}

// Makes, point by point and in the same order, the host calls the blend shape makes toward one mesh
// target of the same topology, and keeps none of their results.
class hostCalls : public MPxDeformerNode {
public:
    static MObject target;
    static MObject forceUpdate;
    static void* creator() { return new hostCalls; }
    static MStatus initialize() {
        MFnTypedAttribute typedFn;
        target = typedFn.create("target", "tg", MFnData::kMesh);
        addAttribute(target);
        MFnNumericAttribute numericFn;
        forceUpdate = numericFn.create("forceUpdate", "fu", MFnNumericData::kDouble, 0);
        addAttribute(forceUpdate);
        attributeAffects(target, outputGeom);
        attributeAffects(forceUpdate, outputGeom);
        return MStatus::kSuccess;
    }

    MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix&, unsigned int multiIndex) override {
        MArrayDataHandle inputs = block.inputArrayValue(input);
        inputs.jumpToElement(multiIndex);
        MDataHandle geometry = inputs.inputValue().child(inputGeom);
        MIntArray elements, faces;
        for (iter.reset(); !iter.isDone(); iter.next()) {
            MStatus status;
            MObject component = iter.component();
            MFnSingleIndexedComponent fn(component, &status);
            fn.getElements(elements);
            if (elements.length() == 0) continue;
            keep(elements[0]);
            keepXYZ(iter.position(MSpace::kObject));
        }
        MItMeshVertex vertexIter(geometry.asMesh());
        for (vertexIter.reset(); !vertexIter.isDone(); vertexIter.next()) {
            vertexIter.getConnectedFaces(faces);
            for (unsigned f = 0; f < faces.length(); ++f) {
                float2 uv = {0.0f, 0.0f};
                vertexIter.getUV(faces[f], uv);
                keep(uv[0]);
                keep(uv[1]);
            }
            MVector normal;
            vertexIter.getNormal(normal, MSpace::kWorld);
            keepXYZ(normal);
            keepXYZ(vertexIter.position(MSpace::kObject));
        }
        MItMeshVertex targetIter(block.inputValue(target).asMesh());
        for (targetIter.reset(); !targetIter.isDone(); targetIter.next())
            keepXYZ(targetIter.position(MSpace::kObject));
        for (iter.reset(); !iter.isDone(); iter.next())
            keep(weightValue(block, multiIndex, static_cast<unsigned>(iter.index())));
        const MPoint moved(0.5, 0.5, 0.5);
        for (iter.reset(); !iter.isDone(); iter.next()) iter.setPosition(moved, MSpace::kObject);
        return MStatus::kSuccess;
    }
};

MObject hostCalls::target;
MObject hostCalls::forceUpdate;

void makePlane(const std::string& name, int side, double width) {
    host::createNode("mesh", name);
    MObject data = host::makeMeshData(host::geom::makePolyPlane(width, width, side, side));
    host::plugFromName(name + ".inMesh").setValue(data);
}

// Builds the scene once per (vertices, targets) and returns the deformer's output plug name.
std::string buildScene(int vertices, int targets) {
    ensureType();
    const std::string tag = "b" + std::to_string(vertices) + "t" + std::to_string(targets);
    const std::string deformer = tag + "Blend";
    if (host::findNode(deformer)) return deformer + ".outputGeom[0]";
    const int side = sideFor(vertices);
    makePlane(tag + "Base", side, 1.0);
    host::execute("deformer -type nonLinearBlendShape -n " + deformer + " " + tag + "Base");
    for (int i = 0; i < targets; ++i) {
        const std::string target = tag + "Target" + std::to_string(i);
        makePlane(target, side, 2.0 + i);
        host::execute("connectAttr " + target + ".outMesh " + deformer + ".inputTarget[0].inputGeomTarget[" +
                      std::to_string(i) + "]; setAttr " + deformer + ".inputWeightTarget[" + std::to_string(i) +
                      "] 0.5 0.5 0.5");
    }
    return deformer + ".outputGeom[0]";
}

// The same scene with one target, deformed by hostCalls.
std::string buildCallsScene(int vertices) {
    static bool registered = false;
    if (!registered) {
        registered = true;
        host::registerType("hostCalls", MTypeId(0x7F001), hostCalls::creator, hostCalls::initialize,
                           MPxNode::kDeformerNode, MFn::kPluginDeformerNode, "");
    }
    const std::string tag = "c" + std::to_string(vertices);
    const std::string deformer = tag + "Calls";
    if (host::findNode(deformer)) return deformer + ".outputGeom[0]";
    const int side = sideFor(vertices);
    makePlane(tag + "Base", side, 1.0);
    makePlane(tag + "Target", side, 2.0);
    host::execute("deformer -type hostCalls -n " + deformer + " " + tag + "Base");
    host::execute("connectAttr " + tag + "Target.outMesh " + deformer + ".target");
    return deformer + ".outputGeom[0]";
}

void evaluateOnce(const std::string& output) {
    MPlug plug = host::plugFromName(output);
    host::changed(host::plugFromName(output.substr(0, output.find('.')) + ".forceUpdate"));
    host::pull(plug);
}

void runDeform(benchmark::State& state, long vertices, long targets) {
    const std::string output = buildScene(static_cast<int>(vertices), static_cast<int>(targets));
    for (auto _ : state) evaluateOnce(output);
    state.SetItemsProcessed(state.iterations() * vertices);
}

void runHostCalls(benchmark::State& state) {
    const std::string output = buildCallsScene(1000000);
    for (auto _ : state) evaluateOnce(output);
}

// The 10,000-vertex deform run 100 times: the linear extrapolation to 1,000,000 vertices.
void deformSmallTimes100(benchmark::State& state) {
    const std::string output = buildScene(10000, 1);
    for (auto _ : state)
        for (int i = 0; i < 100; ++i) evaluateOnce(output);
}

struct LoopData {
    std::vector<Vec3> input, target, output;
};

// The points of the deform scenes' planes of about `vertices` vertices.
LoopData& loopData(int vertices = 1000000) {
    static std::map<int, LoopData> data;
    LoopData& d = data[vertices];
    if (d.input.empty()) {
        const int side = sideFor(vertices);
        d.input = host::geom::makePolyPlane(1.0, 1.0, side, side).points();
        d.target = host::geom::makePolyPlane(2.0, 2.0, side, side).points();
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

void plainLoopBench(benchmark::State& state) {
    LoopData& d = loopData();
    for (auto _ : state) plainLoop(d);
}

// For reference, no goal: the plain loop over 10,000 points run 100 times, beside the 1,000,000-point
// loop it shows how much of the deform's growth the loop itself meets (its data then stays in the
// inner caches).
void plainLoopSmallTimes100(benchmark::State& state) {
    LoopData& d = loopData(10000);
    for (auto _ : state)
        for (int i = 0; i < 100; ++i) plainLoop(d);
}

// The one-target deform plus `loops` plain loops: what further targets may cost at most (two loops each).
void deformPlusLoops(benchmark::State& state, int loops) {
    const std::string output = buildScene(1000000, 1);
    LoopData& d = loopData();
    for (auto _ : state) {
        evaluateOnce(output);
        for (int i = 0; i < loops; ++i) plainLoop(d);
    }
}

// For reference, no goal: the deform followed by the first query of the output's vertex normals, which
// the output mesh makes on demand (as a viewport drawing it would).
void deformThenNormals(benchmark::State& state) {
    const std::string output = buildScene(1000000, 1);
    for (auto _ : state) {
        evaluateOnce(output);
        MObject data;
        host::plugFromName(output).getValue(data);
        auto mesh = host::dataAs<host::MeshData>(data);
        if (!mesh) {
            state.SkipWithError("no output mesh");
            return;
        }
        benchmark::DoNotOptimize(mesh->mesh().vertexNormal(0));
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Each benchmark is registered under the name its goal refers to (arguments bound in the name).
    const int repetitions = 5;
    auto deform = [](long vertices, long targets) {
        return [vertices, targets](benchmark::State& state) { runDeform(state, vertices, targets); };
    };
    benchmark::RegisterBenchmark("plainLoop/1000000", plainLoopBench)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    for (auto [vertices, targets] : {std::pair{1000000L, 1L}, {1000000L, 2L}, {1000000L, 3L}, {10000L, 1L}, {100000L, 1L}})
        benchmark::RegisterBenchmark(
            ("deform/" + std::to_string(vertices) + "/" + std::to_string(targets)).c_str(), deform(vertices, targets))
            ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("deform10000Times100/1", deformSmallTimes100)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("plainLoop10000Times100", plainLoopSmallTimes100)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    for (int loops : {2, 4})
        benchmark::RegisterBenchmark(("deformPlus" + std::to_string(loops) + "Loops/1000000/1").c_str(),
                                     [loops](benchmark::State& state) { deformPlusLoops(state, loops); })
            ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("hostCalls/1000000", runHostCalls)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("deformThenNormals/1000000/1", deformThenNormals)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    return benchGoals::runAndReport(
        argc, argv,
        {{"deform of 1,000,000 vertices toward one colour-weighted target", "deform/1000000/1", "plainLoop/1000000",
          10.0},
         {"deform grows linearly: 1,000,000 vertices against 100 x 10,000", "deform/1000000/1",
          "deform10000Times100/1", 1.5},
         {"a second colour-weighted target adds at most two plain loops", "deform/1000000/2",
          "deformPlus2Loops/1000000/1", 1.0},
         {"a third colour-weighted target adds at most two plain loops", "deform/1000000/3",
          "deformPlus4Loops/1000000/1", 1.0},
         {"the deform's host calls alone, through the same evaluation", "hostCalls/1000000", "plainLoop/1000000",
          0.0, false, true}});
}
