#ifndef MPLUG_H
#define MPLUG_H

#include <maya/MDGContext.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <memory>
#include <vector>

class MPlugArray;
class MIntArray;
class MTime;

namespace host {
class Node;
class Attribute;
// One level of a plug's path: an attribute, and the logical index when the level is an array element.
struct PlugStep {
    const Attribute* attr;
    int index;  // -1 when no element is selected
};
}  // namespace host

// A plug: a node and a path of attributes (with logical indices for array elements) down to one
// attribute. name() gives "node.longName[i].child". Two plugs compare equal when they address the same
// attribute path of the same node, whatever their logical indices; a plug equals an attribute handle when
// the plug's own (last) attribute is that attribute.
class MPlug {
public:
    MPlug() = default;
    MPlug(const MObject& node, const MObject& attribute);
    MPlug(std::shared_ptr<host::Node> node, std::vector<host::PlugStep> path) : node_(std::move(node)), path_(std::move(path)) {}

    bool isNull(MStatus* status = nullptr) const;
    MObject attribute(MStatus* status = nullptr) const;
    MObject node(MStatus* status = nullptr) const;
    MString name(MStatus* status = nullptr) const;
    MString partialName(bool includeNodeName = false, bool includeNonMandatoryIndices = false,
                        bool includeInstancedIndices = false, bool useAlias = false,
                        bool useFullAttributePath = false, bool useLongNames = false,
                        MStatus* status = nullptr) const;

    bool isArray(MStatus* status = nullptr) const;
    bool isElement(MStatus* status = nullptr) const;
    bool isCompound(MStatus* status = nullptr) const;
    bool isChild(MStatus* status = nullptr) const;
    // Logical index of an element plug, or of the element that a child plug lies under. Fails on
    // plugs that are not elements.
    unsigned logicalIndex(MStatus* status = nullptr) const;
    // The element plug, whether or not the element exists yet. Fails on a plug that is not an array.
    MPlug elementByLogicalIndex(unsigned logicalIndex, MStatus* status = nullptr) const;
    // The k-th existing element, in ascending logical order.
    MPlug elementByPhysicalIndex(unsigned physicalIndex, MStatus* status = nullptr) const;
    unsigned numElements(MStatus* status = nullptr) const;
    // Number of elements that are connected themselves or have a connected child.
    unsigned numConnectedElements(MStatus* status = nullptr) const;
    unsigned numChildren(MStatus* status = nullptr) const;
    MPlug child(unsigned index, MStatus* status = nullptr) const;
    MPlug child(const MObject& attribute, MStatus* status = nullptr) const;
    MPlug parent(MStatus* status = nullptr) const;
    MPlug array(MStatus* status = nullptr) const;
    // Existing elements (set, computed or connected), ascending logical order.
    unsigned getExistingArrayAttributeIndices(MIntArray& indices, MStatus* status = nullptr) const;

    // asDst: the one plug feeding this very plug. asSrc: every plug this plug feeds, in connection order.
    bool connectedTo(MPlugArray& plugs, bool asDst, bool asSrc, MStatus* status = nullptr) const;
    bool isConnected(MStatus* status = nullptr) const;

    MStatus getValue(double& value, MDGContext& context = MDGContext::fsNormal) const;
    MStatus getValue(float& value, MDGContext& context = MDGContext::fsNormal) const;
    MStatus getValue(int& value, MDGContext& context = MDGContext::fsNormal) const;
    MStatus getValue(bool& value, MDGContext& context = MDGContext::fsNormal) const;
    MStatus getValue(MString& value, MDGContext& context = MDGContext::fsNormal) const;
    MStatus getValue(MObject& value, MDGContext& context = MDGContext::fsNormal) const;
    MStatus getValue(MTime& value, MDGContext& context = MDGContext::fsNormal) const;
    MStatus setValue(double value);
    MStatus setValue(float value);
    MStatus setValue(int value);
    MStatus setValue(bool value);
    MStatus setValue(const MString& value);
    MStatus setValue(const char* value);
    MStatus setValue(MObject& value);
    MStatus setValue(const MTime& value);

    bool operator==(const MPlug& other) const;
    bool operator!=(const MPlug& other) const { return !(*this == other); }
    bool operator==(const MObject& attribute) const;
    bool operator!=(const MObject& attribute) const { return !(*this == attribute); }

    const std::shared_ptr<host::Node>& hostNode() const { return node_; }
    const std::vector<host::PlugStep>& hostPath() const { return path_; }

private:
    std::shared_ptr<host::Node> node_;
    std::vector<host::PlugStep> path_;
};

std::ostream& operator<<(std::ostream& os, const MPlug& plug);

#endif
