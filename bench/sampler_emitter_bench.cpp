// samplerEmitter evaluations on polygon planes, each iteration one step of one frame. The time is set
// on the emitter and on the geometry connector, as playback sets it through the time node, but without
// the solver, so that no particle object takes the particles and nothing else runs:
//
// - 1,000,000 candidates on a mesh of 100,000 triangles, without maps, against a plain loop that draws
//   the same random numbers (five per candidate, two per particle) and appends the same output arrays
//   ("position" and "velocity" of an arrayAttrs data, "parentU" and "parentV" made and left empty);
// - the walk over a mesh of 1,000,000 triangles that every evaluation makes (polygon areas with size
//   scaling on, and the fan triangles' UVs), measured as a whole evaluation that draws about five candidates,
//   against one pass that copies the mesh's face-vertex UVs into two float arrays (new arrays, and, as a
//   stricter second baseline, arrays kept from the pass before);
// - the evaluation at 10,000, 100,000 and 1,000,000 candidates on the 100,000-triangle mesh.

#include "goalReport.h"
#include "samplerEmitter.h"

#include <host/Host.h>

#include "data/MeshData.h"
#include "graph/Scene.h"

#include <maya/MFloatArray.h>
#include <maya/MFn.h>
#include <maya/MFnArrayAttrsData.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MTime.h>
#include <maya/MVector.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

// A plane of sx by sy quads (2 sx sy triangles) emitting through "em"; em.output[0] feeds "pa", whose
// isFull is set rather than connected. Returns "" on success.
std::string buildScene(int sx, int sy, double rate, bool scaleBySize) {
    host::newScene();
    const std::string commands =
        "polyPlane -w 10 -h 10 -sx " + std::to_string(sx) + " -sy " + std::to_string(sy) +
        " -n pl; createNode samplerEmitter -n em; addDynamic em plShape; particle -n pa;"
        " connectAttr em.output[0] pa.newParticles[0]; setAttr em.isFull[0] 0; setAttr em.startTime[0] -1;"
        " setAttr em.speed 1; setAttr em.rate " + std::to_string(rate) +
        "; setAttr em.scaleRateByObjectSize " + (scaleBySize ? "1" : "0");
    if (host::execute(commands) != MStatus::kSuccess)
        return "could not build the scene";
    return std::string();
}

// Sets the time of the emitter and of the geometry connector.
void setTime(double frame) {
    host::plugByName("em.currentTime").setValue(MTime(frame, MTime::kFilm));
    host::plugByName("geoConnector1.currentTime").setValue(MTime(frame, MTime::kFilm));
}

// Evaluates em.output[0] at each next frame; checks the first evaluation's particle count and that the
// geometry connector follows the time.
void evaluations(benchmark::State& state, unsigned expected) {
    double frame = 1.0;
    setTime(frame);
    if (host::evaluate("em.output[0]") != MStatus::kSuccess) {
        state.SkipWithError("the evaluation failed");
        return;
    }
    MObject output;
    host::plugByName("em.output[0]").getValue(output);
    const unsigned made = MFnArrayAttrsData(output).getVectorData("position").length();
    if (made < expected * 0.99 || made > expected * 1.01 + 1) {
        state.SkipWithError(("the evaluation made " + std::to_string(made) + " particles").c_str());
        return;
    }
    frame += 1.0;
    setTime(frame);
    const bool connectorDirtied = !host::isPlugClean("geoConnector1.sweptGeometry");
    host::evaluate("em.output[0]");
    if (!connectorDirtied || !host::isPlugClean("geoConnector1.sweptGeometry")) {
        state.SkipWithError("the geometry connector does not follow the time");
        return;
    }
    for (auto _ : state) {
        frame += 1.0;
        setTime(frame);
        MStatus status = host::evaluate("em.output[0]");
        benchmark::DoNotOptimize(status);
    }
}

