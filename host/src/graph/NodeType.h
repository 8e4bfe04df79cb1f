#ifndef HOST_NODETYPE_H
#define HOST_NODETYPE_H

#include "graph/Attribute.h"

#include <maya/MFn.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>
#include <maya/MTypes.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace host {

// A registered node type: its attributes (base-class ones first, then the class's own, in add order),
// a name index over every level of them, and what affects what.
class NodeType {
public:
    std::string name;
    MTypeId id;
    MPxNode::Type kind = MPxNode::kDependNode;
    MFn::Type apiType = MFn::kPluginDependNode;
    MCreatorFunction creator = nullptr;
    std::string owner;  // the plug-in path, or "" for the host's own types

    std::vector<std::shared_ptr<Attribute>> attributes;  // top level
    std::unordered_map<std::string, Attribute*> byName;   // long and short names of every level
    std::unordered_map<const Attribute*, std::vector<const Attribute*>> affects;
    std::unordered_set<const Attribute*> computed;  // attributes that something affects

    // Adds a top-level attribute (and its children) unless one of its names is taken.
    MStatus addAttribute(const std::shared_ptr<Attribute>& attribute);
    MStatus addAffects(const Attribute* whenChanges, const Attribute* isAffected);
    bool has(const Attribute* attribute) const;
    Attribute* find(const std::string& attributeName) const;
    // Moves attributes that became children of a compound after they were added out of the top level.
    void settleHierarchy();
};

// Names the attribute and its children would take in an index, for collision checks.
std::vector<std::string> namesOf(const Attribute& attribute);

}  // namespace host

#endif
