#include "geometry/NurbsCurve.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace host::geom {

namespace {

constexpr int kMaxDegree = 15;        // keeps the power basis well conditioned and stack buffers fixed
constexpr double kMaxTurning = 1.0471975511965976;  // 60 degrees of control-polygon turning per segment
constexpr int kMaxSplitDepth = 6;     // at most 64 segments per knot span
constexpr int kMaxTreeDepth = 64;     // the tree is balanced: far deeper than any curve in memory needs

double binomial(int n, int k) {
    double r = 1.0;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

// Point and first derivative (in s) of the power-basis polynomial by Horner's rule. D > 0 fixes the
// degree at compile time (the search is instantiated for the common low degrees); D == 0 reads dRuntime.
template <int D = 0>
inline void evalPoint1(const Vec3* a, int dRuntime, double s, Vec3& c, Vec3& c1) {
    const int d = D > 0 ? D : dRuntime;
    c = a[d];
    c1 = Vec3{};
    for (int k = d - 1; k >= 0; --k) {
        c1 = c1 * s + c;
        c = c * s + a[k];
    }
}

// Point, first and second derivative (in s).
template <int D = 0>
inline void evalPoint2(const Vec3* a, int dRuntime, double s, Vec3& c, Vec3& c1, Vec3& c2) {
    const int d = D > 0 ? D : dRuntime;
    c = a[d];
    c1 = Vec3{};
    c2 = Vec3{};
    for (int k = d - 1; k >= 0; --k) {
        c2 = c2 * s + c1;
        c1 = c1 * s + c;
        c = c * s + a[k];
    }
    c2 *= 2.0;
}

// Squared distance from p to an axis-aligned box given by centre and half extents (zero inside). Written
// without branches ((t + |t|) / 2 is max(t, 0)): the outcome is unpredictable and this is the hot path.
inline double boxDistanceSq(const Vec3& p, const Vec3& center, const Vec3& half) {
    const double tx = std::fabs(p.x - center.x) - half.x;
    const double ty = std::fabs(p.y - center.y) - half.y;
    const double tz = std::fabs(p.z - center.z) - half.z;
    const double dx = tx + std::fabs(tx), dy = ty + std::fabs(ty), dz = tz + std::fabs(tz);
    return 0.25 * (dx * dx + dy * dy + dz * dz);
}

inline void growBox(Vec3& lo, Vec3& hi, const Vec3& p) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
}

double angleBetween(const Vec3& a, const Vec3& b) {
    return std::atan2(length(cross(a, b)), dot(a, b));
}

}  // namespace

NurbsCurve::NurbsCurve(int degree, std::vector<Vec3> cvs, std::vector<double> knots)
    : degree_(degree), cvs_(std::move(cvs)), knots_(std::move(knots)) {
    if (!validate()) return;
    valid_ = true;
    error_.clear();
    Vec3 lo = cvs_[0], hi = cvs_[0];
    for (const Vec3& p : cvs_) growBox(lo, hi, p);
    size_ = length(hi - lo);
    buildSegments();
    classifyForm();
}

NurbsCurve NurbsCurve::openUniform(int degree, const std::vector<Vec3>& cvs) {
    const int n = static_cast<int>(cvs.size());
    if (degree < 1 || n < degree + 1) {
        NurbsCurve bad;
        bad.fail("openUniform needs degree >= 1 and at least degree + 1 points");
        return bad;
    }
    std::vector<double> knots;
    knots.reserve(static_cast<size_t>(n + degree - 1));
    for (int i = 0; i < degree; ++i) knots.push_back(0.0);
    for (int i = 1; i < n - degree; ++i) knots.push_back(i);
    for (int i = 0; i < degree; ++i) knots.push_back(n - degree);
    return NurbsCurve(degree, cvs, std::move(knots));
}

NurbsCurve NurbsCurve::periodicUniform(int degree, const std::vector<Vec3>& points) {
    const int m = static_cast<int>(points.size());
    if (degree < 1 || m < std::max(degree, 2)) {
        NurbsCurve bad;
        bad.fail("periodicUniform needs degree >= 1 and at least max(degree, 2) points");
        return bad;
    }
    std::vector<Vec3> cvs(points);
    for (int i = 0; i < degree; ++i) cvs.push_back(points[static_cast<size_t>(i)]);
    const int n = m + degree;
    std::vector<double> knots;
    knots.reserve(static_cast<size_t>(n + degree - 1));
    for (int i = 0; i < n + degree - 1; ++i) knots.push_back(i - (degree - 1));
    return NurbsCurve(degree, std::move(cvs), std::move(knots));
}

