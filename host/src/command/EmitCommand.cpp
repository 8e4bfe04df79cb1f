#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/QueryArgs.h"
#include "nodes/particle.h"

#include <maya/MCommandResult.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>

// emit -object <particle object> -position x y z [-position x y z]...
//      [-attribute <name> (-floatValue f | -vectorValue x y z)...]...
// Adds particles to an existing particle object, as Maya's emit does: one per -position, with the values
// that follow each -attribute given to the new particles in order (the rest take the attribute's
// default: zero velocity, unit mass, zeros elsewhere). The result is the new particles' ids, which are
// their indices: the object's particles are numbered from 0 in the order they were made.

namespace host {

namespace {

const char* const kEmit = "emit";
const char* const kEmitUsage =
    "emit -object <particle object> -position <x> <y> <z>... [-attribute <name> (-floatValue <f> | "
    "-vectorValue <x> <y> <z>)...]";

bool isFlagNamed(const Arg& arg, const char* longName, const char* shortName) {
    return isFlag(arg) && (arg.text.substr(1) == longName || arg.text.substr(1) == shortName);
}

MStatus readNumbers(const Args& args, size_t& i, int count, double* out) {
    const std::string flag = args[i].text;
    for (int c = 0; c < count; ++c) {
        if (i + 1 >= args.size() || isFlag(args[i + 1]))
            return commandError(kEmit, "Flag " + quoted(flag) + " needs " + std::to_string(count) +
                                           (count == 1 ? " number." : " numbers.") + " Usage: " + kEmitUsage);
        const std::string text = args[++i].text;
        if (!parseDouble(text, out[c]))
            return commandError(kEmit, quoted(text) + " is not a number (after " + quoted(flag) + ").");
    }
    return MStatus::kSuccess;
}

struct EmitArgs {
    std::string object;
    MVectorArray positions;
    std::vector<PerParticleValues> values;
};

MStatus parseEmit(const Args& args, EmitArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const Arg& arg = args[i];
        if (isFlagNamed(arg, "object", "o")) {
            if (i + 1 >= args.size())
                return commandError(kEmit, "Flag " + quoted(arg.text) + " needs a particle object.");
            if (!out.object.empty())
                return commandError(kEmit, "Flag " + quoted(arg.text) + " is given more than once.");
            out.object = args[++i].text;
        } else if (isFlagNamed(arg, "position", "pos")) {
            double xyz[3];
            MStatus status = readNumbers(args, i, 3, xyz);
            if (!status)
                return status;
            out.positions.append(MVector(xyz[0], xyz[1], xyz[2]));
        } else if (isFlagNamed(arg, "attribute", "at")) {
            if (i + 1 >= args.size() || isFlag(args[i + 1]))
                return commandError(kEmit, "Flag " + quoted(arg.text) + " needs an attribute name.");
            PerParticleValues entry;
            entry.name = args[++i].text;
            out.values.push_back(entry);
        } else if (isFlagNamed(arg, "floatValue", "fv") || isFlagNamed(arg, "vectorValue", "vv")) {
            const bool vector = isFlagNamed(arg, "vectorValue", "vv");
            if (out.values.empty())
                return commandError(kEmit, "Flag " + quoted(arg.text) + " needs an -attribute before it.");
            PerParticleValues& entry = out.values.back();
            const bool mixed = vector ? entry.doubleValues.length() > 0 : entry.vectorValues.length() > 0;
            if (mixed)
                return commandError(kEmit, "The values of " + quoted(entry.name) +
                                               " mix -floatValue and -vectorValue.");
            double xyz[3] = {0.0, 0.0, 0.0};
            MStatus status = readNumbers(args, i, vector ? 3 : 1, xyz);
            if (!status)
                return status;
            entry.vectors = vector;
            if (vector)
                entry.vectorValues.append(MVector(xyz[0], xyz[1], xyz[2]));
            else
                entry.doubleValues.append(xyz[0]);
        } else if (isFlag(arg)) {
            return commandError(kEmit, "Invalid flag " + quoted(arg.text) + ".");
        } else {
            return commandError(kEmit, "Unexpected argument " + quoted(arg.text) + ". Usage: " + kEmitUsage);
        }
    }
    if (out.object.empty())
        return commandError(kEmit, std::string("No particle object given. Usage: ") + kEmitUsage);
    return MStatus::kSuccess;
}

}  // namespace

MStatus emitCommand(const Args& args, MCommandResult& result) {
    EmitArgs parsed;
    MStatus status = parseEmit(args, parsed);
    if (!status)
        return status;
    std::shared_ptr<Node> node = lookupNode(parsed.object);
    if (!node)
        return commandError(kEmit, "No object matches name: " + parsed.object);
    const MObject object(node);
    if (node->type->id != particleNode::id)
        return commandError(kEmit, quoted(parsed.object) + " is not a particle object.");
    for (const PerParticleValues& entry : parsed.values) {
        Attribute* attribute = node->findAttribute(entry.name);
        if (!attribute || !isPerParticleAttribute(object, MObject(attribute->shared_from_this())) ||
            attribute->longName == "position")
            return commandError(kEmit, quoted(entry.name) + " is not a per-particle attribute of " +
                                           quoted(node->name) + " that emit can set.");
        const unsigned given = entry.vectors ? entry.vectorValues.length() : entry.doubleValues.length();
        if (given > parsed.positions.length())
            return commandError(kEmit, quoted(entry.name) + " has " + std::to_string(given) + " values for " +
                                           std::to_string(parsed.positions.length()) + " particle(s).");
    }
    const unsigned before = particleCount(object);
    unsigned appended = 0;
    std::string driven;
    status = appendParticles(object, parsed.positions, parsed.values, appended, &driven);
    if (!status && !driven.empty())
        return commandError(kEmit, "Cannot add particles to " + quoted(node->name) + ": its " + quoted(driven) +
                                       " is fed by a connection.");
    if (!status)
        return commandError(kEmit, "Cannot add the particles to " + quoted(node->name) + " (" +
                                       status.errorString().str() + ").");
    MIntArray ids;
    for (unsigned k = 0; k < appended; ++k)
        ids.append(static_cast<int>(before + k));
    CommandResultAccess::setIntArray(result, ids);
    return MStatus::kSuccess;
}

}  // namespace host
