#ifndef MVECTOR_H
#define MVECTOR_H

#include <maya/MStatus.h>

#include <cmath>
#include <iosfwd>

class MFloatVector;
class MPoint;
class MFloatPoint;
class MMatrix;
class MQuaternion;

// Double-precision 3D vector.
//
// Matrix conventions are Maya's row-vector ones: a point transforms as p' = p * M and the translation is
// row 3. `v * M` is the row-vector product over the upper 3x3 (translation ignored, as for any vector).
// `M * v` is the column form, result[i] = sum_j M[i][j] * v[j], also over the upper 3x3 only.
//
// normalize() of a zero vector leaves it (0, 0, 0) and returns kFailure; normal() of a zero vector is
// (0, 0, 0). angle() is in [0, pi], and 0 if either vector is zero. rotateBy(q) rotates by the right-hand
// rule about q's axis. operator== is exact; isEquivalent() compares the distance with a tolerance.
// operator[] accepts 0, 1 and 2 and aborts on anything else.
class MVector {
public:
    enum Axis { kXaxis, kYaxis, kZaxis, kWaxis };

    constexpr MVector() : x(0.0), y(0.0), z(0.0) {}
    constexpr MVector(double xx, double yy, double zz = 0.0) : x(xx), y(yy), z(zz) {}
    explicit MVector(const double d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
    MVector(const MFloatVector& other);
    MVector(const MPoint& point);
    MVector(const MFloatPoint& point);

    double operator[](unsigned i) const;
    double& operator[](unsigned i);
    double operator()(unsigned i) const { return (*this)[i]; }
    MStatus get(double d[3]) const;

    MVector operator+(const MVector& o) const { return MVector(x + o.x, y + o.y, z + o.z); }
    MVector operator-(const MVector& o) const { return MVector(x - o.x, y - o.y, z - o.z); }
    MVector operator-() const { return MVector(-x, -y, -z); }
    MVector& operator+=(const MVector& o) { x += o.x; y += o.y; z += o.z; return *this; }
    MVector& operator-=(const MVector& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    MVector operator*(double s) const { return MVector(x * s, y * s, z * s); }
    MVector operator/(double s) const { return MVector(x / s, y / s, z / s); }
    MVector& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    MVector& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
    friend MVector operator*(double s, const MVector& v) { return v * s; }

    // Dot product.
    double operator*(const MVector& o) const { return x * o.x + y * o.y + z * o.z; }
    // Cross product.
    MVector operator^(const MVector& o) const {
        return MVector(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
    }

    // Row vector times matrix (upper 3x3).
    MVector operator*(const MMatrix& m) const;
    MVector& operator*=(const MMatrix& m);
    // Column form: the matrix on the left (upper 3x3).
    friend MVector operator*(const MMatrix& m, const MVector& v);

    bool operator==(const MVector& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const MVector& o) const { return !(*this == o); }
    bool isEquivalent(const MVector& o, double tolerance = 1.0e-10) const;
    // True if the vectors point along the same line (either direction) within the angle tolerance.
    bool isParallel(const MVector& o, double tolerance = 1.0e-10) const;

    double length() const { return std::sqrt(x * x + y * y + z * z); }
    MVector normal() const;
    MStatus normalize();
    double angle(const MVector& o) const;
    inline MVector rotateBy(const MQuaternion& q) const;  // defined in MQuaternion.h
    // The shortest rotation that turns this vector into o.
    MQuaternion rotateTo(const MVector& o) const;

    static const MVector zero;
    static const MVector one;
    static const MVector xAxis;
    static const MVector yAxis;
    static const MVector zAxis;
    static const MVector xNegAxis;
    static const MVector yNegAxis;
    static const MVector zNegAxis;

    double x;
    double y;
    double z;
};

// Prints "(x, y, z)".
std::ostream& operator<<(std::ostream& os, const MVector& v);

// The small members are defined here, after the classes they convert from, so that they inline.
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>

namespace host {
// Reports an index out of range and aborts (also declared with the value arrays, in MArrayStorage.h).
[[noreturn]] void arrayIndexFault(const char* className, unsigned index, unsigned length);
}  // namespace host

inline MVector::MVector(const MFloatVector& other) : x(other.x), y(other.y), z(other.z) {}
inline MVector::MVector(const MPoint& point) : x(point.x), y(point.y), z(point.z) {}
inline MVector::MVector(const MFloatPoint& point) : x(point.x), y(point.y), z(point.z) {}

inline double MVector::operator[](unsigned i) const {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: host::arrayIndexFault("MVector", i, 3);
    }
}

inline double& MVector::operator[](unsigned i) {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: host::arrayIndexFault("MVector", i, 3);
    }
}

inline MStatus MVector::get(double d[3]) const {
    if (!d)
        return MStatus::kInvalidParameter;
    d[0] = x;
    d[1] = y;
    d[2] = z;
    return MStatus::kSuccess;
}

inline MStatus MVector::normalize() {
    double len = length();
    if (__builtin_expect(len > 0.0 && std::isfinite(len), 1)) {
        x /= len;
        y /= len;
        z /= len;
        return MStatus::kSuccess;
    }
    // Zero, or so small or large that the squares under- or overflow: scale by the largest component first.
    const double largest = std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z)));
    if (!(largest > 0.0) || !std::isfinite(largest))
        return MStatus::kFailure;
    const MVector scaled(x / largest, y / largest, z / largest);
    len = scaled.length();
    *this = MVector(scaled.x / len, scaled.y / len, scaled.z / len);
    return MStatus::kSuccess;
}

inline MVector MVector::normal() const {
    MVector n(*this);
    n.normalize();
    return n;
}

inline bool MVector::isEquivalent(const MVector& o, double tolerance) const {
    return (*this - o).length() <= tolerance;
}

#endif
