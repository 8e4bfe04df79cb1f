// The host's rasteriser and camera: projection, depth testing, clipping, blending and PNG files.
#include "render/PngFile.h"
#include "render/Raster.h"
#include "render/RasterCamera.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

using host::Raster;
using host::RasterCamera;
using host::RasterColor;
using host::RasterParticles;
using host::ScreenPoint;
using host::geom::Vec3;

constexpr double kPi = 3.14159265358979323846;
const RasterColor kGrey{0.5f, 0.5f, 0.5f};
const RasterColor kRed{1.0f, 0.0f, 0.0f};
const RasterColor kGreen{0.0f, 1.0f, 0.0f};

// A camera at (0, 0, distance) looking down -Z at the origin.
RasterCamera frontCamera(int width, int height, double distance = 10.0) {
    const double rotate[3] = {0.0, 0.0, 0.0};
    return RasterCamera(RasterCamera::placement({0.0, 0.0, distance}, rotate), width, height);
}

Raster greyRaster(int width, int height) {
    Raster raster(width, height);
    raster.clear(kGrey, kGrey);
    return raster;
}

void expectColor(const Raster& raster, int x, int y, RasterColor want, double tolerance = 0.01) {
    const RasterColor got = raster.colorAt(x, y);
    EXPECT_NEAR(got.r, want.r, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.g, want.g, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.b, want.b, tolerance) << "at " << x << "," << y;
}

RasterParticles particlesAt(const std::vector<MVector>& positions) {
    RasterParticles batch;
    batch.positions = positions.data();
    batch.count = static_cast<unsigned>(positions.size());
    return batch;
}

// For each pixel of a width x height picture, the particle nearest the camera among those whose 2 x 2
// point covers it (-1 where none does), found one particle at a time.
void nearestOwners(const RasterCamera& camera, const std::vector<MVector>& positions, int width, int height,
                   std::vector<int>& owner) {
    std::vector<double> nearest(width * height, std::numeric_limits<double>::infinity());
    owner.assign(width * height, -1);
    for (size_t i = 0; i < positions.size(); ++i) {
        ScreenPoint p;
        ASSERT_TRUE(camera.projectWorld({positions[i].x, positions[i].y, positions[i].z}, p));
        const int x0 = static_cast<int>(std::floor(p.x - 0.5)), y0 = static_cast<int>(std::floor(p.y - 0.5));
        for (int y = std::max(y0, 0); y < std::min(y0 + 2, height); ++y)
            for (int x = std::max(x0, 0); x < std::min(x0 + 2, width); ++x)
                if (p.depth < nearest[y * width + x]) {
                    nearest[y * width + x] = p.depth;
                    owner[y * width + x] = static_cast<int>(i);
                }
    }
}

TEST(RasterCamera, ProjectsWithMayasDefaultLensAndFilmFit) {
    // 35 mm over a 36 mm wide film: a wide image spans the film's width.
    const RasterCamera wide = frontCamera(360, 100);
    ScreenPoint p;
    ASSERT_TRUE(wide.projectWorld({0.0, 0.0, 0.0}, p));
    EXPECT_DOUBLE_EQ(p.x, 180.0);
    EXPECT_DOUBLE_EQ(p.y, 50.0);
    EXPECT_DOUBLE_EQ(p.depth, 10.0);
    ASSERT_TRUE(wide.projectWorld({1.0, 1.0, 0.0}, p));
    EXPECT_NEAR(p.x, 180.0 + 35.0, 1e-3);  // 360 * 35 / 36 pixels at depth 1, a tenth of it at 10
    EXPECT_NEAR(p.y, 50.0 - 35.0, 1e-3);  // y grows downwards
    // A tall image spans the film's 24 mm height.
    const RasterCamera tall = frontCamera(100, 240);
    ASSERT_TRUE(tall.projectWorld({0.0, 1.0, 0.0}, p));
    EXPECT_NEAR(p.y, 120.0 - 240.0 * 35.0 / 24.0 / 10.0, 1e-3);
    // Behind the camera, inside the near clip, or not finite: nothing.
    EXPECT_FALSE(wide.projectWorld({0.0, 0.0, 20.0}, p));
    EXPECT_FALSE(wide.projectWorld({0.0, 0.0, 9.95}, p));
    EXPECT_FALSE(wide.projectWorld({std::nan(""), 0.0, 0.0}, p));
}

