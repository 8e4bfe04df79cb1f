#include "geometry/NurbsSurfacePrimitives.h"

#include "geometry/NurbsCurve.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace host::geom {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Maya's clamped uniform knots for `spans` spans: d zeros, 1 .. spans - 1, d times spans.
std::vector<double> clampedKnots(int degree, int spans) {
    std::vector<double> knots;
    for (int i = 0; i < degree; ++i) knots.push_back(0.0);
    for (int i = 1; i < spans; ++i) knots.push_back(i);
    for (int i = 0; i < degree; ++i) knots.push_back(spans);
    return knots;
}

// Knot averages: the parameter each CV belongs to (linear functions are reproduced by CVs placed there).
std::vector<double> grevillePoints(const std::vector<double>& knots, int degree, int count) {
    std::vector<double> sites;
    for (int i = 0; i < count; ++i) {
        double sum = 0.0;
        for (int k = i; k < i + degree; ++k) sum += knots[static_cast<size_t>(k)];
        sites.push_back(sum / degree);
    }
    return sites;
}

// Solves A x = b (n x n, row-major) by Gaussian elimination with partial pivoting; b becomes x.
// False when A is singular.
bool solve(std::vector<double> a, std::vector<Vec3>& b) {
    const size_t n = b.size();
    for (size_t col = 0; col < n; ++col) {
        size_t pivot = col;
        for (size_t r = col + 1; r < n; ++r) {
            if (std::fabs(a[r * n + col]) > std::fabs(a[pivot * n + col])) pivot = r;
        }
        if (!(std::fabs(a[pivot * n + col]) > 1e-14)) return false;
        if (pivot != col) {
            for (size_t c = 0; c < n; ++c) std::swap(a[col * n + c], a[pivot * n + c]);
            std::swap(b[col], b[pivot]);
        }
        for (size_t r = col + 1; r < n; ++r) {
            const double f = a[r * n + col] / a[col * n + col];
            if (f == 0.0) continue;
            for (size_t c = col; c < n; ++c) a[r * n + c] -= f * a[col * n + c];
            b[r] -= b[col] * f;
        }
    }
    for (size_t i = n; i-- > 0;) {
        for (size_t c = i + 1; c < n; ++c) b[i] -= b[c] * a[i * n + c];
        b[i] /= a[i * n + i];
    }
    return true;
}

// CVs of the clamped curve of the given knots that passes through targets[j] at the j-th Greville site.
// With degree >= 2 and at least 4 CVs, the sites next to the ends give way to the end derivatives
// (startSlope, endSlope), so the curve leaves and reaches its ends in the given directions.
bool interpolateAtGreville(int degree, const std::vector<double>& knots, const std::vector<Vec3>& targets,
                           const Vec3& startSlope, const Vec3& endSlope, std::vector<Vec3>& cvs) {
    const int n = static_cast<int>(targets.size());
    const size_t un = static_cast<size_t>(n);
    const std::vector<double> sites = grevillePoints(knots, degree, n);
    std::vector<double> matrix(un * un, 0.0);
    for (int i = 0; i < n; ++i) {  // column i: basis function i, from the curve whose only CV is e_x at i
        std::vector<Vec3> unit(un);
        unit[static_cast<size_t>(i)] = {1.0, 0.0, 0.0};
        const NurbsCurve basis(degree, std::move(unit), knots);
        for (int j = 0; j < n; ++j) matrix[static_cast<size_t>(j * n + i)] = basis.pointAt(sites[static_cast<size_t>(j)]).x;
    }
    cvs = targets;
    if (degree >= 2 && n >= 4) {
        // C'(start) = d (P1 - P0) / (knot[d] - knot[0]); C'(end) = d (P[n-1] - P[n-2]) / (last knot - knot[n-2]).
        const size_t last = knots.size() - 1;
        std::fill(matrix.begin() + static_cast<long>(un), matrix.begin() + static_cast<long>(2 * un), 0.0);
        matrix[un] = -1.0;
        matrix[un + 1] = 1.0;
        cvs[1] = startSlope * ((knots[static_cast<size_t>(degree)] - knots[0]) / degree);
        const size_t row = un - 2;
        std::fill(matrix.begin() + static_cast<long>(row * un), matrix.begin() + static_cast<long>((row + 1) * un), 0.0);
        matrix[row * un + un - 2] = -1.0;
        matrix[row * un + un - 1] = 1.0;
        cvs[row] = endSlope * ((knots[last] - knots[un - 2]) / degree);
    }
    return solve(std::move(matrix), cvs);
}

NurbsSurface invalid() {
    return NurbsSurface(0, 0, 0, 0, {}, {}, {});
}

}  // namespace

