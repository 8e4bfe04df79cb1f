#ifndef MFNINTARRAYDATA_H
#define MFNINTARRAYDATA_H

#include <maya/MFnData.h>
#include <maya/MIntArray.h>

// Integer-array data.
class MFnIntArrayData : public MFnData {
public:
    MFnIntArrayData() = default;
    explicit MFnIntArrayData(const MObject& object, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kIntArrayData; }
    unsigned length(MStatus* status = nullptr) const;
    MIntArray array(MStatus* status = nullptr);
    MStatus copyTo(MIntArray& out) const;
    MStatus set(const MIntArray& values);
    MObject create(const MIntArray& values, MStatus* status = nullptr);
};

#endif
