#ifndef MFNDEPENDENCYNODE_H
#define MFNDEPENDENCYNODE_H

#include <maya/MFnBase.h>
#include <maya/MPlug.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class MPxNode;

// Function set on a dependency node. Built on anything that is not a live node it fails
// (kInvalidParameter), and every query on it then fails with kFailure.
// findPlug matches the long and short names of the node's static and dynamic attributes; a missing
// name (the empty name included) returns a null plug and kInvalidParameter.
class MFnDependencyNode : public MFnBase {
public:
    enum MAttrClass { kLocalDynamicAttr = 1, kNormalAttr, kExtensionAttr, kInvalidAttr };

    MFnDependencyNode() = default;
    explicit MFnDependencyNode(const MObject& node, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kDependencyNode; }
    MString name(MStatus* status = nullptr) const;
    MString typeName(MStatus* status = nullptr) const;
    MTypeId typeId(MStatus* status = nullptr) const;
    MPlug findPlug(const MString& attributeName, MStatus* status = nullptr) const;
    MPlug findPlug(const MObject& attribute, MStatus* status = nullptr) const;
    unsigned attributeCount(MStatus* status = nullptr) const;
    MObject attribute(unsigned index, MStatus* status = nullptr) const;
    MObject attribute(const MString& attributeName, MStatus* status = nullptr) const;
    bool hasAttribute(const MString& attributeName, MStatus* status = nullptr) const;
    MStatus addAttribute(const MObject& attribute, MAttrClass type = kLocalDynamicAttr);
    MPxNode* userNode(MStatus* status = nullptr) const;
};

#endif
