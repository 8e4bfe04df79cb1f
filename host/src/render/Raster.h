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
// Small opaque points (most particles) are drawn in two passes so that their writes stay in cache: worker
// threads (up to four, for batches of 20,000 particles or more) project their share of the particles and
// sort the points into bands of 32 rows; then each band is cleared if need be and written by one thread.
// Points cut by a band's edge or the picture's border follow, then discs and translucent particles, one
// thread, in particle order. Depth testing makes the result independent of the order and of the number
// of threads.
class Raster {
public:
    Raster(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Everything infinitely far, coloured by a vertical gradient from top to bottom.
    void clear(RasterColor top, RasterColor bottom);

    // At most this many threads draw a batch of particles (at least 1; the default is 4).
    void setMaxWorkers(unsigned count) { maxWorkers_ = count > 0 ? count : 1; }

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

private:
    // An opaque square waiting for its band: its depth's bits, colour and top-left pixel's index.
    // Made without zeroing, so that bins can be sized ahead of being filled.
    struct Splat {
        Splat() {}
        Splat(std::uint32_t depthBits, std::uint32_t packed, std::uint32_t index)
            : depth(depthBits), color(packed), pixel(index) {}
        std::uint32_t depth;
        std::uint32_t color;
        std::uint32_t pixel;
    };
    // A square cut by the picture's border or a band's edge: its top-left pixel may lie outside.
    struct EdgeSplat {
        std::uint32_t depth;
        std::uint32_t color;
        int x;
        int y;
    };
    // What one worker sorted: a bin per band, the cut squares, and the particles drawn one by one.
    // Kept between batches for their memory.
    struct Worker {
        std::vector<std::vector<Splat>> bins;
        std::vector<EdgeSplat> edges;
        std::vector<unsigned> later;
    };
    struct BinCursor;
    static void growBin(std::vector<Splat>& bin, BinCursor& cursor);

    // Fills the picture if a clear is still pending.
    void settle();
    // Fills rows [top, bottom) with the pending clear.
    void clearRows(int top, int bottom);
    std::uint64_t clearPixel(int y) const;
    std::uint64_t pixelAt(int x, int y) const;
    void blend(int x, int y, float depth, RasterColor color, float alpha);
    // Projects particles [begin, end) into out.
    void sortParticles(const RasterCamera& camera, const RasterParticles& batch, unsigned begin, unsigned end,
                       Worker& out) const;
    template <bool kColors, bool kOpacities>
    void sortRange(const RasterCamera& camera, const RasterParticles& batch, unsigned begin, unsigned end, Worker& out,
                   BinCursor* cursors) const;
    void writeBand(int band, int size, unsigned workers);
    void drawParticle(const RasterCamera& camera, const RasterParticles& batch, unsigned index);

    int width_;
    int height_;
    std::vector<std::uint64_t> pixels_;
    bool clearPending_ = false;
    RasterColor clearTop_;
    RasterColor clearBottom_;
    unsigned maxWorkers_ = 4;
    std::vector<Worker> workers_;
};

}  // namespace host

#endif