void NurbsCurve::fail(const char* why) {
    valid_ = false;
    error_ = why;
    form_ = kInvalid;
}

bool NurbsCurve::validate() {
    const int n = numCVs();
    const int d = degree_;
    if (d < 1) { fail("degree must be at least 1"); return false; }
    if (d > kMaxDegree) { fail("degree above 15 is not supported"); return false; }
    if (n < d + 1) { fail("a curve of degree d needs at least d + 1 CVs"); return false; }
    if (numKnots() != n + d - 1) { fail("knot count must be numCVs + degree - 1"); return false; }
    for (const Vec3& p : cvs_) {
        if (!isFinite(p)) { fail("CV is not finite"); return false; }
    }
    int multiplicity = 1;
    for (int i = 0; i < numKnots(); ++i) {
        if (!std::isfinite(knots_[i])) { fail("knot is not finite"); return false; }
        if (i == 0) continue;
        if (knots_[i] < knots_[i - 1]) { fail("knots must not decrease"); return false; }
        multiplicity = knots_[i] == knots_[i - 1] ? multiplicity + 1 : 1;
        if (multiplicity > d) { fail("knot multiplicity exceeds the degree"); return false; }
    }
    if (!(knots_[n - 1] > knots_[d - 1])) { fail("knot domain is empty"); return false; }
    return true;
}

// Polar form of the curve on Maya span `span` ([knot[span], knot[span+1]]), by de Boor's algorithm with
// args[r-1] as the parameter of step r. Bezier points of [a, b] are blossom(a,..,a, b,..,b).
Vec3 NurbsCurve::blossom(int span, const double* args) const {
    const int d = degree_;
    Vec3 q[kMaxDegree + 1];
    for (int l = 0; l <= d; ++l) q[l] = cvs_[static_cast<size_t>(span - d + 1 + l)];
    for (int r = 1; r <= d; ++r) {
        const double t = args[r - 1];
        for (int l = d; l >= r; --l) {
            const double lo = knots_[static_cast<size_t>(span - d + l)];
            const double hi = knots_[static_cast<size_t>(span + 1 - r + l)];
            const double alpha = (t - lo) / (hi - lo);
            q[l] = q[l - 1] * (1.0 - alpha) + q[l] * alpha;
        }
    }
    return q[d];
}

void NurbsCurve::bezierPoints(int span, double a, double b, Vec3* out) const {
    const int d = degree_;
    double args[kMaxDegree];
    for (int j = 0; j <= d; ++j) {
        for (int r = 0; r < d; ++r) args[r] = r < d - j ? a : b;
        out[j] = blossom(span, args);
    }
}

void NurbsCurve::buildSegments() {
    const int n = numCVs();
    for (int span = degree_ - 1; span <= n - 2; ++span) {
        const double a = knots_[static_cast<size_t>(span)];
        const double b = knots_[static_cast<size_t>(span + 1)];
        if (b > a) addSegment(span, a, b, 0);
    }
    segments_.back().t1 = knots_[static_cast<size_t>(n - 1)];
    nodes_.reserve(2 * segments_.size());
    buildTree(0, static_cast<int>(segments_.size()));
}

