#ifndef MFNARRAYATTRSDATA_H
#define MFNARRAYATTRSDATA_H

#include <maya/MDoubleArray.h>
#include <maya/MFnData.h>
#include <maya/MIntArray.h>
#include <maya/MStringArray.h>
#include <maya/MVectorArray.h>

// A set of named double, vector, int and string arrays (the emitter's output). The arrays handed out
// by vectorArray(), doubleArray() and intArray() share the data's storage: appending to them lands in
// the data. A name is created, empty, on its first fetch. Fetching a name as another kind fails and
// returns an empty, unshared array.
class MFnArrayAttrsData : public MFnData {
public:
    enum Type { kInvalid = 0, kVectorArray = 1, kDoubleArray = 2, kIntArray = 3, kStringArray = 4, kLast = 5 };

    MFnArrayAttrsData() = default;
    explicit MFnArrayAttrsData(const MObject& object, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kDynArrayAttrsData; }
    MObject create(MStatus* status = nullptr);
    unsigned count() const;
    MStringArray list(MStatus* status = nullptr) const;
    bool checkArrayExist(const MString& name, Type& type, MStatus* status = nullptr) const;
    MVectorArray vectorArray(const MString& name, MStatus* status = nullptr);
    MDoubleArray doubleArray(const MString& name, MStatus* status = nullptr);
    MIntArray intArray(const MString& name, MStatus* status = nullptr);
    MVectorArray getVectorData(const MString& name, MStatus* status = nullptr) const;
    MDoubleArray getDoubleData(const MString& name, MStatus* status = nullptr) const;
    MStatus clear();
};

#endif
