#include "command/SceneArgs.h"

#include "command/Args.h"
#include "graph/Dag.h"
#include "graph/Scene.h"

#include <cctype>

namespace host {

bool isValidNodeName(const std::string& name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

MStatus resolveNode(const std::string& command, const std::string& name, std::shared_ptr<Node>& node) {
    node = findNode(name);
    if (!node)
        return commandError(command, "No node named " + quoted(name) + ".");
    return MStatus::kSuccess;
}

MStatus resolvePlug(const std::string& command, const std::string& name, MPlug& plug) {
    size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
        return commandError(command, quoted(name) + " is not a plug name: expected node.attribute.");
    std::string nodeName = name.substr(0, dot);
    if (!findNode(nodeName) && !findDagNode(nodeName))
        return commandError(command, "No node named " + quoted(nodeName) + " (in " + quoted(name) + ").");
    MStatus status;
    plug = plugFromName(name, &status);
    if (plug.isNull() || !status)
        return commandError(command, "Node " + quoted(nodeName) + " has no attribute " +
                                         quoted(name.substr(dot + 1)) + " (or a bad index in it).");
    return MStatus::kSuccess;
}

const Attribute* plugAttribute(const MPlug& plug) {
    const std::vector<PlugStep>& path = plug.hostPath();
    return path.empty() ? nullptr : path.back().attr;
}

}  // namespace host
