#ifndef MFNNUMERICATTRIBUTE_H
#define MFNNUMERICATTRIBUTE_H

#include <maya/MFnAttribute.h>
#include <maya/MFnNumericData.h>

// Numeric attributes. A k2/k3 type makes a numeric compound whose children are named after the
// attribute with "X", "Y", "Z" appended (short names with "x", "y", "z"); its value is read whole with
// MDataHandle::asDouble3.
class MFnNumericAttribute : public MFnAttribute {
public:
    MFnNumericAttribute() = default;
    explicit MFnNumericAttribute(const MObject& attribute, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kNumericAttribute; }
    MObject create(const MString& longName, const MString& shortName, MFnNumericData::Type type,
                   double defaultValue = 0, MStatus* status = nullptr);
    // A numeric compound made of three existing attributes.
    MObject create(const MString& longName, const MString& shortName, const MObject& child1,
                   const MObject& child2, const MObject& child3, MStatus* status = nullptr);
    MObject createColor(const MString& longName, const MString& shortName, MStatus* status = nullptr);
    MObject createPoint(const MString& longName, const MString& shortName, MStatus* status = nullptr);

    MFnNumericData::Type unitType(MStatus* status = nullptr) const;
    MStatus setDefault(bool value);
    MStatus setDefault(int value);
    MStatus setDefault(double value);
    MStatus setDefault(double x, double y, double z);
    MStatus getDefault(double& value);
    MStatus getDefault(double& x, double& y, double& z);
};

#endif
