#ifndef MFNGENERICATTRIBUTE_H
#define MFNGENERICATTRIBUTE_H

#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>

// Attributes that accept data of several kinds.
class MFnGenericAttribute : public MFnAttribute {
public:
    MFnGenericAttribute() = default;
    explicit MFnGenericAttribute(const MObject& attribute, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kGenericAttribute; }
    MObject create(const MString& longName, const MString& shortName, MStatus* status = nullptr);
    MStatus addAccept(MFnData::Type type);
};

#endif
