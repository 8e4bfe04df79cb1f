#include <maya/MPoint.h>

#include <maya/MArrayStorage.h>
#include <maya/MFloatPoint.h>
#include <maya/MMatrix.h>
#include <maya/MVector.h>

#include <cmath>
#include <ostream>

const MPoint MPoint::origin(0.0, 0.0, 0.0, 1.0);

MPoint::MPoint(const MVector& v) : x(v.x), y(v.y), z(v.z), w(1.0) {}
MPoint::MPoint(const MFloatPoint& p) : x(p.x), y(p.y), z(p.z), w(p.w) {}

double MPoint::operator[](unsigned i) const {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    case 3: return w;
    default: host::arrayIndexFault("MPoint", i, 4);
    }
}

double& MPoint::operator[](unsigned i) {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    case 3: return w;
    default: host::arrayIndexFault("MPoint", i, 4);
    }
}

MStatus MPoint::get(double d[4]) const {
    if (!d)
        return MStatus::kInvalidParameter;
    d[0] = x;
    d[1] = y;
    d[2] = z;
    d[3] = w;
    return MStatus::kSuccess;
}

MStatus MPoint::setCast(const MFloatPoint& p) {
    *this = MPoint(p);
    return MStatus::kSuccess;
}

MVector MPoint::operator-(const MPoint& o) const { return MVector(x - o.x, y - o.y, z - o.z); }
MPoint MPoint::operator+(const MVector& v) const { return MPoint(x + v.x, y + v.y, z + v.z, w); }
MPoint MPoint::operator-(const MVector& v) const { return MPoint(x - v.x, y - v.y, z - v.z, w); }

MPoint& MPoint::operator+=(const MVector& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
}

MPoint& MPoint::operator-=(const MVector& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
}

MPoint MPoint::operator*(const MMatrix& m) const {
    const double(*a)[4] = m.matrix;
    return MPoint(x * a[0][0] + y * a[1][0] + z * a[2][0] + w * a[3][0],
                  x * a[0][1] + y * a[1][1] + z * a[2][1] + w * a[3][1],
                  x * a[0][2] + y * a[1][2] + z * a[2][2] + w * a[3][2],
                  x * a[0][3] + y * a[1][3] + z * a[2][3] + w * a[3][3]);
}

MPoint& MPoint::operator*=(const MMatrix& m) {
    *this = *this * m;
    return *this;
}

MPoint operator*(const MMatrix& m, const MPoint& p) {
    const double(*a)[4] = m.matrix;
    return MPoint(a[0][0] * p.x + a[0][1] * p.y + a[0][2] * p.z + a[0][3] * p.w,
                  a[1][0] * p.x + a[1][1] * p.y + a[1][2] * p.z + a[1][3] * p.w,
                  a[2][0] * p.x + a[2][1] * p.y + a[2][2] * p.z + a[2][3] * p.w,
                  a[3][0] * p.x + a[3][1] * p.y + a[3][2] * p.z + a[3][3] * p.w);
}

namespace {

MPoint cartesian(const MPoint& p) {
    if (p.w == 0.0 || p.w == 1.0)
        return p;
    return MPoint(p.x / p.w, p.y / p.w, p.z / p.w, 1.0);
}

}  // namespace

bool MPoint::isEquivalent(const MPoint& o, double tolerance) const {
    return cartesian(*this).distanceTo(cartesian(o)) <= tolerance;
}

double MPoint::distanceTo(const MPoint& o) const {
    const MPoint a = cartesian(*this);
    const MPoint b = cartesian(o);
    return (a - b).length();
}

MPoint& MPoint::cartesianize(MStatus* ReturnStatus) {
    if (w == 0.0) {
        if (ReturnStatus)
            *ReturnStatus = MStatus::kFailure;
        return *this;
    }
    x /= w;
    y /= w;
    z /= w;
    w = 1.0;
    if (ReturnStatus)
        *ReturnStatus = MStatus::kSuccess;
    return *this;
}

MPoint& MPoint::rationalize(MStatus* ReturnStatus) {
    if (w == 0.0) {
        if (ReturnStatus)
            *ReturnStatus = MStatus::kFailure;
        return *this;
    }
    x /= w;
    y /= w;
    z /= w;
    if (ReturnStatus)
        *ReturnStatus = MStatus::kSuccess;
    return *this;
}

MPoint& MPoint::homogenize() {
    x *= w;
    y *= w;
    z *= w;
    return *this;
}

std::ostream& operator<<(std::ostream& os, const MPoint& p) {
    return os << '(' << p.x << ", " << p.y << ", " << p.z << ", " << p.w << ')';
}
