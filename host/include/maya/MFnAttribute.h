#ifndef MFNATTRIBUTE_H
#define MFNATTRIBUTE_H

#include <maya/MFnBase.h>
#include <maya/MString.h>

// Base of the attribute function sets: names and flags. Defaults of a new attribute: readable,
// writable, connectable, storable, cached and indexMatters on; keyable, array, hidden and usedAsColor off.
class MFnAttribute : public MFnBase {
public:
    MFnAttribute() = default;
    explicit MFnAttribute(const MObject& attribute, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kAttribute; }
    MString name(MStatus* status = nullptr) const;
    MString shortName(MStatus* status = nullptr) const;
    MObject parent(MStatus* status = nullptr) const;

    bool isReadable(MStatus* status = nullptr) const;
    bool isWritable(MStatus* status = nullptr) const;
    bool isConnectable(MStatus* status = nullptr) const;
    bool isStorable(MStatus* status = nullptr) const;
    bool isCached(MStatus* status = nullptr) const;
    bool isArray(MStatus* status = nullptr) const;
    bool isKeyable(MStatus* status = nullptr) const;
    bool isHidden(MStatus* status = nullptr) const;
    bool isUsedAsColor(MStatus* status = nullptr) const;
    bool indexMatters(MStatus* status = nullptr) const;

    MStatus setReadable(bool state);
    MStatus setWritable(bool state);
    MStatus setConnectable(bool state);
    MStatus setStorable(bool state);
    MStatus setCached(bool state);
    MStatus setArray(bool state);
    MStatus setKeyable(bool state);
    MStatus setHidden(bool state);
    MStatus setUsedAsColor(bool state);
    MStatus setIndexMatters(bool state);
    // Makes this attribute a child of a compound attribute.
    MStatus setParent(const MObject& compound);
};

#endif
