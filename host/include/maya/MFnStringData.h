#ifndef MFNSTRINGDATA_H
#define MFNSTRINGDATA_H

#include <maya/MFnData.h>
#include <maya/MString.h>

// String data.
class MFnStringData : public MFnData {
public:
    MFnStringData() = default;
    explicit MFnStringData(const MObject& object, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kStringData; }
    MString string(MStatus* status = nullptr) const;
    MStatus set(const MString& text);
    MObject create(const MString& text, MStatus* status = nullptr);
};

#endif
