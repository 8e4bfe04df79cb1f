#ifndef HOST_SCENE_H
#define HOST_SCENE_H

#include "graph/Node.h"

#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MTime.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

namespace host {

struct Connection {
    MPlug src;
    MPlug dst;
};

// Node types known to the host (its own and registered plug-in types).
std::shared_ptr<NodeType> findNodeType(const std::string& name);
std::shared_ptr<NodeType> findNodeType(const MTypeId& id);
std::vector<std::shared_ptr<NodeType>> nodeTypes();
MStatus addNodeType(const std::shared_ptr<NodeType>& type);
MStatus removeNodeType(const MTypeId& id);
// The type whose initialize is running: addAttribute and attributeAffects apply to it.
NodeType* typeBeingInitialized();
void setTypeBeingInitialized(NodeType* type);
// Base attributes and affects of a node kind, added to a new type before its initialize runs.
void addBaseAttributes(NodeType& type);
// Makes a node type: base attributes of its kind, then initialize run in the type's context. Fails on a
// taken name or id, or when initialize fails (the type is then not registered).
MStatus registerType(const std::string& name, const MTypeId& id, MCreatorFunction creator,
                     MInitializeFunction initialize, MPxNode::Type kind, MFn::Type apiType,
                     const std::string& owner);
// The host's own node types, registered once on first use of the scene (defined in nodes/).
void registerHostTypes();

// The scene. Node names are unique; creation order is kept.
std::shared_ptr<Node> createNode(const std::string& typeName, const std::string& name, MStatus* status = nullptr);
MStatus deleteNode(const std::shared_ptr<Node>& node);
std::shared_ptr<Node> findNode(const std::string& name);
const std::vector<std::shared_ptr<Node>>& sceneNodes();
MStatus renameNode(const std::shared_ptr<Node>& node, const std::string& name);
// Deletes every node.
void clearScene();

// "node.attr[3].child" with long or short names. The node may be a DAG path ("|a|b.attr"); a transform's
// name also reaches the attributes of its only shape ("pPlane1.worldMesh[0]"), as in Maya.
MPlug plugFromName(const std::string& name, MStatus* status = nullptr);
MPlug plugOf(const std::shared_ptr<Node>& node, const Attribute* attribute);

MStatus connect(const MPlug& src, const MPlug& dst, bool force);
MStatus disconnect(const MPlug& src, const MPlug& dst);
// When the connection src -> dst (made or about to be) closes a cycle: the plugs around it, starting with
// src and ending with the plug that leads back to it. Empty when there is no cycle.
std::vector<MPlug> cycleThrough(const MPlug& src, const MPlug& dst);
// The connection feeding exactly this plug, if any.
const Connection* incomingConnection(const MPlug& plug);

// Evaluation. pull() makes a plug's value current: a connected destination copies its source; a dirty
// computed plug runs its node's compute with exactly this plug. Returns compute's status (kSuccess when
// nothing had to be computed).
MStatus pull(const MPlug& plug);
// Pulls every connection into the attribute's subtree of the node.
void pullInputs(Node& node, const Attribute* top);
// Marks what a change of this plug affects dirty, following connections downstream.
void changed(const MPlug& plug);
bool isClean(const MPlug& plug);
void setClean(const MPlug& plug);
void setCleanAttribute(Node& node, const Attribute* attribute);

// Time.
MTime currentTime();
void setCurrentTime(const MTime& time);

}  // namespace host

#endif
