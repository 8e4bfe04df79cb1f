#include <maya/MQuaternion.h>

#include <maya/MArrayStorage.h>
#include <maya/MMatrix.h>
#include <maya/MVector.h>

#include <cmath>
#include <ostream>

const MQuaternion MQuaternion::identity(0.0, 0.0, 0.0, 1.0);

namespace {

// Hamilton product a b: as a rotation, b is applied first, then a.
MQuaternion hamilton(const MQuaternion& a, const MQuaternion& b) {
    return MQuaternion(a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
                       a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
                       a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
                       a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
}

// Any unit vector perpendicular to v (v non-zero).
MVector perpendicular(const MVector& v) {
    const MVector other = std::fabs(v.x) < 0.6 ? MVector::xAxis : MVector::yAxis;
    return (v ^ other).normal();
}

}  // namespace

MQuaternion::MQuaternion(double angle, const MVector& axis) : MQuaternion() {
    setAxisAngle(axis, angle);
}

MQuaternion::MQuaternion(const MVector& from, const MVector& to) : MQuaternion() {
    const MVector a = from.normal();
    const MVector b = to.normal();
    if (a == MVector::zero || b == MVector::zero)
        return;
    const double d = a * b;
    if (d < -1.0 + 1.0e-12) {
        setAxisAngle(perpendicular(a), 3.14159265358979323846);
        return;
    }
    const MVector c = a ^ b;
    *this = MQuaternion(c.x, c.y, c.z, 1.0 + d).normal();
}

MQuaternion& MQuaternion::operator=(const MMatrix& m) {
    // r is the column-vector rotation, the transpose of Maya's row-vector matrix.
    auto r = [&m](int i, int j) { return m.matrix[j][i]; };
    const double trace = r(0, 0) + r(1, 1) + r(2, 2);
    if (trace > 0.0) {
        const double s = 2.0 * std::sqrt(trace + 1.0);
        *this = MQuaternion((r(2, 1) - r(1, 2)) / s, (r(0, 2) - r(2, 0)) / s, (r(1, 0) - r(0, 1)) / s, 0.25 * s);
    } else if (r(0, 0) >= r(1, 1) && r(0, 0) >= r(2, 2)) {
        const double s = 2.0 * std::sqrt(std::fmax(0.0, 1.0 + r(0, 0) - r(1, 1) - r(2, 2)));
        *this = MQuaternion(0.25 * s, (r(0, 1) + r(1, 0)) / s, (r(0, 2) + r(2, 0)) / s, (r(2, 1) - r(1, 2)) / s);
    } else if (r(1, 1) >= r(2, 2)) {
        const double s = 2.0 * std::sqrt(std::fmax(0.0, 1.0 + r(1, 1) - r(0, 0) - r(2, 2)));
        *this = MQuaternion((r(0, 1) + r(1, 0)) / s, 0.25 * s, (r(1, 2) + r(2, 1)) / s, (r(0, 2) - r(2, 0)) / s);
    } else {
        const double s = 2.0 * std::sqrt(std::fmax(0.0, 1.0 + r(2, 2) - r(0, 0) - r(1, 1)));
        *this = MQuaternion((r(0, 2) + r(2, 0)) / s, (r(1, 2) + r(2, 1)) / s, 0.25 * s, (r(1, 0) - r(0, 1)) / s);
    }
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z) || !std::isfinite(w))
        *this = MQuaternion();
    return normalizeIt();
}

MQuaternion& MQuaternion::setAxisAngle(const MVector& axis, double theta) {
    const MVector n = axis.normal();
    if (n == MVector::zero) {
        *this = MQuaternion();
        return *this;
    }
    const double s = std::sin(0.5 * theta);
    x = n.x * s;
    y = n.y * s;
    z = n.z * s;
    w = std::cos(0.5 * theta);
    return *this;
}

bool MQuaternion::getAxisAngle(MVector& axis, double& theta) const {
    const MQuaternion q = normal();
    const double s = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
    if (s == 0.0) {
        axis = MVector::xAxis;
        theta = 0.0;
        return false;
    }
    axis = MVector(q.x / s, q.y / s, q.z / s);
    theta = 2.0 * std::atan2(s, q.w);
    return true;
}

MMatrix MQuaternion::asMatrix() const {
    const MQuaternion q = normal();
    const double xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const double xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const double wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    MMatrix m;
    // Row-vector form: the transpose of the usual column-vector rotation matrix.
    m.matrix[0][0] = 1.0 - 2.0 * (yy + zz);
    m.matrix[0][1] = 2.0 * (xy + wz);
    m.matrix[0][2] = 2.0 * (xz - wy);
    m.matrix[1][0] = 2.0 * (xy - wz);
    m.matrix[1][1] = 1.0 - 2.0 * (xx + zz);
    m.matrix[1][2] = 2.0 * (yz + wx);
    m.matrix[2][0] = 2.0 * (xz + wy);
    m.matrix[2][1] = 2.0 * (yz - wx);
    m.matrix[2][2] = 1.0 - 2.0 * (xx + yy);
    return m;
}

double MQuaternion::operator[](unsigned i) const {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    case 3: return w;
    default: host::arrayIndexFault("MQuaternion", i, 4);
    }
}

double& MQuaternion::operator[](unsigned i) {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    case 3: return w;
    default: host::arrayIndexFault("MQuaternion", i, 4);
    }
}

MStatus MQuaternion::get(double q[4]) const {
    if (!q)
        return MStatus::kInvalidParameter;
    q[0] = x;
    q[1] = y;
    q[2] = z;
    q[3] = w;
    return MStatus::kSuccess;
}

MQuaternion MQuaternion::operator*(const MQuaternion& o) const {
    return hamilton(o, *this);
}

MQuaternion& MQuaternion::operator*=(const MQuaternion& o) {
    *this = *this * o;
    return *this;
}

bool MQuaternion::isEquivalent(const MQuaternion& o, double tolerance) const {
    return std::fabs(x - o.x) <= tolerance && std::fabs(y - o.y) <= tolerance && std::fabs(z - o.z) <= tolerance &&
           std::fabs(w - o.w) <= tolerance;
}

MQuaternion& MQuaternion::conjugateIt() {
    x = -x;
    y = -y;
    z = -z;
    return *this;
}

MQuaternion MQuaternion::inverse() const {
    const double n = x * x + y * y + z * z + w * w;
    if (!(n > 0.0))
        return MQuaternion();
    return MQuaternion(-x / n, -y / n, -z / n, w / n);
}

MQuaternion& MQuaternion::invertIt() {
    *this = inverse();
    return *this;
}

MQuaternion& MQuaternion::normalizeIt() {
    *this = normal();
    return *this;
}

std::ostream& operator<<(std::ostream& os, const MQuaternion& q) {
    return os << '(' << q.x << ", " << q.y << ", " << q.z << ", " << q.w << ')';
}
