#include <maya/MVector.h>

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

bool MVector::isParallel(const MVector& o, double tolerance) const {
    const double a = angle(o);
    return a <= tolerance || kPi - a <= tolerance;
}

double MVector::angle(const MVector& o) const {
    // atan2 of |a x b| and a . b stays accurate near 0 and pi, where acos of the cosine does not.
    const double crossLength = (*this ^ o).length();
    const double dot = *this * o;
    if (crossLength == 0.0 && dot == 0.0)
        return 0.0;
    return std::atan2(crossLength, dot);
}

MQuaternion MVector::rotateTo(const MVector& o) const {
    return MQuaternion(*this, o);
}

std::ostream& operator<<(std::ostream& os, const MVector& v) {
    return os << '(' << v.x << ", " << v.y << ", " << v.z << ')';
}
