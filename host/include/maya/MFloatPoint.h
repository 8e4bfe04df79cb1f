#ifndef MFLOATPOINT_H
#define MFLOATPOINT_H

#include <maya/MStatus.h>

#include <iosfwd>

class MPoint;
class MVector;
class MFloatVector;
class MFloatMatrix;

// Single-precision homogeneous point (x, y, z, w); the default is the origin (0, 0, 0, 1). All
// arithmetic is in float. The rules for w are MPoint's: arithmetic uses x, y, z as stored and carries w
// over from the left operand; p * M is the homogeneous row-vector product (translation applies), M * p the
// column form. Narrowing from double precision is explicit: MFloatPoint(const MPoint&) or setCast().
// operator== is exact; operator[] accepts 0..3 and aborts on anything else.
class MFloatPoint {
public:
    constexpr MFloatPoint() : x(0.0f), y(0.0f), z(0.0f), w(1.0f) {}
    constexpr MFloatPoint(float xx, float yy, float zz = 0.0f, float ww = 1.0f) : x(xx), y(yy), z(zz), w(ww) {}
    explicit MFloatPoint(const float f[4]) : x(f[0]), y(f[1]), z(f[2]), w(f[3]) {}
    // w = 1.
    MFloatPoint(const MFloatVector& v);
    explicit MFloatPoint(const MPoint& p);

    float operator[](unsigned i) const;
    float& operator[](unsigned i);
    float operator()(unsigned i) const { return (*this)[i]; }
    MStatus get(float f[4]) const;
    MStatus setCast(const MPoint& p);
    // w = 1.
    MStatus setCast(const MVector& v);

    MFloatVector operator-(const MFloatPoint& o) const;
    MFloatPoint operator+(const MFloatVector& v) const;
    MFloatPoint operator-(const MFloatVector& v) const;
    MFloatPoint& operator+=(const MFloatVector& v);
    MFloatPoint& operator-=(const MFloatVector& v);
    MFloatPoint operator*(float s) const { return MFloatPoint(x * s, y * s, z * s, w); }
    MFloatPoint operator/(float s) const { return MFloatPoint(x / s, y / s, z / s, w); }
    friend MFloatPoint operator*(float s, const MFloatPoint& p) { return p * s; }

    MFloatPoint operator*(const MFloatMatrix& m) const;
    MFloatPoint& operator*=(const MFloatMatrix& m);
    friend MFloatPoint operator*(const MFloatMatrix& m, const MFloatPoint& p);

    bool operator==(const MFloatPoint& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
    bool operator!=(const MFloatPoint& o) const { return !(*this == o); }
    bool isEquivalent(const MFloatPoint& o, float tolerance = 1.0e-5f) const;
    float distanceTo(const MFloatPoint& o) const;

    // (x/w, y/w, z/w, 1); a point with w == 0 is left as it is and kFailure returned.
    MFloatPoint& cartesianize(MStatus* ReturnStatus = nullptr);
    // Rational form (x/w, y/w, z/w, w); w == 0 is left as it is and kFailure returned.
    MFloatPoint& rationalize(MStatus* ReturnStatus = nullptr);
    // From rational to homogeneous form: (x*w, y*w, z*w, w).
    MFloatPoint& homogenize();

    static const MFloatPoint origin;

    float x;
    float y;
    float z;
    float w;
};

// Prints "(x, y, z, w)".
std::ostream& operator<<(std::ostream& os, const MFloatPoint& p);

// The small members are defined here, after the classes they use, so that they inline.
#include <maya/MFloatVector.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

namespace host {
// Reports an index out of range and aborts (also declared with the value arrays, in MArrayStorage.h).
[[noreturn]] void arrayIndexFault(const char* className, unsigned index, unsigned length);
}  // namespace host

inline MFloatPoint::MFloatPoint(const MFloatVector& v) : x(v.x), y(v.y), z(v.z), w(1.0f) {}
inline MFloatPoint::MFloatPoint(const MPoint& p)
    : x(static_cast<float>(p.x)), y(static_cast<float>(p.y)), z(static_cast<float>(p.z)), w(static_cast<float>(p.w)) {}

inline float MFloatPoint::operator[](unsigned i) const {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    case 3: return w;
    default: host::arrayIndexFault("MFloatPoint", i, 4);
    }
}

inline float& MFloatPoint::operator[](unsigned i) {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    case 3: return w;
    default: host::arrayIndexFault("MFloatPoint", i, 4);
    }
}

inline MStatus MFloatPoint::get(float d[4]) const {
    if (!d)
        return MStatus::kInvalidParameter;
    d[0] = x;
    d[1] = y;
    d[2] = z;
    d[3] = w;
    return MStatus::kSuccess;
}

inline MStatus MFloatPoint::setCast(const MPoint& p) {
    *this = MFloatPoint(p);
    return MStatus::kSuccess;
}

inline MStatus MFloatPoint::setCast(const MVector& v) {
    *this = MFloatPoint(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z), 1.0f);
    return MStatus::kSuccess;
}

inline MFloatVector MFloatPoint::operator-(const MFloatPoint& o) const {
    return MFloatVector(x - o.x, y - o.y, z - o.z);
}
inline MFloatPoint MFloatPoint::operator+(const MFloatVector& v) const {
    return MFloatPoint(x + v.x, y + v.y, z + v.z, w);
}
inline MFloatPoint MFloatPoint::operator-(const MFloatVector& v) const {
    return MFloatPoint(x - v.x, y - v.y, z - v.z, w);
}

inline MFloatPoint& MFloatPoint::operator+=(const MFloatVector& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
}

inline MFloatPoint& MFloatPoint::operator-=(const MFloatVector& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
}

#endif
