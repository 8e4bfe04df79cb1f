#include <maya/MPoint.h>

#include <maya/MFloatPoint.h>
#include <maya/MMatrix.h>
#include <maya/MVector.h>

#include <cmath>
#include <ostream>

const MPoint MPoint::origin(0.0, 0.0, 0.0, 1.0);

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
