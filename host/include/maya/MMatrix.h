#ifndef MMATRIX_H
#define MMATRIX_H

#include <maya/MStatus.h>

#include <iosfwd>

// Double-precision 4x4 matrix, identity by default. Maya's row-vector convention: a point transforms as
// p' = p * M, the translation is row 3 (matrix[3][0..2]), and A * B applies A first, then B. The rows
// are the public `matrix` array; operator()(row, col) and operator[](row) check their indices and abort
// when out of range. inverse() of a singular matrix (see isSingular) returns the identity. operator== is
// exact; isEquivalent() compares element by element with a tolerance.
class MMatrix {
public:
    constexpr MMatrix() : matrix{{1.0, 0.0, 0.0, 0.0}, {0.0, 1.0, 0.0, 0.0}, {0.0, 0.0, 1.0, 0.0}, {0.0, 0.0, 0.0, 1.0}} {}
    explicit MMatrix(const double m[4][4]);
    explicit MMatrix(const float m[4][4]);

    double operator()(unsigned row, unsigned col) const;
    double& operator()(unsigned row, unsigned col);
    const double* operator[](unsigned row) const;
    double* operator[](unsigned row);
    MStatus get(double m[4][4]) const;
    MStatus get(float m[4][4]) const;

    MMatrix operator*(const MMatrix& o) const;
    MMatrix& operator*=(const MMatrix& o);
    MMatrix operator*(double s) const;
    MMatrix& operator*=(double s);
    friend MMatrix operator*(double s, const MMatrix& m) { return m * s; }
    MMatrix operator+(const MMatrix& o) const;
    MMatrix& operator+=(const MMatrix& o);
    MMatrix operator-(const MMatrix& o) const;
    MMatrix& operator-=(const MMatrix& o);

    bool operator==(const MMatrix& o) const;
    bool operator!=(const MMatrix& o) const { return !(*this == o); }
    bool isEquivalent(const MMatrix& o, double tolerance = 1.0e-10) const;
    bool isSingular() const;

    MMatrix transpose() const;
    MMatrix inverse() const;
    double det4x4() const;
    // Determinant of the upper 3x3.
    double det3x3() const;
    MMatrix& setToIdentity();
    MMatrix& setToProduct(const MMatrix& left, const MMatrix& right);

    static const MMatrix identity;

    double matrix[4][4];
};

// Prints "[[a, b, c, d], [e, f, g, h], ...]" row by row.
std::ostream& operator<<(std::ostream& os, const MMatrix& m);

#endif
