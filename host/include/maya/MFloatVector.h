#ifndef MFLOATVECTOR_H
#define MFLOATVECTOR_H

#include <maya/MStatus.h>

#include <cmath>
#include <iosfwd>

class MVector;
class MFloatPoint;
class MFloatMatrix;

// Single-precision 3D vector. Every operation computes in float: nothing is widened to double on the way.
// Mixing in a double (fv * 2.0) converts the double to float first.
//
// Conventions as for MVector: `v * M` is the row-vector product and `M * v` the column form, both over the
// upper 3x3 of the matrix. normalize() of a zero vector leaves it zero and returns kFailure; normal() of a
// zero vector is zero. operator== is exact; operator[] accepts 0..2 and aborts on anything else.
class MFloatVector {
public:
    constexpr MFloatVector() : x(0.0f), y(0.0f), z(0.0f) {}
    constexpr MFloatVector(float xx, float yy, float zz = 0.0f) : x(xx), y(yy), z(zz) {}
    explicit MFloatVector(const float f[3]) : x(f[0]), y(f[1]), z(f[2]) {}
    // Narrows each component to float.
    MFloatVector(const MVector& v);
    MFloatVector(const MFloatPoint& p);

    float operator[](unsigned i) const;
    float& operator[](unsigned i);
    float operator()(unsigned i) const { return (*this)[i]; }
    MStatus get(float f[3]) const;

    MFloatVector operator+(const MFloatVector& o) const { return MFloatVector(x + o.x, y + o.y, z + o.z); }
    MFloatVector operator-(const MFloatVector& o) const { return MFloatVector(x - o.x, y - o.y, z - o.z); }
    MFloatVector operator-() const { return MFloatVector(-x, -y, -z); }
    MFloatVector& operator+=(const MFloatVector& o) { x += o.x; y += o.y; z += o.z; return *this; }
    MFloatVector& operator-=(const MFloatVector& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    MFloatVector operator*(float s) const { return MFloatVector(x * s, y * s, z * s); }
    MFloatVector operator/(float s) const { return MFloatVector(x / s, y / s, z / s); }
    MFloatVector& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    MFloatVector& operator/=(float s) { x /= s; y /= s; z /= s; return *this; }
    friend MFloatVector operator*(float s, const MFloatVector& v) { return v * s; }

    // Dot product.
    float operator*(const MFloatVector& o) const { return x * o.x + y * o.y + z * o.z; }
    // Cross product.
    MFloatVector operator^(const MFloatVector& o) const {
        return MFloatVector(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
    }

    MFloatVector operator*(const MFloatMatrix& m) const;
    MFloatVector& operator*=(const MFloatMatrix& m);
    friend MFloatVector operator*(const MFloatMatrix& m, const MFloatVector& v);

    bool operator==(const MFloatVector& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const MFloatVector& o) const { return !(*this == o); }
    bool isEquivalent(const MFloatVector& o, float tolerance = 1.0e-5f) const;

    float length() const { return std::sqrt(x * x + y * y + z * z); }
    MFloatVector normal() const;
    MStatus normalize();
    float angle(const MFloatVector& o) const;

    static const MFloatVector zero;
    static const MFloatVector one;
    static const MFloatVector xAxis;
    static const MFloatVector yAxis;
    static const MFloatVector zAxis;

    float x;
    float y;
    float z;
};

// Prints "(x, y, z)".
std::ostream& operator<<(std::ostream& os, const MFloatVector& v);

// The small members are defined here, after the classes they convert from, so that they inline.
#include <maya/MFloatPoint.h>
#include <maya/MVector.h>

namespace host {
// Reports an index out of range and aborts (also declared with the value arrays, in MArrayStorage.h).
[[noreturn]] void arrayIndexFault(const char* className, unsigned index, unsigned length);
}  // namespace host

inline MFloatVector::MFloatVector(const MVector& v)
    : x(static_cast<float>(v.x)), y(static_cast<float>(v.y)), z(static_cast<float>(v.z)) {}
inline MFloatVector::MFloatVector(const MFloatPoint& p) : x(p.x), y(p.y), z(p.z) {}

inline float MFloatVector::operator[](unsigned i) const {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: host::arrayIndexFault("MFloatVector", i, 3);
    }
}

inline float& MFloatVector::operator[](unsigned i) {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: host::arrayIndexFault("MFloatVector", i, 3);
    }
}

inline MStatus MFloatVector::get(float f[3]) const {
    if (!f)
        return MStatus::kInvalidParameter;
    f[0] = x;
    f[1] = y;
    f[2] = z;
    return MStatus::kSuccess;
}

inline MStatus MFloatVector::normalize() {
    float len = length();
    if (__builtin_expect(len > 0.0f && std::isfinite(len), 1)) {
        x /= len;
        y /= len;
        z /= len;
        return MStatus::kSuccess;
    }
    // Zero, or so small or large that the squares under- or overflow: scale by the largest component first.
    const float largest = std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z)));
    if (!(largest > 0.0f) || !std::isfinite(largest))
        return MStatus::kFailure;
    const MFloatVector scaled(x / largest, y / largest, z / largest);
    len = scaled.length();
    *this = MFloatVector(scaled.x / len, scaled.y / len, scaled.z / len);
    return MStatus::kSuccess;
}

inline MFloatVector MFloatVector::normal() const {
    MFloatVector n(*this);
    n.normalize();
    return n;
}

inline bool MFloatVector::isEquivalent(const MFloatVector& o, float tolerance) const {
    return (*this - o).length() <= tolerance;
}

#endif
