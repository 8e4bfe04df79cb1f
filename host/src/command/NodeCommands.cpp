#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "graph/Dag.h"
#include "graph/Scene.h"

#include <maya/MCommandResult.h>

#include <set>

namespace host {

// createNode type [-n name] [-p parent]: the result is the new node's name. Without -n the node is named
// after its type with a number ("particle1"); the scene makes a taken name unique by numbering it. A DAG
// node goes under the transform -p names; a shape without -p goes under a new transform ("transform1"),
// as in Maya, while a transform without -p goes under the world. Nothing is made when -p is not a
// transform or the node is not a DAG node.
MStatus createNodeCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs("createNode", args, {{"name", "n", 1}, {"parent", "p", 1}}, parsed);
    if (status)
        status = expectCount("createNode", parsed, 1, 1, "createNode <type> [-n <name>] [-p <parent>]");
    if (!status)
        return status;
    const std::string& typeName = parsed.positional[0].text;
    std::string name = parsed.has("name") ? parsed.value("name") : typeName + "1";
    if (!isValidNodeName(name))
        return commandError("createNode", quoted(name) + " is not a valid node name.");
    std::shared_ptr<NodeType> type = findNodeType(typeName);
    if (!type)
        return commandError("createNode", "Unknown node type " + quoted(typeName) + ".");
    std::shared_ptr<Node> parent;
    if (parsed.has("parent")) {
        const std::string parentName = parsed.value("parent");
        parent = findDagNode(parentName);
        if (!parent || !isTransform(*parent))
            return commandError("createNode", quoted(parentName) + " is not a transform that can take children.");
        if (!isDagApiType(type->apiType))
            return commandError("createNode", "A node of type " + quoted(typeName) + " is not a DAG node: it takes no parent.");
    }
    std::shared_ptr<Node> node = createNode(typeName, name, &status);
    if (!node)
        return commandError("createNode", "Cannot create a node of type " + quoted(typeName) + " (" +
                                              status.errorString().str() + ").");
    if (!parent && isShapeApiType(type->apiType))
        parent = createTransform("", nullptr, &status);
    if (parent)
        status = setDagParent(node, parent);
    if (!status) {
        deleteNode(node);
        return commandError("createNode", "Cannot place the new node (" + status.errorString().str() + ").");
    }
    CommandResultAccess::setString(result, MString(node->name));
    return MStatus::kSuccess;
}

// delete node...: every name must exist, or nothing is deleted.
MStatus deleteCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs("delete", args, {}, parsed);
    if (status)
        status = expectCount("delete", parsed, 1, static_cast<size_t>(-1), "delete <node>...");
    if (!status)
        return status;
    std::vector<std::shared_ptr<Node>> nodes;
    std::set<Node*> seen;
    for (const Arg& arg : parsed.positional) {
        std::shared_ptr<Node> node;
        status = resolveNode("delete", arg.text, node);
        if (!status)
            return status;
        if (seen.insert(node.get()).second)
            nodes.push_back(node);
    }
    for (const std::shared_ptr<Node>& node : nodes) {
        status = deleteNode(node);
        if (!status)
            return commandError("delete", "Cannot delete " + quoted(node->name) + " (" +
                                              status.errorString().str() + ").");
    }
    return MStatus::kSuccess;
}

// rename old new: the result is the new name.
MStatus renameCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs("rename", args, {}, parsed);
    if (status)
        status = expectCount("rename", parsed, 2, 2, "rename <node> <new name>");
    if (!status)
        return status;
    std::shared_ptr<Node> node;
    status = resolveNode("rename", parsed.positional[0].text, node);
    if (!status)
        return status;
    const std::string& newName = parsed.positional[1].text;
    if (!isValidNodeName(newName))
        return commandError("rename", quoted(newName) + " is not a valid node name.");
    std::shared_ptr<Node> other = findNode(newName);
    if (other && other != node)
        return commandError("rename", "A node named " + quoted(newName) + " already exists.");
    status = renameNode(node, newName);
    if (!status)
        return commandError("rename", "Cannot rename " + quoted(node->name) + " (" + status.errorString().str() + ").");
    CommandResultAccess::setString(result, MString(newName));
    return MStatus::kSuccess;
}

}  // namespace host