bool primitiveFrame(const Vec3& axis, Vec3& a, Vec3& e1, Vec3& e2) {
    if (!isFinite(axis) || !(length(axis) > 0.0)) return false;
    a = normalized(axis);
    int least = 0;
    for (int i = 1; i < 3; ++i) {
        if (std::fabs(a[i]) < std::fabs(a[least])) least = i;
    }
    const Vec3 e{least == 0 ? 1.0 : 0.0, least == 1 ? 1.0 : 0.0, least == 2 ? 1.0 : 0.0};
    e1 = normalized(e - a * a[least]);
    e2 = cross(a, e1);
    return true;
}

NurbsSurface makePlane(double width, double lengthRatio, int patchesU, int patchesV, int degree, const Vec3& axis) {
    Vec3 a, e1, e2;
    if (!primitiveFrame(axis, a, e1, e2) || !std::isfinite(width) || !std::isfinite(lengthRatio) ||
        patchesU < 1 || patchesV < 1 || degree < 1 || degree > NurbsSurface::kMaxDegree) {
        return invalid();
    }
    const int nu = patchesU + degree, nv = patchesV + degree;
    std::vector<double> knotsU = clampedKnots(degree, patchesU);
    std::vector<double> knotsV = clampedKnots(degree, patchesV);
    const std::vector<double> su = grevillePoints(knotsU, degree, nu);
    const std::vector<double> sv = grevillePoints(knotsV, degree, nv);
    const double lengthV = width * lengthRatio;
    std::vector<Vec3> cvs;
    cvs.reserve(static_cast<size_t>(nu) * static_cast<size_t>(nv));
    for (const double u : su) {
        for (const double v : sv) {
            cvs.push_back(e1 * ((u / patchesU - 0.5) * width) + e2 * ((v / patchesV - 0.5) * lengthV));
        }
    }
    return NurbsSurface(degree, degree, nu, nv, std::move(cvs), std::move(knotsU), std::move(knotsV));
}

NurbsSurface makeSphere(double radius, int sections, int spans, int degree, const Vec3& axis) {
    Vec3 a, e1, e2;
    if (!primitiveFrame(axis, a, e1, e2) || !std::isfinite(radius) || spans < 1 || degree < 1 ||
        degree > NurbsSurface::kMaxDegree || sections < std::max(3, degree)) {
        return invalid();
    }
    // Around: a periodic ring of unit radius, rescaled and turned so that its knot points lie on the
    // unit circle, the one at v = 0 on e1.
    std::vector<Vec3> ringPoints;
    for (int k = 0; k < sections; ++k) {
        const double t = 2.0 * kPi * k / sections;
        ringPoints.push_back({std::cos(t), std::sin(t), 0.0});
    }
    const NurbsCurve ring = NurbsCurve::periodicUniform(degree, ringPoints);
    const Vec3 start = ring.pointAt(0.0);
    const double scale = 1.0 / length(start);
    const double turn = std::atan2(start.y, start.x);
    const Vec3 around = -e2;  // the ring turns from e1 towards -e2, so that Su x Sv points outwards
    std::vector<Vec3> ringCVs;
    for (const Vec3& p : ring.cvs()) {
        const double t = std::atan2(p.y, p.x) - turn;
        const double r = length(p) * scale;
        ringCVs.push_back(e1 * (r * std::cos(t)) + around * (r * std::sin(t)));
    }
    std::vector<double> knotsV = ring.knots();

    // Pole to pole: (distance from the axis, height) of the half circle, interpolated at the Greville
    // sites and leaving the poles level, so the normal there is the axis.
    std::vector<double> knotsU = clampedKnots(degree, spans);
    const int nu = spans + degree;
    std::vector<Vec3> targets;
    for (const double site : grevillePoints(knotsU, degree, nu)) {
        const double phi = kPi * site / spans;
        targets.push_back({std::sin(phi) * radius, -std::cos(phi) * radius, 0.0});
    }
    std::vector<Vec3> profile;
    const Vec3 slope{radius * kPi / spans, 0.0, 0.0};  // d/du of the half circle at its ends
    if (!interpolateAtGreville(degree, knotsU, targets, slope, -slope, profile)) return invalid();
    profile.front() = {0.0, -radius, 0.0};
    profile.back() = {0.0, radius, 0.0};

    std::vector<Vec3> cvs;
    cvs.reserve(static_cast<size_t>(nu) * ringCVs.size());
    for (const Vec3& p : profile) {
        for (const Vec3& r : ringCVs) cvs.push_back(a * p.y + r * p.x);
    }
    const int nv = static_cast<int>(ringCVs.size());
    return NurbsSurface(degree, degree, nu, nv, std::move(cvs), std::move(knotsU), std::move(knotsV));
}

}  // namespace host::geom
