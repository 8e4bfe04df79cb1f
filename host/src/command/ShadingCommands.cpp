#include "command/ShadingCommands.h"

#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "graph/Scene.h"

#include <maya/MCommandResult.h>

namespace host {

namespace {

const char* const asFlags[] = {"asTexture", "asShader", "asUtility", "asLight", "asPostProcess", "asRendering"};

// Makes a node of the type under the wanted name (made unique) and returns its name as the result.
MStatus makeNode(const std::string& command, const std::string& typeName, const std::string& name,
                 MCommandResult& result) {
    if (!isValidNodeName(name))
        return commandError(command, quoted(name) + " is not a valid node name.");
    if (!findNodeType(typeName))
        return commandError(command, "Unknown node type " + quoted(typeName) + ".");
    MStatus status;
    std::shared_ptr<Node> node = createNode(typeName, name, &status);
    if (!node)
        return commandError(command, "Cannot create a node of type " + quoted(typeName) + " (" +
                                         status.errorString().str() + ").");
    CommandResultAccess::setString(result, MString(node->name));
    return MStatus::kSuccess;
}

}  // namespace

MStatus shadingNodeCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs("shadingNode", args,
                               {{"asTexture", "at", 0},
                                {"asShader", "as", 0},
                                {"asUtility", "au", 0},
                                {"asLight", "al", 0},
                                {"asPostProcess", "app", 0},
                                {"asRendering", "ar", 0},
                                {"name", "n", 1},
                                {"shared", "s", 0},
                                {"skipSelect", "ss", 0},
                                {"isColorManaged", "icm", 0}},
                               parsed);
    if (status)
        status = expectCount("shadingNode", parsed, 1, 1, "shadingNode -asTexture|-asShader|-asUtility <type> [-n <name>]");
    if (!status)
        return status;
    int classes = 0;
    for (const char* flag : asFlags)
        classes += parsed.has(flag) ? 1 : 0;
    if (classes != 1)
        return commandError("shadingNode", "Give exactly one of -asTexture, -asShader, -asUtility, -asLight, "
                                           "-asPostProcess, -asRendering.");
    const std::string& typeName = parsed.positional[0].text;
    if (parsed.has("shared") && parsed.has("name")) {
        std::shared_ptr<Node> existing = findNode(parsed.value("name"));
        if (existing && existing->type->name == typeName) {
            CommandResultAccess::setString(result, MString(existing->name));
            return MStatus::kSuccess;
        }
    }
    return makeNode("shadingNode", typeName, parsed.has("name") ? parsed.value("name") : typeName + "1", result);
}

MStatus setsCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs("sets", args,
                               {{"renderable", "r", 1},
                                {"noSurfaceShader", "nss", 1},
                                {"empty", "em", 0},
                                {"name", "n", 1},
                                {"text", "t", 1},
                                {"noWarnings", "nw", 0}},
                               parsed);
    if (!status)
        return status;
    for (const char* flag : {"renderable", "noSurfaceShader"}) {
        bool value = false;
        if (parsed.has(flag) && !parseBool(parsed.value(flag), value))
            return commandError("sets", "-" + std::string(flag) + " takes true or false, not " +
                                            quoted(parsed.value(flag)) + ".");
    }
    bool renderable = false;
    if (parsed.has("renderable"))
        parseBool(parsed.value("renderable"), renderable);
    if (!renderable)
        return commandError("sets", "Only shading groups (-renderable true) can be made here.");
    if (!parsed.positional.empty())
        return commandError("sets", "Set members are not supported (unexpected " +
                                        quoted(parsed.positional[0].text) + ").");
    return makeNode("sets", "shadingEngine", parsed.has("name") ? parsed.value("name") : "set1", result);
}

}  // namespace host
