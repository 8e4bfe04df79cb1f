#include "geometry/NurbsSurface.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace host::geom {

namespace {

constexpr int kMaxOrder = NurbsSurface::kMaxDegree + 1;
constexpr int kMaxAreaDepth = 10;       // cells of 1/1024 of a knot span at the finest
constexpr int kMaxAreaSplits = 20000;   // bounds the work of one area call (about 3 million evaluations)
constexpr double kNormalStep = 1e-6;  // fraction of the domain stepped inside at degenerate points

// 5-point Gauss-Legendre on [-1, 1].
constexpr double kGaussNodes[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640,
                                   0.9061798459386640};
constexpr double kGaussWeights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665,
                                     0.2369268850561891, 0.2369268850561891};
// 3-point Gauss-Legendre, for the error estimate.
constexpr double kGauss3Nodes[3] = {0.0, -0.7745966692414834, 0.7745966692414834};
constexpr double kGauss3Weights[3] = {0.8888888888888889, 0.5555555555555556, 0.5555555555555556};

inline void growBox(Vec3& lo, Vec3& hi, const Vec3& p) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
}

}  // namespace

NurbsSurface::NurbsSurface(int degreeU, int degreeV, int numCVsU, int numCVsV, std::vector<Vec3> cvs,
                           std::vector<double> knotsU, std::vector<double> knotsV)
    : degree_{degreeU, degreeV}, count_{numCVsU, numCVsV}, cvs_(std::move(cvs)),
      knots_{std::move(knotsU), std::move(knotsV)} {
    if (!validate()) return;
    valid_ = true;
    error_.clear();
    Vec3 lo = cvs_[0], hi = cvs_[0];
    for (const Vec3& p : cvs_) growBox(lo, hi, p);
    size_ = length(hi - lo);
    classifyForms();
}

void NurbsSurface::fail(const char* why) {
    valid_ = false;
    error_ = why;
    form_[0] = form_[1] = kInvalid;
}

bool NurbsSurface::validateDirection(int dir) {
    const int d = degree_[dir];
    const int n = count_[dir];
    const std::vector<double>& k = knots_[dir];
    if (d < 1 || d > kMaxDegree) { fail("degree must be 1 to 7"); return false; }
    if (n < d + 1) { fail("a direction of degree d needs at least d + 1 CVs"); return false; }
    if (static_cast<int>(k.size()) != n + d - 1) { fail("knot count must be numCVs + degree - 1"); return false; }
    int multiplicity = 1;
    for (size_t i = 0; i < k.size(); ++i) {
        if (!std::isfinite(k[i])) { fail("knot is not finite"); return false; }
        if (i == 0) continue;
        if (k[i] < k[i - 1]) { fail("knots must not decrease"); return false; }
        multiplicity = k[i] == k[i - 1] ? multiplicity + 1 : 1;
        if (multiplicity > d) { fail("knot multiplicity exceeds the degree"); return false; }
    }
    if (!(k[static_cast<size_t>(n - 1)] > k[static_cast<size_t>(d - 1)])) { fail("empty knot domain"); return false; }
    return true;
}

bool NurbsSurface::validate() {
    if (!validateDirection(0) || !validateDirection(1)) return false;
    if (static_cast<size_t>(count_[0]) * static_cast<size_t>(count_[1]) != cvs_.size()) {
        fail("CV count must be numCVsInU * numCVsInV");
        return false;
    }
    for (const Vec3& p : cvs_) {
        if (!isFinite(p)) { fail("CV is not finite"); return false; }
    }
    return true;
}

void NurbsSurface::classifyForms() {
    form_[0] = classify(0);
    form_[1] = classify(1);
}

