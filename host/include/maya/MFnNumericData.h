#ifndef MFNNUMERICDATA_H
#define MFNNUMERICDATA_H

#include <maya/MFnData.h>

// Numeric data: one to four numbers of one numeric type.
class MFnNumericData : public MFnData {
public:
    enum Type {
        kInvalid = 0,
        kBoolean = 1,
        kByte = 2,
        kChar = 3,
        kShort = 4,
        k2Short = 5,
        k3Short = 6,
        kLong = 7,
        kInt = 7,
        k2Long = 8,
        k2Int = 8,
        k3Long = 9,
        k3Int = 9,
        kFloat = 10,
        k2Float = 11,
        k3Float = 12,
        kDouble = 13,
        k2Double = 14,
        k3Double = 15,
        k4Double = 16,
        kAddr = 17,
        kLast = 18
    };

    MFnNumericData() = default;
    // Refuses (kInvalidParameter) any object that is not numeric data.
    explicit MFnNumericData(const MObject& object, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kNumericData; }
    MObject create(Type type, MStatus* status = nullptr);
    Type numericType(MStatus* status = nullptr) const;

    MStatus getData(double& a) const;
    MStatus getData(double& a, double& b) const;
    MStatus getData(double& a, double& b, double& c) const;
    MStatus getData(float& a, float& b, float& c) const;
    MStatus getData(int& a) const;
    MStatus setData(double a);
    MStatus setData(double a, double b);
    MStatus setData(double a, double b, double c);
    MStatus setData(float a, float b, float c);
    MStatus setData(int a);
};

#endif
