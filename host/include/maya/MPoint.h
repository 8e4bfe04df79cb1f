#ifndef MPOINT_H
#define MPOINT_H

#include <maya/MStatus.h>

#include <iosfwd>

class MVector;
class MFloatPoint;
class MMatrix;

// Double-precision homogeneous point (x, y, z, w); the default is the origin (0, 0, 0, 1).
//
// Arithmetic uses x, y and z as stored and carries w over from the left operand: p - q is the vector of
// the x, y, z differences, p + v and p - v move x, y, z, p * s scales x, y, z. Call cartesianize() first
// for a rational point (w other than 1). p * M is the full homogeneous row-vector product, so the
// translation in row 3 applies (scaled by w); M * p is the column form sum_j M[i][j] * p[j] over all four
// components. Conversion from a vector sets w = 1; conversion to a vector drops w. operator== is exact on
// all four components; operator[] accepts 0..3 and aborts on anything else.
class MPoint {
public:
    constexpr MPoint() : x(0.0), y(0.0), z(0.0), w(1.0) {}
    constexpr MPoint(double xx, double yy, double zz = 0.0, double ww = 1.0) : x(xx), y(yy), z(zz), w(ww) {}
    explicit MPoint(const double d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
    MPoint(const MVector& v);
    MPoint(const MFloatPoint& p);

    double operator[](unsigned i) const;
    double& operator[](unsigned i);
    double operator()(unsigned i) const { return (*this)[i]; }
    MStatus get(double d[4]) const;
    MStatus setCast(const MFloatPoint& p);

    MVector operator-(const MPoint& o) const;
    MPoint operator+(const MVector& v) const;
    MPoint operator-(const MVector& v) const;
    MPoint& operator+=(const MVector& v);
    MPoint& operator-=(const MVector& v);
    MPoint operator*(double s) const { return MPoint(x * s, y * s, z * s, w); }
    MPoint operator/(double s) const { return MPoint(x / s, y / s, z / s, w); }
    MPoint& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    MPoint& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
    friend MPoint operator*(double s, const MPoint& p) { return p * s; }

    MPoint operator*(const MMatrix& m) const;
    MPoint& operator*=(const MMatrix& m);
    friend MPoint operator*(const MMatrix& m, const MPoint& p);

    bool operator==(const MPoint& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
    bool operator!=(const MPoint& o) const { return !(*this == o); }
    // Compares the cartesian positions.
    bool isEquivalent(const MPoint& o, double tolerance = 1.0e-10) const;
    // Distance between the cartesian positions.
    double distanceTo(const MPoint& o) const;

    // (x/w, y/w, z/w, 1); a point with w == 0 (a direction) is left as it is and kFailure returned.
    MPoint& cartesianize(MStatus* ReturnStatus = nullptr);
    // Rational form (x/w, y/w, z/w, w); w == 0 is left as it is and kFailure returned.
    MPoint& rationalize(MStatus* ReturnStatus = nullptr);
    // From rational to homogeneous form: (x*w, y*w, z*w, w).
    MPoint& homogenize();

    static const MPoint origin;

    double x;
    double y;
    double z;
    double w;
};

// Prints "(x, y, z, w)".
std::ostream& operator<<(std::ostream& os, const MPoint& p);

// The small members are defined here, after the classes they use, so that they inline.
#include <maya/MFloatPoint.h>
#include <maya/MVector.h>

namespace host {
// Reports an index out of range and aborts (also declared with the value arrays, in MArrayStorage.h).
[[noreturn]] void arrayIndexFault(const char* className, unsigned index, unsigned length);
}  // namespace host

inline MPoint::MPoint(const MVector& v) : x(v.x), y(v.y), z(v.z), w(1.0) {}
inline MPoint::MPoint(const MFloatPoint& p) : x(p.x), y(p.y), z(p.z), w(p.w) {}

inline double MPoint::operator[](unsigned i) const {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    case 3: return w;
    default: host::arrayIndexFault("MPoint", i, 4);
    }
}

inline double& MPoint::operator[](unsigned i) {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    case 3: return w;
    default: host::arrayIndexFault("MPoint", i, 4);
    }
}

inline MStatus MPoint::get(double d[4]) const {
    if (!d)
        return MStatus::kInvalidParameter;
    d[0] = x;
    d[1] = y;
    d[2] = z;
    d[3] = w;
    return MStatus::kSuccess;
}

inline MStatus MPoint::setCast(const MFloatPoint& p) {
    *this = MPoint(p);
    return MStatus::kSuccess;
}

inline MVector MPoint::operator-(const MPoint& o) const { return MVector(x - o.x, y - o.y, z - o.z); }
inline MPoint MPoint::operator+(const MVector& v) const { return MPoint(x + v.x, y + v.y, z + v.z, w); }
inline MPoint MPoint::operator-(const MVector& v) const { return MPoint(x - v.x, y - v.y, z - v.z, w); }

inline MPoint& MPoint::operator+=(const MVector& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
}

inline MPoint& MPoint::operator-=(const MVector& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
}

#endif
