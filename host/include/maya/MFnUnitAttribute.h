#ifndef MFNUNITATTRIBUTE_H
#define MFNUNITATTRIBUTE_H

#include <maya/MFnAttribute.h>

class MTime;

// Attributes with a unit: angles (stored in radians), distances, times (stored in seconds, read in
// the UI unit through MDataHandle::asTime).
class MFnUnitAttribute : public MFnAttribute {
public:
    enum Type { kInvalid = 0, kAngle = 1, kDistance = 2, kTime = 3, kLast = 4 };

    MFnUnitAttribute() = default;
    explicit MFnUnitAttribute(const MObject& attribute, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kUnitAttribute; }
    MObject create(const MString& longName, const MString& shortName, Type unitType,
                   double defaultValue = 0, MStatus* status = nullptr);
    MObject create(const MString& longName, const MString& shortName, const MTime& defaultValue,
                   MStatus* status = nullptr);
    Type unitType(MStatus* status = nullptr) const;
    MStatus setDefault(double value);
};

#endif
