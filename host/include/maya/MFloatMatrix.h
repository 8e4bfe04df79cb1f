#ifndef MFLOATMATRIX_H
#define MFLOATMATRIX_H

#include <maya/MStatus.h>

#include <iosfwd>

// Single-precision 4x4 matrix, identity by default; arithmetic in float. Conventions are MMatrix's: row
// vectors (p' = p * M, translation in row 3), A * B applies A first. operator()(row, col) and
// operator[](row) abort on an index out of range. inverse() of a singular matrix returns the identity.
class MFloatMatrix {
public:
    constexpr MFloatMatrix() : matrix{{1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f}} {}
    explicit MFloatMatrix(const float m[4][4]);
    // Narrows each element to float.
    explicit MFloatMatrix(const double m[4][4]);

    float operator()(unsigned row, unsigned col) const;
    float& operator()(unsigned row, unsigned col);
    const float* operator[](unsigned row) const;
    float* operator[](unsigned row);
    MStatus get(float m[4][4]) const;
    MStatus get(double m[4][4]) const;

    MFloatMatrix operator*(const MFloatMatrix& o) const;
    MFloatMatrix& operator*=(const MFloatMatrix& o);
    MFloatMatrix operator*(float s) const;
    friend MFloatMatrix operator*(float s, const MFloatMatrix& m) { return m * s; }
    MFloatMatrix operator+(const MFloatMatrix& o) const;
    MFloatMatrix operator-(const MFloatMatrix& o) const;

    bool operator==(const MFloatMatrix& o) const;
    bool operator!=(const MFloatMatrix& o) const { return !(*this == o); }
    bool isEquivalent(const MFloatMatrix& o, float tolerance = 1.0e-5f) const;

    MFloatMatrix transpose() const;
    MFloatMatrix inverse() const;
    float det4x4() const;
    MFloatMatrix& setToIdentity();

    float matrix[4][4];
};

// Prints "[[a, b, c, d], [e, f, g, h], ...]" row by row.
std::ostream& operator<<(std::ostream& os, const MFloatMatrix& m);

#endif
