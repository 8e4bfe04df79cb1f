#include <maya/MTransformationMatrix.h>

#include <cmath>
#include <ostream>

namespace {

using Mat3 = double[3][3];

struct AxisOrder {
    int axis[3];  // the axes in the order they are applied
    bool odd;     // an odd permutation of x, y, z
};

bool validOrder(MTransformationMatrix::RotationOrder order) {
    return order > MTransformationMatrix::kInvalid && order < MTransformationMatrix::kLast;
}

bool validSpace(MSpace::Space space) {
    return space > MSpace::kInvalid && space < MSpace::kLast;
}

AxisOrder axisOrder(MTransformationMatrix::RotationOrder order) {
    switch (order) {
    case MTransformationMatrix::kYZX: return {{1, 2, 0}, false};
    case MTransformationMatrix::kZXY: return {{2, 0, 1}, false};
    case MTransformationMatrix::kXZY: return {{0, 2, 1}, true};
    case MTransformationMatrix::kYXZ: return {{1, 0, 2}, true};
    case MTransformationMatrix::kZYX: return {{2, 1, 0}, true};
    default: return {{0, 1, 2}, false};
    }
}

void setIdentity(Mat3 m) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = i == j ? 1.0 : 0.0;
}

void multiply(const Mat3 a, const Mat3 b, Mat3 out) {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out[i][j] = r[i][j];
}

// Right-hand rotation about one axis, row-vector form.
void axisRotation(int axis, double angle, Mat3 out) {
    setIdentity(out);
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const int i = (axis + 1) % 3;
    const int j = (axis + 2) % 3;
    out[i][i] = c;
    out[i][j] = s;
    out[j][i] = -s;
    out[j][j] = c;
}

// rotation[k] is the angle about axis k (x, y, z), applied in the given order.
void eulerToMatrix(const double rotation[3], MTransformationMatrix::RotationOrder order, Mat3 out) {
    const AxisOrder o = axisOrder(order);
    setIdentity(out);
    for (int step = 0; step < 3; ++step) {
        Mat3 r;
        axisRotation(o.axis[step], rotation[o.axis[step]], r);
        multiply(out, r, out);
    }
}

// Inverse of eulerToMatrix. Relabelling the axes so the order becomes x, y, z conjugates the rotation by a
// permutation; an odd permutation is a reflection and reverses the sense of every angle.
void matrixToEuler(const Mat3 m, MTransformationMatrix::RotationOrder order, double rotation[3]) {
    const AxisOrder o = axisOrder(order);
    Mat3 p;
    for (int u = 0; u < 3; ++u)
        for (int v = 0; v < 3; ++v)
            p[u][v] = m[o.axis[u]][o.axis[v]];
    // p = Rx(a) * Ry(b) * Rz(c). The third angle is computed from the first, which keeps the result exact
    // near the gimbal lock (b = +-pi/2), where only a combination of a and c is determined.
    const double a = std::atan2(p[1][2], p[2][2]);
    const double b = std::atan2(-p[0][2], std::sqrt(p[0][0] * p[0][0] + p[0][1] * p[0][1]));
    const double sa = std::sin(a);
    const double ca = std::cos(a);
    const double c = std::atan2(sa * p[2][0] - ca * p[1][0], ca * p[1][1] - sa * p[2][1]);
    const double sign = o.odd ? -1.0 : 1.0;
    rotation[o.axis[0]] = sign * a;
    rotation[o.axis[1]] = sign * b;
    rotation[o.axis[2]] = sign * c;
}

double dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void cross(const double a[3], const double b[3], double out[3]) {
    const double r[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    out[0] = r[0];
    out[1] = r[1];
    out[2] = r[2];
}

}  // namespace

MTransformationMatrix::MTransformationMatrix()
    : scale_{1.0, 1.0, 1.0}, shear_{0.0, 0.0, 0.0}, translation_(0.0, 0.0, 0.0), order_(kXYZ) {
    setIdentity(rotation_);
}

MTransformationMatrix::MTransformationMatrix(const MMatrix& m) : MTransformationMatrix() {
    *this = m;
}

MTransformationMatrix& MTransformationMatrix::operator=(const MMatrix& m) {
    translation_ = MVector(m.matrix[3][0], m.matrix[3][1], m.matrix[3][2]);

    // Gram-Schmidt on the rows, in order: row i = sum_{k<i} a[i][k] * R_k + s_i * R_i.
    double rows[3][3];
    double largest = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            rows[i][j] = m.matrix[i][j];
            largest = std::fmax(largest, std::fabs(rows[i][j]));
        }
    const double tiny = largest * 1.0e-12;
    double a[3][3] = {{0.0}};
    double s[3] = {0.0, 0.0, 0.0};
    bool good[3] = {false, false, false};
    for (int i = 0; i < 3; ++i) {
        double r[3] = {rows[i][0], rows[i][1], rows[i][2]};
        for (int k = 0; k < i; ++k) {
            if (!good[k])
                continue;
            a[i][k] = dot(r, rotation_[k]);
            for (int j = 0; j < 3; ++j)
                r[j] -= a[i][k] * rotation_[k][j];
        }
        const double len = std::sqrt(dot(r, r));
        good[i] = len > tiny && std::isfinite(len);
        if (good[i]) {
            s[i] = len;
            for (int j = 0; j < 3; ++j)
                rotation_[i][j] = r[j] / len;
        }
    }

    // Complete the frame where rows were degenerate (zero scale), right-handed.
    const int goodCount = good[0] + good[1] + good[2];
    if (goodCount == 0) {
        setIdentity(rotation_);
    } else if (goodCount == 1) {
        const int g = good[0] ? 0 : good[1] ? 1 : 2;
        const MVector n(rotation_[g][0], rotation_[g][1], rotation_[g][2]);
        const MVector other = std::fabs(n.x) < 0.6 ? MVector::xAxis : MVector::yAxis;
        const MVector perp = (n ^ other).normal();
        const int next = (g + 1) % 3;
        rotation_[next][0] = perp.x;
        rotation_[next][1] = perp.y;
        rotation_[next][2] = perp.z;
        cross(rotation_[g], rotation_[next], rotation_[(g + 2) % 3]);
    } else if (goodCount == 2) {
        const int missing = !good[0] ? 0 : !good[1] ? 1 : 2;
        cross(rotation_[(missing + 1) % 3], rotation_[(missing + 2) % 3], rotation_[missing]);
    }

    // A reflection becomes a negative z scale.
    double zCrossed[3];
    cross(rotation_[0], rotation_[1], zCrossed);
    if (dot(zCrossed, rotation_[2]) < 0.0) {
        for (int j = 0; j < 3; ++j)
            rotation_[2][j] = -rotation_[2][j];
        s[2] = -s[2];
    }

    scale_[0] = s[0];
    scale_[1] = s[1];
    scale_[2] = s[2];
    shear_[0] = s[1] != 0.0 ? a[1][0] / s[1] : 0.0;
    shear_[1] = s[2] != 0.0 ? a[2][0] / s[2] : 0.0;
    shear_[2] = s[2] != 0.0 ? a[2][1] / s[2] : 0.0;
    return *this;
}

