#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "graph/Dag.h"
#include "graph/Scene.h"

#include <maya/MCommandResult.h>
#include <maya/MDoubleArray.h>
#include <maya/MPoint.h>
#include <maya/MStringArray.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MVector.h>

// Commands on the DAG: parent, move, listRelatives and xform (queries). Objects are named by node name
// or by full or partial path ("|pPlane1|pPlaneShape1"). The host has no selection, so every command
// needs its objects named.

namespace host {

namespace {

MStatus resolveDagNode(const std::string& command, const std::string& name, std::shared_ptr<Node>& node) {
    node = findDagNode(name);
    if (node)
        return MStatus::kSuccess;
    if (findNode(name))
        return commandError(command, quoted(name) + " is not a DAG node (a transform or a shape).");
    return commandError(command, "No object named " + quoted(name) + ".");
}

// The transform a command that moves things acts on: the node itself, or the transform above a shape.
MStatus resolveTransform(const std::string& command, const std::string& name, std::shared_ptr<Node>& node) {
    MStatus status = resolveDagNode(command, name, node);
    if (!status)
        return status;
    if (!isTransform(*node))
        node = dagParent(*node);
    if (!node)
        return commandError(command, quoted(name) + " has no transform to move.");
    return MStatus::kSuccess;
}

MStatus setTranslate(const std::shared_ptr<Node>& node, const MVector& t) {
    MPlug plug = plugOf(node, node->findAttribute("translate"));
    const double values[3] = {t.x, t.y, t.z};
    for (unsigned i = 0; i < 3; ++i) {
        MStatus status = plug.child(i).setValue(values[i]);
        if (!status)
            return status;
    }
    return MStatus::kSuccess;
}

// Sets translate, rotate and scale from a local matrix (a shear it may hold is dropped: transforms have
// none here).
MStatus setLocalMatrix(const std::shared_ptr<Node>& node, const MMatrix& local) {
    MTransformationMatrix m(local);
    double rotate[3], scale[3];
    MTransformationMatrix::RotationOrder order = MTransformationMatrix::kXYZ;
    m.getRotation(rotate, order);
    m.getScale(scale, MSpace::kTransform);
    MPlug r = plugOf(node, node->findAttribute("rotate"));
    MPlug s = plugOf(node, node->findAttribute("scale"));
    for (unsigned i = 0; i < 3; ++i) {
        MStatus status = r.child(i).setValue(rotate[i]);
        if (status)
            status = s.child(i).setValue(scale[i]);
        if (!status)
            return status;
    }
    return setTranslate(node, m.getTranslation(MSpace::kTransform));
}

MVector translateOf(const std::shared_ptr<Node>& node) {
    MPlug plug = plugOf(node, node->findAttribute("translate"));
    double values[3] = {0.0, 0.0, 0.0};
    for (unsigned i = 0; i < 3; ++i)
        plug.child(i).getValue(values[i]);
    return MVector(values[0], values[1], values[2]);
}

std::string nameFor(const Node& node, bool fullPath) {
    return fullPath ? fullPathName(node) : node.name;
}

}  // namespace

// parent [-r] <child>... <parent> | parent -w [-r] <child>...: moves the children under the transform (or
// under the world). As in Maya, a transform keeps its place in the world: its translate, rotate and scale
// are set to what the new parent needs; with -r (relative) they are kept and the node moves with its
// new parent. Shapes always keep their (identity) placement. Every name is checked first and a refused
// move changes nothing: a parent that is not a transform, a parent that is the child or lies below it.
// The result is the children's names.
MStatus parentCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs("parent", args, {{"world", "w", 0}, {"relative", "r", 0}}, parsed);
    if (!status)
        return status;
    const bool world = parsed.has("world");
    status = expectCount("parent", parsed, world ? 1 : 2, static_cast<size_t>(-1),
                         "parent <child>... <parent>, or parent -w <child>...");
    if (!status)
        return status;
    std::shared_ptr<Node> parent;
    size_t childCount = parsed.positional.size() - (world ? 0 : 1);
    if (!world) {
        status = resolveDagNode("parent", parsed.positional.back().text, parent);
        if (!status)
            return status;
        if (!isTransform(*parent))
            return commandError("parent", quoted(parent->name) + " is a shape: only a transform can be a parent.");
    }
    std::vector<std::shared_ptr<Node>> children;
    for (size_t i = 0; i < childCount; ++i) {
        std::shared_ptr<Node> child;
        status = resolveDagNode("parent", parsed.positional[i].text, child);
        if (!status)
            return status;
        for (std::shared_ptr<Node> above = parent; above; above = dagParent(*above))
            if (above == child)
                return commandError("parent", "Cannot parent " + quoted(child->name) + " under " +
                                                  quoted(parent->name) + ": that is the node itself or lies below it.");
        children.push_back(child);
    }
    MStringArray names;
    for (const std::shared_ptr<Node>& child : children) {
        if (!parsed.has("relative") && isTransform(*child) && dagParent(*child) != parent) {
            MMatrix toParent = parent ? worldMatrix(*parent).inverse() : MMatrix();
            status = setLocalMatrix(child, worldMatrix(*child) * toParent);
            if (!status)
                return commandError("parent", "Cannot keep " + quoted(child->name) + " in place (" +
                                                  status.errorString().str() + ").");
        }
        status = setDagParent(child, parent);
        if (!status)
            return commandError("parent", "Cannot parent " + quoted(child->name) + " (" + status.errorString().str() + ").");
        names.append(MString(child->name));
    }
    CommandResultAccess::setStringArray(result, names);
    return MStatus::kSuccess;
}

