#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/QueryArgs.h"
#include "graph/Dag.h"
#include "graph/Scene.h"

#include <maya/MCommandResult.h>
#include <maya/MStringArray.h>

// Scene queries: objExists, nodeType, ls, listConnections, isConnected.

namespace host {

namespace {

const char* const kListConnections = "listConnections";

// The node of an object name: a node, a DAG path or a plug ("node.attr").
std::shared_ptr<Node> nodeOfObject(const std::string& name) {
    return lookupNode(name.substr(0, name.find('.')));
}

bool plugExists(const std::string& name) {
    MStatus status;
    MPlug plug = plugFromName(name, &status);
    return status && !plug.isNull();
}

// Whether text matches a pattern where '*' stands for any run of characters and '?' for one. Runs in
// time proportional to the product of the lengths at worst: a star only ever goes back to the last star.
bool matchesPattern(const std::string& pattern, const std::string& text) {
    size_t p = 0;
    size_t t = 0;
    size_t star = std::string::npos;
    size_t resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// ls -type: a node type's own name, or one of the abstract types Maya's types share.
bool isOfType(const Node& node, const std::string& type) {
    if (node.type->name == type || type == "dependNode")
        return true;
    if (type == "dagNode")
        return isDagNode(node);
    if (type == "shape")
        return isShape(node);
    if (type == "field")
        return node.type->kind == MPxNode::kFieldNode;
    if (type == "pointEmitter")
        return node.type->kind == MPxNode::kEmitterNode;
    if (type == "geometryFilter")
        return node.type->kind == MPxNode::kDeformerNode;
    return false;
}

bool matchesAnyType(const Node& node, const std::vector<std::string>& types) {
    if (types.empty())
        return true;
    for (const std::string& type : types)
        if (isOfType(node, type))
            return true;
    return false;
}

// Whether a connection end lies at or below the given plug: the same node, the plug's path as a prefix
// of the end's, indices agreeing where the plug names one.
bool isAtOrBelow(const MPlug& end, const MPlug& plug) {
    if (end.hostNode() != plug.hostNode())
        return false;
    const std::vector<PlugStep>& mine = plug.hostPath();
    const std::vector<PlugStep>& theirs = end.hostPath();
    if (theirs.size() < mine.size())
        return false;
    for (size_t k = 0; k < mine.size(); ++k) {
        if (mine[k].attr != theirs[k].attr)
            return false;
        if (mine[k].index >= 0 && mine[k].index != theirs[k].index)
            return false;
    }
    return true;
}

bool samePlug(const MPlug& a, const MPlug& b) {
    if (a.hostNode() != b.hostNode() || a.hostPath().size() != b.hostPath().size())
        return false;
    for (size_t k = 0; k < a.hostPath().size(); ++k)
        if (a.hostPath()[k].attr != b.hostPath()[k].attr || a.hostPath()[k].index != b.hostPath()[k].index)
            return false;
    return true;
}

struct ConnectionQuery {
    bool sources = true;
    bool destinations = true;
    bool plugs = false;
    bool pairs = false;
    std::vector<std::string> types;
};

void addOther(const ConnectionQuery& query, const MPlug& mine, const MPlug& other, MStringArray& out) {
    if (!matchesAnyType(*other.hostNode(), query.types))
        return;
    if (query.pairs)
        out.append(mine.name());
    out.append(query.plugs ? other.name() : MString(other.hostNode()->name));
}

}  // namespace

// objExists <name>: 1 when a node, DAG path or plug of that name exists, else 0.
MStatus objExistsCommand(const Args& args, MCommandResult& result) {
    QueryArgs parsed;
    MStatus status = parseQueryArgs("objExists", args, {}, parsed);
    if (!status)
        return status;
    if (parsed.positional.size() != 1)
        return commandError("objExists", "Give one object name. Usage: objExists <name>");
    const std::string name = parsed.positional[0].text;
    const bool exists = name.find('.') == std::string::npos ? lookupNode(name) != nullptr : plugExists(name);
    CommandResultAccess::setInt(result, exists ? 1 : 0);
    return MStatus::kSuccess;
}

// nodeType <object>: the type name of the node (of a plug's node for "node.attr").
MStatus nodeTypeCommand(const Args& args, MCommandResult& result) {
    QueryArgs parsed;
    MStatus status = parseQueryArgs("nodeType", args, {}, parsed);
    if (!status)
        return status;
    if (parsed.positional.size() != 1)
        return commandError("nodeType", "Give one object name. Usage: nodeType <object>");
    const std::string name = parsed.positional[0].text;
    std::shared_ptr<Node> node = nodeOfObject(name);
    if (!node)
        return commandError("nodeType", "No object matches name: " + name);
    CommandResultAccess::setString(result, MString(node->type->name));
    return MStatus::kSuccess;
}

// ls [-type <type>]... [<name or pattern>...]: the names of the scene's nodes in creation order, those
// matching any pattern (with * and ?) and, with -type, of any of the types given.
MStatus lsCommand(const Args& args, MCommandResult& result) {
    QueryArgs parsed;
    MStatus status = parseQueryArgs("ls", args, {{"type", "typ", QueryFlag::Text, true}}, parsed);
    if (!status)
        return status;
    const std::vector<std::string> types = parsed.values("type");
    MStringArray names;
    for (const std::shared_ptr<Node>& node : sceneNodes()) {
        if (!node->alive || !matchesAnyType(*node, types))
            continue;
        bool matched = parsed.positional.empty();
        for (const Arg& pattern : parsed.positional) {
            const std::string& text = pattern.text;
            if (text == node->name || (!text.empty() && text[0] == '|' && text == fullPathName(*node)) ||
                matchesPattern(text, node->name))
                matched = true;
        }
        if (matched)
            names.append(MString(node->name));
    }
    CommandResultAccess::setStringArray(result, names);
    return MStatus::kSuccess;
}

// listConnections [-source b] [-destination b] [-plugs b] [-connections b] [-type t]... <object>...:
// the nodes (or, with -plugs, the plugs) at the other end of every connection of each object (a node,
// or a plug with everything below it). Both directions by default; -source false or -destination false
// leaves one out. Sources come first, then destinations, each in the order the connections were made;
// a node connected twice is named twice. -connections puts the object's own plug before each.
MStatus listConnectionsCommand(const Args& args, MCommandResult& result) {
    QueryArgs parsed;
    MStatus status = parseQueryArgs(kListConnections, args,
                                    {{"source", "s", QueryFlag::OptionalBool},
                                     {"destination", "d", QueryFlag::OptionalBool},
                                     {"plugs", "p", QueryFlag::OptionalBool},
                                     {"connections", "c", QueryFlag::OptionalBool},
                                     {"type", "t", QueryFlag::Text, true}},
                                    parsed);
    if (!status)
        return status;
    if (parsed.positional.empty())
        return commandError(kListConnections, "No object given. Usage: listConnections [-source <bool>] "
                                              "[-destination <bool>] [-plugs <bool>] <object>...");
    ConnectionQuery query;
    query.sources = parsed.on("source", true);
    query.destinations = parsed.on("destination", true);
    query.plugs = parsed.on("plugs");
    query.pairs = parsed.on("connections");
    query.types = parsed.values("type");

    MStringArray names;
    for (const Arg& object : parsed.positional) {
        const std::string& name = object.text;
        std::shared_ptr<Node> node = nodeOfObject(name);
        if (!node)
            return commandError(kListConnections, "No object matches name: " + name);
        MPlug plug;
        if (name.find('.') != std::string::npos) {
            plug = plugFromName(name, &status);
            if (!status || plug.isNull())
                return commandError(kListConnections, "No object matches name: " + name);
        }
        if (query.sources)
            for (const Connection* c : node->incoming)
                if (plug.isNull() || isAtOrBelow(c->dst, plug))
                    addOther(query, c->dst, c->src, names);
        if (query.destinations)
            for (const Connection* c : node->outgoing)
                if (plug.isNull() || isAtOrBelow(c->src, plug))
                    addOther(query, c->src, c->dst, names);
    }
    CommandResultAccess::setStringArray(result, names);
    return MStatus::kSuccess;
}

// isConnected <source plug> <destination plug>: 1 when the first feeds the second directly, else 0.
MStatus isConnectedCommand(const Args& args, MCommandResult& result) {
    const char* const command = "isConnected";
    QueryArgs parsed;
    MStatus status = parseQueryArgs(command, args, {}, parsed);
    if (!status)
        return status;
    if (parsed.positional.size() != 2)
        return commandError(command, "Give two plugs. Usage: isConnected <source plug> <destination plug>");
    MPlug ends[2];
    for (int k = 0; k < 2; ++k) {
        const std::string name = parsed.positional[static_cast<size_t>(k)].text;
        ends[k] = plugFromName(name, &status);
        if (!status || ends[k].isNull())
            return commandError(command, "No plug named " + quoted(name) + ".");
    }
    const Connection* feeding = incomingConnection(ends[1]);
    CommandResultAccess::setInt(result, feeding && samePlug(feeding->src, ends[0]) ? 1 : 0);
    return MStatus::kSuccess;
}

}  // namespace host
