#ifndef MFNCOMPOUNDATTRIBUTE_H
#define MFNCOMPOUNDATTRIBUTE_H

#include <maya/MFnAttribute.h>

// Compound attributes: a value made of child attributes, in addChild order.
class MFnCompoundAttribute : public MFnAttribute {
public:
    MFnCompoundAttribute() = default;
    explicit MFnCompoundAttribute(const MObject& attribute, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kCompoundAttribute; }
    MObject create(const MString& longName, const MString& shortName, MStatus* status = nullptr);
    MStatus addChild(const MObject& child);
    unsigned numChildren(MStatus* status = nullptr) const;
    MObject child(unsigned index, MStatus* status = nullptr) const;
};

#endif
