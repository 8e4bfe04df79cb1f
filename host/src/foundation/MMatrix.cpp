#include <maya/MMatrix.h>

#include <maya/MArrayStorage.h>

#include "Matrix4.h"

#include <cmath>
#include <ostream>

const MMatrix MMatrix::identity;

MMatrix::MMatrix(const double m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] = m[i][j];
}

MMatrix::MMatrix(const float m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] = m[i][j];
}

double MMatrix::operator()(unsigned row, unsigned col) const {
    if (row > 3 || col > 3)
        host::arrayIndexFault("MMatrix", row > 3 ? row : col, 4);
    return matrix[row][col];
}

double& MMatrix::operator()(unsigned row, unsigned col) {
    if (row > 3 || col > 3)
        host::arrayIndexFault("MMatrix", row > 3 ? row : col, 4);
    return matrix[row][col];
}

const double* MMatrix::operator[](unsigned row) const {
    if (row > 3)
        host::arrayIndexFault("MMatrix", row, 4);
    return matrix[row];
}

double* MMatrix::operator[](unsigned row) {
    if (row > 3)
        host::arrayIndexFault("MMatrix", row, 4);
    return matrix[row];
}

MStatus MMatrix::get(double m[4][4]) const {
    if (!m)
        return MStatus::kInvalidParameter;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = matrix[i][j];
    return MStatus::kSuccess;
}

MStatus MMatrix::get(float m[4][4]) const {
    if (!m)
        return MStatus::kInvalidParameter;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = static_cast<float>(matrix[i][j]);
    return MStatus::kSuccess;
}

MMatrix MMatrix::operator*(const MMatrix& o) const {
    MMatrix r;
    host::matrix4::multiply(matrix, o.matrix, r.matrix);
    return r;
}

MMatrix& MMatrix::operator*=(const MMatrix& o) {
    host::matrix4::multiply(matrix, o.matrix, matrix);
    return *this;
}

MMatrix MMatrix::operator*(double s) const {
    MMatrix r(*this);
    r *= s;
    return r;
}

MMatrix& MMatrix::operator*=(double s) {
    for (auto& row : matrix)
        for (double& v : row)
            v *= s;
    return *this;
}

MMatrix MMatrix::operator+(const MMatrix& o) const {
    MMatrix r(*this);
    r += o;
    return r;
}

MMatrix& MMatrix::operator+=(const MMatrix& o) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] += o.matrix[i][j];
    return *this;
}

MMatrix MMatrix::operator-(const MMatrix& o) const {
    MMatrix r(*this);
    r -= o;
    return r;
}

MMatrix& MMatrix::operator-=(const MMatrix& o) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] -= o.matrix[i][j];
    return *this;
}

bool MMatrix::operator==(const MMatrix& o) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (matrix[i][j] != o.matrix[i][j])
                return false;
    return true;
}

bool MMatrix::isEquivalent(const MMatrix& o, double tolerance) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::fabs(matrix[i][j] - o.matrix[i][j]) <= tolerance))
                return false;
    return true;
}

bool MMatrix::isSingular() const {
    double unused[4][4];
    return !host::matrix4::invert(matrix, unused);
}

MMatrix MMatrix::transpose() const {
    MMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.matrix[i][j] = matrix[j][i];
    return r;
}

MMatrix MMatrix::inverse() const {
    MMatrix r;
    if (!host::matrix4::invert(matrix, r.matrix))
        return MMatrix();
    return r;
}

double MMatrix::det4x4() const {
    return host::matrix4::det4(matrix);
}

double MMatrix::det3x3() const {
    const double(*m)[4] = matrix;
    return host::matrix4::det3(m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2], m[2][0], m[2][1], m[2][2]);
}

MMatrix& MMatrix::setToIdentity() {
    host::matrix4::setIdentity(matrix);
    return *this;
}

MMatrix& MMatrix::setToProduct(const MMatrix& left, const MMatrix& right) {
    host::matrix4::multiply(left.matrix, right.matrix, matrix);
    return *this;
}

std::ostream& operator<<(std::ostream& os, const MMatrix& m) {
    host::matrix4::print(os, m.matrix);
    return os;
}
