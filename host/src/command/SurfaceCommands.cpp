#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "command/ShapeNames.h"
#include "data/NurbsSurfaceData.h"
#include "geometry/NurbsSurfacePrimitives.h"
#include "graph/Scene.h"
#include "nodes/nurbsSurface.h"

#include <maya/MCommandResult.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace host {

namespace {

const int kMaxDegree = 7;  // Maya's highest NURBS degree

// Flags both primitives take besides their own.
const std::vector<FlagDef> kCommonFlags = {
    {"degree", "d", 1}, {"axis", "ax", 3}, {"pivot", "p", 3}, {"name", "n", 1},
    {"constructionHistory", "ch", 1}, {"object", "o", 1},
};

std::vector<FlagDef> flagsWith(std::vector<FlagDef> own) {
    own.insert(own.end(), kCommonFlags.begin(), kCommonFlags.end());
    return own;
}

// Reads a number flag into value (left alone when the flag is absent).
MStatus readDouble(const char* command, const ParsedArgs& parsed, const char* flag, double& value) {
    if (!parsed.has(flag))
        return MStatus::kSuccess;
    const std::string text = parsed.value(flag);
    if (!parseDouble(text, value))
        return commandError(command, std::string("-") + flag + " expects a number; got " + quoted(text) + ".");
    return MStatus::kSuccess;
}

MStatus readInt(const char* command, const ParsedArgs& parsed, const char* flag, int low, int high, int& value) {
    if (!parsed.has(flag))
        return MStatus::kSuccess;
    const std::string text = parsed.value(flag);
    if (!parseInt(text, value))
        return commandError(command, std::string("-") + flag + " expects a whole number; got " + quoted(text) + ".");
    if (value < low || value > high)
        return commandError(command, std::string("-") + flag + " must be " + std::to_string(low) + " to " +
                                         std::to_string(high) + "; got " + text + ".");
    return MStatus::kSuccess;
}

MStatus readVector(const char* command, const ParsedArgs& parsed, const char* flag, geom::Vec3& value) {
    if (!parsed.has(flag))
        return MStatus::kSuccess;
    const std::vector<std::string>& words = parsed.flags.at(flag);
    double xyz[3];
    for (size_t k = 0; k < 3; ++k) {
        if (!parseDouble(words[k], xyz[k]))
            return commandError(command, std::string("-") + flag + " expects three numbers; got " + quoted(words[k]) + ".");
    }
    value = {xyz[0], xyz[1], xyz[2]};
    return MStatus::kSuccess;
}

// The flags every primitive shares: degree, axis, pivot, name; -ch and -o are accepted (their values
// checked) and have no effect, since the host keeps no construction history.
struct Common {
    int degree = 3;
    geom::Vec3 axis{0.0, 1.0, 0.0};
    geom::Vec3 pivot;
    std::string name;
};

MStatus readCommon(const char* command, const ParsedArgs& parsed, Common& common) {
    MStatus status = readInt(command, parsed, "degree", 1, kMaxDegree, common.degree);
    if (status)
        status = readVector(command, parsed, "axis", common.axis);
    if (status)
        status = readVector(command, parsed, "pivot", common.pivot);
    if (!status)
        return status;
    if (common.axis == geom::Vec3{})
        return commandError(command, "-axis must not be the zero vector.");
    for (const char* flag : {"constructionHistory", "object"}) {
        bool ignored = false;
        if (parsed.has(flag) && !parseBool(parsed.value(flag), ignored))
            return commandError(command, std::string("-") + flag + " expects true or false; got " +
                                             quoted(parsed.value(flag)) + ".");
    }
    if (parsed.has("name")) {
        common.name = parsed.value("name");
        if (!isValidNodeName(common.name))
            return commandError(command, quoted(common.name) + " is not a valid node name.");
    }
    return MStatus::kSuccess;
}

// The surface moved so that its centre sits at the pivot.
geom::NurbsSurface moved(const geom::NurbsSurface& s, const geom::Vec3& by) {
    if (by == geom::Vec3{})
        return s;
    std::vector<geom::Vec3> cvs = s.cvs();
    for (geom::Vec3& p : cvs) p += by;
    return s.withCVs(std::move(cvs));
}

// Makes the surface object: a transform "<base>N" and below it the shape "<base>ShapeN" holding the
// surface, N the first number free for both (a name given with -n is the transform's, its shape adding
// "Shape"). The result lists the transform's name, as Maya's does without construction history.
MStatus makeShape(const char* command, const std::string& base, const std::string& given,
                  geom::NurbsSurface surface, MCommandResult& result) {
    const std::string object =
        given.empty() ? freeObjectName([&](int i) { return base + std::to_string(i); }) : given;
    std::shared_ptr<Node> transform, shape;
    MStatus status = createShape(command, nurbsSurfaceNode::typeName, object, "create",
                                 makeNurbsSurfaceData(std::move(surface)), transform, shape);
    if (!status)
        return status;
    MStringArray names;
    names.append(MString(transform->name));
    CommandResultAccess::setStringArray(result, names);
    return MStatus::kSuccess;
}

}  // namespace

