#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "command/ShapeNames.h"
#include "data/MeshData.h"
#include "geometry/MeshPrimitives.h"
#include "graph/Scene.h"
#include "nodes/mesh.h"

#include <maya/MCommandResult.h>
#include <maya/MStringArray.h>

#include <string>
#include <utility>
#include <vector>

namespace host {

namespace {

// Subdivision limit of the primitives (per direction), and of their total face count.
const int kMaxSubdivisions = 10000;
const double kMaxFaces = 1.0e7;

MStatus readDouble(const char* command, const ParsedArgs& parsed, const char* flag, double& value) {
    if (!parsed.has(flag))
        return MStatus::kSuccess;
    const std::string text = parsed.value(flag);
    if (!parseDouble(text, value))
        return commandError(command, std::string("-") + flag + " expects a number; got " + quoted(text) + ".");
    if (!(value > 0.0))
        return commandError(command, std::string("-") + flag + " must be greater than 0; got " + text + ".");
    return MStatus::kSuccess;
}

MStatus readInt(const char* command, const ParsedArgs& parsed, const char* flag, int low, int& value) {
    if (!parsed.has(flag))
        return MStatus::kSuccess;
    const std::string text = parsed.value(flag);
    if (!parseInt(text, value))
        return commandError(command, std::string("-") + flag + " expects a whole number; got " + quoted(text) + ".");
    if (value < low || value > kMaxSubdivisions)
        return commandError(command, std::string("-") + flag + " must be " + std::to_string(low) + " to " +
                                         std::to_string(kMaxSubdivisions) + "; got " + text + ".");
    return MStatus::kSuccess;
}

// -n (a valid node name), and -ch / -o, accepted with a boolean and without effect: the host keeps no
// construction history.
MStatus readCommon(const char* command, const ParsedArgs& parsed, std::string& name) {
    for (const char* flag : {"constructionHistory", "object"}) {
        bool ignored = false;
        if (parsed.has(flag) && !parseBool(parsed.value(flag), ignored))
            return commandError(command, std::string("-") + flag + " expects true or false; got " +
                                             quoted(parsed.value(flag)) + ".");
    }
    if (parsed.has("name")) {
        name = parsed.value("name");
        if (!isValidNodeName(name))
            return commandError(command, quoted(name) + " is not a valid node name.");
    }
    return MStatus::kSuccess;
}

std::vector<FlagDef> flagsWith(std::vector<FlagDef> own) {
    own.push_back({"name", "n", 1});
    own.push_back({"constructionHistory", "ch", 1});
    own.push_back({"object", "o", 1});
    return own;
}

// Makes a transform and, under it, the mesh shape holding the mesh, named as Maya names objects:
// "<base>N" and "<base>ShapeN", N the first number free for both. A name given with -n is the
// transform's, its shape adding "Shape". The result lists the transform's name, as Maya's does
// without construction history. Nothing is left behind on failure.
MStatus makeMeshObject(const char* command, const std::string& base, const std::string& given,
                       geom::PolyMesh mesh, MCommandResult& result) {
    if (!mesh.isValid())
        return commandError(command, "cannot build the mesh: " + mesh.error() + ".");
    const std::string object =
        given.empty() ? freeObjectName([&](int i) { return base + std::to_string(i); }) : given;
    std::shared_ptr<Node> transform, shape;
    MStatus status = createShape(command, meshNode::typeName, object, "inMesh", makeMeshData(std::move(mesh)),
                                 transform, shape);
    if (!status)
        return status;
    MStringArray names;
    names.append(MString(transform->name));
    CommandResultAccess::setStringArray(result, names);
    return MStatus::kSuccess;
}

}  // namespace

// polyPlane [-w width] [-h height] [-sx n] [-sy n] [-n name] [-ch bool] [-o bool]: a plane of quads in
// the xz plane facing +y, width 1, height 1 and 10 by 10 faces unless given. Any error creates nothing.
MStatus polyPlaneCommand(const Args& args, MCommandResult& result) {
    const char* command = "polyPlane";
    ParsedArgs parsed;
    MStatus status = parseArgs(
        command, args,
        flagsWith({{"width", "w", 1}, {"height", "h", 1}, {"subdivisionsX", "sx", 1}, {"subdivisionsY", "sy", 1}}),
        parsed);
    if (status)
        status = expectCount(command, parsed, 0, 0, "polyPlane takes flags only");
    double width = 1.0, height = 1.0;
    int sx = 10, sy = 10;
    std::string name;
    if (status)
        status = readCommon(command, parsed, name);
    if (status)
        status = readDouble(command, parsed, "width", width);
    if (status)
        status = readDouble(command, parsed, "height", height);
    if (status)
        status = readInt(command, parsed, "subdivisionsX", 1, sx);
    if (status)
        status = readInt(command, parsed, "subdivisionsY", 1, sy);
    if (!status)
        return status;
    if (static_cast<double>(sx) * sy > kMaxFaces)
        return commandError(command, "too many faces.");
    return makeMeshObject(command, "pPlane", name, geom::makePolyPlane(width, height, sx, sy), result);
}

// polySphere [-r radius] [-sx n] [-sy n] [-n name] [-ch bool] [-o bool]: a sphere of quads with
// triangles at the poles, radius 1 and 20 by 20 subdivisions unless given. Any error creates nothing.
MStatus polySphereCommand(const Args& args, MCommandResult& result) {
    const char* command = "polySphere";
    ParsedArgs parsed;
    MStatus status = parseArgs(
        command, args, flagsWith({{"radius", "r", 1}, {"subdivisionsX", "sx", 1}, {"subdivisionsY", "sy", 1}}),
        parsed);
    if (status)
        status = expectCount(command, parsed, 0, 0, "polySphere takes flags only");
    double radius = 1.0;
    int sx = 20, sy = 20;
    std::string name;
    if (status)
        status = readCommon(command, parsed, name);
    if (status)
        status = readDouble(command, parsed, "radius", radius);
    if (status)
        status = readInt(command, parsed, "subdivisionsX", 3, sx);
    if (status)
        status = readInt(command, parsed, "subdivisionsY", 2, sy);
    if (!status)
        return status;
    if (static_cast<double>(sx) * sy > kMaxFaces)
        return commandError(command, "too many faces.");
    return makeMeshObject(command, "pSphere", name, geom::makePolySphere(radius, sx, sy), result);
}

// polyCube [-w width] [-h height] [-d depth] [-n name] [-ch bool] [-o bool]: a box of six quads, 1 by 1
// by 1 unless given, with Maya's cube UVs. Any error creates nothing.
MStatus polyCubeCommand(const Args& args, MCommandResult& result) {
    const char* command = "polyCube";
    ParsedArgs parsed;
    MStatus status =
        parseArgs(command, args, flagsWith({{"width", "w", 1}, {"height", "h", 1}, {"depth", "d", 1}}), parsed);
    if (status)
        status = expectCount(command, parsed, 0, 0, "polyCube takes flags only");
    double width = 1.0, height = 1.0, depth = 1.0;
    std::string name;
    if (status)
        status = readCommon(command, parsed, name);
    if (status)
        status = readDouble(command, parsed, "width", width);
    if (status)
        status = readDouble(command, parsed, "height", height);
    if (status)
        status = readDouble(command, parsed, "depth", depth);
    if (!status)
        return status;
    return makeMeshObject(command, "pCube", name, geom::makePolyCube(width, height, depth), result);
}

// polyCreateFacet -p x y z -p x y z -p x y z [...] [-n name] [-ch bool] [-o bool]: one polygon through
// the points in order (three or more, any shape), without UVs. Any error creates nothing.
MStatus polyCreateFacetCommand(const Args& args, MCommandResult& result) {
    const char* command = "polyCreateFacet";
    std::vector<geom::Vec3> points;
    Args rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (!isFlag(args[i]) || (args[i].text != "-p" && args[i].text != "-point")) {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 3 >= args.size())
            return commandError(command, args[i].text + " needs three numbers.");
        double xyz[3];
        for (int k = 0; k < 3; ++k) {
            const std::string& word = args[++i].text;
            if (!parseDouble(word, xyz[k]))
                return commandError(command, "-p expects three numbers; got " + quoted(word) + ".");
        }
        points.push_back({xyz[0], xyz[1], xyz[2]});
    }
    ParsedArgs parsed;
    MStatus status = parseArgs(command, rest, flagsWith({}), parsed);
    if (status)
        status = expectCount(command, parsed, 0, 0, "polyCreateFacet takes flags only");
    std::string name;
    if (status)
        status = readCommon(command, parsed, name);
    if (!status)
        return status;
    if (points.size() < 3)
        return commandError(command, "a facet needs at least three points (-p); got " +
                                         std::to_string(points.size()) + ".");
    const int n = static_cast<int>(points.size());
    std::vector<int> connects(n);
    for (int k = 0; k < n; ++k)
        connects[k] = k;
    return makeMeshObject(command, "polySurface", name, geom::PolyMesh(std::move(points), {n}, std::move(connects)),
                          result);
}

}  // namespace host
