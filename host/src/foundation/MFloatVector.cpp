#include <maya/MFloatVector.h>

#include <maya/MArrayStorage.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MVector.h>

#include <ostream>

const MFloatVector MFloatVector::zero(0.0f, 0.0f, 0.0f);
const MFloatVector MFloatVector::one(1.0f, 1.0f, 1.0f);
const MFloatVector MFloatVector::xAxis(1.0f, 0.0f, 0.0f);
const MFloatVector MFloatVector::yAxis(0.0f, 1.0f, 0.0f);
const MFloatVector MFloatVector::zAxis(0.0f, 0.0f, 1.0f);

MFloatVector::MFloatVector(const MVector& v)
    : x(static_cast<float>(v.x)), y(static_cast<float>(v.y)), z(static_cast<float>(v.z)) {}
MFloatVector::MFloatVector(const MFloatPoint& p) : x(p.x), y(p.y), z(p.z) {}

float MFloatVector::operator[](unsigned i) const {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: host::arrayIndexFault("MFloatVector", i, 3);
    }
}

float& MFloatVector::operator[](unsigned i) {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: host::arrayIndexFault("MFloatVector", i, 3);
    }
}

MStatus MFloatVector::get(float f[3]) const {
    if (!f)
        return MStatus::kInvalidParameter;
    f[0] = x;
    f[1] = y;
    f[2] = z;
    return MStatus::kSuccess;
}

MFloatVector MFloatVector::operator*(const MFloatMatrix& m) const {
    const float(*a)[4] = m.matrix;
    return MFloatVector(x * a[0][0] + y * a[1][0] + z * a[2][0],
                        x * a[0][1] + y * a[1][1] + z * a[2][1],
                        x * a[0][2] + y * a[1][2] + z * a[2][2]);
}

MFloatVector& MFloatVector::operator*=(const MFloatMatrix& m) {
    *this = *this * m;
    return *this;
}

MFloatVector operator*(const MFloatMatrix& m, const MFloatVector& v) {
    const float(*a)[4] = m.matrix;
    return MFloatVector(a[0][0] * v.x + a[0][1] * v.y + a[0][2] * v.z,
                        a[1][0] * v.x + a[1][1] * v.y + a[1][2] * v.z,
                        a[2][0] * v.x + a[2][1] * v.y + a[2][2] * v.z);
}

bool MFloatVector::isEquivalent(const MFloatVector& o, float tolerance) const {
    return (*this - o).length() <= tolerance;
}

MFloatVector MFloatVector::normal() const {
    MFloatVector n(*this);
    n.normalize();
    return n;
}

MStatus MFloatVector::normalize() {
    float len = length();
    if (len > 0.0f && std::isfinite(len)) {
        x /= len;
        y /= len;
        z /= len;
        return MStatus::kSuccess;
    }
    // Zero, or so small or large that the squares under- or overflow: scale by the largest component first.
    const float largest = std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z)));
    if (!(largest > 0.0f) || !std::isfinite(largest))
        return MStatus::kFailure;
    MFloatVector scaled(x / largest, y / largest, z / largest);
    len = scaled.length();
    *this = MFloatVector(scaled.x / len, scaled.y / len, scaled.z / len);
    return MStatus::kSuccess;
}

float MFloatVector::angle(const MFloatVector& o) const {
    const float crossLength = (*this ^ o).length();
    const float dot = *this * o;
    if (crossLength == 0.0f && dot == 0.0f)
        return 0.0f;
    return std::atan2(crossLength, dot);
}

std::ostream& operator<<(std::ostream& os, const MFloatVector& v) {
    return os << '(' << v.x << ", " << v.y << ", " << v.z << ')';
}
