#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "graph/Scene.h"
#include "nodes/particle.h"
#include "nodes/time.h"

#include <maya/MCommandResult.h>
#include <maya/MPlug.h>
#include <maya/MPxFieldNode.h>
#include <maya/MVectorArray.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

// particle and connectDynamic: making particle objects and wiring fields to them. Both check everything
// before changing the scene, so a failed command leaves it as it was.

namespace host {

namespace {

const char* const particleUsage = "particle [-p <x> <y> <z>]... [-n <name>]";
const char* const connectUsage = "connectDynamic [-d] -f <field> [-f <field>]... <particle>...";

bool isFlagNamed(const Arg& arg, const char* longName, const char* shortName) {
    return isFlag(arg) && (arg.text.substr(1) == longName || arg.text.substr(1) == shortName);
}

// Reads the three coordinates after args[i] (the -p flag) and advances i past them.
MStatus readPosition(const Args& args, size_t& i, MVectorArray& positions) {
    const std::string flag = args[i].text;
    double xyz[3] = {0.0, 0.0, 0.0};
    for (int c = 0; c < 3; ++c) {
        if (i + 1 >= args.size() || isFlag(args[i + 1]))
            return commandError("particle", "Flag " + quoted(flag) + " needs three coordinates (position " +
                                                std::to_string(positions.length() + 1) + " has " +
                                                std::to_string(c) + "). Usage: " + particleUsage);
        const std::string& text = args[++i].text;
        if (!parseDouble(text, xyz[c]))
            return commandError("particle", quoted(text) + " is not a number (position " +
                                                std::to_string(positions.length() + 1) + ").");
    }
    positions.append(MVector(xyz[0], xyz[1], xyz[2]));
    return MStatus::kSuccess;
}

const Attribute* attr(const MObject& attribute) {
    return attributeOf(attribute).get();
}

bool isField(const Node& node) {
    const Attribute* inputData = attr(MPxFieldNode::mInputData);
    const Attribute* outputForce = attr(MPxFieldNode::mOutputForce);
    return inputData && outputForce && node.hasAttribute(inputData) && node.hasAttribute(outputForce);
}

bool isParticleObject(const Node& node) {
    return node.type->id == particleNode::id;
}

// Element index of a connection end at or below element attribute[index]; -1 when the end is elsewhere.
int elementOf(const MPlug& end, const Attribute* attribute) {
    const std::vector<PlugStep>& path = end.hostPath();
    return !path.empty() && path[0].attr == attribute ? path[0].index : -1;
}

// The smallest logical index i such that no connection comes into fed[i] (or below it) and, when
// feeding is given, none goes out of feeding[i].
unsigned firstFreeIndex(const Node& node, const Attribute* fed, const Attribute* feeding) {
    std::set<int> used;
    for (const Connection* c : node.incoming)
        used.insert(elementOf(c->dst, fed));
    if (feeding)
        for (const Connection* c : node.outgoing)
            used.insert(elementOf(c->src, feeding));
    unsigned index = 0;
    while (used.count(static_cast<int>(index)))
        ++index;
    return index;
}

// The index i of the field's inputData[i] fed by the particle object's fieldData, or -1.
int linkIndex(const Node& field, const Node& particle) {
    const Attribute* fieldData = attr(particleNode::fieldData);
    for (const Connection* c : field.incoming) {
        const std::vector<PlugStep>& src = c->src.hostPath();
        if (c->src.hostNode().get() == &particle && src.size() == 1 && src[0].attr == fieldData &&
            c->dst.hostPath().size() == 1)
            if (int index = elementOf(c->dst, attr(MPxFieldNode::mInputData)); index >= 0)
                return index;
    }
    return -1;
}

MStatus connectPair(const std::shared_ptr<Node>& field, const std::shared_ptr<Node>& particle,
                    std::vector<Connection>& made) {
    unsigned i = firstFreeIndex(*field, attr(MPxFieldNode::mInputData), attr(MPxFieldNode::mOutputForce));
    unsigned j = firstFreeIndex(*particle, attr(particleNode::inputForce), nullptr);

    MPlug data(MObject(particle), particleNode::fieldData);
    MPlug input = MPlug(MObject(field), MPxFieldNode::mInputData).elementByLogicalIndex(i);
    MStatus status = connect(data, input, false);
    if (!status)
        return status;
    made.push_back(Connection{data, input});
    MPlug output = MPlug(MObject(field), MPxFieldNode::mOutputForce).elementByLogicalIndex(i);
    MPlug force = MPlug(MObject(particle), particleNode::inputForce).elementByLogicalIndex(j);
    status = connect(output, force, false);
    if (!status)
        return status;
    made.push_back(Connection{output, force});
    return MStatus::kSuccess;
}

// Removes the particle object's fieldData -> inputData[i] link and every outputForce[i] -> inputForce[j].
MStatus disconnectPair(const std::shared_ptr<Node>& field, const std::shared_ptr<Node>& particle) {
    int i = linkIndex(*field, *particle);
    std::vector<Connection> gone;
    for (const Connection* c : field->incoming)
        if (c->src.hostNode() == particle && elementOf(c->dst, attr(MPxFieldNode::mInputData)) == i)
            gone.push_back(*c);
    for (const Connection* c : field->outgoing)
        if (c->dst.hostNode() == particle && elementOf(c->src, attr(MPxFieldNode::mOutputForce)) == i &&
            elementOf(c->dst, attr(particleNode::inputForce)) >= 0)
            gone.push_back(*c);
    MStatus result;
    for (const Connection& c : gone) {
        MStatus status = disconnect(c.src, c.dst);
        if (!status)
            result = status;
    }
    return result;
}

struct ConnectDynamicArgs {
    std::vector<std::shared_ptr<Node>> fields;
    std::vector<std::shared_ptr<Node>> particles;
    bool remove = false;
};

MStatus parseConnectDynamic(const Args& args, ConnectDynamicArgs& out) {
    const char* const command = "connectDynamic";
    std::vector<std::string> fieldNames;
    std::vector<std::string> particleNames;
    for (size_t i = 0; i < args.size(); ++i) {
        const Arg& arg = args[i];
        if (isFlagNamed(arg, "fields", "f")) {
            if (i + 1 >= args.size() || isFlag(args[i + 1]))
                return commandError(command, "Flag " + quoted(arg.text) + " needs a field name. Usage: " +
                                                 connectUsage);
            fieldNames.push_back(args[++i].text);
        } else if (isFlagNamed(arg, "delete", "d")) {
            out.remove = true;
        } else if (isFlag(arg)) {
            return commandError(command, "Invalid flag " + quoted(arg.text) + ".");
        } else {
            particleNames.push_back(arg.text);
        }
    }
    if (fieldNames.empty())
        return commandError(command, "No field given. Usage: " + std::string(connectUsage));
    if (particleNames.empty())
        return commandError(command, "No particle object given. Usage: " + std::string(connectUsage));

    for (const std::string& name : fieldNames) {
        std::shared_ptr<Node> node;
        MStatus status = resolveNode(command, name, node);
        if (!status)
            return status;
        if (!isField(*node))
            return commandError(command, quoted(name) + " is not a field (it has no inputData and outputForce).");
        if (std::find(out.fields.begin(), out.fields.end(), node) != out.fields.end())
            return commandError(command, "The field " + quoted(name) + " is given more than once.");
        out.fields.push_back(node);
    }
    for (const std::string& name : particleNames) {
        std::shared_ptr<Node> node;
        MStatus status = resolveNode(command, name, node);
        if (!status)
            return status;
        if (!isParticleObject(*node))
            return commandError(command, quoted(name) + " is not a particle object.");
        if (std::find(out.particles.begin(), out.particles.end(), node) != out.particles.end())
            return commandError(command, "The particle object " + quoted(name) + " is given more than once.");
        out.particles.push_back(node);
    }
    return MStatus::kSuccess;
}

}  // namespace

// particle [-p x y z]... [-n name]: a particle object with these positions, zero velocities and unit
// masses. The result is the new node's name ("particle1", ... without -n).
MStatus particleCommand(const Args& args, MCommandResult& result) {
    const char* const command = "particle";
    MVectorArray positions;
    std::string name;
    bool named = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const Arg& arg = args[i];
        if (isFlagNamed(arg, "position", "p")) {
            MStatus status = readPosition(args, i, positions);
            if (!status)
                return status;
        } else if (isFlagNamed(arg, "name", "n")) {
            if (named)
                return commandError(command, "Flag " + quoted(arg.text) + " is given more than once.");
            if (i + 1 >= args.size())
                return commandError(command, "Flag " + quoted(arg.text) + " needs a name. Usage: " + particleUsage);
            name = args[++i].text;
            named = true;
        } else if (isFlag(arg)) {
            return commandError(command, "Invalid flag " + quoted(arg.text) + ".");
        } else {
            return commandError(command, "Unexpected argument " + quoted(arg.text) + ". Usage: " + particleUsage);
        }
    }
    if (named && !isValidNodeName(name))
        return commandError(command, quoted(name) + " is not a valid node name.");

