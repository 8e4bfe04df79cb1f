#pragma once

#include <cmath>

namespace host::geom {

// Plain double 3-vector for the geometry code. No invariants; value semantics.
struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr Vec3() = default;
    constexpr Vec3(double xIn, double yIn, double zIn) : x(xIn), y(yIn), z(zIn) {}

    constexpr double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    Vec3& operator+=(const Vec3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    Vec3& operator-=(const Vec3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    Vec3& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    Vec3& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
};

constexpr Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Vec3 operator-(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
constexpr Vec3 operator*(const Vec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
constexpr Vec3 operator*(double s, const Vec3& a) { return {a.x * s, a.y * s, a.z * s}; }
constexpr Vec3 operator/(const Vec3& a, double s) { return {a.x / s, a.y / s, a.z / s}; }
constexpr bool operator==(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
constexpr bool operator!=(const Vec3& a, const Vec3& b) { return !(a == b); }

constexpr double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
constexpr double lengthSquared(const Vec3& a) { return dot(a, a); }
inline double length(const Vec3& a) { return std::sqrt(dot(a, a)); }
inline double distance(const Vec3& a, const Vec3& b) { return length(a - b); }

// Unit vector along a; the zero vector stays zero.
inline Vec3 normalized(const Vec3& a) {
    const double len = length(a);
    return len > 0.0 ? a / len : Vec3{};
}

inline bool isFinite(const Vec3& a) { return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z); }

}  // namespace host::geom
