#ifndef MARRAYDATAHANDLE_H
#define MARRAYDATAHANDLE_H

#include <maya/MArrayDataBuilder.h>
#include <maya/MDataHandle.h>

#include <cstddef>

// Walks the existing elements of an array attribute in ascending logical order. A new handle stands on
// the first element. A failed jumpToElement leaves the position unchanged; next() past the last
// element fails, after which elementIndex() fails and returns (unsigned)-1. The handle keeps the position
// of its current element: after elements are added to or removed from the array it stands on whatever
// element is now at that position, or on none (and then fails) when the array has become shorter.
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
    // Each call first tests whether the array is unchanged since the current element was found (then it
    // reads the cached element); otherwise the call's slow path finds the element again by position.
    bool cached() const;
    host::Element* findAgain() const;
    unsigned elementIndexSlow(MStatus* status) const;
    MStatus nextSlow();
    MDataHandle valueSlow(MStatus* status);

    host::Node* node_ = nullptr;
    const host::Attribute* attr_ = nullptr;
    host::Value* value_ = nullptr;

    // The position of the current element in the host's storage (a chunk and an offset in it); onElement_
    // is false past the end.
    size_t chunk_ = 0;
    size_t offset_ = 0;
    bool onElement_ = false;
    // The element at that position and the end of its chunk, as found when the array had version version_.
    // version_ is 0 (no array's version) when they are to be found again. Any change of the array gives it a
    // new version.
    mutable host::Element* element_ = nullptr;
    mutable host::Element* chunkEnd_ = nullptr;
    mutable unsigned long long version_ = 0;
};

#endif
