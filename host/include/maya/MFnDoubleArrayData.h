#ifndef MFNDOUBLEARRAYDATA_H
#define MFNDOUBLEARRAYDATA_H

#include <maya/MDoubleArray.h>
#include <maya/MFnData.h>

// Double-array data (one double per particle). Attaching to any other kind of object, a null one
// included, is refused with kInvalidParameter; a refused set copies nothing.
class MFnDoubleArrayData : public MFnData {
public:
    MFnDoubleArrayData() = default;
    explicit MFnDoubleArrayData(const MObject& object, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kDoubleArrayData; }
    unsigned length(MStatus* status = nullptr) const;
    // The data's own array: changes made through it change the data.
    MDoubleArray array(MStatus* status = nullptr);
    MStatus copyTo(MDoubleArray& out) const;
    MStatus set(const MDoubleArray& values);
    MObject create(MStatus* status = nullptr);
    MObject create(const MDoubleArray& values, MStatus* status = nullptr);
    double operator[](unsigned index) const;
};

#endif