NurbsSurface::Form NurbsSurface::classify(int dir) const {
    const int d = degree_[dir];
    const int n = count_[dir];
    const int other = count_[1 - dir];
    const double tol = std::max(1e-12, 1e-9 * size_);
    auto cv = [&](int along, int across) {
        const int i = dir == 0 ? along : across;
        const int j = dir == 0 ? across : along;
        return cvs_[static_cast<size_t>(i) * static_cast<size_t>(count_[1]) + static_cast<size_t>(j)];
    };
    bool periodic = true;
    for (int a = 0; a < d && periodic; ++a) {
        for (int b = 0; b < other && periodic; ++b) periodic = distance(cv(n - d + a, b), cv(a, b)) <= tol;
    }
    const std::vector<double>& k = knots_[dir];
    const int shift = n - d;
    const double period = k[static_cast<size_t>(n - 1)] - k[static_cast<size_t>(d - 1)];
    for (size_t i = 0; i + static_cast<size_t>(shift) < k.size() && periodic; ++i) {
        const double step = k[i + static_cast<size_t>(shift)] - k[i];
        periodic = std::fabs(step - period) <= 1e-9 * period;
    }
    if (periodic) return kPeriodic;

    // Closed: the boundary curves at the start and the end of this direction coincide. Compare them at
    // the knots and mid-spans of the other direction.
    double domain[4];
    knotDomain(domain[0], domain[1], domain[2], domain[3]);
    const double start = domain[2 * dir], end = domain[2 * dir + 1];
    const std::vector<double>& across = knots_[1 - dir];
    const int dAcross = degree_[1 - dir];
    for (int s = dAcross - 1; s < other; ++s) {
        const double a = across[static_cast<size_t>(s)];
        const double b = s + 1 < other ? across[static_cast<size_t>(s + 1)] : a;
        for (const double t : {a, 0.5 * (a + b)}) {
            const Vec3 p = dir == 0 ? pointAt(start, t) : pointAt(t, start);
            const Vec3 q = dir == 0 ? pointAt(end, t) : pointAt(t, end);
            if (distance(p, q) > tol) return kOpen;
        }
    }
    return kClosed;
}

bool NurbsSurface::getCV(int i, int j, Vec3& out) const {
    if (i < 0 || j < 0 || i >= count_[0] || j >= count_[1]) return false;
    out = cvs_[static_cast<size_t>(i) * static_cast<size_t>(count_[1]) + static_cast<size_t>(j)];
    return true;
}

bool NurbsSurface::knotDomain(double& startU, double& endU, double& startV, double& endV) const {
    if (!valid_) return false;
    startU = knots_[0][static_cast<size_t>(degree_[0] - 1)];
    endU = knots_[0][static_cast<size_t>(count_[0] - 1)];
    startV = knots_[1][static_cast<size_t>(degree_[1] - 1)];
    endV = knots_[1][static_cast<size_t>(count_[1] - 1)];
    return true;
}

// Clamps t into the direction's domain and returns the (Maya) knot index k of the non-empty span
// [knot[k], knot[k+1]) holding it; the domain end belongs to the last non-empty span.
int NurbsSurface::findSpan(int dir, double& t) const {
    const std::vector<double>& k = knots_[dir];
    const int d = degree_[dir];
    const int n = count_[dir];
    const double start = k[static_cast<size_t>(d - 1)];
    const double end = k[static_cast<size_t>(n - 1)];
    if (!(t > start)) t = start;  // also catches NaN
    if (t >= end) {
        t = end;
        int span = n - 2;
        while (k[static_cast<size_t>(span)] == end) --span;
        return span;
    }
    const auto first = k.begin() + (d - 1);
    const auto last = k.begin() + n;
    return static_cast<int>(std::upper_bound(first, last, t) - k.begin()) - 1;
}

// The d + 1 basis functions that do not vanish on span k, and their first derivatives (dn may be null).
// They weigh CVs k + 1 - d .. k + 1. Only knots k + 1 - d .. k + d are read, which is why Maya's
// convention can leave out the two outer knots of the textbook vector.
void NurbsSurface::basis(int dir, int k, double t, double* n, double* dn) const {
    const std::vector<double>& K = knots_[dir];
    const int d = degree_[dir];
    double ndu[kMaxOrder][kMaxOrder];
    double left[kMaxOrder];
    double right[kMaxOrder];
    ndu[0][0] = 1.0;
    for (int j = 1; j <= d; ++j) {
        left[j] = t - K[static_cast<size_t>(k + 1 - j)];
        right[j] = K[static_cast<size_t>(k + j)] - t;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            ndu[j][r] = right[r + 1] + left[j - r];  // knot difference, positive on a non-empty span
            const double temp = ndu[r][j - 1] / ndu[j][r];
            ndu[r][j] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        ndu[j][j] = saved;
    }
    for (int r = 0; r <= d; ++r) n[r] = ndu[r][d];
    if (!dn) return;
    for (int r = 0; r <= d; ++r) {
        double value = 0.0;
        if (r >= 1) value += ndu[r - 1][d - 1] / ndu[d][r - 1];
        if (r <= d - 1) value -= ndu[r][d - 1] / ndu[d][r];
        dn[r] = d * value;
    }
}

