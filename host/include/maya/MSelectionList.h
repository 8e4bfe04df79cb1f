#ifndef MSELECTIONLIST_H
#define MSELECTIONLIST_H

#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <vector>

// A list of objects: DAG paths (with an optional component) and dependency nodes, in the order added.
//
// add(name) takes a node name. A DAG node may be named by its name or by a full or partial path
// ("pPlane1", "|pPlane1|pPlaneShape1", "pPlane1|pPlaneShape1"); it is added as the path to exactly the
// node named, so a transform's name gives "|pPlane1" and a shape's name "|pPlane1|pPlaneShape1". Other
// nodes are added as dependency nodes. The host matches no patterns ("*"), plugs or components in the
// text. An empty name or a name that matches nothing adds nothing and returns kInvalidParameter. An item
// already in the list is not added twice (the call succeeds).
//
// getDagPath(index, path, component) fills path and component from item index. An index out of range,
// or an item that is a dependency node, gives kInvalidParameter or kFailure respectively, with path left
// empty and component null. getDependNode gives the node of any item (for a path: its last node).
class MSelectionList {
public:
    MSelectionList() = default;

    MStatus clear();
    bool isEmpty(MStatus* status = nullptr) const;
    unsigned length(MStatus* status = nullptr) const;

    MStatus add(const MString& matchString, bool searchChildren = false);
    MStatus add(const MObject& node, bool mergeWithExisting = false);
    MStatus add(const MDagPath& path, const MObject& component = MObject::kNullObj, bool mergeWithExisting = false);

    MStatus getDagPath(unsigned index, MDagPath& path, MObject& component = MObject::kNullObj) const;
    MStatus getDependNode(unsigned index, MObject& node) const;

private:
    struct Item {
        MDagPath path;     // empty for a dependency node
        MObject node;      // the node (the path's last node for a DAG item)
        MObject component;
    };
    MStatus addItem(Item item);

    std::vector<Item> items_;
};

#endif