MMatrix MTransformationMatrix::asMatrix() const {
    // S * H = [[sx, 0, 0], [sy*xy, sy, 0], [sz*xz, sz*yz, sz]].
    const Mat3 sh = {{scale_[0], 0.0, 0.0},
                     {scale_[1] * shear_[0], scale_[1], 0.0},
                     {scale_[2] * shear_[1], scale_[2] * shear_[2], scale_[2]}};
    Mat3 r;
    multiply(sh, rotation_, r);
    MMatrix m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m.matrix[i][j] = r[i][j];
    m.matrix[3][0] = translation_.x;
    m.matrix[3][1] = translation_.y;
    m.matrix[3][2] = translation_.z;
    return m;
}

MMatrix MTransformationMatrix::asRotateMatrix() const {
    MMatrix m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m.matrix[i][j] = rotation_[i][j];
    return m;
}

MStatus MTransformationMatrix::setToRotationAxis(const MVector& axis, double rotation) {
    if (axis.normal() == MVector::zero)
        return MStatus::kInvalidParameter;
    rotateTo(MQuaternion().setAxisAngle(axis, rotation));
    return MStatus::kSuccess;
}

MQuaternion MTransformationMatrix::rotation() const {
    MQuaternion q;
    q = asRotateMatrix();
    return q;
}

MTransformationMatrix& MTransformationMatrix::rotateTo(const MQuaternion& q) {
    const MMatrix m = q.asMatrix();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            rotation_[i][j] = m.matrix[i][j];
    return *this;
}

MStatus MTransformationMatrix::getRotation(double rotation[3], RotationOrder& order, MSpace::Space space) const {
    if (!rotation || !validSpace(space))
        return MStatus::kInvalidParameter;
    matrixToEuler(rotation_, order_, rotation);
    order = order_;
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setRotation(const double rotation[3], RotationOrder order, MSpace::Space space) {
    if (!rotation || !validOrder(order) || !validSpace(space))
        return MStatus::kInvalidParameter;
    eulerToMatrix(rotation, order, rotation_);
    order_ = order;
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::reorderRotation(const RotationOrder& order) {
    if (!validOrder(order))
        return MStatus::kInvalidParameter;
    order_ = order;
    return MStatus::kSuccess;
}

MTransformationMatrix::RotationOrder MTransformationMatrix::rotationOrder(MStatus* ReturnStatus) const {
    if (ReturnStatus)
        *ReturnStatus = MStatus::kSuccess;
    return order_;
}

MVector MTransformationMatrix::getTranslation(MSpace::Space space, MStatus* ReturnStatus) const {
    const bool ok = validSpace(space);
    if (ReturnStatus)
        *ReturnStatus = ok ? MStatus::kSuccess : MStatus::kInvalidParameter;
    return ok ? translation_ : MVector::zero;
}

MStatus MTransformationMatrix::setTranslation(const MVector& translation, MSpace::Space space) {
    if (!validSpace(space))
        return MStatus::kInvalidParameter;
    translation_ = translation;
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::getScale(double scale[3], MSpace::Space space) const {
    if (!scale || !validSpace(space))
        return MStatus::kInvalidParameter;
    for (int i = 0; i < 3; ++i)
        scale[i] = scale_[i];
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setScale(const double scale[3], MSpace::Space space) {
    if (!scale || !validSpace(space))
        return MStatus::kInvalidParameter;
    for (int i = 0; i < 3; ++i)
        scale_[i] = scale[i];
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::getShear(double shear[3], MSpace::Space space) const {
    if (!shear || !validSpace(space))
        return MStatus::kInvalidParameter;
    for (int i = 0; i < 3; ++i)
        shear[i] = shear_[i];
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setShear(const double shear[3], MSpace::Space space) {
    if (!shear || !validSpace(space))
        return MStatus::kInvalidParameter;
    for (int i = 0; i < 3; ++i)
        shear_[i] = shear[i];
    return MStatus::kSuccess;
}

bool MTransformationMatrix::isEquivalent(const MTransformationMatrix& o, double tolerance) const {
    return asMatrix().isEquivalent(o.asMatrix(), tolerance);
}

std::ostream& operator<<(std::ostream& os, const MTransformationMatrix& t) {
    return os << t.asMatrix();
}
