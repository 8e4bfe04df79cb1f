#ifndef MARRAYDATABUILDER_H
#define MARRAYDATABUILDER_H

#include <maya/MDataHandle.h>

// Adds elements to an array attribute's value. Elements are live in the data block as soon as they
// are added.
class MArrayDataBuilder {
public:
    MArrayDataBuilder() = default;
    MArrayDataBuilder(host::Node* node, const host::Attribute* attribute, host::Value* arrayValue)
        : node_(node), attr_(attribute), value_(arrayValue) {}

    MDataHandle addElement(unsigned logicalIndex, MStatus* status = nullptr);
    MDataHandle addLast(MStatus* status = nullptr);
    MStatus removeElement(unsigned logicalIndex);
    unsigned elementCount(MStatus* status = nullptr) const;

    host::Value* hostValue() const { return value_; }

private:
    host::Node* node_ = nullptr;
    const host::Attribute* attr_ = nullptr;
    host::Value* value_ = nullptr;
};

#endif
