#include "command/Builtins.h"
#include "command/SceneArgs.h"
#include "graph/ConnectionRules.h"
#include "graph/Scene.h"

#include <maya/MCommandResult.h>
#include <maya/MGlobal.h>

// connectAttr [-f] src dst and disconnectAttr src dst. Without -f, connecting into a destination that
// already has a source is an error; with -f the old connection is replaced. A connection that closes a
// cycle is made, with a warning that names the plugs around the cycle; evaluation stops where the cycle
// comes back to a plug being evaluated, which keeps the value it had.

namespace host {

namespace {

MStatus resolvePair(const char* command, const ParsedArgs& parsed, MPlug& src, MPlug& dst) {
    MStatus status = resolvePlug(command, parsed.positional[0].text, src);
    if (status)
        status = resolvePlug(command, parsed.positional[1].text, dst);
    return status;
}

// The plug's name as the graph writes it (long names, element indices): plugs compare equal whatever
// their indices, so names tell connections apart.
std::string nameOf(const MPlug& plug) { return plug.name().str(); }

void warnOfCycle(const MPlug& src, const MPlug& dst) {
    std::vector<MPlug> cycle = cycleThrough(src, dst);
    if (cycle.empty())
        return;
    std::string path = nameOf(cycle[0]);
    for (size_t i = 1; i < cycle.size(); ++i)
        path += " -> " + nameOf(cycle[i]);
    if (nameOf(cycle.back()) != nameOf(src))
        path += " -> " + nameOf(src);
    MGlobal::displayWarning(MString("Cycle on " + quoted(nameOf(src)) + " may not evaluate as expected (" + path + ")."));
}

}  // namespace

MStatus connectAttrCommand(const Args& args, MCommandResult&) {
    const char* const command = "connectAttr";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {{"force", "f", 0}}, parsed);
    if (status)
        status = expectCount(command, parsed, 2, 2, "connectAttr [-f] <source plug> <destination plug>");
    MPlug src;
    MPlug dst;
    if (status)
        status = resolvePair(command, parsed, src, dst);
    if (!status)
        return status;
    const std::string& srcName = parsed.positional[0].text;
    const std::string& dstName = parsed.positional[1].text;
    bool force = parsed.has("force");
    std::string problem = connectionProblem(src, dst);
    if (!problem.empty())
        return commandError(command, "Cannot connect " + quoted(srcName) + " to " + quoted(dstName) + ": " + problem + ".");
    if (const Connection* existing = incomingConnection(dst)) {
        if (nameOf(existing->src) == nameOf(src))
            return commandError(command, quoted(srcName) + " is already connected to " + quoted(dstName) + ".");
        if (!force)
            return commandError(command, "The destination " + quoted(dstName) + " is already connected from " +
                                             quoted(nameOf(existing->src)) + "; use -f to replace the connection.");
    }
    status = connect(src, dst, force);
    if (!status)
        return commandError(command, "Cannot connect " + quoted(srcName) + " to " + quoted(dstName) + " (" +
                                         status.errorString().str() + ").");
    warnOfCycle(src, dst);
    return MStatus::kSuccess;
}

MStatus disconnectAttrCommand(const Args& args, MCommandResult&) {
    const char* const command = "disconnectAttr";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {}, parsed);
    if (status)
        status = expectCount(command, parsed, 2, 2, "disconnectAttr <source plug> <destination plug>");
    MPlug src;
    MPlug dst;
    if (status)
        status = resolvePair(command, parsed, src, dst);
    if (!status)
        return status;
    const Connection* existing = incomingConnection(dst);
    if (!existing || nameOf(existing->src) != nameOf(src))
        return commandError(command, quoted(parsed.positional[0].text) + " is not connected to " +
                                         quoted(parsed.positional[1].text) + ".");
    status = disconnect(src, dst);
    if (!status)
        return commandError(command, "Cannot disconnect " + quoted(parsed.positional[0].text) + " from " +
                                         quoted(parsed.positional[1].text) + " (" + status.errorString().str() + ").");
    return MStatus::kSuccess;
}

}  // namespace host
