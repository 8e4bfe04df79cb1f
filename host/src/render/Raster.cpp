#include "render/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <system_error>
#include <thread>

#ifdef __linux__
#include <sched.h>
#endif

namespace host {

namespace {

std::uint32_t depthBits(float depth) {
    std::uint32_t bits;
    std::memcpy(&bits, &depth, sizeof bits);
    return bits;
}

float depthOf(std::uint64_t pixel) {
    const auto bits = static_cast<std::uint32_t>(pixel >> 32);
    float depth;
    std::memcpy(&depth, &bits, sizeof depth);
    return depth;
}

// Two selects that compile to max and min without branches: colours are random per particle. NaN reads
// as 0.
inline std::uint32_t channel(double value) {
    const double low = value > 0.0 ? value : 0.0;
    const double v = low < 1.0 ? low : 1.0;
    return static_cast<std::uint32_t>(v * 255.0 + 0.5);
}

inline std::uint32_t pack(double r, double g, double b) {
    return channel(r) | channel(g) << 8 | channel(b) << 16 | 0xFF000000u;
}

std::uint32_t pack(RasterColor c) {
    return pack(c.r, c.g, c.b);
}

RasterColor unpack(std::uint64_t pixel) {
    const auto c = static_cast<std::uint32_t>(pixel);
    return {(c & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f, ((c >> 16) & 0xFF) / 255.0f};
}

std::uint64_t makePixel(std::uint32_t depthBits, std::uint32_t color) {
    return static_cast<std::uint64_t>(depthBits) << 32 | color;
}

std::uint64_t makePixel(float depth, std::uint32_t color) {
    return makePixel(depthBits(depth), color);
}

// An index for a coordinate, clamped to [lo, hi] before it becomes an int (so huge or NaN values are safe).
int clampedIndex(double value, int lo, int hi) {
    if (!(value >= lo))
        return lo;
    if (value >= hi)
        return hi;
    return static_cast<int>(value);
}

double clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

RasterColor scaled(RasterColor c, double s) {
    return {static_cast<float>(c.r * s), static_cast<float>(c.g * s), static_cast<float>(c.b * s)};
}

// Cuts the segment a-b to the rectangle [lo, hiX] x [lo, hiY], one side at a time; a cut end lies
// exactly on the side, so even absurdly long segments keep their place. Depth follows 1/depth, which is
// linear on the screen. False when nothing is left.
bool clipToRect(ScreenPoint& a, ScreenPoint& b, double lo, double hiX, double hiY) {
    auto cut = [](ScreenPoint& out, const ScreenPoint& from, const ScreenPoint& to, double s, bool alongX,
                  double side) {
        const double inverse = (1.0 - s) / from.depth + s / to.depth;
        const ScreenPoint p = from;
        out.depth = 1.0 / inverse;
        if (alongX) {
            out.x = side;
            out.y = p.y + (to.y - p.y) * ((side - p.x) / (to.x - p.x));
        } else {
            out.y = side;
            out.x = p.x + (to.x - p.x) * ((side - p.y) / (to.y - p.y));
        }
    };
    const struct {
        bool alongX;
        double side;
        double sign;  // inside where sign * (coordinate - side) >= 0
    } sides[4] = {{true, lo, 1.0}, {true, hiX, -1.0}, {false, lo, 1.0}, {false, hiY, -1.0}};
    for (const auto& side : sides) {
        const double da = side.sign * ((side.alongX ? a.x : a.y) - side.side);
        const double db = side.sign * ((side.alongX ? b.x : b.y) - side.side);
        if (!(da >= 0.0) && !(db >= 0.0))
            return false;
        if (da < 0.0)
            cut(a, a, b, da / (da - db), side.alongX, side.side);
        else if (db < 0.0)
            cut(b, b, a, db / (db - da), side.alongX, side.side);
    }
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y);
}

// Cuts a camera-space triangle to the half space z <= -nearClip: up to four corners in out, their count
// returned.
int clipNear(const geom::Vec3 (&triangle)[3], double nearClip, geom::Vec3 (&out)[4]) {
    int count = 0;
    for (int i = 0; i < 3; ++i) {
        const geom::Vec3& p = triangle[i];
        const geom::Vec3& q = triangle[(i + 1) % 3];
        const double dp = -p.z - nearClip, dq = -q.z - nearClip;
        if (dp >= 0.0)
            out[count++] = p;
        if ((dp >= 0.0) != (dq >= 0.0))
            out[count++] = p + (q - p) * (dp / (dp - dq));
    }
    return count;
}

}  // namespace

Raster::Raster(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<size_t>(width_) * height_, makePixel(std::numeric_limits<float>::infinity(), pack(0, 0, 0))) {}

// The picture is cleared when it is next drawn into: a batch of particles clears each band of rows just
// before drawing into it, while the band is in cache.
void Raster::clear(RasterColor top, RasterColor bottom) {
    clearTop_ = top;
    clearBottom_ = bottom;
    clearPending_ = true;
}

std::uint64_t Raster::clearPixel(int y) const {
    const float t = (y + 0.5f) / height_;
    const RasterColor c{clearTop_.r + (clearBottom_.r - clearTop_.r) * t, clearTop_.g + (clearBottom_.g - clearTop_.g) * t,
                        clearTop_.b + (clearBottom_.b - clearTop_.b) * t};
    return makePixel(std::numeric_limits<float>::infinity(), pack(c));
}

void Raster::clearRows(int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        std::fill_n(pixels_.begin() + static_cast<size_t>(y) * width_, width_, clearPixel(y));
}

void Raster::settle() {
    if (!clearPending_)
        return;
    clearRows(0, height_);
    clearPending_ = false;
}

std::uint64_t Raster::pixelAt(int x, int y) const {
    return clearPending_ ? clearPixel(y) : pixels_[static_cast<size_t>(y) * width_ + x];
}

void Raster::blend(int x, int y, float depth, RasterColor color, float alpha) {
    std::uint64_t& pixel = pixels_[static_cast<size_t>(y) * width_ + x];
    const std::uint32_t bits = depthBits(depth);
    if (bits >= pixel >> 32)
        return;
    const RasterColor old = unpack(pixel);
    const std::uint32_t mixed = pack(old.r + (color.r - old.r) * alpha, old.g + (color.g - old.g) * alpha,
                                     old.b + (color.b - old.b) * alpha);
    const std::uint64_t keptDepth = alpha >= 0.5f ? bits : pixel >> 32;
    pixel = keptDepth << 32 | mixed;
}

void Raster::disc(double x, double y, double depth, double diameter, RasterColor color, double opacity) {
    settle();
    const double radius = 0.5 * diameter;
    opacity = clamp01(opacity);
    if (!(radius > 0.0) || opacity <= 0.0 || !std::isfinite(x) || !std::isfinite(y))
        return;
    const int x0 = clampedIndex(std::floor(x - radius - 0.5), 0, width_);
    const int x1 = clampedIndex(std::floor(x + radius + 0.5), -1, width_ - 1);
    const int y0 = clampedIndex(std::floor(y - radius - 0.5), 0, height_);
    const int y1 = clampedIndex(std::floor(y + radius + 0.5), -1, height_ - 1);
    const float d = static_cast<float>(depth);
    for (int j = y0; j <= y1; ++j)
        for (int i = x0; i <= x1; ++i) {
            const double ex = i + 0.5 - x, ey = j + 0.5 - y;
            const double r = std::sqrt(ex * ex + ey * ey);
            const double alpha = clamp01(radius + 0.5 - r) * opacity;
            if (alpha <= 0.002)
                continue;
            const double rim = std::min(r / radius, 1.0);
            blend(i, j, d, scaled(color, 1.0 - 0.4 * rim * rim), static_cast<float>(alpha));
        }
}

void Raster::line(const ScreenPoint& from, const ScreenPoint& to, RasterColor color, double width) {
    settle();
    const double half = 0.5 * std::max(width, 0.5);
    const double reach = half + 1.0;
    ScreenPoint a = from, b = to;
    if (!(a.depth > 0.0) || !(b.depth > 0.0) || !clipToRect(a, b, -reach, width_ + reach, height_ + reach))
        return;
    // Walk the major axis u, and across it the pixels within reach of the segment.
    const bool steep = std::abs(b.y - a.y) > std::abs(b.x - a.x);
    const double au = steep ? a.y : a.x, av = steep ? a.x : a.y;
    const double du = (steep ? b.y : b.x) - au, dv = (steep ? b.x : b.y) - av;
    const double length2 = du * du + dv * dv;
    const int uMax = (steep ? height_ : width_) - 1, vMax = (steep ? width_ : height_) - 1;
    const int u0 = clampedIndex(std::floor(std::min(au, au + du) - reach), 0, uMax + 1);
    const int u1 = clampedIndex(std::floor(std::max(au, au + du) + reach), -1, uMax);
    for (int u = u0; u <= u1; ++u) {
        const double pu = u + 0.5;
        const double t = du != 0.0 ? clamp01((pu - au) / du) : 0.0;
        const double vc = av + t * dv;
        const int v0 = clampedIndex(std::floor(vc - 1.5 * reach), 0, vMax + 1);
        const int v1 = clampedIndex(std::floor(vc + 1.5 * reach), -1, vMax);
        for (int v = v0; v <= v1; ++v) {
            const double pv = v + 0.5;
            const double s = length2 > 0.0 ? clamp01(((pu - au) * du + (pv - av) * dv) / length2) : 0.0;
            const double eu = pu - (au + s * du), ev = pv - (av + s * dv);
            const double coverage = clamp01(half + 0.5 - std::sqrt(eu * eu + ev * ev));
            if (coverage <= 0.0)
                continue;
            const double depth = 1.0 / ((1.0 - s) / a.depth + s / b.depth);
            blend(steep ? v : u, steep ? u : v, static_cast<float>(depth), color, static_cast<float>(coverage));
        }
    }
}

void Raster::triangle(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c, RasterColor color) {
    settle();
    const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (!(std::abs(area) > 1e-12) || !(a.depth > 0.0 && b.depth > 0.0 && c.depth > 0.0))
        return;
    const int x0 = clampedIndex(std::floor(std::min({a.x, b.x, c.x})), 0, width_);
    const int x1 = clampedIndex(std::floor(std::max({a.x, b.x, c.x})), -1, width_ - 1);
    const int y0 = clampedIndex(std::floor(std::min({a.y, b.y, c.y})), 0, height_);
    const int y1 = clampedIndex(std::floor(std::max({a.y, b.y, c.y})), -1, height_ - 1);
    const std::uint32_t packed = pack(color);
    for (int j = y0; j <= y1; ++j)
        for (int i = x0; i <= x1; ++i) {
            const double px = i + 0.5, py = j + 0.5;
            const double wa = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
            const double wb = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
            const double wc = 1.0 - wa - wb;
            if (wa < 0.0 || wb < 0.0 || wc < 0.0)
                continue;
            const double depth = 1.0 / (wa / a.depth + wb / b.depth + wc / c.depth);
            std::uint64_t& pixel = pixels_[static_cast<size_t>(j) * width_ + i];
            pixel = std::min(pixel, makePixel(static_cast<float>(depth), packed));
        }
}

namespace {

constexpr int kBandRows = 32;
constexpr unsigned kMaxWorkers = 4;
constexpr unsigned kParticlesPerWorker = 20000;
// How many particles ahead of the one being projected are fetched from memory.
constexpr unsigned kFetchAhead = 64;
// A bin's cursor stops this many splats short of its end, so that it can fetch ahead of itself.
constexpr size_t kBinSlack = 32;

// The processors this process may run on: more workers than that would only take turns.
unsigned usableCores() {
#ifdef __linux__
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
#endif
    return std::max(1u, std::thread::hardware_concurrency());
}

int squareSize(const RasterParticles& batch) {
    return std::max(1, static_cast<int>(std::lround(std::min(batch.pointSize, 1e4))));
}

bool drawsSquares(const RasterParticles& batch) {
    return !(batch.radius > 0.0) && batch.pointSize < 2.5;
}

// Runs work(0) .. work(count - 1) at once, work(0) here; one whose thread cannot be started runs here too.
void runWorkers(unsigned count, const std::function<void(unsigned)>& work) {
    std::vector<std::thread> threads;
    for (unsigned worker = 1; worker < count; ++worker) {
        try {
            threads.emplace_back(work, worker);
        } catch (const std::system_error&) {
            work(worker);
        }
    }
    work(0);
    for (std::thread& thread : threads)
        thread.join();
}

}  // namespace

// Fills a band's bin through a raw cursor, which stops kBinSlack splats short of the bin's end.
struct Raster::BinCursor {
    Splat* next;
    Splat* end;
};

void Raster::growBin(std::vector<Splat>& bin, BinCursor& cursor) {
    const size_t used = static_cast<size_t>(cursor.next - bin.data());
    bin.resize(2 * bin.size());
    cursor = {bin.data() + used, bin.data() + bin.size() - kBinSlack};
}

namespace {

// Two doubles handled as one: x and y, or red and green. The compiler's vector types give the paired
// arithmetic on every target.
typedef double Double2 __attribute__((vector_size(16)));
typedef std::int32_t Int2 __attribute__((vector_size(8)));

// Channels in [0, 1] (NaN reads as 0) to [0, 255], rounded.
Int2 channels(Double2 value) {
    const Double2 zero = {0.0, 0.0}, one = {1.0, 1.0};
    const Double2 low = value > zero ? value : zero;
    const Double2 v = low < one ? low : one;
    return __builtin_convertvector(v * 255.0 + 0.5, Int2);
}

}  // namespace

template <bool kColors, bool kOpacities>
void Raster::sortRange(const RasterCamera& camera, const RasterParticles& batch, unsigned begin, unsigned end,
                       Worker& out, BinCursor* cursors) const {
    // The camera's rows as locals, so that stores into the bins cannot make the compiler read them again.
    const auto& m = camera.rows();
    const Double2 row0 = {m[0][0], m[0][1]}, row1 = {m[1][0], m[1][1]}, row2 = {m[2][0], m[2][1]},
                  row3 = {m[3][0], m[3][1]};
    const double m02 = m[0][2], m12 = m[1][2], m22 = m[2][2], m32 = m[3][2];
    const double nearClip = camera.nearClip();
    const int size = squareSize(batch);
    // A square's top-left pixel is the floor of its centre less offset; it shows when that lies in
    // [1 - size, width) x [1 - size, height).
    const double offset = 0.5 * size - 0.5, lowest = 1.0 - size;
    const Double2 low = {lowest, lowest}, high = {static_cast<double>(width_), static_cast<double>(height_)};
    // A square lies wholly inside when its top-left pixel is in [0, width - size] x [0, height - size]:
    // counted as columns and rows, none in a picture narrower or lower than a square.
    const auto insideColumns = static_cast<unsigned>(std::max(width_ - size + 1, 0));
    const auto insideRows = static_cast<unsigned>(std::max(height_ - size + 1, 0));
    const unsigned lastRowInBand = static_cast<unsigned>(kBandRows - size);
    const auto rowLength = static_cast<unsigned>(width_);
    const std::uint32_t fallback = pack(batch.color);
    const MVector* const positions = batch.positions;
    const MVector* const colors = batch.colors;
    for (unsigned i = begin; i < end; ++i) {
        // Positions and colours are read once, in order: fetching them ahead keeps the loop from waiting
        // on memory.
        const unsigned ahead = std::min(i + kFetchAhead, end - 1);
        __builtin_prefetch(positions + ahead);
        if (kColors)
            __builtin_prefetch(colors + ahead);
        if (kOpacities && !(batch.opacities[i] >= 1.0)) {
            out.later.push_back(i);
            continue;
        }
        const MVector& p = positions[i];
        const double depth = p.x * m02 + p.y * m12 + p.z * m22 + m32;
        if (!(depth >= nearClip))
            continue;
        const Double2 corner = (p.x * row0 + p.y * row1 + p.z * row2 + row3) * (1.0 / depth) - offset;
        // Inside [low, high] on both axes: each product is negative or NaN outside (infinities and NaN
        // included). A corner at width or height passes and draws nothing.
        const Double2 inside = (corner - low) * (high - corner);
        if (!(inside[0] >= 0.0 && inside[1] >= 0.0))
            continue;
        // floor by truncation: the corner is at least 1 - size >= -1 here.
        const Int2 floored = __builtin_convertvector(corner + 16.0, Int2) - 16;
        const int x0 = floored[0], y0 = floored[1];
        std::uint32_t color = fallback;
        if (kColors) {
            const Int2 rg = channels(Double2{colors[i].x, colors[i].y});
            color = static_cast<std::uint32_t>(rg[0]) | static_cast<std::uint32_t>(rg[1]) << 8 |
                    channel(colors[i].z) << 16 | 0xFF000000u;
        }
        const std::uint32_t bits = depthBits(static_cast<float>(depth));
        // Most squares lie wholly inside the picture and inside one band.
        const auto left = static_cast<unsigned>(x0), top = static_cast<unsigned>(y0);
        if ((left < insideColumns) & (top < insideRows) & (top % kBandRows <= lastRowInBand)) {
            BinCursor& to = cursors[top / kBandRows];
            if (to.next == to.end)
                growBin(out.bins[top / kBandRows], to);
            // Each bin fills in order: asking for its lines ahead hides the wait for them.
            __builtin_prefetch(to.next + kBinSlack, 1);
            *to.next++ = Splat(bits, color, top * rowLength + left);
            continue;
        }
        out.edges.push_back(EdgeSplat{bits, color, x0, y0});
    }
}

void Raster::sortParticles(const RasterCamera& camera, const RasterParticles& batch, unsigned begin, unsigned end,
                           Worker& out) const {
    const int bands = (height_ + kBandRows - 1) / kBandRows;
    out.bins.resize(static_cast<size_t>(bands));
    out.edges.clear();
    out.later.clear();
    // Each bin is filled through a cursor over its whole capacity, and cut to what was written at the end.
    std::vector<BinCursor> cursors(static_cast<size_t>(bands));
    const size_t expected = (end - begin) / static_cast<size_t>(bands) + 2 * kBinSlack;
    for (int band = 0; band < bands; ++band) {
        std::vector<Splat>& bin = out.bins[band];
        bin.resize(std::max(bin.capacity(), expected));
        cursors[band] = {bin.data(), bin.data() + bin.size() - kBinSlack};
    }
    // The range splits where colours and opacities run out, so that the loops ask neither per particle.
    unsigned cuts[4] = {begin, std::clamp(batch.colorCount, begin, end), std::clamp(batch.opacityCount, begin, end), end};
    std::sort(cuts + 1, cuts + 3);
    for (int part = 0; part < 3; ++part) {
        const unsigned from = cuts[part], to = cuts[part + 1];
        if (from == to)
            continue;
        const bool colors = from < batch.colorCount, opacities = from < batch.opacityCount;
        if (colors && opacities)
            sortRange<true, true>(camera, batch, from, to, out, cursors.data());
        else if (colors)
            sortRange<true, false>(camera, batch, from, to, out, cursors.data());
        else if (opacities)
            sortRange<false, true>(camera, batch, from, to, out, cursors.data());
        else
            sortRange<false, false>(camera, batch, from, to, out, cursors.data());
    }
    for (int band = 0; band < bands; ++band)
        out.bins[band].resize(static_cast<size_t>(cursors[band].next - out.bins[band].data()));
}

void Raster::writeBand(int band, int size, unsigned workers) {
    const int top = band * kBandRows, bottom = std::min(top + kBandRows, height_);
    if (clearPending_)
        clearRows(top, bottom);
    std::uint64_t* const pixels = pixels_.data();
    const size_t w = static_cast<size_t>(width_);
    for (unsigned worker = 0; worker < workers; ++worker) {
        const std::vector<Splat>& bin = workers_[worker].bins[band];
        if (size == 2) {
            for (const Splat& splat : bin) {
                const std::uint64_t value = makePixel(splat.depth, splat.color);
                std::uint64_t* at = pixels + splat.pixel;
                at[0] = std::min(at[0], value);
                at[1] = std::min(at[1], value);
                at[w] = std::min(at[w], value);
                at[w + 1] = std::min(at[w + 1], value);
            }
        } else {
            for (const Splat& splat : bin) {
                const std::uint64_t value = makePixel(splat.depth, splat.color);
                pixels[splat.pixel] = std::min(pixels[splat.pixel], value);
            }
        }
    }
}

void Raster::drawParticle(const RasterCamera& camera, const RasterParticles& batch, unsigned i) {
    double opacity = i < batch.opacityCount ? clamp01(batch.opacities[i]) : 1.0;
    ScreenPoint p;
    const MVector& position = batch.positions[i];
    if (!(opacity > 0.0) || !camera.projectWorld({position.x, position.y, position.z}, p))
        return;
    const RasterColor color = i < batch.colorCount
                                  ? RasterColor{static_cast<float>(clamp01(batch.colors[i].x)),
                                                static_cast<float>(clamp01(batch.colors[i].y)),
                                                static_cast<float>(clamp01(batch.colors[i].z))}
                                  : batch.color;
    if (drawsSquares(batch)) {
        const int size = squareSize(batch);
        const int x0 = clampedIndex(std::floor(p.x - 0.5 * size + 0.5), -size, width_);
        const int y0 = clampedIndex(std::floor(p.y - 0.5 * size + 0.5), -size, height_);
        for (int j = std::max(y0, 0); j < std::min(y0 + size, height_); ++j)
            for (int k = std::max(x0, 0); k < std::min(x0 + size, width_); ++k)
                blend(k, j, static_cast<float>(p.depth), color, static_cast<float>(opacity));
        return;
    }
    const double diameter = batch.radius > 0.0 ? 2.0 * batch.radius * camera.pixelsPerUnit(p.depth) : batch.pointSize;
    disc(p.x, p.y, p.depth, std::max(diameter, 1.0), color, opacity);
}

void Raster::particles(const RasterCamera& camera, const RasterParticles& batch) {
    if (batch.count == 0 || !batch.positions)
        return;
    // Discs, and pictures too large for a splat's pixel index, are drawn one particle at a time.
    if (!drawsSquares(batch) || static_cast<std::uint64_t>(width_) * height_ >= (std::uint64_t{1} << 32)) {
        settle();
        for (unsigned i = 0; i < batch.count; ++i)
            drawParticle(camera, batch, i);
        return;
    }
    const unsigned workers = std::clamp(batch.count / kParticlesPerWorker, 1u,
                                        std::min({kMaxWorkers, usableCores(), maxWorkers_}));
    if (workers_.size() < workers)
        workers_.resize(workers);
    runWorkers(workers, [&](unsigned worker) {
        const unsigned begin = static_cast<unsigned>(static_cast<std::uint64_t>(batch.count) * worker / workers);
        const unsigned end = static_cast<unsigned>(static_cast<std::uint64_t>(batch.count) * (worker + 1) / workers);
        sortParticles(camera, batch, begin, end, workers_[worker]);
    });
    const int size = squareSize(batch);
    const int bands = (height_ + kBandRows - 1) / kBandRows;
    runWorkers(workers, [&](unsigned worker) {
        for (int band = static_cast<int>(worker); band < bands; band += static_cast<int>(workers))
            writeBand(band, size, workers);
    });
    clearPending_ = false;
    // Squares cut by the picture's border or a band's edge, then the translucent particles in order.
    for (unsigned worker = 0; worker < workers; ++worker)
        for (const EdgeSplat& splat : workers_[worker].edges) {
            const std::uint64_t value = makePixel(splat.depth, splat.color);
            for (int j = std::max(splat.y, 0); j < std::min(splat.y + size, height_); ++j)
                for (int k = std::max(splat.x, 0); k < std::min(splat.x + size, width_); ++k) {
                    std::uint64_t& pixel = pixels_[static_cast<size_t>(j) * width_ + k];
                    pixel = std::min(pixel, value);
                }
        }
    for (unsigned worker = 0; worker < workers; ++worker)
        for (unsigned i : workers_[worker].later)
            drawParticle(camera, batch, i);
}

void Raster::segment(const RasterCamera& camera, const geom::Vec3& a, const geom::Vec3& b, RasterColor color,
                     double width, double bias) {
    // Scaling camera-space points toward the eye keeps their place in the picture and brings them nearer.
    geom::Vec3 p = camera.toCamera(a) * (1.0 - bias), q = camera.toCamera(b) * (1.0 - bias);
    if (!geom::isFinite(p) || !geom::isFinite(q))
        return;
    const double dp = -p.z - camera.nearClip(), dq = -q.z - camera.nearClip();
    if (dp < 0.0 && dq < 0.0)
        return;
    if (dp < 0.0)
        p = p + (q - p) * (dp / (dp - dq));
    else if (dq < 0.0)
        q = q + (p - q) * (dq / (dq - dp));
    line(camera.project(p), camera.project(q), color, width);
}

void Raster::polyline(const RasterCamera& camera, const std::vector<geom::Vec3>& points, RasterColor color,
                      double width, double bias) {
    for (size_t i = 1; i < points.size(); ++i)
        segment(camera, points[i - 1], points[i], color, width, bias);
}

void Raster::triangle(const RasterCamera& camera, const geom::Vec3& a, const geom::Vec3& b, const geom::Vec3& c,
                      RasterColor color) {
    const geom::Vec3 ca = camera.toCamera(a), cb = camera.toCamera(b), cc = camera.toCamera(c);
    if (!geom::isFinite(ca) || !geom::isFinite(cb) || !geom::isFinite(cc))
        return;
    const geom::Vec3 normal = geom::normalized(geom::cross(cb - ca, cc - ca));
    const geom::Vec3 toEye = geom::normalized(-(ca + cb + cc));
    const RasterColor shaded = scaled(color, 0.25 + 0.75 * std::abs(geom::dot(normal, toEye)));
    geom::Vec3 polygon[4];
    const int corners = clipNear({ca, cb, cc}, camera.nearClip(), polygon);
    for (int i = 2; i < corners; ++i)
        triangle(camera.project(polygon[0]), camera.project(polygon[i - 1]), camera.project(polygon[i]), shaded);
}

RasterColor Raster::colorAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    return unpack(pixelAt(x, y));
}

float Raster::depthAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return std::numeric_limits<float>::infinity();
    return depthOf(pixelAt(x, y));
}

std::vector<unsigned char> Raster::rgb() const {
    std::vector<unsigned char> out(pixels_.size() * 3);
    unsigned char* to = out.data();
    // Read once here, not per pixel: the compiler cannot tell that the stores into out leave them alone.
    const bool pending = clearPending_;
    for (int y = 0; y < height_; ++y) {
        const std::uint64_t* const row = pixels_.data() + static_cast<size_t>(y) * width_;
        const std::uint64_t cleared = pending ? clearPixel(y) : 0;
        for (int x = 0; x < width_; ++x, to += 3) {
            const auto c = static_cast<std::uint32_t>(pending ? cleared : row[x]);
            to[0] = static_cast<unsigned char>(c & 0xFF);
            to[1] = static_cast<unsigned char>((c >> 8) & 0xFF);
            to[2] = static_cast<unsigned char>((c >> 16) & 0xFF);
        }
    }
    return out;
}

}  // namespace host
