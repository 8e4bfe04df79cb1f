#ifndef MFNVECTORARRAYDATA_H
#define MFNVECTORARRAYDATA_H

#include <maya/MFnData.h>
#include <maya/MVectorArray.h>

// Vector-array data (one vector per particle). Attaching to any other kind of object, a null one
// included, is refused with kInvalidParameter; a refused set copies nothing.
class MFnVectorArrayData : public MFnData {
public:
    MFnVectorArrayData() = default;
    explicit MFnVectorArrayData(const MObject& object, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kVectorArrayData; }
    unsigned length(MStatus* status = nullptr) const;
    // The data's own array: changes made through it change the data.
    MVectorArray array(MStatus* status = nullptr);
    MStatus copyTo(MVectorArray& out) const;
    MStatus set(const MVectorArray& values);
    MObject create(MStatus* status = nullptr);
    MObject create(const MVectorArray& values, MStatus* status = nullptr);
};

#endif
