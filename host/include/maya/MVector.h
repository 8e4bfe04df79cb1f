#ifndef MVECTOR_H
#define MVECTOR_H

#include <maya/MStatus.h>

#include <cmath>
#include <iosfwd>

class MFloatVector;
class MPoint;
class MFloatPoint;
class MMatrix;
class MQuaternion;

// Double-precision 3D vector.
//
// Matrix conventions are Maya's row-vector ones: a point transforms as p' = p * M and the translation is
// row 3. `v * M` is the row-vector product over the upper 3x3 (translation ignored, as for any vector).
// `M * v` is the column form, result[i] = sum_j M[i][j] * v[j], also over the upper 3x3 only.
//
// normalize() of a zero vector leaves it (0, 0, 0) and returns kFailure; normal() of a zero vector is
// (0, 0, 0). angle() is in [0, pi], and 0 if either vector is zero. rotateBy(q) rotates by the right-hand
// rule about q's axis. operator== is exact; isEquivalent() compares the distance with a tolerance.
// operator[] accepts 0, 1 and 2 and aborts on anything else.
class MVector {
public:
    enum Axis { kXaxis, kYaxis, kZaxis, kWaxis };

    constexpr MVector() : x(0.0), y(0.0), z(0.0) {}
    constexpr MVector(double xx, double yy, double zz = 0.0) : x(xx), y(yy), z(zz) {}
    explicit MVector(const double d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
    MVector(const MFloatVector& other);
    MVector(const MPoint& point);
    MVector(const MFloatPoint& point);

    double operator[](unsigned i) const;
    double& operator[](unsigned i);
    double operator()(unsigned i) const { return (*this)[i]; }
    MStatus get(double d[3]) const;

    MVector operator+(const MVector& o) const { return MVector(x + o.x, y + o.y, z + o.z); }
    MVector operator-(const MVector& o) const { return MVector(x - o.x, y - o.y, z - o.z); }
    MVector operator-() const { return MVector(-x, -y, -z); }
    MVector& operator+=(const MVector& o) { x += o.x; y += o.y; z += o.z; return *this; }
    MVector& operator-=(const MVector& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    MVector operator*(double s) const { return MVector(x * s, y * s, z * s); }
    MVector operator/(double s) const { return MVector(x / s, y / s, z / s); }
    MVector& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    MVector& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
    friend MVector operator*(double s, const MVector& v) { return v * s; }

    // Dot product.
    double operator*(const MVector& o) const { return x * o.x + y * o.y + z * o.z; }
    // Cross product.
    MVector operator^(const MVector& o) const {
        return MVector(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
    }

    // Row vector times matrix (upper 3x3).
    MVector operator*(const MMatrix& m) const;
    MVector& operator*=(const MMatrix& m);
    // Column form: the matrix on the left (upper 3x3).
    friend MVector operator*(const MMatrix& m, const MVector& v);

    bool operator==(const MVector& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const MVector& o) const { return !(*this == o); }
    bool isEquivalent(const MVector& o, double tolerance = 1.0e-10) const;
    // True if the vectors point along the same line (either direction) within the angle tolerance.
    bool isParallel(const MVector& o, double tolerance = 1.0e-10) const;

    double length() const { return std::sqrt(x * x + y * y + z * z); }
    MVector normal() const;
    MStatus normalize();
    double angle(const MVector& o) const;
    MVector rotateBy(const MQuaternion& q) const;
    // The shortest rotation that turns this vector into o.
    MQuaternion rotateTo(const MVector& o) const;

    static const MVector zero;
    static const MVector one;
    static const MVector xAxis;
    static const MVector yAxis;
    static const MVector zAxis;
    static const MVector xNegAxis;
    static const MVector yNegAxis;
    static const MVector zNegAxis;

    double x;
    double y;
    double z;
};

// Prints "(x, y, z)".
std::ostream& operator<<(std::ostream& os, const MVector& v);

#endif
