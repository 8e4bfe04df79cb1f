#ifndef MARRAYDATAHANDLE_H
#define MARRAYDATAHANDLE_H

#include <maya/MArrayDataBuilder.h>
#include <maya/MDataHandle.h>

// Walks the existing elements of an array attribute in ascending logical order. A new handle stands on
// the first element. A failed jumpToElement leaves the position unchanged; next() past the last
// element fails, after which elementIndex() fails and returns (unsigned)-1. The handle keeps the address of
// its current element, so removing that element while the handle stands on it leaves the handle invalid.
class MArrayDataHandle {
public:
    MArrayDataHandle() = default;
    MArrayDataHandle(const MDataHandle& arrayHandle, MStatus* status = nullptr);
    MArrayDataHandle(host::Node* node, const host::Attribute* attribute, host::Value* arrayValue);

    unsigned elementCount(MStatus* status = nullptr) const;
    unsigned elementIndex(MStatus* status = nullptr) const;
    MStatus jumpToElement(unsigned logicalIndex);
    MStatus jumpToArrayElement(unsigned physicalIndex);
    MStatus next();
    MDataHandle inputValue(MStatus* status = nullptr);
    MDataHandle outputValue(MStatus* status = nullptr);
    MArrayDataBuilder builder(MStatus* status = nullptr);
    MStatus set(MArrayDataBuilder& builder);
    MStatus setAllClean();
    MStatus setClean();

private:
    host::Node* node_ = nullptr;
    const host::Attribute* attr_ = nullptr;
    host::Value* value_ = nullptr;
    // The host's position of the current element (its index and value are read there, and next() is one
    // step from it); null before the first element or past the end.
    void* cursor_ = nullptr;
};

#endif