// Candidates per evaluation on a 250 x 200 plane (100,000 triangles), one frame at 24 fps.
void emission(benchmark::State& state) {
    const double candidates = static_cast<double>(state.range(0));
    const std::string problem = buildScene(250, 200, candidates * 24.0, false);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    evaluations(state, static_cast<unsigned>(candidates));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same random numbers and output appends as one emission of count particles.
void drawAndAppend(benchmark::State& state) {
    const unsigned count = static_cast<unsigned>(state.range(0));
    srand48(1);
    for (auto _ : state) {
        MFnArrayAttrsData fn;
        MObject data = fn.create();
        MVectorArray positions = fn.vectorArray("position");
        MVectorArray velocities = fn.vectorArray("velocity");
        MDoubleArray parentU = fn.doubleArray("parentU");
        MDoubleArray parentV = fn.doubleArray("parentV");
        for (unsigned i = 0; i < count; ++i) {
            const double a = drand48() + drand48() + drand48() + drand48() + drand48();
            const double b = drand48();
            const double c = drand48();
            positions.append(MVector(a, b, c));
            velocities.append(MVector(c, b, a));
        }
        benchmark::DoNotOptimize(data);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// One candidate on a 1000 x 500 plane (1,000,000 triangles) with size scaling: the evaluation is the
// mesh walk.
void meshWalk(benchmark::State& state) {
    const std::string problem = buildScene(1000, 500, 1.0, true);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    evaluations(state, 5);  // about (1 / 24) x the plane's area of 100
}

// One pass copying the face-vertex UVs of the same mesh into two float arrays, new ones each time or
// (kept) the same two arrays again, as the emitter keeps its own storage between evaluations.
void uvCopy(benchmark::State& state, bool kept) {
    const std::string problem = buildScene(1000, 500, 1.0, true);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    MObject data;
    host::plugByName("plShape.outMesh").getValue(data);
    auto mesh = host::dataAs<host::MeshData>(data);
    if (!mesh) {
        state.SkipWithError("no mesh data");
        return;
    }
    const host::geom::PolyMesh& polyMesh = mesh->mesh();
    MFloatArray keptUs;
    MFloatArray keptVs;
    for (auto _ : state) {
        const std::vector<int>& ids = polyMesh.faceVertexUVIds();
        const std::vector<host::geom::MeshUV>& uvs = polyMesh.uvs();
        MFloatArray fresh[2];
        MFloatArray& us = kept ? keptUs : fresh[0];
        MFloatArray& vs = kept ? keptVs : fresh[1];
        us.setLength(static_cast<unsigned>(ids.size()));
        vs.setLength(static_cast<unsigned>(ids.size()));
        for (unsigned i = 0; i < ids.size(); ++i) {
            const host::geom::MeshUV uv = ids[i] >= 0 ? uvs[static_cast<size_t>(ids[i])] : host::geom::MeshUV();
            us[i] = uv.u;
            vs[i] = uv.v;
        }
        benchmark::DoNotOptimize(us);
        benchmark::DoNotOptimize(vs);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (host::registerType("samplerEmitter", samplerEmitter::id, samplerEmitter::creator, samplerEmitter::initialize,
                           MPxNode::kEmitterNode, MFn::kPluginEmitterNode, "sampler_emitter_bench") != MStatus::kSuccess)
        return 1;
    const int repetitions = 5;
    for (long count : {10000L, 100000L, 1000000L})
        benchmark::RegisterBenchmark(("emission/" + std::to_string(count)).c_str(), emission)
            ->Arg(count)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("drawAndAppend/1000000", drawAndAppend)
        ->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("meshWalk/1000000", meshWalk)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("uvCopy/1000000", uvCopy, false)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    benchmark::RegisterBenchmark("uvCopyKept/1000000", uvCopy, true)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    return benchGoals::runAndReport(
        argc, argv,
        {{"emission_1000000_vs_draw_and_append", "emission/1000000", "drawAndAppend/1000000", 4.0},
         {"mesh_walk_1000000_vs_uv_copy", "meshWalk/1000000", "uvCopy/1000000", 3.0},
         {"mesh_walk_1000000_vs_uv_copy_into_kept_arrays", "meshWalk/1000000", "uvCopyKept/1000000", 3.0},
         {"emission_1000000_vs_10000", "emission/1000000", "emission/10000", 130.0},
         {"emission_1000000_vs_100000", "emission/1000000", "emission/100000", 13.0}});
}
