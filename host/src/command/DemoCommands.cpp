// Host commands for driving and reporting a scene from a script (not Maya commands):
//   playFrames [-every N] START END "commands"
//                                     sets the current time to each whole frame from START to END in turn
//                                     and runs the commands after every N-th frame (N = 1 by default) and
//                                     after the last; stops at the first failure.
//   particleStats [-header] [-color ATTR] PARTICLE CURVE
//                                     prints one table row: frame, particle count, mean distance of the
//                                     particles to the curve, mean curve parameter normalised to 0 .. 1,
//                                     and with -color the mean of the per-particle colour attribute ATTR.
//   writeParticles PARTICLE FILE      writes the particle positions as a MEL "particle" command that
//                                     recreates them (Maya can source it).
#include "command/Args.h"
#include "command/Builtins.h"
#include "command/SceneArgs.h"
#include "graph/Scene.h"

#include <host/Host.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MTime.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace host {

namespace {

bool vectorsOf(const std::shared_ptr<Node>& node, const std::string& attribute, MVectorArray& values) {
    MObject data;
    MFnDependencyNode fn{MObject(node)};
    if (fn.findPlug(attribute.c_str()).getValue(data) != MStatus::kSuccess) return false;
    MFnVectorArrayData vectors(data);
    return vectors.copyTo(values) == MStatus::kSuccess;
}

bool positionsOf(const std::shared_ptr<Node>& node, MVectorArray& positions) {
    return vectorsOf(node, "position", positions);
}

}  // namespace

MStatus playFramesCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs("playFrames", args, {{"every", "e", 1}}, parsed);
    if (status) status = expectCount("playFrames", parsed, 3, 3, "playFrames [-every n] start end \"commands\"");
    if (!status) return status;
    int start = 0, end = 0, every = 1;
    if (!parseInt(parsed.positional[0].text, start) || !parseInt(parsed.positional[1].text, end))
        return commandError("playFrames", "start and end must be whole frame numbers.");
    if (parsed.has("every") && (!parseInt(parsed.value("every"), every) || every < 1))
        return commandError("playFrames", "-every needs a whole number of frames of at least 1.");
    for (int frame = start; frame <= end; ++frame) {
        setCurrentTime(MTime(frame, MTime::uiUnit()));
        if ((frame - start) % every != 0 && frame != end) continue;
        MStatus ran = execute(parsed.positional[2].text);
        if (ran != MStatus::kSuccess) return commandError("playFrames", "stopped at frame " + std::to_string(frame) + ".");
    }
    return MStatus::kSuccess;
}

MStatus particleStatsCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs("particleStats", args, {{"header", "h", 0}, {"color", "c", 1}}, parsed);
    if (status)
        status = expectCount("particleStats", parsed, 2, 2, "particleStats [-header] [-color attribute] particle curve");
    if (!status) return status;
    std::shared_ptr<Node> particle, curve;
    if (!(status = resolveNode("particleStats", parsed.positional[0].text, particle))) return status;
    if (!(status = resolveNode("particleStats", parsed.positional[1].text, curve))) return status;
    MVectorArray positions;
    if (!positionsOf(particle, positions))
        return commandError("particleStats", quoted(particle->name) + " has no particle positions.");
    MStatus curveStatus;
    MFnNurbsCurve fn{MObject(curve), &curveStatus};
    double first = 0.0, last = 0.0;
    if (curveStatus != MStatus::kSuccess || fn.getKnotDomain(first, last) != MStatus::kSuccess)
        return commandError("particleStats", quoted(curve->name) + " is not a NURBS curve.");
    double distance = 0.0, u = 0.0;
    for (unsigned i = 0; i < positions.length(); ++i) {
        double param = 0.0;
        MPoint p(positions[i]);
        MPoint c = fn.closestPoint(p, &param, 1e-6, MSpace::kWorld);
        distance += (p - c).length();
        u += last > first ? (param - first) / (last - first) : 0.0;
    }
    MVectorArray colors;
    MVector color;
    if (parsed.has("color")) {
        if (!vectorsOf(particle, parsed.value("color"), colors))
            return commandError("particleStats", quoted(parsed.value("color")) + " is not a per-particle vector attribute.");
        for (unsigned i = 0; i < colors.length(); ++i) color += colors[i];
        if (colors.length() > 0) color = color / colors.length();
    }
    const double n = positions.length();
    if (parsed.has("header"))
        std::cout << " frame  particles  mean distance  mean u" << (parsed.has("color") ? "  mean colour (r g b)" : "") << "\n";
    char row[160];
    int end = std::snprintf(row, sizeof row, "%6.0f  %9u  %13.4f  %6.3f", currentTime().as(MTime::uiUnit()),
                            positions.length(), n > 0 ? distance / n : 0.0, n > 0 ? u / n : 0.0);
    if (parsed.has("color"))
        std::snprintf(row + end, sizeof row - end, "  %5.3f %5.3f %5.3f", color.x, color.y, color.z);
    std::cout << row << "\n" << std::flush;
    return MStatus::kSuccess;
}

MStatus writeParticlesCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs("writeParticles", args, {}, parsed);
    if (status) status = expectCount("writeParticles", parsed, 2, 2, "writeParticles particle file");
    if (!status) return status;
    std::shared_ptr<Node> particle;
    if (!(status = resolveNode("writeParticles", parsed.positional[0].text, particle))) return status;
    MVectorArray positions;
    if (!positionsOf(particle, positions))
        return commandError("writeParticles", quoted(particle->name) + " has no particle positions.");
    const std::string& path = parsed.positional[1].text;
    std::ofstream out(path);
    if (!out) return commandError("writeParticles", "cannot write " + quoted(path) + ".");
    out << "// " << positions.length() << " particles of " << particle->name << " at frame "
        << currentTime().as(MTime::uiUnit()) << "\nparticle -n " << particle->name;
    char point[96];
    for (unsigned i = 0; i < positions.length(); ++i) {
        std::snprintf(point, sizeof point, "\n    -p %.9g %.9g %.9g", positions[i].x, positions[i].y, positions[i].z);
        out << point;
    }
    out << ";\n";
    if (!out) return commandError("writeParticles", "cannot write " + quoted(path) + ".");
    return MStatus::kSuccess;
}

}  // namespace host