TEST(RasterCamera, LookAtGivesMayasAnglesAndFramingKeepsASphereInView) {
    // Maya's default perspective camera, at (28, 21, 28), looks at the origin with rotate (-27.94, 45, 0).
    double rotate[3];
    RasterCamera::lookAt({28.0, 21.0, 28.0}, {0.0, 0.0, 0.0}, rotate);
    EXPECT_NEAR(rotate[0] * 180.0 / kPi, -27.938, 1e-3);
    EXPECT_NEAR(rotate[1] * 180.0 / kPi, 45.0, 1e-9);
    EXPECT_EQ(rotate[2], 0.0);
    const RasterCamera persp(RasterCamera::placement({28.0, 21.0, 28.0}, rotate), 200, 100);
    ScreenPoint p;
    ASSERT_TRUE(persp.projectWorld({0.0, 0.0, 0.0}, p));
    EXPECT_NEAR(p.x, 100.0, 1e-9);
    EXPECT_NEAR(p.y, 50.0, 1e-9);

    // The eye that frames a sphere keeps points of the sphere inside a wide and a tall picture.
    const Vec3 centre{5.0, -2.0, 3.0};
    for (const auto& size : {std::pair<int, int>{320, 180}, std::pair<int, int>{100, 300}}) {
        const Vec3 eye = RasterCamera::framingEye(centre, 4.0, rotate, size.first, size.second, RasterCamera::Lens());
        const RasterCamera camera(RasterCamera::placement(eye, rotate), size.first, size.second);
        for (const Vec3& offset : {Vec3{4, 0, 0}, Vec3{-4, 0, 0}, Vec3{0, 4, 0}, Vec3{0, -4, 0}, Vec3{0, 0, 4}}) {
            ASSERT_TRUE(camera.projectWorld(centre + offset, p));
            EXPECT_TRUE(p.x >= 0 && p.x <= size.first && p.y >= 0 && p.y <= size.second) << p.x << " " << p.y;
        }
    }
}

TEST(Raster, NearerParticlesWinWhateverTheOrder) {
    const RasterCamera camera = frontCamera(40, 20);
    const std::vector<MVector> near{{0.0, 0.0, 5.0}}, far{{0.0, 0.0, 0.0}};
    const std::vector<MVector> red{{1.0, 0.0, 0.0}}, green{{0.0, 1.0, 0.0}};
    for (bool nearFirst : {true, false}) {
        Raster raster = greyRaster(40, 20);
        RasterParticles a = particlesAt(near), b = particlesAt(far);
        a.colors = red.data();
        a.colorCount = 1;
        b.colors = green.data();
        b.colorCount = 1;
        raster.particles(camera, nearFirst ? a : b);
        raster.particles(camera, nearFirst ? b : a);
        // Two-pixel points cover the 2 x 2 pixels around the image centre.
        for (int x : {19, 20})
            for (int y : {9, 10}) {
                expectColor(raster, x, y, kRed);
                EXPECT_FLOAT_EQ(raster.depthAt(x, y), 5.0f);
            }
        expectColor(raster, 21, 10, kGrey);
        expectColor(raster, 18, 9, kGrey);
    }
}

