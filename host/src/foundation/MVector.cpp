#include <maya/MVector.h>

#include <maya/MArrayStorage.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>

#include <ostream>

namespace {
constexpr double kPi = 3.14159265358979323846;
}

const MVector MVector::zero(0.0, 0.0, 0.0);
const MVector MVector::one(1.0, 1.0, 1.0);
const MVector MVector::xAxis(1.0, 0.0, 0.0);
const MVector MVector::yAxis(0.0, 1.0, 0.0);
const MVector MVector::zAxis(0.0, 0.0, 1.0);
const MVector MVector::xNegAxis(-1.0, 0.0, 0.0);
const MVector MVector::yNegAxis(0.0, -1.0, 0.0);
const MVector MVector::zNegAxis(0.0, 0.0, -1.0);

MVector::MVector(const MFloatVector& other) : x(other.x), y(other.y), z(other.z) {}
MVector::MVector(const MPoint& point) : x(point.x), y(point.y), z(point.z) {}
MVector::MVector(const MFloatPoint& point) : x(point.x), y(point.y), z(point.z) {}

double MVector::operator[](unsigned i) const {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: host::arrayIndexFault("MVector", i, 3);
    }
}

double& MVector::operator[](unsigned i) {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: host::arrayIndexFault("MVector", i, 3);
    }
}

MStatus MVector::get(double d[3]) const {
    if (!d)
        return MStatus::kInvalidParameter;
    d[0] = x;
    d[1] = y;
    d[2] = z;
    return MStatus::kSuccess;
}

MVector MVector::operator*(const MMatrix& m) const {
    const double(*a)[4] = m.matrix;
    return MVector(x * a[0][0] + y * a[1][0] + z * a[2][0],
                   x * a[0][1] + y * a[1][1] + z * a[2][1],
                   x * a[0][2] + y * a[1][2] + z * a[2][2]);
}

MVector& MVector::operator*=(const MMatrix& m) {
    *this = *this * m;
    return *this;
}

MVector operator*(const MMatrix& m, const MVector& v) {
    const double(*a)[4] = m.matrix;
    return MVector(a[0][0] * v.x + a[0][1] * v.y + a[0][2] * v.z,
                   a[1][0] * v.x + a[1][1] * v.y + a[1][2] * v.z,
                   a[2][0] * v.x + a[2][1] * v.y + a[2][2] * v.z);
}

bool MVector::isEquivalent(const MVector& o, double tolerance) const {
    return (*this - o).length() <= tolerance;
}

bool MVector::isParallel(const MVector& o, double tolerance) const {
    const double a = angle(o);
    return a <= tolerance || kPi - a <= tolerance;
}

MVector MVector::normal() const {
    MVector n(*this);
    n.normalize();
    return n;
}

MStatus MVector::normalize() {
    double len = length();
    if (len > 0.0 && std::isfinite(len)) {
        x /= len;
        y /= len;
        z /= len;
        return MStatus::kSuccess;
    }
    // Zero, or so small or large that the squares under- or overflow: scale by the largest component first.
    const double largest = std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z)));
    if (!(largest > 0.0) || !std::isfinite(largest))
        return MStatus::kFailure;
    MVector scaled(x / largest, y / largest, z / largest);
    len = scaled.length();
    *this = MVector(scaled.x / len, scaled.y / len, scaled.z / len);
    return MStatus::kSuccess;
}

double MVector::angle(const MVector& o) const {
    // atan2 of |a x b| and a . b stays accurate near 0 and pi, where acos of the cosine does not.
    const double crossLength = (*this ^ o).length();
    const double dot = *this * o;
    if (crossLength == 0.0 && dot == 0.0)
        return 0.0;
    return std::atan2(crossLength, dot);
}

MVector MVector::rotateBy(const MQuaternion& rotation) const {
    const MQuaternion q = rotation.normal();
    // v' = v + 2w (u x v) + 2 u x (u x v), u the vector part of the unit quaternion.
    const MVector u(q.x, q.y, q.z);
    const MVector t = 2.0 * (u ^ *this);
    return *this + q.w * t + (u ^ t);
}

MQuaternion MVector::rotateTo(const MVector& o) const {
    return MQuaternion(*this, o);
}

std::ostream& operator<<(std::ostream& os, const MVector& v) {
    return os << '(' << v.x << ", " << v.y << ", " << v.z << ')';
}