// move [-r] x y z <object>...: places each object's transform (a shape's is the one above it) at the world
// position x y z, or moves it by the world-space vector with -r. Transforms under rotated or scaled
// parents get the local translation that puts them there. Pivots are at the origin in the host.
MStatus moveCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs("move", args, {{"relative", "r", 0}, {"absolute", "a", 0}}, parsed);
    if (status)
        status = expectCount("move", parsed, 4, static_cast<size_t>(-1), "move [-r] <x> <y> <z> <object>...");
    if (!status)
        return status;
    if (parsed.has("relative") && parsed.has("absolute"))
        return commandError("move", "-relative and -absolute cannot be used together.");
    double xyz[3];
    for (int i = 0; i < 3; ++i)
        if (!parseDouble(parsed.positional[static_cast<size_t>(i)].text, xyz[i]))
            return commandError("move", quoted(parsed.positional[static_cast<size_t>(i)].text) + " is not a number.");
    std::vector<std::shared_ptr<Node>> nodes;
    for (size_t i = 3; i < parsed.positional.size(); ++i) {
        std::shared_ptr<Node> node;
        status = resolveTransform("move", parsed.positional[i].text, node);
        if (!status)
            return status;
        nodes.push_back(node);
    }
    for (const std::shared_ptr<Node>& node : nodes) {
        MMatrix toParent = parentWorldMatrix(*node).inverse();
        MVector translate;
        if (parsed.has("relative")) {
            translate = translateOf(node) + MVector(xyz[0], xyz[1], xyz[2]) * toParent;
        } else {
            MPoint local = MPoint(xyz[0], xyz[1], xyz[2]) * toParent;
            translate = MVector(local.x, local.y, local.z);
        }
        status = setTranslate(node, translate);
        if (!status)
            return commandError("move", "Cannot move " + quoted(node->name) + " (" + status.errorString().str() + ").");
    }
    return MStatus::kSuccess;
}

// listRelatives [-c] [-s] [-p] [-ad] [-f] <object>: the children (the default), only the shapes below
// (-s), the parent (-p) or every node below (-ad, parents before children), by name or full path (-f).
// Nothing to list gives an empty result.
MStatus listRelativesCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs("listRelatives", args,
                               {{"children", "c", 0}, {"shapes", "s", 0}, {"parent", "p", 0},
                                {"allDescendents", "ad", 0}, {"fullPath", "f", 0}},
                               parsed);
    if (status)
        status = expectCount("listRelatives", parsed, 1, 1, "listRelatives [-c|-s|-p|-ad] [-f] <object>");
    if (!status)
        return status;
    if (parsed.has("parent") && (parsed.has("shapes") || parsed.has("allDescendents") || parsed.has("children")))
        return commandError("listRelatives", "-parent cannot be used with -children, -shapes or -allDescendents.");
    std::shared_ptr<Node> node;
    status = resolveDagNode("listRelatives", parsed.positional[0].text, node);
    if (!status)
        return status;
    std::vector<std::shared_ptr<Node>> found;
    if (parsed.has("parent")) {
        if (std::shared_ptr<Node> parent = dagParent(*node))
            found.push_back(parent);
    } else {
        found = parsed.has("allDescendents") ? dagDescendants(*node) : dagChildren(*node);
    }
    const bool fullPath = parsed.has("fullPath");
    MStringArray names;
    for (const std::shared_ptr<Node>& relative : found)
        if (!parsed.has("shapes") || isShape(*relative))
            names.append(MString(nameFor(*relative, fullPath)));
    CommandResultAccess::setStringArray(result, names);
    return MStatus::kSuccess;
}

// xform -q [-ws] (-t | -m) <object>: the translation (3 numbers) or the matrix (16 numbers, row by row)
// of the object, local by default, in world space with -ws. Only queries are supported.
MStatus xformCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs("xform", args,
                               {{"query", "q", 0}, {"worldSpace", "ws", 0}, {"objectSpace", "os", 0},
                                {"translation", "t", 0}, {"matrix", "m", 0}},
                               parsed);
    if (status)
        status = expectCount("xform", parsed, 1, 1, "xform -q [-ws] -t|-m <object>");
    if (!status)
        return status;
    if (!parsed.has("query"))
        return commandError("xform", "only queries (-q) are supported; use setAttr or move to change transforms.");
    if (parsed.has("translation") == parsed.has("matrix"))
        return commandError("xform", "query exactly one of -translation and -matrix.");
    std::shared_ptr<Node> node;
    status = resolveDagNode("xform", parsed.positional[0].text, node);
    if (!status)
        return status;
    MMatrix m = parsed.has("worldSpace") ? worldMatrix(*node) : localMatrix(*node);
    MDoubleArray values;
    if (parsed.has("translation")) {
        for (unsigned c = 0; c < 3; ++c)
            values.append(m[3][c]);
    } else {
        for (unsigned r = 0; r < 4; ++r)
            for (unsigned c = 0; c < 4; ++c)
                values.append(m[r][c]);
    }
    CommandResultAccess::setDoubleArray(result, values);
    return MStatus::kSuccess;
}

}  // namespace host
