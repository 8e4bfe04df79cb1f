#include "geometry/Lattice.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace host::geom {

namespace {

std::vector<Vec3> regularGrid(int s, int t, int u) {
    std::vector<Vec3> points;
    points.reserve(static_cast<size_t>(s) * static_cast<size_t>(t) * static_cast<size_t>(u));
    for (int k = 0; k < u; ++k) {
        for (int j = 0; j < t; ++j) {
            for (int i = 0; i < s; ++i) {
                points.push_back({static_cast<double>(i) / (s - 1) - 0.5, static_cast<double>(j) / (t - 1) - 0.5,
                                  static_cast<double>(k) / (u - 1) - 0.5});
            }
        }
    }
    return points;
}

}  // namespace

std::string Lattice::checkDivisions(int s, int t, int u) {
    for (const int d : {s, t, u}) {
        if (d < 2 || d > kMaxDivisions) return "divisions must be 2 to " + std::to_string(kMaxDivisions);
    }
    if (static_cast<double>(s) * t * u > kMaxPoints) return "more than " + std::to_string(kMaxPoints) + " points";
    return "";
}

Lattice::Lattice() : points_(regularGrid(2, 2, 2)) {}

Lattice::Lattice(int s, int t, int u) : div_{s, t, u} {
    const std::string why = checkDivisions(s, t, u);
    if (!why.empty()) {
        fail(why);
        return;
    }
    points_ = regularGrid(s, t, u);
}

Lattice::Lattice(int s, int t, int u, std::vector<Vec3> points) : div_{s, t, u}, points_(std::move(points)) {
    const std::string why = checkDivisions(s, t, u);
    if (!why.empty()) {
        fail(why);
        return;
    }
    if (points_.size() != static_cast<size_t>(s) * static_cast<size_t>(t) * static_cast<size_t>(u)) {
        fail("point count must be s * t * u");
        return;
    }
    for (const Vec3& p : points_) {
        if (!isFinite(p)) {
            fail("point is not finite");
            return;
        }
    }
}

void Lattice::fail(const std::string& why) {
    valid_ = false;
    error_ = why;
    div_[0] = div_[1] = div_[2] = 0;
    points_.clear();
}

int Lattice::index(int s, int t, int u) const {
    if (s < 0 || t < 0 || u < 0 || s >= div_[0] || t >= div_[1] || u >= div_[2] || !valid_) return -1;
    return s + div_[0] * (t + div_[1] * u);
}

bool Lattice::indices(int index, int& s, int& t, int& u) const {
    if (index < 0 || index >= count()) return false;
    s = index % div_[0];
    t = (index / div_[0]) % div_[1];
    u = index / (div_[0] * div_[1]);
    return true;
}

bool Lattice::getPoint(int s, int t, int u, Vec3& out) const {
    const int i = index(s, t, u);
    if (i < 0) return false;
    out = points_[static_cast<size_t>(i)];
    return true;
}

bool Lattice::setPoint(int index, const Vec3& p) {
    if (index < 0 || index >= count() || !isFinite(p)) return false;
    points_[static_cast<size_t>(index)] = p;
    return true;
}

// Trilinear blend of the grid at fractional grid coordinates (each 0 .. divisions - 1).
Vec3 Lattice::blend(double fs, double ft, double fu) const {
    const double f[3] = {fs, ft, fu};
    int lo[3];
    double w[3];
    for (int a = 0; a < 3; ++a) {
        lo[a] = std::min(static_cast<int>(std::floor(f[a])), div_[a] - 2);
        w[a] = f[a] - lo[a];
    }
    Vec3 p;
    for (int corner = 0; corner < 8; ++corner) {
        const int ds = corner & 1, dt = (corner >> 1) & 1, du = (corner >> 2) & 1;
        const double weight = (ds ? w[0] : 1.0 - w[0]) * (dt ? w[1] : 1.0 - w[1]) * (du ? w[2] : 1.0 - w[2]);
        p += points_[static_cast<size_t>(index(lo[0] + ds, lo[1] + dt, lo[2] + du))] * weight;
    }
    return p;
}

bool Lattice::setDivisions(int s, int t, int u) {
    if (!valid_ || !checkDivisions(s, t, u).empty()) return false;
    if (s == div_[0] && t == div_[1] && u == div_[2]) return true;
    std::vector<Vec3> points;
    points.reserve(static_cast<size_t>(s) * static_cast<size_t>(t) * static_cast<size_t>(u));
    for (int k = 0; k < u; ++k) {
        for (int j = 0; j < t; ++j) {
            for (int i = 0; i < s; ++i) {
                points.push_back(blend(static_cast<double>(i) * (div_[0] - 1) / (s - 1),
                                       static_cast<double>(j) * (div_[1] - 1) / (t - 1),
                                       static_cast<double>(k) * (div_[2] - 1) / (u - 1)));
            }
        }
    }
    div_[0] = s;
    div_[1] = t;
    div_[2] = u;
    points_ = std::move(points);
    return true;
}

}  // namespace host::geom
