#ifndef HOST_SCENEARGS_H
#define HOST_SCENEARGS_H

#include "graph/Node.h"

#include <maya/MPlug.h>
#include <maya/MStatus.h>

#include <memory>
#include <string>

namespace host {

// Node names: a letter or '_' first, then letters, digits and '_'.
bool isValidNodeName(const std::string& name);

// Finds a node; a missing one is an error of the command.
MStatus resolveNode(const std::string& command, const std::string& name, std::shared_ptr<Node>& node);

// Finds a plug "node.attr[i].child"; the error says whether the node or the attribute is missing.
MStatus resolvePlug(const std::string& command, const std::string& name, MPlug& plug);

// The attribute a plug addresses (its last level).
const Attribute* plugAttribute(const MPlug& plug);

}  // namespace host

#endif
