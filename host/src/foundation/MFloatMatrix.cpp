#include <maya/MFloatMatrix.h>

#include <maya/MArrayStorage.h>

#include "Matrix4.h"

#include <cmath>
#include <ostream>

MFloatMatrix::MFloatMatrix(const float m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] = m[i][j];
}

MFloatMatrix::MFloatMatrix(const double m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] = static_cast<float>(m[i][j]);
}

float MFloatMatrix::operator()(unsigned row, unsigned col) const {
    if (row > 3 || col > 3)
        host::arrayIndexFault("MFloatMatrix", row > 3 ? row : col, 4);
    return matrix[row][col];
}

float& MFloatMatrix::operator()(unsigned row, unsigned col) {
    if (row > 3 || col > 3)
        host::arrayIndexFault("MFloatMatrix", row > 3 ? row : col, 4);
    return matrix[row][col];
}

const float* MFloatMatrix::operator[](unsigned row) const {
    if (row > 3)
        host::arrayIndexFault("MFloatMatrix", row, 4);
    return matrix[row];
}

float* MFloatMatrix::operator[](unsigned row) {
    if (row > 3)
        host::arrayIndexFault("MFloatMatrix", row, 4);
    return matrix[row];
}

MStatus MFloatMatrix::get(float m[4][4]) const {
    if (!m)
        return MStatus::kInvalidParameter;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = matrix[i][j];
    return MStatus::kSuccess;
}

MStatus MFloatMatrix::get(double m[4][4]) const {
    if (!m)
        return MStatus::kInvalidParameter;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = matrix[i][j];
    return MStatus::kSuccess;
}

MFloatMatrix MFloatMatrix::operator*(const MFloatMatrix& o) const {
    MFloatMatrix r;
    host::matrix4::multiply(matrix, o.matrix, r.matrix);
    return r;
}

MFloatMatrix& MFloatMatrix::operator*=(const MFloatMatrix& o) {
    host::matrix4::multiply(matrix, o.matrix, matrix);
    return *this;
}

MFloatMatrix MFloatMatrix::operator*(float s) const {
    MFloatMatrix r(*this);
    for (auto& row : r.matrix)
        for (float& v : row)
            v *= s;
    return r;
}

MFloatMatrix MFloatMatrix::operator+(const MFloatMatrix& o) const {
    MFloatMatrix r(*this);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.matrix[i][j] += o.matrix[i][j];
    return r;
}

MFloatMatrix MFloatMatrix::operator-(const MFloatMatrix& o) const {
    MFloatMatrix r(*this);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.matrix[i][j] -= o.matrix[i][j];
    return r;
}

bool MFloatMatrix::operator==(const MFloatMatrix& o) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (matrix[i][j] != o.matrix[i][j])
                return false;
    return true;
}

bool MFloatMatrix::isEquivalent(const MFloatMatrix& o, float tolerance) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::fabs(matrix[i][j] - o.matrix[i][j]) <= tolerance))
                return false;
    return true;
}

MFloatMatrix MFloatMatrix::transpose() const {
    MFloatMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.matrix[i][j] = matrix[j][i];
    return r;
}

MFloatMatrix MFloatMatrix::inverse() const {
    MFloatMatrix r;
    if (!host::matrix4::invert(matrix, r.matrix))
        return MFloatMatrix();
    return r;
}

float MFloatMatrix::det4x4() const {
    return host::matrix4::det4(matrix);
}

MFloatMatrix& MFloatMatrix::setToIdentity() {
    host::matrix4::setIdentity(matrix);
    return *this;
}

std::ostream& operator<<(std::ostream& os, const MFloatMatrix& m) {
    host::matrix4::print(os, m.matrix);
    return os;
}