TEST(Raster, ParticleColoursOpacitiesAndSizes) {
    const RasterCamera camera = frontCamera(100, 50);
    // One unit is 97.2 / 10 pixels at depth 10: the particles land 19.4 pixels apart.
    const std::vector<MVector> positions{{-2.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, {2.0, 0.0, 0.0}, {4.0, 0.0, 0.0}};
    const std::vector<MVector> colors{{3.0, -1.0, 0.0}};  // clamped to red; the others take the batch colour
    const std::vector<double> opacities{1.0, 0.5, 0.0};   // the last particle has none: opaque
    Raster raster = greyRaster(100, 50);
    RasterParticles batch = particlesAt(positions);
    batch.colors = colors.data();
    batch.colorCount = 1;
    batch.opacities = opacities.data();
    batch.opacityCount = 3;
    batch.color = kGreen;
    raster.particles(camera, batch);
    expectColor(raster, 30, 25, kRed);                       // x = 50 - 19.4
    expectColor(raster, 50, 25, {0.25f, 0.75f, 0.25f}, 0.02);  // half green over grey
    EXPECT_TRUE(std::isinf(raster.depthAt(50, 25)) || raster.depthAt(50, 25) == 10.0f);
    expectColor(raster, 69, 25, kGrey);                      // opacity 0: not drawn
    expectColor(raster, 88, 25, kGreen);                     // past the opacities: opaque

    // Larger points are shaded discs: full colour at the centre, darker toward the rim, gone beyond it.
    Raster discs = greyRaster(100, 50);
    batch.pointSize = 9.0;
    batch.opacityCount = 0;
    discs.particles(camera, batch);
    expectColor(discs, 30, 25, kRed, 0.02);
    EXPECT_LT(discs.colorAt(30, 28).r, 0.95f);
    EXPECT_GT(discs.colorAt(30, 28).r, 0.5f);
    expectColor(discs, 30, 31, kGrey);
    // World-size discs shrink with distance.
    Raster spheres = greyRaster(100, 50);
    batch.radius = 0.5;  // 9.7 pixels across at depth 10
    spheres.particles(camera, batch);
    EXPECT_GT(spheres.colorAt(30, 29).r, 0.5f);
    expectColor(spheres, 30, 31, kGrey);
}

TEST(Raster, ManyParticlesLandWhereTheyProject) {
    // 60,000 particles in one batch are shared among worker threads and sorted into bands of rows. Each
    // pixel must show the nearest particle whose 2 x 2 point covers it, as found one particle at a time
    // here; points across band edges and the picture's borders included.
    const int width = 160, height = 90;
    const RasterCamera camera = frontCamera(width, height, 12.0);
    std::vector<MVector> positions, colors;
    for (int i = 0; i < 60000; ++i) {
        const double a = i * 0.618034, b = i * 0.414214, c = i * 0.302776;
        positions.push_back({14.0 * (a - std::floor(a)) - 7.0, 9.0 * (b - std::floor(b)) - 4.5, -4.0 * (c - std::floor(c))});
        colors.push_back({a - std::floor(a), b - std::floor(b), c - std::floor(c)});
    }
    Raster raster = greyRaster(width, height);
    RasterParticles batch = particlesAt(positions);
    batch.colors = colors.data();
    batch.colorCount = 60000;
    raster.particles(camera, batch);

    std::vector<int> owner;
    nearestOwners(camera, positions, width, height, owner);
    int wrong = 0, covered = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int i = owner[y * width + x];
            covered += i >= 0;
            const RasterColor want = i < 0 ? kGrey
                                           : RasterColor{static_cast<float>(colors[i].x), static_cast<float>(colors[i].y),
                                                         static_cast<float>(colors[i].z)};
            const RasterColor got = raster.colorAt(x, y);
            wrong += std::abs(got.r - want.r) > 0.003f || std::abs(got.g - want.g) > 0.003f ||
                     std::abs(got.b - want.b) > 0.003f;
        }
    EXPECT_GT(covered, width * height / 2);
    EXPECT_LE(wrong, 10);  // a point exactly between two pixels may round either way
}

TEST(Raster, PicturesSmallerThanAPointShowTheNearestPointOverThem) {
    // Two-pixel points over 1 x 1, 2 x 1 and 1 x 2 pictures: points inside, across the borders and
    // beyond them. Only the pixels of the picture are written (the address sanitizer watches), each
    // with the nearest point over it.
    std::vector<MVector> positions, colors;
    for (int i = 0; i < 2000; ++i) {
        const double a = i * 0.618034, b = i * 0.414214, c = i * 0.302776;
        // Within a few pixels of the centre at depth 10.
        positions.push_back({50.0 * (a - std::floor(a)) - 25.0, 50.0 * (b - std::floor(b)) - 25.0,
                             -4.0 * (c - std::floor(c))});
        colors.push_back({a - std::floor(a), b - std::floor(b), c - std::floor(c)});
    }
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{1, 2}}) {
        const RasterCamera camera = frontCamera(width, height);
        Raster raster = greyRaster(width, height);
        RasterParticles batch = particlesAt(positions);
        batch.colors = colors.data();
        batch.colorCount = static_cast<unsigned>(colors.size());
        raster.particles(camera, batch);
        std::vector<int> owner;
        nearestOwners(camera, positions, width, height, owner);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int i = owner[y * width + x];
                ASSERT_GE(i, 0);
                expectColor(raster, x, y,
                            {static_cast<float>(colors[i].x), static_cast<float>(colors[i].y),
                             static_cast<float>(colors[i].z)},
                            0.003);
            }
    }
}

