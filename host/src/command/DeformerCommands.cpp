#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/ShapeNames.h"
#include "data/GeometryPoints.h"
#include "graph/DeformerAccess.h"
#include "graph/Scene.h"

#include <maya/MCommandResult.h>
#include <maya/MDoubleArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MStringArray.h>

#include <string>
#include <vector>

namespace host {

namespace {

const char* const kCommand = "deformer";

// The shapes a deformer can take: their geometry input and output, and how their points are named.
struct ShapeKind {
    const char* type;
    const char* input;
    const char* output;
    const char* component;
    int indices;
};

const ShapeKind shapeKinds[] = {
    {"mesh", "inMesh", "outMesh", "vtx", 1},
    {"nurbsCurve", "create", "local", "cv", 1},
    {"nurbsSurface", "create", "local", "cv", 2},
    {"lattice", "latticeInput", "latticeOutput", "pt", 3},
};

const ShapeKind* kindOf(const Node& node) {
    for (const ShapeKind& kind : shapeKinds)
        if (node.type->name == kind.type) return &kind;
    return nullptr;
}

struct Target {
    std::shared_ptr<Node> shape;
    const ShapeKind* kind = nullptr;
    bool all = false;
    std::vector<int> indices;  // kind->indices ints per point
};

// "[a]" or "[a:b]" groups after the component name, one per index.
bool parseRanges(const std::string& text, std::vector<std::pair<int, int>>& ranges) {
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] != '[') return false;
        size_t close = text.find(']', pos);
        if (close == std::string::npos) return false;
        std::string inside = text.substr(pos + 1, close - pos - 1);
        size_t colon = inside.find(':');
        int a = 0, b = 0;
        if (colon == std::string::npos) {
            if (!parseInt(inside, a)) return false;
            b = a;
        } else if (!parseInt(inside.substr(0, colon), a) || !parseInt(inside.substr(colon + 1), b)) {
            return false;
        }
        if (a < 0 || b < a) return false;
        ranges.push_back({a, b});
        pos = close + 1;
    }
    return !ranges.empty();
}

// Appends every index tuple of the ranges (last index fastest); false beyond a sane size.
bool expand(const std::vector<std::pair<int, int>>& ranges, std::vector<int>& out) {
    const size_t kMaxPoints = 50000000;
    size_t total = 1;
    for (const auto& r : ranges) {
        total *= static_cast<size_t>(r.second - r.first) + 1;
        if (total > kMaxPoints) return false;
    }
    std::vector<int> current(ranges.size());
    for (size_t i = 0; i < ranges.size(); ++i) current[i] = ranges[i].first;
    for (size_t n = 0; n < total; ++n) {
        out.insert(out.end(), current.begin(), current.end());
        for (size_t i = ranges.size(); i-- > 0;) {
            if (current[i] < ranges[i].second) {
                ++current[i];
                break;
            }
            current[i] = ranges[i].first;
        }
    }
    return true;
}

MStatus readObject(const std::string& text, std::vector<Target>& targets, const char* command = kCommand) {
    size_t dot = text.find('.');
    std::string name = text.substr(0, dot);
    std::shared_ptr<Node> node = findNode(name);
    if (!node || !kindOf(*node)) {
        std::shared_ptr<Node> shape = findNode(shapeNameOf(name));
        if (shape && kindOf(*shape)) node = shape;
    }
    if (!node) return commandError(command, "no object matches " + quoted(name) + ".");
    const ShapeKind* kind = kindOf(*node);
    if (!kind) return commandError(command, quoted(name) + " is not a mesh, NURBS curve, NURBS surface or lattice.");

    Target* target = nullptr;
    for (Target& t : targets)
        if (t.shape == node) target = &t;
    if (!target) {
        targets.push_back(Target{node, kind, false, {}});
        target = &targets.back();
    }
    if (dot == std::string::npos) {
        target->all = true;
        return MStatus::kSuccess;
    }
    std::string rest = text.substr(dot + 1);
    size_t bracket = rest.find('[');
    std::vector<std::pair<int, int>> ranges;
    if (bracket == std::string::npos || rest.substr(0, bracket) != kind->component ||
        !parseRanges(rest.substr(bracket), ranges))
        return commandError(command, quoted(text) + " is not a component of " + quoted(name) + "; expected " +
                                          name + "." + kind->component +
                                          (kind->indices == 1 ? "[i]" : kind->indices == 2 ? "[u][v]" : "[s][t][u]") +
                                          " with indices or ranges a:b.");
    if (static_cast<int>(ranges.size()) != kind->indices)
        return commandError(command, quoted(text) + " needs " + std::to_string(kind->indices) + " index" +
                                          (kind->indices == 1 ? "" : "es") + ".");
    if (!expand(ranges, target->indices)) return commandError(command, quoted(text) + " lists too many points.");
    return MStatus::kSuccess;
}