void NurbsCurve::addSegment(int span, double a, double b, int depth) {
    const int d = degree_;
    Vec3 bez[kMaxDegree + 1];
    bezierPoints(span, a, b, bez);
    if (depth < kMaxSplitDepth && d > 1) {
        double turning = 0.0;
        Vec3 prev{};
        for (int j = 0; j < d; ++j) {
            const Vec3 leg = bez[j + 1] - bez[j];
            if (lengthSquared(leg) == 0.0) continue;
            if (lengthSquared(prev) > 0.0) turning += angleBetween(prev, leg);
            prev = leg;
        }
        if (turning > kMaxTurning) {
            const double mid = 0.5 * (a + b);
            addSegment(span, a, mid, depth + 1);
            addSegment(span, mid, b, depth + 1);
            return;
        }
    }
    segments_.push_back({a, b});
    const size_t first = coeffs_.size();
    for (int k = 0; k <= d; ++k) {
        Vec3 c{};
        for (int j = 0; j <= k; ++j) c += bez[j] * (((k - j) % 2 ? -1.0 : 1.0) * binomial(k, j));
        coeffs_.push_back(c * binomial(d, k));
    }
    for (int j = 0; j <= kPieces; ++j) {
        Sample sample;
        evalPoint2(&coeffs_[first], d, static_cast<double>(j) / kPieces, sample.point, sample.d1, sample.d2);
        samples_.push_back(sample);
    }
    for (int j = 0; j < kPieces; ++j) {
        Vec3 sub[kMaxDegree + 1];
        bezierPoints(span, a + (b - a) * j / kPieces, j + 1 == kPieces ? b : a + (b - a) * (j + 1) / kPieces, sub);
        Vec3 lo = sub[0], hi = sub[0];
        for (int i = 1; i <= d; ++i) growBox(lo, hi, sub[i]);
        Piece piece{(lo + hi) * 0.5, 0.0};
        for (int i = 0; i <= d; ++i) piece.radius = std::max(piece.radius, distance(sub[i], piece.center));
        piece.radius *= 1.0 + 1e-12;  // cover rounding of the hull and of later evaluations
        pieces_.push_back(piece);
    }
    Vec3 lo = bez[0], hi = bez[0];
    for (int j = 1; j <= d; ++j) growBox(lo, hi, bez[j]);
    boxes_.push_back({(lo + hi) * 0.5, (hi - lo) * 0.5});
}

// Bounding-box tree over runs of at most kLeafSize segments, split in parameter order (the curve is
// continuous, so neighbouring segments are near each other). Returns the node index.
int NurbsCurve::buildTree(int first, int last) {
    const int index = static_cast<int>(nodes_.size());
    nodes_.push_back({});
    Vec3 lo = boxes_[static_cast<size_t>(first)].center, hi = lo;
    for (int i = first; i < last; ++i) {
        const Box& b = boxes_[static_cast<size_t>(i)];
        growBox(lo, hi, b.center - b.half);
        growBox(lo, hi, b.center + b.half);
    }
    const Box box{(lo + hi) * 0.5, (hi - lo) * 0.5};
    if (last - first <= kLeafSize) {
        nodes_[static_cast<size_t>(index)] = {box, first, last - first, -1};
        return index;
    }
    const int mid = first + (last - first) / 2;
    const int left = buildTree(first, mid);
    const int right = buildTree(mid, last);
    nodes_[static_cast<size_t>(index)] = {box, left, 0, right};
    return index;
}

void NurbsCurve::classifyForm() {
    const int n = numCVs();
    const int d = degree_;
    const double tol = std::max(1e-12, 1e-9 * size_);
    bool periodic = true;
    for (int i = 0; i < d && periodic; ++i) {
        periodic = distance(cvs_[static_cast<size_t>(n - d + i)], cvs_[static_cast<size_t>(i)]) <= tol;
    }
    const int shift = n - d;
    const double period = knots_[static_cast<size_t>(n - 1)] - knots_[static_cast<size_t>(d - 1)];
    for (int i = 0; i + shift < numKnots() && periodic; ++i) {
        const double step = knots_[static_cast<size_t>(i + shift)] - knots_[static_cast<size_t>(i)];
        periodic = std::fabs(step - period) <= 1e-9 * period;
    }
    if (periodic) {
        form_ = kPeriodic;
        return;
    }
    double start = 0.0, end = 0.0;
    knotDomain(start, end);
    form_ = distance(pointAt(start), pointAt(end)) <= tol ? kClosed : kOpen;
}

bool NurbsCurve::getCV(int index, Vec3& out) const {
    if (index < 0 || index >= numCVs()) return false;
    out = cvs_[static_cast<size_t>(index)];
    return true;
}

bool NurbsCurve::knotDomain(double& start, double& end) const {
    if (!valid_) return false;
    start = knots_[static_cast<size_t>(degree_ - 1)];
    end = knots_[static_cast<size_t>(numCVs() - 1)];
    return true;
}

// Segment holding t (clamped into the domain) and the local parameter s in [0, 1].
int NurbsCurve::segmentAt(double t, double& s) const {
    const double start = segments_.front().t0;
    const double end = segments_.back().t1;
    if (!(t > start)) t = start;  // also catches NaN
    if (t > end) t = end;
    auto it = std::upper_bound(segments_.begin(), segments_.end(), t,
                               [](double v, const Segment& seg) { return v < seg.t0; });
    const int seg = static_cast<int>(it - segments_.begin()) - 1;
    const Segment& sg = segments_[static_cast<size_t>(seg)];
    s = std::clamp((t - sg.t0) / (sg.t1 - sg.t0), 0.0, 1.0);
    return seg;
}

