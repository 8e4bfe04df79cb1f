#ifndef HOST_DAG_H
#define HOST_DAG_H

#include "graph/Node.h"

#include <maya/MDagPath.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <vector>

// The DAG: transforms and the shapes below them.
//
// Which nodes are DAG nodes follows from their type's apiType: MFn::kTransform makes a transform; the
// shape types are kNurbsCurve, kMesh, kNurbsSurface, kCamera and kLattice. Only a transform can be a
// parent. A DAG node without a parent lies directly under the world; the scene API's createNode makes
// nodes there, while the createNode command puts a new shape under a new transform as Maya does.
//
// Names stay unique in the whole scene (as for every node of this host), so a full path "|a|b" is only
// checked, never needed, to find a node, and a partial path name is the node's own name.
//
// Matrices use Maya's row-vector convention: a point maps as p * M. A transform's local matrix is
// S * R * T (scale, then rotation in the order XYZ, then translation); a shape has no local matrix of its
// own (the identity). The world matrix of a node is the product of the local matrices from it up to the
// world: local(node) * local(parent) * ... .
//
// World-space outputs. Every DAG node has the hidden attribute "worldMatrix"/"wm" (worldMatrixAttribute):
// it holds no value (read matrices with worldMatrix() or MDagPath::inclusiveMatrix) and serves as the
// signal that the node's world matrix changed. A shape type makes its world-space outputs depend on it
// in its initialize, as it does for its other inputs:
//
//     attributeAffects(host::worldMatrixAttribute(), worldSpace);
//
// The DAG marks "worldMatrix" changed on a transform and on everything below it when the transform's
// translate, rotate or scale change (by setAttr, MPlug::setValue or through a connection) and when a
// node is parented elsewhere, so those outputs are recomputed on their next pull; compute then asks
// worldMatrix(node) for the current matrix.
namespace host {

// ---- Roles ------------------------------------------------------------------------------------------

bool isTransform(const Node& node);
bool isShape(const Node& node);
bool isDagNode(const Node& node);
bool isShapeApiType(MFn::Type type);
bool isDagApiType(MFn::Type type);

// The "worldMatrix" attribute shared by every DAG node type (see above).
MObject worldMatrixAttribute();

// ---- Relations --------------------------------------------------------------------------------------

// The parent transform, or null under the world (and for nodes outside the DAG).
std::shared_ptr<Node> dagParent(const Node& node);
// Children in the order they were parented.
std::vector<std::shared_ptr<Node>> dagChildren(const Node& node);
// The shapes directly below a transform, in order.
std::vector<std::shared_ptr<Node>> shapesOf(const Node& node);
// The node itself when it is a shape; the only shape of a transform that has exactly one; else null.
std::shared_ptr<Node> shapeOf(const std::shared_ptr<Node>& node);
// Every node below this one, parents before their children.
std::vector<std::shared_ptr<Node>> dagDescendants(const Node& node);

// Moves child under parent (null: under the world). Refused with kInvalidParameter, changing nothing,
// when either node is not a live DAG node of this scene, when parent is not a transform, or when parent
// is child itself or lies below it (the DAG stays a tree). Parenting where the node already is succeeds.
MStatus setDagParent(const std::shared_ptr<Node>& child, const std::shared_ptr<Node>& parent);

// ---- Creation ---------------------------------------------------------------------------------------

// A new transform under parent (null: the world), named as createNode names nodes ("transform1" for "").
std::shared_ptr<Node> createTransform(const std::string& name, const std::shared_ptr<Node>& parent,
                                      MStatus* status = nullptr);
// A new shape of shapeType under a new transform, named from base as Maya names its objects: base
// "pPlane" makes transform "pPlane1" and shape "pPlaneShape1", then "pPlane2"/"pPlaneShape2", and so on
// (the smallest number for which both names are free). Fails with kInvalidParameter for an empty base, an
// unknown type or a type that is not a shape; nothing is left behind on failure.
MStatus createShapeWithTransform(const std::string& shapeType, const std::string& base,
                                 std::shared_ptr<Node>& transform, std::shared_ptr<Node>& shape);

// ---- Names and paths --------------------------------------------------------------------------------

// A DAG node by name ("pPlane1"), full path ("|pPlane1|pPlaneShape1") or partial path
// ("pPlane1|pPlaneShape1"); null when nothing matches or the node is not in the DAG.
std::shared_ptr<Node> findDagNode(const std::string& nameOrPath);
// The path from the world down to the node; empty for null and for nodes outside the DAG.
MDagPath dagPathOf(const std::shared_ptr<Node>& node);
// "|a|b"; "" for nodes outside the DAG.
std::string fullPathName(const Node& node);

// ---- Matrices ---------------------------------------------------------------------------------------

// S * R * T of a transform, the identity for other nodes.
MMatrix localMatrix(const Node& node);
// Inclusive: the node's own local matrix times those of every transform above it.
MMatrix worldMatrix(const Node& node);
// The same for a node object (what MPxNode::thisMObject gives a compute); the identity for null objects
// and objects that are not nodes.
MMatrix worldMatrix(const MObject& node);
// Exclusive: the world matrix of the parent (the identity under the world).
MMatrix parentWorldMatrix(const Node& node);

// ---- Hooks of the scene (Scene.cpp) -----------------------------------------------------------------

// A plug of this node changed: when that moves the node's world matrix, the world matrices of the node
// and of everything below it are marked changed.
void dagPlugChanged(Node& node, const Attribute* attribute);
// The node is about to be deleted: its descendants are deleted first, then it leaves its parent.
void dagNodeDeleting(Node& node);

}  // namespace host

#endif
