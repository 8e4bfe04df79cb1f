#ifndef MQUATERNION_H
#define MQUATERNION_H

#include <maya/MStatus.h>

#include <iosfwd>

class MVector;
class MMatrix;

// Rotation quaternion (x, y, z, w), w the scalar part; the default is the identity (0, 0, 0, 1).
//
// setAxisAngle(axis, theta) rotates by theta radians about axis by the right-hand rule; the axis is
// normalised inside, and a zero axis gives the identity. asMatrix() is the rotation in Maya's row-vector
// convention (v' = v * M). The product a * b means "rotate by a, then by b", matching matrices:
// (a * b).asMatrix() == a.asMatrix() * b.asMatrix(). Assigning a matrix takes the rotation of its upper
// 3x3, which must be orthonormal. operator[] accepts 0..3 and aborts on anything else.
class MQuaternion {
public:
    constexpr MQuaternion() : x(0.0), y(0.0), z(0.0), w(1.0) {}
    constexpr MQuaternion(double xx, double yy, double zz, double ww) : x(xx), y(yy), z(zz), w(ww) {}
    MQuaternion(double angle, const MVector& axis);
    // The shortest rotation that turns from into to.
    MQuaternion(const MVector& from, const MVector& to);
    MQuaternion& operator=(const MMatrix& m);

    MQuaternion& setAxisAngle(const MVector& axis, double theta);
    // False (and axis x, angle 0) for the identity rotation.
    bool getAxisAngle(MVector& axis, double& theta) const;
    MMatrix asMatrix() const;

    double operator[](unsigned i) const;
    double& operator[](unsigned i);
    MStatus get(double q[4]) const;

    MQuaternion operator*(const MQuaternion& o) const;
    MQuaternion& operator*=(const MQuaternion& o);
    MQuaternion operator+(const MQuaternion& o) const { return MQuaternion(x + o.x, y + o.y, z + o.z, w + o.w); }
    MQuaternion operator-(const MQuaternion& o) const { return MQuaternion(x - o.x, y - o.y, z - o.z, w - o.w); }
    MQuaternion operator-() const { return MQuaternion(-x, -y, -z, -w); }
    friend MQuaternion operator*(double s, const MQuaternion& q) { return MQuaternion(s * q.x, s * q.y, s * q.z, s * q.w); }

    bool operator==(const MQuaternion& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
    bool operator!=(const MQuaternion& o) const { return !(*this == o); }
    // Component-wise within tolerance (q and -q, the same rotation, are not equivalent here).
    bool isEquivalent(const MQuaternion& o, double tolerance = 1.0e-10) const;

    MQuaternion conjugate() const { return MQuaternion(-x, -y, -z, w); }
    MQuaternion& conjugateIt();
    // Conjugate over the squared norm; a zero quaternion gives the identity.
    MQuaternion inverse() const;
    MQuaternion& invertIt();
    // Unit-length copy; a zero quaternion gives the identity.
    inline MQuaternion normal() const;
    MQuaternion& normalizeIt();

    static const MQuaternion identity;

    double x;
    double y;
    double z;
    double w;
};

// Prints "(x, y, z, w)".
std::ostream& operator<<(std::ostream& os, const MQuaternion& q);

// Inline so that rotating many vectors (a field does one per particle) costs no calls.
#include <maya/MVector.h>

#include <cmath>

inline MQuaternion MQuaternion::normal() const {
    const double n = std::sqrt(x * x + y * y + z * z + w * w);
    if (!(n > 0.0) || !std::isfinite(n))
        return MQuaternion();
    if (n == 1.0)
        return *this;
    return MQuaternion(x / n, y / n, z / n, w / n);
}

inline MVector MVector::rotateBy(const MQuaternion& rotation) const {
    const MQuaternion q = rotation.normal();
    // v' = v + 2w (u x v) + 2 u x (u x v), u the vector part of the unit quaternion.
    const MVector u(q.x, q.y, q.z);
    const MVector t = 2.0 * (u ^ *this);
    return *this + q.w * t + (u ^ t);
}

#endif
