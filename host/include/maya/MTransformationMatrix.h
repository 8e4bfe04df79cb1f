#ifndef MTRANSFORMATIONMATRIX_H
#define MTRANSFORMATIONMATRIX_H

#include <maya/MMatrix.h>
#include <maya/MQuaternion.h>
#include <maya/MSpace.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

#include <iosfwd>

// A transformation split into scale, shear, rotation and translation, in Maya's row-vector convention:
// asMatrix() = S * H * R * T, where S = diag(sx, sy, sz), H has the shears xy, xz, yz at
// [1][0], [2][0], [2][1], R is the rotation and T holds the translation in row 3. Pivots are not modelled.
//
// Constructing from an MMatrix decomposes it: the rows of the upper 3x3 are orthogonalised in order x, y,
// z, a negative determinant shows up as a negative z scale, and a singular upper 3x3 (a zero scale) keeps
// the directions it has and completes the rotation to a right-handed frame. asMatrix() rebuilds the
// matrix; its column 3 is always (0, 0, 0, 1).
//
// Euler angles are radians. Order kXYZ means "rotate about X first, then Y, then Z":
// R = Rx(a) * Ry(b) * Rz(c) with row vectors, each Rn rotating by the right-hand rule. getRotation returns
// angles that rebuild the same rotation matrix in the current order, with the middle angle in
// [-pi/2, pi/2] and the others in [-pi, pi]; at the gimbal lock (middle angle +-pi/2) only a combination of
// the first and third angle is determined, and the first is 0 for an exact matrix. reorderRotation keeps
// the orientation and changes only the order Euler angles are reported in; setRotation sets the order.
//
// There is no parent, so every space (kTransform, kObject, kPreTransform, kPostTransform, kWorld) gives
// the same values; kInvalid and kLast are refused with kInvalidParameter.
class MTransformationMatrix {
public:
    enum RotationOrder { kInvalid = 0, kXYZ = 1, kYZX = 2, kZXY = 3, kXZY = 4, kYXZ = 5, kZYX = 6, kLast = 7 };

    MTransformationMatrix();
    MTransformationMatrix(const MMatrix& m);
    MTransformationMatrix& operator=(const MMatrix& m);

    MMatrix asMatrix() const;
    // R alone.
    MMatrix asRotateMatrix() const;

    // Sets the rotation to `rotation` radians about `axis` (normalised inside); a zero axis is refused.
    MStatus setToRotationAxis(const MVector& axis, double rotation);
    MQuaternion rotation() const;
    MTransformationMatrix& rotateTo(const MQuaternion& q);
    MStatus getRotation(double rotation[3], RotationOrder& order, MSpace::Space space = MSpace::kTransform) const;
    MStatus setRotation(const double rotation[3], RotationOrder order, MSpace::Space space = MSpace::kTransform);
    MStatus reorderRotation(const RotationOrder& order);
    RotationOrder rotationOrder(MStatus* ReturnStatus = nullptr) const;

    MVector getTranslation(MSpace::Space space, MStatus* ReturnStatus = nullptr) const;
    MStatus setTranslation(const MVector& translation, MSpace::Space space);
    MStatus getScale(double scale[3], MSpace::Space space) const;
    MStatus setScale(const double scale[3], MSpace::Space space);
    MStatus getShear(double shear[3], MSpace::Space space) const;
    MStatus setShear(const double shear[3], MSpace::Space space);

    bool isEquivalent(const MTransformationMatrix& o, double tolerance = 1.0e-10) const;

private:
    double rotation_[3][3];  // orthonormal, right-handed, row-vector convention
    double scale_[3];
    double shear_[3];  // xy, xz, yz
    MVector translation_;
    RotationOrder order_;
};

// Prints the composed matrix.
std::ostream& operator<<(std::ostream& os, const MTransformationMatrix& t);

#endif