void NurbsSurface::evaluate(double u, double v, Vec3* point, Vec3* du, Vec3* dv) const {
    Vec3 s, su, sv;
    if (valid_) {
        const int ku = findSpan(0, u);
        const int kv = findSpan(1, v);
        double nu[kMaxOrder], dnu[kMaxOrder], nv[kMaxOrder], dnv[kMaxOrder];
        basis(0, ku, u, nu, dnu);
        basis(1, kv, v, nv, dnv);
        const int pu = degree_[0], pv = degree_[1];
        const size_t stride = static_cast<size_t>(count_[1]);
        for (int a = 0; a <= pu; ++a) {
            const Vec3* row = &cvs_[static_cast<size_t>(ku + 1 - pu + a) * stride + static_cast<size_t>(kv + 1 - pv)];
            Vec3 along, alongDv;
            for (int b = 0; b <= pv; ++b) {
                along += row[b] * nv[b];
                alongDv += row[b] * dnv[b];
            }
            s += along * nu[a];
            su += along * dnu[a];
            sv += alongDv * nu[a];
        }
    }
    if (point) *point = s;
    if (du) *du = su;
    if (dv) *dv = sv;
}

Vec3 NurbsSurface::pointAt(double u, double v) const {
    Vec3 p;
    evaluate(u, v, &p, nullptr, nullptr);
    return p;
}

Vec3 NurbsSurface::normal(double u, double v) const {
    if (!valid_) return {};
    Vec3 su, sv;
    evaluate(u, v, nullptr, &su, &sv);
    const Vec3 n = cross(su, sv);
    const double len = length(n);
    if (len > 1e-12 * size_ * size_ && len > 1e-10 * length(su) * length(sv)) return n / len;

    // Degenerate here: step inside the domain towards its centre (straight into it where the point is the
    // centre itself), in the directions where that moves at all.
    double u0, u1, v0, v1;
    knotDomain(u0, u1, v0, v1);
    if (std::isnan(u)) u = u0;
    if (std::isnan(v)) v = v0;
    u = std::clamp(u, u0, u1);
    v = std::clamp(v, v0, v1);
    const double cu = 0.5 * (u0 + u1), cv = 0.5 * (v0 + v1);
    const double stepU = kNormalStep * (u1 - u0), stepV = kNormalStep * (v1 - v0);
    const double towardsU = u < cu ? stepU : (u > cu ? -stepU : stepU);
    const double towardsV = v < cv ? stepV : (v > cv ? -stepV : stepV);
    for (const auto& step : {std::pair{towardsU, towardsV}, std::pair{towardsU, 0.0}, std::pair{0.0, towardsV},
                             std::pair{-towardsU, towardsV}, std::pair{towardsU, -towardsV}}) {
        evaluate(u + step.first, v + step.second, nullptr, &su, &sv);
        const Vec3 m = cross(su, sv);
        const double mlen = length(m);
        if (mlen > 0.0 && mlen > 1e-10 * length(su) * length(sv)) return m / mlen;
    }
    return {};
}

// |Su x Sv| over one rectangle of the parameter plane by the 5 x 5 Gauss rule, with the difference from
// the 3 x 3 rule as the estimate of its error (an overestimate: it is about the error of the 3 x 3 rule).
NurbsSurface::AreaCell NurbsSurface::areaCell(double u0, double u1, double v0, double v1, int depth) const {
    const double hu = 0.5 * (u1 - u0), mu = 0.5 * (u0 + u1);
    const double hv = 0.5 * (v1 - v0), mv = 0.5 * (v0 + v1);
    auto rule = [&](const double* nodes, const double* weights, int count) {
        double sum = 0.0;
        for (int a = 0; a < count; ++a) {
            double row = 0.0;
            for (int b = 0; b < count; ++b) {
                Vec3 su, sv;
                evaluate(mu + hu * nodes[a], mv + hv * nodes[b], nullptr, &su, &sv);
                row += weights[b] * length(cross(su, sv));
            }
            sum += weights[a] * row;
        }
        return sum * hu * hv;
    };
    const double fine = rule(kGaussNodes, kGaussWeights, 5);
    const double coarse = rule(kGauss3Nodes, kGauss3Weights, 3);
    return {u0, u1, v0, v1, fine, std::fabs(fine - coarse), depth};
}