// order-th derivative in the local parameter s.
Vec3 NurbsCurve::segmentDerivative(int seg, double s, int order) const {
    const int d = degree_;
    if (order > d) return {};
    const Vec3* a = coeffs(seg);
    Vec3 r{};
    for (int k = d; k >= order; --k) {
        double f = 1.0;
        for (int i = 0; i < order; ++i) f *= k - i;
        r = r * s + a[k] * f;
    }
    return r;
}

Vec3 NurbsCurve::pointAt(double t) const {
    Vec3 p;
    evaluate(t, &p, nullptr, nullptr);
    return p;
}

Vec3 NurbsCurve::derivative(double t, int order) const {
    if (!valid_ || order < 0) return {};
    double s = 0.0;
    const int seg = segmentAt(t, s);
    const Segment& sg = segments_[static_cast<size_t>(seg)];
    return segmentDerivative(seg, s, order) / std::pow(sg.t1 - sg.t0, order);
}

void NurbsCurve::evaluate(double t, Vec3* point, Vec3* d1, Vec3* d2) const {
    Vec3 c, c1, c2;
    if (valid_) {
        double s = 0.0;
        const int seg = segmentAt(t, s);
        const Segment& sg = segments_[static_cast<size_t>(seg)];
        const double h = sg.t1 - sg.t0;
        evalPoint2(coeffs(seg), degree_, s, c, c1, c2);
        c1 /= h;
        c2 /= h * h;
    }
    if (point) *point = c;
    if (d1) *d1 = c1;
    if (d2) *d2 = c2;
}

// Direction of motion at (seg, s): the first derivative of order >= 1 that does not vanish, signed as the
// limit of the velocity from above (from below when fromBelow). A stationary segment hands over to the
// nearest moving one, updating seg, s and fromBelow. False when the whole curve is a point.
bool NurbsCurve::directionAt(int& seg, double& s, bool& fromBelow, Vec3& dir, int& order) const {
    const double eps = 1e-12 * size_;
    if (!(size_ > 0.0)) return false;
    auto tryAt = [&](int sgIndex, double sv, bool below) {
        for (int k = 1; k <= degree_; ++k) {
            const Vec3 dk = segmentDerivative(sgIndex, sv, k);
            if (length(dk) > eps) {
                dir = normalized(dk) * (below && k % 2 == 0 ? -1.0 : 1.0);
                order = k;
                return true;
            }
        }
        return false;
    };
    if (tryAt(seg, s, fromBelow)) return true;
    const int count = static_cast<int>(segments_.size());
    for (int i = seg + 1; i < count; ++i) {
        if (tryAt(i, 0.0, false)) {
            seg = i, s = 0.0, fromBelow = false;
            return true;
        }
    }
    for (int i = seg - 1; i >= 0; --i) {
        if (tryAt(i, 1.0, true)) {
            seg = i, s = 1.0, fromBelow = true;
            return true;
        }
    }
    return false;
}

Vec3 NurbsCurve::tangent(double t) const {
    if (!valid_) return {};
    double s = 0.0;
    int seg = segmentAt(t, s);
    bool fromBelow = seg + 1 == static_cast<int>(segments_.size()) && s == 1.0;
    Vec3 dir;
    int order = 0;
    return directionAt(seg, s, fromBelow, dir, order) ? dir : Vec3{};
}

Vec3 NurbsCurve::normal(double t) const {
    if (!valid_) return {};
    double s = 0.0;
    int seg = segmentAt(t, s);
    bool fromBelow = seg + 1 == static_cast<int>(segments_.size()) && s == 1.0;
    Vec3 tan;
    int order = 0;
    if (!directionAt(seg, s, fromBelow, tan, order)) return {};
    const double eps = 1e-12 * size_;
    for (int k = order + 1; k <= degree_; ++k) {
        const Vec3 dk = segmentDerivative(seg, s, k);
        const Vec3 perp = dk - tan * dot(dk, tan);
        const double len = length(perp);
        if (len > eps && len > 1e-9 * length(dk)) return perp / len;
    }
    // Straight here: perpendicular to the tangent, towards the axis least aligned with it.
    int axis = 0;
    for (int i = 1; i < 3; ++i) {
        if (std::fabs(tan[i]) < std::fabs(tan[axis])) axis = i;
    }
    const Vec3 e{axis == 0 ? 1.0 : 0.0, axis == 1 ? 1.0 : 0.0, axis == 2 ? 1.0 : 0.0};
    return normalized(e - tan * tan[axis]);
}