TEST(Raster, ThePictureDoesNotDependOnTheThreadsOrWhenTheClearHappens) {
    // Squares across band edges and the borders, translucent particles and particles without colour, in
    // a picture whose last band of rows is short: one thread or four, a clear done while drawing the
    // particles or before them, the pixels and depths are the same.
    const int width = 161, height = 90;
    const RasterCamera camera = frontCamera(width, height, 12.0);
    std::vector<MVector> positions, colors;
    std::vector<double> opacities;
    for (int i = 0; i < 80000; ++i) {
        const double a = i * 0.618034, b = i * 0.414214, c = i * 0.302776;
        positions.push_back({16.0 * (a - std::floor(a)) - 8.0, 10.0 * (b - std::floor(b)) - 5.0, -4.0 * (c - std::floor(c))});
        colors.push_back({a - std::floor(a), b - std::floor(b), c - std::floor(c)});
        opacities.push_back(i % 7 == 0 ? 0.5 : 1.0);
    }
    RasterParticles batch = particlesAt(positions);
    batch.colors = colors.data();
    batch.colorCount = 70000;
    batch.opacities = opacities.data();
    batch.opacityCount = 50000;
    auto draw = [&](unsigned workers, bool clearFirst) {
        Raster raster(width, height);
        raster.setMaxWorkers(workers);
        raster.clear(kGrey, kGreen);
        if (clearFirst)
            raster.line({-50.0, -50.0, 1.0}, {-40.0, -50.0, 1.0}, kRed, 1.0);  // off the picture: draws nothing
        raster.particles(camera, batch);
        return raster;
    };
    const Raster reference = draw(1, true);
    for (auto [workers, clearFirst] : {std::pair{4u, true}, std::pair{1u, false}, std::pair{4u, false}}) {
        const Raster other = draw(workers, clearFirst);
        EXPECT_EQ(other.rgb(), reference.rgb()) << workers << " workers, clear first " << clearFirst;
        int depths = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                depths += other.depthAt(x, y) != reference.depthAt(x, y);
        EXPECT_EQ(depths, 0) << workers << " workers, clear first " << clearFirst;
    }
    // A clear not yet done reads as done.
    Raster cleared(width, height);
    cleared.clear(kRed, kGreen);
    expectColor(cleared, 5, 0, kRed);
    expectColor(cleared, 5, height - 1, kGreen);
    EXPECT_TRUE(std::isinf(cleared.depthAt(5, 40)));
    EXPECT_GT(cleared.rgb()[0], 250);  // red, in the first row of the gradient
}

TEST(Raster, ParticlesOutsideTheViewAreSkippedSafely) {
    const RasterCamera camera = frontCamera(20, 10);
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<MVector> positions{{0.0, 0.0, 20.0},  {0.0, 0.0, 9.99}, {1e30, 0.0, 0.0}, {-1e30, 1e30, 0.0},
                                         {std::nan(""), 0.0, 0.0}, {inf, 0.0, 0.0}, {0.0, -inf, 0.0},
                                         {-5.14, 2.57, 0.0}};  // the last straddles the image's top-left corner
    Raster raster = greyRaster(20, 10);
    RasterParticles batch = particlesAt(positions);
    batch.color = kRed;
    for (double size : {2.0, 7.0}) {
        batch.pointSize = size;
        raster.particles(camera, batch);
    }
    int red = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            red += raster.colorAt(x, y).r > 0.6f;
    EXPECT_GT(red, 0);
    EXPECT_LT(red, 16);
    expectColor(raster, 0, 0, kRed, 0.05);
    expectColor(raster, 10, 5, kGrey);
}