    sceneTimeNode();
    MStatus status;
    std::shared_ptr<Node> node = createNode(particleNode::typeName, named ? name : "particle1", &status);
    if (!node)
        return commandError(command, "Cannot create a particle object (" + status.errorString().str() + ").");
    status = setParticles(MObject(node), positions);
    if (!status) {
        deleteNode(node);
        return commandError(command, "Cannot set the particles (" + status.errorString().str() + ").");
    }
    CommandResultAccess::setString(result, MString(node->name));
    return MStatus::kSuccess;
}

// connectDynamic -f field... particle...: connects each particle object to each field. The particle's
// fieldData feeds the field's first free inputData[i] (free: neither inputData[i] nor outputForce[i]
// connected), and the field's outputForce[i] feeds the particle's first free inputForce[j]. A pair that
// is already connected is an error. With -d, the pairs' connections are removed instead (each pair must
// be connected).
MStatus connectDynamicCommand(const Args& args, MCommandResult&) {
    const char* const command = "connectDynamic";
    ConnectDynamicArgs parsed;
    MStatus status = parseConnectDynamic(args, parsed);
    if (!status)
        return status;
    for (const std::shared_ptr<Node>& field : parsed.fields) {
        for (const std::shared_ptr<Node>& particle : parsed.particles) {
            bool linked = linkIndex(*field, *particle) >= 0;
            if (linked && !parsed.remove)
                return commandError(command, quoted(particle->name) + " is already connected to the field " +
                                                 quoted(field->name) + ".");
            if (!linked && parsed.remove)
                return commandError(command, quoted(particle->name) + " is not connected to the field " +
                                                 quoted(field->name) + ".");
        }
    }

    if (parsed.remove) {
        for (const std::shared_ptr<Node>& field : parsed.fields)
            for (const std::shared_ptr<Node>& particle : parsed.particles)
                if (MStatus s = disconnectPair(field, particle); !s)
                    status = s;
        if (!status)
            return commandError(command, "Cannot remove every connection (" + status.errorString().str() + ").");
        return MStatus::kSuccess;
    }

    std::vector<Connection> made;
    for (const std::shared_ptr<Node>& field : parsed.fields) {
        for (const std::shared_ptr<Node>& particle : parsed.particles) {
            status = connectPair(field, particle, made);
            if (!status) {
                for (auto it = made.rbegin(); it != made.rend(); ++it)
                    disconnect(it->src, it->dst);
                return commandError(command, "Cannot connect " + quoted(particle->name) + " to the field " +
                                                 quoted(field->name) + " (" + status.errorString().str() + ").");
            }
        }
    }
    sceneTimeNode();
    return MStatus::kSuccess;
}

}  // namespace host
