#ifndef MDAGPATH_H
#define MDAGPATH_H

#include <maya/MFn.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <memory>
#include <vector>

namespace host {
class Node;
}

// A path from the world down to a DAG node: the nodes along it, root first. The default path is empty
// and invalid. A path is a value: it keeps the nodes it was made with, and stops being valid when one of
// them is deleted.
//
// fullPathName() is "|a|b" ("" for an empty path); partialPathName() is the last node's name (names are
// unique in the host's scene). inclusiveMatrix() is the product, leaf first, of the local matrices along
// the path (row-vector convention: a point maps as p * inclusiveMatrix()); exclusiveMatrix() leaves out
// the last node's own. Transforms have the local matrix S * R * T, shapes the identity (graph/Dag.h).
//
// hasFn(type) is true when the last node has the function set, and also when the last node is a
// transform with exactly one shape below it that has it: hasFn(MFn::kMesh) holds for "|pCube1" as for
// "|pCube1|pCubeShape1", as function sets extend a transform's path to its shape. An empty or invalid
// path has nothing (false, status kSuccess).
//
// On an invalid path node(), transform() and the matrices fail with kFailure (a null object, or the
// identity); fullPathName() and partialPathName() of an empty path are "" with kSuccess, those of a path
// to a deleted node "" with kFailure.
class MDagPath {
public:
    MDagPath() = default;
    // Host-only: a path through these nodes, root first.
    explicit MDagPath(std::vector<std::shared_ptr<host::Node>> nodes) : nodes_(std::move(nodes)) {}

    // A path to the node; kInvalidParameter (path left empty) when it is not a live DAG node.
    static MStatus getAPathTo(const MObject& node, MDagPath& path);

    bool isValid(MStatus* status = nullptr) const;
    // Number of nodes on the path.
    unsigned length(MStatus* status = nullptr) const;
    MString fullPathName(MStatus* status = nullptr) const;
    MString partialPathName(MStatus* status = nullptr) const;
    // The last node; a null object (and kFailure) for an invalid path.
    MObject node(MStatus* status = nullptr) const;
    // The last node when it is a transform, else the transform above it (a shape under the world: kFailure).
    MObject transform(MStatus* status = nullptr) const;
    bool hasFn(MFn::Type type, MStatus* status = nullptr) const;
    // Extends a path ending at a transform with exactly one shape below it to that shape. A path that
    // already ends at a shape is left as it is (kSuccess); otherwise kFailure and the path is unchanged.
    MStatus extendToShape();
    // Removes the last count nodes; kInvalidParameter (unchanged) when the path is shorter.
    MStatus pop(unsigned count = 1);
    MMatrix inclusiveMatrix(MStatus* status = nullptr) const;
    MMatrix exclusiveMatrix(MStatus* status = nullptr) const;
    MMatrix inclusiveMatrixInverse(MStatus* status = nullptr) const;
    MMatrix exclusiveMatrixInverse(MStatus* status = nullptr) const;

    bool operator==(const MDagPath& other) const { return nodes_ == other.nodes_; }
    bool operator!=(const MDagPath& other) const { return !(*this == other); }

    const std::vector<std::shared_ptr<host::Node>>& hostNodes() const { return nodes_; }

private:
    std::vector<std::shared_ptr<host::Node>> nodes_;
};

#endif