MPlug plugNamed(const std::shared_ptr<Node>& node, const std::string& attribute) {
    return plugFromName(node->name + "." + attribute);
}

// Feeds the shape's original geometry into input[k] and the deformed output back into the shape. A
// shape whose input is connected hands that connection to the deformer; otherwise its geometry (its
// object-space output) moves into a new shape of the same type, "<shape>Orig", which feeds the deformer.
MStatus wire(const std::shared_ptr<Node>& deformer, unsigned k, const Target& target) {
    const std::string index = "[" + std::to_string(k) + "]";
    MPlug shapeIn = plugNamed(target.shape, target.kind->input);
    MPlug deformerIn = plugNamed(deformer, "input" + index + ".inputGeom");
    MPlug original;
    if (const Connection* c = incomingConnection(shapeIn)) {
        original = c->src;
        disconnect(original, shapeIn);
    } else {
        MStatus status;
        std::shared_ptr<Node> orig = createNode(target.kind->type, target.shape->name + "Orig", &status);
        if (!orig) return status;
        MObject data;
        plugNamed(target.shape, target.kind->output).getValue(data);
        if (!data.isNull()) plugNamed(orig, target.kind->input).setValue(data);
        original = plugNamed(orig, target.kind->output);
    }
    MStatus status = connect(original, deformerIn, false);
    if (status) status = connect(plugNamed(deformer, "outputGeom" + index), shapeIn, true);
    if (status && !target.all)
        DeformerAccess::setMembership(*static_cast<MPxDeformerNode*>(deformer->px), k, target.indices);
    return status;
}

}  // namespace

// deformer -type typeName [-name name] object...: creates a deformer of a registered deformer type and
// puts it in front of each object (a mesh, NURBS curve, NURBS surface or lattice, named by its shape or
// object name), input index k for the k-th object. An object given as components (obj.vtx[10:20],
// obj.cv[0:2][1], obj.pt[0][1][0:1]) is deformed at those points only; the same object given several
// times deforms the union. The result lists the deformer's name. An error in the arguments creates nothing.
MStatus deformerCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs(kCommand, args, {{"type", "typ", 1}, {"name", "n", 1}}, parsed);
    if (!status) return status;
    if (!parsed.has("type")) return commandError(kCommand, "the -type flag is required.");
    status = expectCount(kCommand, parsed, 1, 100000, "deformer -type typeName [-name name] object...");
    if (!status) return status;
    std::shared_ptr<NodeType> type = findNodeType(parsed.value("type"));
    if (!type || type->kind != MPxNode::kDeformerNode)
        return commandError(kCommand, quoted(parsed.value("type")) + " is not a deformer type.");

    std::vector<Target> targets;
    for (const Arg& arg : parsed.positional) {
        status = readObject(arg.text, targets);
        if (!status) return status;
    }
    std::string name = parsed.has("name") ? parsed.value("name") : type->name + "1";
    std::shared_ptr<Node> deformer = createNode(type->name, name, &status);
    if (!deformer) return commandError(kCommand, "cannot create the deformer (" + status.errorString().str() + ").");
    for (unsigned k = 0; k < targets.size(); ++k) {
        status = wire(deformer, k, targets[k]);
        if (!status) return commandError(kCommand, "cannot connect " + quoted(targets[k].shape->name) + ".");
    }
    MStringArray names;
    names.append(MString(deformer->name));
    CommandResultAccess::setStringArray(result, names);
    return MStatus::kSuccess;
}

// pointPosition obj.vtx[i] | obj.cv[i] | obj.cv[u][v] | obj.pt[s][t][u]: the object-space position of one
// point of a shape's current (deformed) geometry, as three numbers.
MStatus pointPositionCommand(const Args& args, MCommandResult& result) {
    const char* const command = "pointPosition";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {}, parsed);
    if (!status) return status;
    status = expectCount(command, parsed, 1, 1, "pointPosition obj.vtx[i]");
    if (!status) return status;
    std::vector<Target> targets;
    status = readObject(parsed.positional[0].text, targets, command);
    if (!status) return status;
    const Target& target = targets[0];
    if (target.all || target.indices.size() != static_cast<size_t>(target.kind->indices))
        return commandError(command, "name exactly one point, as in obj.vtx[3].");
    MObject data;
    plugNamed(target.shape, target.kind->output).getValue(data);
    std::unique_ptr<GeometryPoints> points = geometryPoints(data);
    int index = points ? points->indexOf(target.indices.data()) : -1;
    if (index < 0) return commandError(command, quoted(parsed.positional[0].text) + " is not a point of the geometry.");
    const geom::Vec3& p = points->point(index);
    MDoubleArray xyz;
    for (double v : {p.x, p.y, p.z}) xyz.append(v);
    CommandResultAccess::setDoubleArray(result, xyz);
    return MStatus::kSuccess;
}

}  // namespace host