// Root in [0, 1] of the cubic Hermite interpolant of g over one sample interval of width w (in s), g and
// g' being known at both samples: a start for Newton that is usually good to 1e-4 or better.
double NurbsCurve::hermiteRoot(const Sample& a, const Sample& b, const Vec3& p, double g0, double g1, double w) {
    const double m0 = w * (lengthSquared(a.d1) + dot(a.point - p, a.d2));
    const double m1 = w * (lengthSquared(b.d1) + dot(b.point - p, b.d2));
    const double c2 = 3.0 * (g1 - g0) - 2.0 * m0 - m1;
    const double c3 = 2.0 * (g0 - g1) + m0 + m1;
    double u = g0 / (g0 - g1);
    for (int it = 0; it < 3; ++it) {
        const double h = ((c3 * u + c2) * u + m0) * u + g0;
        const double dh = (3.0 * c3 * u + 2.0 * c2) * u + m0;
        const double next = u - h / dh;
        if (!(next > 0.0 && next < 1.0)) break;
        u = next;
    }
    return u;
}

// Closest point within one segment. Candidates are the two ends and every minimum of the squared distance
// bracketed by the precomputed samples (g(s) = (C - p).C' going from negative to positive), each refined
// by Newton on g with bisection as the safeguard; intervals whose ball cannot beat the best are skipped.
// Refined roots, not the best sampled value, decide the parameter: the squared distance is flat at a
// minimum, so comparing values alone would only fix it to about 1e-8.
template <int D>
void NurbsCurve::searchSegment(int seg, const Vec3& p, double& bestSq, int& bestSeg, double& bestS) const {
    const int d = degree_;
    const Vec3* a = coeffs(seg);
    const Sample* samples = &samples_[static_cast<size_t>(seg) * (kPieces + 1)];
    const Piece* pieces = &pieces_[static_cast<size_t>(seg) * kPieces];
    double bestDist = std::sqrt(bestSq);
    auto consider = [&](double s, double f) {
        if (f < bestSq) {
            bestSq = f;
            bestDist = std::sqrt(f);
            bestSeg = seg;
            bestS = s;
        }
    };
    double fs[kPieces + 1];
    double gs[kPieces + 1];
    for (int j = 0; j <= kPieces; ++j) {
        const Vec3 diff = samples[j].point - p;
        fs[j] = lengthSquared(diff);
        gs[j] = dot(diff, samples[j].d1);
    }
    const bool endNearer = fs[kPieces] < fs[0];
    consider(endNearer ? 1.0 : 0.0, endNearer ? fs[kPieces] : fs[0]);

    // Pieces worth refining, as bit masks built without branches (their outcome is unpredictable):
    // within reach of the best so far and holding a bracketed minimum, or (rarely) a sampled local
    // minimum with no bracket beside it, which hides a minimum/maximum pair between samples; that sample
    // is kept itself so the result is never worse than the sampling.
    unsigned brackets = 0;
    unsigned hidden = 0;
    for (int j = 0; j < kPieces; ++j) {
        const double limit = pieces[j].radius + bestDist;  // the ball is out of reach beyond this
        const bool reach = lengthSquared(p - pieces[j].center) < limit * limit;
        const bool bracket = (gs[j] < 0.0) & (gs[j + 1] > 0.0);
        brackets |= static_cast<unsigned>(reach & bracket) << j;
        if (j > 0) {
            const bool localMin = (fs[j] <= fs[j - 1]) & (fs[j] <= fs[j + 1]);
            const bool bracketBefore = (gs[j - 1] < 0.0) & (gs[j] > 0.0);
            hidden |= static_cast<unsigned>(reach & !bracket & localMin & !bracketBefore) << j;
        }
    }
    for (int j = 1; hidden != 0 && j < kPieces; ++j) {
        if (hidden & (1u << j)) consider(static_cast<double>(j) / kPieces, fs[j]);
    }
    for (int j = 0; brackets != 0; ++j, brackets >>= 1) {
        if (!(brackets & 1u)) continue;
        double lo = static_cast<double>(j) / kPieces;
        double hi = static_cast<double>(j + 1) / kPieces;
        double s = lo + (hi - lo) * hermiteRoot(samples[j], samples[j + 1], p, gs[j], gs[j + 1], hi - lo);
        double f = fs[j];
        for (int it = 0; it < 100; ++it) {
            Vec3 c, c1, c2;
            evalPoint2<D>(a, d, s, c, c1, c2);
            const Vec3 diff = c - p;
            const double g = dot(diff, c1);
            f = lengthSquared(diff);
            if (g == 0.0) break;
            (g < 0.0 ? lo : hi) = s;
            const double gp = dot(c1, c1) + dot(diff, c2);
            const double next = gp > 0.0 ? s - g / gp : lo - 1.0;
            if (next >= lo && next <= hi) {
                const double step = std::fabs(next - s);
                s = next;
                // Newton converges quadratically: after a step this small the error left in s is of the
                // order of step squared, about 1e-14. f is then off by O(g * step), negligible for
                // choosing the winner, whose point is recomputed at its final parameter.
                if (step <= 1e-7) break;
            } else {
                s = 0.5 * (lo + hi);
            }
            if (hi - lo <= 1e-15) break;
        }
        consider(s, f);
    }
}

