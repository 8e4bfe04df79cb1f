#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "graph/Scene.h"
#include "nodes/geoConnector.h"
#include "nodes/particle.h"
#include "nodes/time.h"

#include <maya/MCommandResult.h>
#include <maya/MPlug.h>
#include <maya/MPxEmitterNode.h>
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
const char* const connectUsage =
    "connectDynamic [-d] [-f <field>]... [-em <emitter>]... <particle>... (at least one field or emitter)";
const char* const addDynamicUsage = "addDynamic <emitter> <shape>";

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

bool isEmitter(const Node& node) {
    const Attribute* output = attr(MPxEmitterNode::mOutput);
    const Attribute* swept = attr(MPxEmitterNode::mSweptGeometry);
    return output && swept && node.hasAttribute(output) && node.hasAttribute(swept);
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

// The index i of the emitter's output[i] that feeds one of the particle object's newParticles
// elements, or -1.
int emitterLinkIndex(const Node& emitter, const Node& particle) {
    const Attribute* newParticles = attr(particleNode::newParticles);
    for (const Connection* c : emitter.outgoing)
        if (c->dst.hostNode().get() == &particle && elementOf(c->dst, newParticles) >= 0)
            if (int index = elementOf(c->src, attr(MPxEmitterNode::mOutput)); index >= 0)
                return index;
    return -1;
}

// The smallest i such that output[i] feeds nothing and nothing comes into startTime[i], isFull[i] or
// inheritFactor[i].
unsigned firstFreeEmitterIndex(const Node& emitter) {
    std::set<int> used;
    for (const Connection* c : emitter.outgoing)
        used.insert(elementOf(c->src, attr(MPxEmitterNode::mOutput)));
    for (const Connection* c : emitter.incoming)
        for (const MObject* array : {&MPxEmitterNode::mStartTime, &MPxEmitterNode::mIsFull,
                                     &MPxEmitterNode::mInheritFactor})
            used.insert(elementOf(c->dst, attr(*array)));
    unsigned index = 0;
    while (used.count(static_cast<int>(index)))
        ++index;
    return index;
}

// output[i] -> newParticles[j]; the particle object's startTime, isFull and inheritFactor into the
// emitter's arrays at i; time1.outTime -> currentTime when nothing feeds it yet.
MStatus connectEmitter(const std::shared_ptr<Node>& emitter, const std::shared_ptr<Node>& particle,
                       std::vector<Connection>& made) {
    const unsigned i = firstFreeEmitterIndex(*emitter);
    const unsigned j = firstFreeIndex(*particle, attr(particleNode::newParticles), nullptr);
    const MObject e(emitter);
    const MObject p(particle);
    std::vector<std::pair<MPlug, MPlug>> links = {
        {MPlug(e, MPxEmitterNode::mOutput).elementByLogicalIndex(i),
         MPlug(p, particleNode::newParticles).elementByLogicalIndex(j)},
        {MPlug(p, particleNode::startTime), MPlug(e, MPxEmitterNode::mStartTime).elementByLogicalIndex(i)},
        {MPlug(p, particleNode::isFull), MPlug(e, MPxEmitterNode::mIsFull).elementByLogicalIndex(i)},
        {MPlug(p, particleNode::inheritFactor), MPlug(e, MPxEmitterNode::mInheritFactor).elementByLogicalIndex(i)},
    };
    MPlug currentTime(e, MPxEmitterNode::mCurrentTime);
    if (!incomingConnection(currentTime)) {
        std::shared_ptr<Node> time = sceneTimeNode();
        if (!time)
            return MStatus::kFailure;
        links.push_back({MPlug(MObject(time), timeNode::outTime), currentTime});
    }
    for (const auto& [src, dst] : links) {
        MStatus status = connect(src, dst, false);
        if (!status)
            return status;
        made.push_back(Connection{src, dst});
    }
    return MStatus::kSuccess;
}

// Removes what connectEmitter made for this pair, except the time connection.
MStatus disconnectEmitter(const std::shared_ptr<Node>& emitter, const std::shared_ptr<Node>& particle) {
    const int i = emitterLinkIndex(*emitter, *particle);
    std::vector<Connection> gone;
    for (const Connection* c : emitter->outgoing)
        if (c->dst.hostNode() == particle && elementOf(c->src, attr(MPxEmitterNode::mOutput)) == i)
            gone.push_back(*c);
    for (const Connection* c : emitter->incoming)
        if (c->src.hostNode() == particle)
            for (const MObject* array : {&MPxEmitterNode::mStartTime, &MPxEmitterNode::mIsFull,
                                         &MPxEmitterNode::mInheritFactor})
                if (elementOf(c->dst, attr(*array)) == i)
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
    std::vector<std::shared_ptr<Node>> emitters;
    std::vector<std::shared_ptr<Node>> fields;
    std::vector<std::shared_ptr<Node>> particles;
    bool remove = false;
};

MStatus parseConnectDynamic(const Args& args, ConnectDynamicArgs& out) {
    const char* const command = "connectDynamic";
    std::vector<std::string> fieldNames;
    std::vector<std::string> emitterNames;
    std::vector<std::string> particleNames;
    for (size_t i = 0; i < args.size(); ++i) {
        const Arg& arg = args[i];
        if (isFlagNamed(arg, "fields", "f")) {
            if (i + 1 >= args.size() || isFlag(args[i + 1]))
                return commandError(command, "Flag " + quoted(arg.text) + " needs a field name. Usage: " +
                                                 connectUsage);
            fieldNames.push_back(args[++i].text);
        } else if (isFlagNamed(arg, "emitters", "em")) {
            if (i + 1 >= args.size() || isFlag(args[i + 1]))
                return commandError(command, "Flag " + quoted(arg.text) + " needs an emitter name. Usage: " +
                                                 connectUsage);
            emitterNames.push_back(args[++i].text);
        } else if (isFlagNamed(arg, "delete", "d")) {
            out.remove = true;
        } else if (isFlag(arg)) {
            return commandError(command, "Invalid flag " + quoted(arg.text) + ".");
        } else {
            particleNames.push_back(arg.text);
        }
    }
    if (fieldNames.empty() && emitterNames.empty())
        return commandError(command, "No field or emitter given. Usage: " + std::string(connectUsage));
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
    for (const std::string& name : emitterNames) {
        std::shared_ptr<Node> node;
        MStatus status = resolveNode(command, name, node);
        if (!status)
            return status;
        if (!isEmitter(*node))
            return commandError(command, quoted(name) + " is not an emitter (it has no output and sweptGeometry).");
        if (std::find(out.emitters.begin(), out.emitters.end(), node) != out.emitters.end())
            return commandError(command, "The emitter " + quoted(name) + " is given more than once.");
        out.emitters.push_back(node);
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
    positions.hostVector().reserve(args.size() / 4);  // each position takes four words
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

// connectDynamic [-f field]... [-em emitter]... particle...: connects each particle object to each field
// and each emitter. The particle's fieldData feeds the field's first free inputData[i] (free: neither
// inputData[i] nor outputForce[i] connected), and the field's outputForce[i] feeds the particle's first
// free inputForce[j]. An emitter's first free output[i] (free: output[i] feeds nothing and nothing comes
// into startTime[i], isFull[i] or inheritFactor[i]) feeds the particle's first free newParticles[j]; the
// particle's startTime, isFull and inheritFactor feed the emitter's startTime[i], isFull[i] and
// inheritFactor[i]; and time1.outTime feeds the emitter's currentTime unless something already does. A
// pair that is already connected is an error. With -d, the pairs' connections are removed instead (each
// pair must be connected; the emitter's time connection stays).
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
    for (const std::shared_ptr<Node>& emitter : parsed.emitters) {
        for (const std::shared_ptr<Node>& particle : parsed.particles) {
            bool linked = emitterLinkIndex(*emitter, *particle) >= 0;
            if (linked && !parsed.remove)
                return commandError(command, quoted(particle->name) + " is already connected to the emitter " +
                                                 quoted(emitter->name) + ".");
            if (!linked && parsed.remove)
                return commandError(command, quoted(particle->name) + " is not connected to the emitter " +
                                                 quoted(emitter->name) + ".");
        }
    }

    if (parsed.remove) {
        for (const std::shared_ptr<Node>& field : parsed.fields)
            for (const std::shared_ptr<Node>& particle : parsed.particles)
                if (MStatus s = disconnectPair(field, particle); !s)
                    status = s;
        for (const std::shared_ptr<Node>& emitter : parsed.emitters)
            for (const std::shared_ptr<Node>& particle : parsed.particles)
                if (MStatus s = disconnectEmitter(emitter, particle); !s)
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
    for (const std::shared_ptr<Node>& emitter : parsed.emitters) {
        for (const std::shared_ptr<Node>& particle : parsed.particles) {
            status = connectEmitter(emitter, particle, made);
            if (!status) {
                for (auto it = made.rbegin(); it != made.rend(); ++it)
                    disconnect(it->src, it->dst);
                return commandError(command, "Cannot connect " + quoted(particle->name) + " to the emitter " +
                                                 quoted(emitter->name) + " (" + status.errorString().str() + ").");
            }
        }
    }
    sceneTimeNode();
    return MStatus::kSuccess;
}

namespace {

// The plug of a shape that carries its world-space geometry: worldMesh[0] of a mesh, worldSpace[0] of a
// NURBS surface; a null plug for anything else.
MPlug worldGeometryPlug(const std::shared_ptr<Node>& shape) {
    for (const char* name : {"worldMesh", "worldSpace"}) {
        Attribute* attribute = shape->findAttribute(name);
        if (attribute && attribute->array && attribute->dataType != MFnData::kNurbsCurve)
            return MPlug(MObject(shape), MObject(attribute->shared_from_this())).elementByLogicalIndex(0);
    }
    return MPlug();
}

}  // namespace

// addDynamic emitter shape: makes the shape emit through the emitter, as Maya's MEL does: a new
// geoConnector whose localGeometry takes the shape's world-space geometry (worldMesh[0] of a mesh,
// worldSpace[0] of a NURBS surface) and whose currentTime takes time1.outTime, and whose
// sweptGeometry feeds the emitter's sweptGeometry. An emitter already fed swept geometry is an error.
// The result is the connector's name.
MStatus addDynamicCommand(const Args& args, MCommandResult& result) {
    const char* const command = "addDynamic";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {}, parsed);
    if (status)
        status = expectCount(command, parsed, 2, 2, addDynamicUsage);
    if (!status)
        return status;
    std::shared_ptr<Node> emitter;
    std::shared_ptr<Node> shape;
    status = resolveNode(command, parsed.positional[0].text, emitter);
    if (status)
        status = resolveNode(command, parsed.positional[1].text, shape);
    if (!status)
        return status;
    if (!isEmitter(*emitter))
        return commandError(command, quoted(emitter->name) + " is not an emitter.");
    MPlug swept(MObject(emitter), MPxEmitterNode::mSweptGeometry);
    if (incomingConnection(swept))
        return commandError(command, quoted(emitter->name) + " already has an emitting shape.");
    const MPlug geometry = worldGeometryPlug(shape);
    if (geometry.isNull())
        return commandError(command, quoted(shape->name) + " is not a mesh or NURBS surface shape (it has no "
                                                           "worldMesh or worldSpace output).");
    std::shared_ptr<Node> time = sceneTimeNode();
    std::shared_ptr<Node> connector = createNode(geoConnectorNode::typeName, "geoConnector1", &status);
    if (!connector || !time)
        return commandError(command, "Cannot create a geoConnector (" + status.errorString().str() + ").");
    const MObject c(connector);
    const std::pair<MPlug, MPlug> links[] = {
        {geometry, MPlug(c, geoConnectorNode::localGeometry)},
        {MPlug(MObject(time), timeNode::outTime), MPlug(c, geoConnectorNode::currentTime)},
        {MPlug(c, geoConnectorNode::sweptGeometry), swept},
    };
    for (const auto& [src, dst] : links) {
        status = connect(src, dst, false);
        if (!status) {
            deleteNode(connector);
            return commandError(command, "Cannot connect " + src.name().str() + " to " + dst.name().str() + " (" +
                                             status.errorString().str() + ").");
        }
    }
    CommandResultAccess::setString(result, MString(connector->name));
    return MStatus::kSuccess;
}

}  // namespace host
