#ifndef MFNDATA_H
#define MFNDATA_H

#include <maya/MFnBase.h>

// Kinds of data an attribute can hold.
class MFnData : public MFnBase {
public:
    enum Type {
        kInvalid = 0,
        kNumeric = 1,
        kPlugin = 2,
        kPluginGeometry = 3,
        kString = 4,
        kMatrix = 5,
        kStringArray = 6,
        kDoubleArray = 7,
        kIntArray = 8,
        kPointArray = 9,
        kVectorArray = 10,
        kComponentList = 11,
        kMesh = 12,
        kLattice = 13,
        kNurbsCurve = 14,
        kNurbsSurface = 15,
        kSphere = 16,
        kDynArrayAttrs = 17,
        kDynSweptGeometry = 18,
        kSubdSurface = 19,
        kLast = 20
    };

    MFnData() = default;
    explicit MFnData(const MObject& object, MStatus* status = nullptr) : MFnBase(object, status) {}
};

#endif