// Globally adaptive: the cell with the largest error estimate is split into quarters until the estimates
// add up to no more than the tolerance (or the cells reach the depth limit, or the split budget is spent).
double NurbsSurface::area(double tolerance) const {
    if (!valid_) return 0.0;
    if (!(tolerance > 0.0) || !std::isfinite(tolerance)) tolerance = 1e-3;
    const std::vector<double> us = gridLines(0, 1);
    const std::vector<double> vs = gridLines(1, 1);
    auto smaller = [](const AreaCell& a, const AreaCell& b) { return a.error < b.error; };
    std::vector<AreaCell> cells;
    double errorSum = 0.0;
    for (size_t a = 0; a + 1 < us.size(); ++a) {
        for (size_t b = 0; b + 1 < vs.size(); ++b) {
            cells.push_back(areaCell(us[a], us[a + 1], vs[b], vs[b + 1], 0));
            errorSum += cells.back().error;
        }
    }
    std::make_heap(cells.begin(), cells.end(), smaller);
    double settled = 0.0;  // cells at the depth limit
    for (int splits = 0; errorSum > tolerance && !cells.empty() && splits < kMaxAreaSplits; ++splits) {
        std::pop_heap(cells.begin(), cells.end(), smaller);
        const AreaCell c = cells.back();
        cells.pop_back();
        if (c.depth >= kMaxAreaDepth) {
            settled += c.value;
            errorSum -= c.error;
            continue;
        }
        errorSum -= c.error;
        const double um = 0.5 * (c.u0 + c.u1), vm = 0.5 * (c.v0 + c.v1);
        for (const AreaCell& q : {areaCell(c.u0, um, c.v0, vm, c.depth + 1), areaCell(um, c.u1, c.v0, vm, c.depth + 1),
                                  areaCell(c.u0, um, vm, c.v1, c.depth + 1), areaCell(um, c.u1, vm, c.v1, c.depth + 1)}) {
            cells.push_back(q);
            std::push_heap(cells.begin(), cells.end(), smaller);
            errorSum += q.error;
        }
    }
    double total = settled;
    for (const AreaCell& c : cells) total += c.value;
    return total;
}

// Parameter lines of the tessellation grid in one direction: the distinct knots of the domain with each
// span cut into `steps` equal parts; the first and last are exactly the domain ends.
std::vector<double> NurbsSurface::gridLines(int dir, int steps) const {
    steps = std::max(1, steps);
    const std::vector<double>& k = knots_[dir];
    const int d = degree_[dir];
    const int n = count_[dir];
    std::vector<double> lines{k[static_cast<size_t>(d - 1)]};
    for (int i = d - 1; i < n - 1; ++i) {
        const double a = k[static_cast<size_t>(i)], b = k[static_cast<size_t>(i + 1)];
        if (!(b > a)) continue;
        for (int s = 1; s < steps; ++s) lines.push_back(a + (b - a) * s / steps);
        lines.push_back(b);
    }
    return lines;
}

std::vector<SurfaceTriangle> NurbsSurface::tessellate(int stepsU, int stepsV) const {
    std::vector<SurfaceTriangle> triangles;
    if (!valid_) return triangles;
    const std::vector<double> us = gridLines(0, stepsU);
    const std::vector<double> vs = gridLines(1, stepsV);
    std::vector<SurfaceCorner> grid;  // U-major, like the CVs
    grid.reserve(us.size() * vs.size());
    for (const double u : us) {
        for (const double v : vs) grid.push_back({pointAt(u, v), u, v});
    }
    const size_t nv = vs.size();
    triangles.reserve(2 * (us.size() - 1) * (nv - 1));
    for (size_t a = 0; a + 1 < us.size(); ++a) {
        for (size_t b = 0; b + 1 < nv; ++b) {
            const SurfaceCorner& c00 = grid[a * nv + b];
            const SurfaceCorner& c10 = grid[(a + 1) * nv + b];
            const SurfaceCorner& c11 = grid[(a + 1) * nv + b + 1];
            const SurfaceCorner& c01 = grid[a * nv + b + 1];
            triangles.push_back({{c00, c10, c11}});
            triangles.push_back({{c00, c11, c01}});
        }
    }
    return triangles;
}

std::vector<SurfaceTriangle> NurbsSurface::tessellate() const {
    return tessellate(degree_[0] == 1 ? 1 : 4, degree_[1] == 1 ? 1 : 4);
}

}  // namespace host::geom
