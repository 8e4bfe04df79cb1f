#ifndef MFNTYPEDATTRIBUTE_H
#define MFNTYPEDATTRIBUTE_H

#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>

// Attributes holding one kind of data object (string, curve, mesh, arrays ...).
class MFnTypedAttribute : public MFnAttribute {
public:
    MFnTypedAttribute() = default;
    explicit MFnTypedAttribute(const MObject& attribute, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kTypedAttribute; }
    MObject create(const MString& longName, const MString& shortName, MFnData::Type type,
                   const MObject& defaultData = MObject::kNullObj, MStatus* status = nullptr);
    MFnData::Type attrType(MStatus* status = nullptr) const;
    MStatus getDefault(MObject& defaultData);
    MStatus setDefault(const MObject& defaultData);
};

#endif
