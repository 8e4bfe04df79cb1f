#ifndef HOST_FOUNDATION_MATRIX4_H
#define HOST_FOUNDATION_MATRIX4_H

#include <cmath>
#include <limits>
#include <ostream>
#include <utility>

// 4x4 matrix kernels shared by MMatrix (double) and MFloatMatrix (float). Each computes in T.
namespace host::matrix4 {

template <typename T>
void multiply(const T a[4][4], const T b[4][4], T out[4][4]) {
    T r[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[i][j] = r[i][j];
}

template <typename T>
void setIdentity(T m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = i == j ? T(1) : T(0);
}

// Gauss-Jordan elimination with partial pivoting. Returns false, leaving out untouched, when a pivot is
// negligible against the largest element (the matrix is singular to working precision).
template <typename T>
bool invert(const T m[4][4], T out[4][4]) {
    T a[4][4];
    T inv[4][4];
    T largest = T(0);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a[i][j] = m[i][j];
            largest = std::fmax(largest, std::fabs(m[i][j]));
        }
    if (!(largest > T(0)) || !std::isfinite(largest))
        return false;
    const T tiny = largest * std::numeric_limits<T>::epsilon() * T(16);
    setIdentity(inv);
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col]))
                pivot = row;
        if (!(std::fabs(a[pivot][col]) > tiny))
            return false;
        if (pivot != col)
            for (int j = 0; j < 4; ++j) {
                std::swap(a[pivot][j], a[col][j]);
                std::swap(inv[pivot][j], inv[col][j]);
            }
        const T p = a[col][col];
        for (int j = 0; j < 4; ++j) {
            a[col][j] /= p;
            inv[col][j] /= p;
        }
        for (int row = 0; row < 4; ++row) {
            if (row == col)
                continue;
            const T f = a[row][col];
            if (f == T(0))
                continue;
            for (int j = 0; j < 4; ++j) {
                a[row][j] -= f * a[col][j];
                inv[row][j] -= f * inv[col][j];
            }
        }
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[i][j] = inv[i][j];
    return true;
}

template <typename T>
T det3(T a, T b, T c, T d, T e, T f, T g, T h, T i) {
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

template <typename T>
T det4(const T m[4][4]) {
    T result = T(0);
    for (int c = 0; c < 4; ++c) {
        int k[3];
        for (int j = 0, n = 0; j < 4; ++j)
            if (j != c)
                k[n++] = j;
        const T minor = det3(m[1][k[0]], m[1][k[1]], m[1][k[2]], m[2][k[0]], m[2][k[1]], m[2][k[2]],
                             m[3][k[0]], m[3][k[1]], m[3][k[2]]);
        result += (c % 2 ? -m[0][c] : m[0][c]) * minor;
    }
    return result;
}

template <typename T>
void print(std::ostream& os, const T m[4][4]) {
    os << '[';
    for (int i = 0; i < 4; ++i) {
        os << (i ? ", [" : "[");
        for (int j = 0; j < 4; ++j)
            os << (j ? ", " : "") << m[i][j];
        os << ']';
    }
    os << ']';
}

}  // namespace host::matrix4

#endif
