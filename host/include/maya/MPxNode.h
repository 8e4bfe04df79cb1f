#ifndef MPXNODE_H
#define MPXNODE_H

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class MPlug;
class MDataBlock;
class MDataHandle;

namespace host {
class Node;
struct NodeBinding;
}  // namespace host

// Base of the plug-in node classes. The host creates an instance through the registered creator,
// binds it to its scene node, and deletes it through the virtual destructor when the node goes away.
class MPxNode {
public:
    enum Type {
        kDependNode = 0,
        kLocatorNode = 1,
        kDeformerNode = 2,
        kManipContainer = 3,
        kSurfaceShape = 4,
        kFieldNode = 5,
        kEmitterNode = 6,
        kSpringNode = 7,
        kIkSolverNode = 8,
        kHardwareShader = 9,
        kHwShaderNode = 10,
        kTransformNode = 11,
        kObjectSet = 12,
        kFluidEmitterNode = 13,
        kLast = 14
    };

    MPxNode() = default;
    MPxNode(const MPxNode&) = delete;
    MPxNode& operator=(const MPxNode&) = delete;
    virtual ~MPxNode();

    virtual void postConstructor();
    // The default answers no plug: kUnknownParameter.
    virtual MStatus compute(const MPlug& plug, MDataBlock& block);
    virtual bool getInternalValue(const MPlug& plug, MDataHandle& handle);
    virtual bool setInternalValue(const MPlug& plug, const MDataHandle& handle);
    virtual MStatus legalConnection(const MPlug& plug, const MPlug& otherPlug, bool asSrc, bool& isLegal) const;
    virtual MStatus legalDisconnection(const MPlug& plug, const MPlug& otherPlug, bool asSrc, bool& isLegal) const;
    virtual MStatus connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc);
    virtual MStatus connectionBroken(const MPlug& plug, const MPlug& otherPlug, bool asSrc);
    virtual MStatus shouldSave(const MPlug& plug, bool& isSaving);
    virtual Type type() const;
    virtual bool isAbstractClass() const;

    MObject thisMObject() const;
    MTypeId typeId() const;
    MString typeName() const;
    MString name() const;

    // Called from a class's initialize while the host registers it: they apply to that class.
    static MStatus addAttribute(const MObject& attribute);
    static MStatus attributeAffects(const MObject& whenChanges, const MObject& isAffected);

private:
    friend struct host::NodeBinding;
    host::Node* node_ = nullptr;
};

#endif