// A run of segments: bound each by its box, then search them nearest first until none can do better.
void NurbsCurve::searchLeaf(const Node& leaf, const Vec3& p, double& bestSq, int& bestSeg, double& bestS) const {
    double bound[kLeafSize];
    const Box* boxes = &boxes_[static_cast<size_t>(leaf.first)];
    for (int i = 0; i < leaf.count; ++i) bound[i] = boxDistanceSq(p, boxes[i].center, boxes[i].half);
    for (;;) {
        int k = 0;
        for (int i = 1; i < leaf.count; ++i) k = bound[i] < bound[k] ? i : k;
        if (!(bound[k] < bestSq)) return;
        bound[k] = std::numeric_limits<double>::infinity();
        const int seg = leaf.first + k;
        switch (degree_) {
            case 1: searchSegment<1>(seg, p, bestSq, bestSeg, bestS); break;
            case 2: searchSegment<2>(seg, p, bestSq, bestSeg, bestS); break;
            case 3: searchSegment<3>(seg, p, bestSq, bestSeg, bestS); break;
            default: searchSegment<0>(seg, p, bestSq, bestSeg, bestS); break;
        }
    }
}

CurveClosestPoint NurbsCurve::closestPoint(const Vec3& p, double /*tolerance*/) const {
    CurveClosestPoint result;
    if (!valid_ || !isFinite(p)) return result;

    double bestSq = std::numeric_limits<double>::infinity();
    int bestSeg = -1;
    double bestS = 0.0;

    // Depth-first over the box tree, nearer child first, pruning boxes that cannot beat the best so far.
    struct Item {
        int node;
        double bound;
    };
    Item stack[kMaxTreeDepth + 2];
    int top = 0;
    stack[top++] = {0, boxDistanceSq(p, nodes_[0].box.center, nodes_[0].box.half)};
    while (top > 0) {
        const Item item = stack[--top];
        if (item.bound >= bestSq) continue;
        const Node& node = nodes_[static_cast<size_t>(item.node)];
        if (node.count > 0) {
            searchLeaf(node, p, bestSq, bestSeg, bestS);
            continue;
        }
        const Box& l = nodes_[static_cast<size_t>(node.first)].box;
        const Box& r = nodes_[static_cast<size_t>(node.second)].box;
        Item near{node.first, boxDistanceSq(p, l.center, l.half)};
        Item far{node.second, boxDistanceSq(p, r.center, r.half)};
        if (far.bound < near.bound) std::swap(near, far);
        if (far.bound < bestSq) stack[top++] = far;
        if (near.bound < bestSq) stack[top++] = near;
    }

    if (bestSeg < 0) {  // only when every distance overflowed
        bestSeg = 0;
        bestS = 0.0;
    }
    const Segment& sg = segments_[static_cast<size_t>(bestSeg)];
    Vec3 c, c1;
    evalPoint1(coeffs(bestSeg), degree_, bestS, c, c1);
    result.found = true;
    result.point = c;
    result.param = sg.t0 * (1.0 - bestS) + sg.t1 * bestS;  // exactly t0 or t1 at the segment ends
    result.distance = distance(c, p);
    return result;
}

}  // namespace host::geom
