#include <maya/MFloatVector.h>

#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MVector.h>

#include <ostream>

const MFloatVector MFloatVector::zero(0.0f, 0.0f, 0.0f);
const MFloatVector MFloatVector::one(1.0f, 1.0f, 1.0f);
const MFloatVector MFloatVector::xAxis(1.0f, 0.0f, 0.0f);
const MFloatVector MFloatVector::yAxis(0.0f, 1.0f, 0.0f);
const MFloatVector MFloatVector::zAxis(0.0f, 0.0f, 1.0f);

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
