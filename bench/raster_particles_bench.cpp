// Drawing 1,000,000 coloured particles into a 1280 x 720 picture (clearing it, projecting every particle,
// depth-testing and writing its two-pixel point) against one pass that only projects the same points with
// the camera matrix into an array of screen positions. Beside them, for information: the same picture
// drawn from a scene through its particle node's plugs (as playblast does), and encoding it as PNG.
//
// The particles fill a box around the origin seen by a camera placed as Maya's default perspective
// view, so nearly all of them land in the picture; each has an rgbPP colour.

#include "goalReport.h"

#include <host/Host.h>

#include "nodes/particle.h"
#include "render/PngFile.h"
#include "render/Raster.h"
#include "render/RasterCamera.h"
#include "render/RasterScene.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MMatrix.h>
#include <maya/MVectorArray.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr unsigned kCount = 1000000;

MVectorArray scattered(unsigned count, double lo, double hi, std::uint64_t seed) {
    MVectorArray values(count);
    std::uint64_t state = seed;
    auto next = [&state, lo, hi] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + (hi - lo) * (static_cast<double>(state >> 11) / 9007199254740992.0);
    };
    for (unsigned i = 0; i < count; ++i)
        values[i] = MVector(next(), next(), next());
    return values;
}

const MVectorArray& positions() {
    static const MVectorArray values = scattered(kCount, -10.0, 10.0, 12345);
    return values;
}

const MVectorArray& colors() {
    static const MVectorArray values = scattered(kCount, 0.0, 1.0, 777);
    return values;
}

host::RasterCamera camera() {
    double rotate[3];
    host::RasterCamera::lookAt({28.0, 21.0, 28.0}, {0.0, 0.0, 0.0}, rotate);
    return host::RasterCamera(host::RasterCamera::placement({28.0, 21.0, 28.0}, rotate), kWidth, kHeight);
}

// The camera matrix as a renderer's projection would hold it: world to clip space, x and y in pixels
// times w, w the depth.
MMatrix cameraMatrix(const host::RasterCamera& view) {
    MMatrix m;
    for (int r = 0; r < 4; ++r) {
        m.matrix[r][0] = view.rows()[r][0];
        m.matrix[r][1] = view.rows()[r][1];
        m.matrix[r][2] = view.rows()[r][2];
        m.matrix[r][3] = view.rows()[r][2];
    }
    return m;
}

// Reads the positions through a plain pointer, as the rasteriser does: MVectorArray's checked operator[]
// would make this pass twice as slow and the goal twice as easy.
void projectPoints(benchmark::State& state) {
    const MVector* const points = &positions()[0];
    const MMatrix matrix = cameraMatrix(camera());
    const auto& m = matrix.matrix;
    std::vector<float> screen(3 * static_cast<size_t>(kCount));
    for (auto _ : state) {
        for (unsigned i = 0; i < kCount; ++i) {
            const MVector& p = points[i];
            const double x = p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0];
            const double y = p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1];
            const double z = p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2];
            const double w = p.x * m[0][3] + p.y * m[1][3] + p.z * m[2][3] + m[3][3];
            const double inverse = 1.0 / w;
            screen[3 * i] = static_cast<float>(x * inverse);
            screen[3 * i + 1] = static_cast<float>(y * inverse);
            screen[3 * i + 2] = static_cast<float>(z);
        }
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void rasterParticles(benchmark::State& state) {
    const host::RasterCamera view = camera();
    host::RasterParticles batch;
    batch.positions = &positions()[0];
    batch.count = kCount;
    batch.colors = &colors()[0];
    batch.colorCount = kCount;
    host::Raster raster(kWidth, kHeight);
    for (auto _ : state) {
        raster.clear({0.43f, 0.43f, 0.43f}, {0.2f, 0.2f, 0.2f});
        raster.particles(view, batch);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void drawSceneParticles(benchmark::State& state) {
    host::newScene();
    if (host::execute("particle -n cloud; addAttr -ln rgbPP -dt vectorArray cloud") != MStatus::kSuccess ||
        host::setParticles(host::nodeByName("cloud"), positions()) != MStatus::kSuccess) {
        state.SkipWithError("could not build the scene");
        return;
    }
    MObject colorData = MFnVectorArrayData().create(colors());
    MFnDependencyNode(host::nodeByName("cloud")).findPlug("rgbPP").setValue(colorData);
    const host::RasterCamera view = camera();
    host::Raster raster(kWidth, kHeight);
    for (auto _ : state) {
        host::drawScene(raster, view);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void encodePng(benchmark::State& state) {
    host::Raster raster(kWidth, kHeight);
    host::RasterParticles batch;
    batch.positions = &positions()[0];
    batch.count = kCount;
    batch.colors = &colors()[0];
    batch.colorCount = kCount;
    raster.clear({0.43f, 0.43f, 0.43f}, {0.2f, 0.2f, 0.2f});
    raster.particles(camera(), batch);
    const std::string path = "/tmp/raster_particles_bench.png";
    for (auto _ : state) {
        std::string error;
        if (!host::writePngFile(path, kWidth, kHeight, raster.rgb(), error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = 5;
    for (auto [name, function] : {std::pair{"projectPoints/1000000", projectPoints},
                                  std::pair{"rasterParticles/1000000", rasterParticles},
                                  std::pair{"drawSceneParticles/1000000", drawSceneParticles},
                                  std::pair{"encodePng/1280x720", encodePng}})
        benchmark::RegisterBenchmark(name, function)
            ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(repetitions);
    return benchGoals::runAndReport(
        argc, argv, {{"raster_1000000_particles_vs_projection", "rasterParticles/1000000", "projectPoints/1000000", 3.0},
                     {"draw_scene_1000000_particles_vs_projection", "drawSceneParticles/1000000",
                      "projectPoints/1000000", 3.0}});
}
