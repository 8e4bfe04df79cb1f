#ifndef MDATAHANDLE_H
#define MDATAHANDLE_H

#include <maya/MFnData.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

class MString;
class MTime;

namespace host {
class Node;
class Attribute;
struct Value;
struct Element;
}  // namespace host

// Handle to one value in a node's data block (a simple attribute, an array element or a child).
// Copies refer to the same value.
class MDataHandle {
public:
    MDataHandle() = default;
    MDataHandle(host::Node* node, const host::Attribute* attribute, host::Value* value, int component = -1)
        : node_(node), attr_(attribute), value_(value), component_(component) {}

    bool isNull() const { return value_ == nullptr; }
    MObject attribute();

    double asDouble() const;
    float asFloat() const;
    bool asBool() const;
    int asLong() const;
    int asInt() const;
    short asShort() const;
    double3& asDouble3() const;
    MString& asString() const;
    MTime asTime() const;
    MObject data() const;
    MObject asMesh() const;
    MObject asNurbsCurve() const;
    MObject asNurbsSurface() const;
    MFnData::Type type() const;
    MDataHandle child(const MObject& attribute);

    // Stores the data object as the value; fails when the attribute holds no data of that kind.
    MStatus set(const MObject& data);
    void set(double value);
    void set(float value);
    void set(int value);
    void set(bool value);
    void set(double x, double y, double z);
    void set(const MString& value);
    void set(const MTime& value);
    // Has no effect here: a handle does not know its plug. Use MDataBlock::setClean.
    void setClean();

    host::Node* hostNode() const { return node_; }
    host::Value* hostValue() const { return value_; }
    const host::Attribute* hostAttribute() const { return attr_; }

private:
    host::Node* node_ = nullptr;
    const host::Attribute* attr_ = nullptr;
    host::Value* value_ = nullptr;
    int component_ = -1;  // for a child of a numeric compound: which of the parent's numbers
};

#endif