TEST(Raster, LinesAreAntialiasedDepthTestedAndClipped) {
    const RasterCamera camera = frontCamera(100, 50);
    Raster raster = greyRaster(100, 50);
    // A horizontal world line 1 unit above the centre: row 25 - 9.72 = 15.28.
    raster.segment(camera, {-3.0, 1.0, 0.0}, {3.0, 1.0, 0.0}, kRed, 1.5);
    expectColor(raster, 50, 15, kRed);
    const RasterColor edge = raster.colorAt(50, 14);  // 0.78 pixels from the line: partly covered
    EXPECT_GT(edge.r, 0.55f);
    EXPECT_LT(edge.r, 0.95f);
    expectColor(raster, 50, 18, kGrey);
    expectColor(raster, 15, 15, kGrey);  // beyond the end at x = 50 - 29.2
    EXPECT_NEAR(raster.depthAt(50, 15), 10.0f, 1e-4);

    // A nearer line over it wins; a farther one is hidden.
    raster.segment(camera, {0.077, -3.0, 5.0}, {0.077, 3.0, 5.0}, kGreen, 1.5);  // x = 51.5
    raster.segment(camera, {0.0, -3.0, -5.0}, {0.0, 3.0, -5.0}, {0.0f, 0.0f, 1.0f}, 9.0);
    expectColor(raster, 51, 15, kGreen);
    EXPECT_LT(raster.colorAt(53, 15).b, 0.5f);  // the blue line is hidden behind the red one there

    // A line from behind the camera to in front of it keeps only its visible part; absurd ends are safe.
    Raster clipped = greyRaster(100, 50);
    clipped.segment(camera, {0.05, -1.0, 30.0}, {0.05, -1.0, 0.0}, kRed, 1.5);
    clipped.segment(camera, {-1e300, 0.05, 0.0}, {1e300, 0.05, 0.0}, kGreen, 1.5);
    clipped.segment(camera, {0.0, 0.0, 0.0}, {std::nan(""), 0.0, 0.0}, kGreen, 1.5);
    clipped.line({1e12, -1e12, 1.0}, {-1e12, 1e12, 1.0}, kGreen, 1.0);
    expectColor(clipped, 50, 34, kRed);  // the point (0, -1, 0) at row 25 + 9.7
    expectColor(clipped, 10, 24, kGreen);
}

TEST(Raster, TrianglesAreShadedByFacingAndClippedAtTheNearPlane) {
    const RasterCamera camera = frontCamera(100, 50);
    Raster raster = greyRaster(100, 50);
    raster.triangle(camera, {-2.0, -2.0, 0.0}, {2.0, -2.0, 0.0}, {0.0, 2.0, 0.0}, kRed);
    expectColor(raster, 50, 25, {0.99f, 0.0f, 0.0f}, 0.03);  // facing the eye: nearly full colour
    expectColor(raster, 50, 2, kGrey);
    // Tilted away it is darker; a triangle reaching behind the camera fills what is in front.
    Raster tilted = greyRaster(100, 50);
    tilted.triangle(camera, {-2.0, -2.0, -2.0}, {2.0, -2.0, -2.0}, {0.0, 2.0, 2.0}, kRed);
    EXPECT_LT(tilted.colorAt(50, 25).r, 0.95f);
    Raster floor = greyRaster(100, 50);
    floor.triangle(camera, {-50.0, -1.0, 50.0}, {50.0, -1.0, 50.0}, {0.0, -1.0, -50.0}, kGreen);
    EXPECT_GT(floor.colorAt(50, 45).g, 0.1f);
    EXPECT_LT(floor.depthAt(50, 49), 10.0f);
    expectColor(floor, 50, 5, kGrey);
}

TEST(PngFile, RoundTripsAndReportsFailures) {
    Raster raster(3, 2);
    raster.clear(kRed, kGreen);
    const std::string path = ::testing::TempDir() + "raster_round_trip_" + std::to_string(::getpid()) + ".png";
    std::string error;
    ASSERT_TRUE(host::writePngFile(path, raster.width(), raster.height(), raster.rgb(), error)) << error;
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(host::readPngFile(path, width, height, rgb, error)) << error;
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(rgb, raster.rgb());
    EXPECT_EQ(rgb[0], 191);  // top row: three quarters red
    EXPECT_FALSE(host::writePngFile("/nonexistent-dir/x.png", 3, 2, raster.rgb(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(host::writePngFile(path, 4, 2, raster.rgb(), error));
    EXPECT_FALSE(host::readPngFile("/nonexistent-dir/x.png", width, height, rgb, error));
    std::remove(path.c_str());
}

}  // namespace
