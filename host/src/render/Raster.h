#ifndef HOST_RASTER_H
#define HOST_RASTER_H

#include "geometry/Vec3.h"
#include "render/RasterCamera.h"

#include <maya/MVector.h>

#include <cstdint>
#include <vector>

namespace host {

struct RasterColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// Particles to draw: positions, and optionally one colour and one opacity per particle. A particle past
// the end of colors takes color; past the end of opacities it is opaque. Opacities are clamped to
// [0, 1] and colour channels to [0, 1]; a particle whose opacity is 0 or whose position is not finite is
// not drawn.
struct RasterParticles {
    const MVector* positions = nullptr;
    unsigned count = 0;
    const MVector* colors = nullptr;
    unsigned colorCount = 0;
    const double* opacities = nullptr;
    unsigned opacityCount = 0;
    RasterColor color{0.45f, 0.8f, 1.0f};
    // Screen size in pixels: 1 and 2 draw squares of that many pixels a side, larger sizes round discs.
    double pointSize = 2.0;
    // World radius; above 0 the particles are discs of this radius, whatever their distance.
    double radius = 0.0;
};

// The host's rasteriser: an image of width x height pixels with a depth buffer, into which points,
// antialiased lines and flat triangles are drawn, nearest first wins.
//
// Each pixel packs its depth (a float, whose bits order like the number for positive values) above its
// colour (8 bits a channel) in one 64-bit word, so an opaque write that passes the depth test is one
// compare and one store. Partly covered pixels (line and disc edges, translucent particles) blend their
// colour over what is there when they are nearer, and take the new depth only when at least half
// covered. Discs are shaded a little darker toward their rim, like small spheres, so that touching
// particles stay apart.
//
// Many particles are drawn in two passes so that their writes stay in cache: worker threads (up to four,
// for batches of 20,000 particles or more) project their share of the particles and sort the small
// opaque points into bands of 16 rows; then each band is written by one thread. Depth testing makes the
// result independent of the order and of the number of threads. Discs and translucent particles are
// drawn after the opaque points, one thread, in particle order.
class Raster {
public:
    Raster(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Everything infinitely far, coloured by a vertical gradient from top to bottom.
    void clear(RasterColor top, RasterColor bottom);

    // Screen-space primitives; depth is the distance in front of the camera (> 0).
    void disc(double x, double y, double depth, double diameter, RasterColor color, double opacity);
    void line(const ScreenPoint& a, const ScreenPoint& b, RasterColor color, double width);
    void triangle(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c, RasterColor color);

    // World-space drawing through a camera of this raster's size; lines and triangles are clipped at the
    // camera's near plane.
    void particles(const RasterCamera& camera, const RasterParticles& particles);
    // bias > 0 draws the line that share nearer to the camera than it is, so that a wireframe wins over
    // the faces it outlines.
    void polyline(const RasterCamera& camera, const std::vector<geom::Vec3>& points, RasterColor color, double width,
                  double bias = 0.0);
    void segment(const RasterCamera& camera, const geom::Vec3& a, const geom::Vec3& b, RasterColor color, double width,
                 double bias = 0.0);
    // Shaded by how squarely it faces the camera (a light at the eye).
    void triangle(const RasterCamera& camera, const geom::Vec3& a, const geom::Vec3& b, const geom::Vec3& c,
                  RasterColor color);

    RasterColor colorAt(int x, int y) const;
    // The depth at a pixel; infinity where nothing was drawn.
    float depthAt(int x, int y) const;
    // Rows top to bottom, three bytes (r, g, b) a pixel.
    std::vector<unsigned char> rgb() const;

    // An opaque point waiting for its band: its depth's bits, colour and top-left pixel. Made without
    // zeroing, so that bins can be sized ahead of being filled.
    struct Splat {
        Splat() {}
        Splat(std::uint32_t depthBits, std::uint32_t packed, int left, int top)
            : depth(depthBits), color(packed), x(static_cast<std::int16_t>(left)), y(static_cast<std::int16_t>(top)) {}
        std::uint32_t depth;
        std::uint32_t color;
        std::int16_t x;
        std::int16_t y;
    };

private:
    void blend(int x, int y, float depth, RasterColor color, float alpha);
    // Projects particles [begin, end): small opaque points go to the bins of this worker, the others
    // to later.
    void sortParticles(const RasterCamera& camera, const RasterParticles& batch, unsigned begin, unsigned end,
                       std::vector<Splat>* bins, std::vector<unsigned>& later) const;
    void writeBand(int band, int size, unsigned workers);
    void drawParticle(const RasterCamera& camera, const RasterParticles& batch, unsigned index);

    int width_;
    int height_;
    std::vector<std::uint64_t> pixels_;
    std::vector<std::vector<Splat>> bins_;  // worker * bands + band, kept between calls for their memory
};

}  // namespace host

#endif