// nurbsPlane [-w width] [-lr lengthRatio] [-u patchesU] [-v patchesV] [-d degree] [-ax x y z]
// [-p x y z] [-n name] [-ch bool] [-o bool]: a flat NURBS plane, width along U and width * lengthRatio
// along V, its normal along the axis (default 0 1 0), centred at the pivot. Any error creates nothing.
MStatus nurbsPlaneCommand(const Args& args, MCommandResult& result) {
    const char* command = "nurbsPlane";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args,
                               flagsWith({{"width", "w", 1}, {"lengthRatio", "lr", 1}, {"patchesU", "u", 1},
                                          {"patchesV", "v", 1}}),
                               parsed);
    if (!status)
        return status;
    status = expectCount(command, parsed, 0, 0, "nurbsPlane takes flags only");
    Common common;
    double width = 1.0, lengthRatio = 1.0;
    int patchesU = 1, patchesV = 1;
    if (status)
        status = readCommon(command, parsed, common);
    if (status)
        status = readDouble(command, parsed, "width", width);
    if (status)
        status = readDouble(command, parsed, "lengthRatio", lengthRatio);
    if (status)
        status = readInt(command, parsed, "patchesU", 1, 100000, patchesU);
    if (status)
        status = readInt(command, parsed, "patchesV", 1, 100000, patchesV);
    if (!status)
        return status;
    if (!(width > 0.0) || !(lengthRatio > 0.0))
        return commandError(command, "-width and -lengthRatio must be greater than 0.");
    if (static_cast<double>(patchesU + common.degree) * (patchesV + common.degree) > 1.0e7)
        return commandError(command, "too many patches.");
    geom::NurbsSurface plane =
        geom::makePlane(width, lengthRatio, patchesU, patchesV, common.degree, common.axis);
    if (!plane.isValid())
        return commandError(command, "cannot build the plane: " + plane.error() + ".");
    return makeShape(command, "nurbsPlane", common.name, moved(plane, common.pivot), result);
}

// sphere [-r radius] [-s sections] [-nsp spans] [-d degree] [-ax x y z] [-p x y z] [-n name] [-ch bool]
// [-o bool]: a NURBS sphere, open from pole to pole along U (spans), periodic around the axis along V
// (sections), centred at the pivot. Any error creates nothing.
MStatus sphereCommand(const Args& args, MCommandResult& result) {
    const char* command = "sphere";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args,
                               flagsWith({{"radius", "r", 1}, {"sections", "s", 1}, {"spans", "nsp", 1}}), parsed);
    if (!status)
        return status;
    status = expectCount(command, parsed, 0, 0, "sphere takes flags only");
    Common common;
    double radius = 1.0;
    int sections = 8, spans = 4;
    if (status)
        status = readCommon(command, parsed, common);
    if (status)
        status = readDouble(command, parsed, "radius", radius);
    if (status)
        status = readInt(command, parsed, "sections", 3, 10000, sections);
    if (status)
        status = readInt(command, parsed, "spans", 1, 10000, spans);
    if (!status)
        return status;
    if (!(radius > 0.0))
        return commandError(command, "-radius must be greater than 0.");
    if (sections < common.degree)
        return commandError(command, "a sphere of degree " + std::to_string(common.degree) + " needs at least " +
                                         std::to_string(common.degree) + " sections; got " +
                                         std::to_string(sections) + ".");
    if (static_cast<double>(sections + common.degree) * (spans + common.degree) > 1.0e7)
        return commandError(command, "too many sections and spans.");
    geom::NurbsSurface sphere = geom::makeSphere(radius, sections, spans, common.degree, common.axis);
    if (!sphere.isValid())
        return commandError(command, "cannot build the sphere: " + sphere.error() + ".");
    return makeShape(command, "nurbsSphere", common.name, moved(sphere, common.pivot), result);
}

}  // namespace host
