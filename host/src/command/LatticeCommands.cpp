#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "command/ShapeNames.h"
#include "data/LatticeData.h"
#include "graph/Scene.h"
#include "nodes/lattice.h"

#include <maya/MCommandResult.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MStringArray.h>

#include <string>

namespace host {

// lattice [-dv s t u] [-n name]: makes a lattice of those divisions (default 2 2 2), regular over the
// unit cube centred at the origin, named as Maya names the lattice of a free-form deformation: transform
// "ffdNLattice" with shape "ffdNLatticeShape" ("<name>Lattice" and "<name>LatticeShape" with -n). The host
// has no free-form deformer, so objects to deform are refused. The result lists the transform's name.
// Any error creates nothing.
MStatus latticeCommand(const Args& args, MCommandResult& result) {
    const char* command = "lattice";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {{"divisions", "dv", 3}, {"name", "n", 1}}, parsed);
    if (!status)
        return status;
    if (!parsed.positional.empty())
        return commandError(command, "deforming objects with a lattice is not supported; " +
                                         quoted(parsed.positional[0].text) + " was given.");
    int divisions[3] = {2, 2, 2};
    if (parsed.has("divisions")) {
        const std::vector<std::string>& words = parsed.flags.at("divisions");
        for (size_t k = 0; k < 3; ++k) {
            if (!parseInt(words[k], divisions[k]))
                return commandError(command, "-divisions expects three whole numbers; got " + quoted(words[k]) + ".");
        }
    }
    const std::string why = geom::Lattice::checkDivisions(divisions[0], divisions[1], divisions[2]);
    if (!why.empty())
        return commandError(command, "-divisions: " + why + ".");
    std::string object;
    if (parsed.has("name")) {
        object = parsed.value("name") + "Lattice";
        if (!isValidNodeName(object))
            return commandError(command, quoted(parsed.value("name")) + " is not a valid node name.");
    } else {
        object = freeObjectName([](int i) { return "ffd" + std::to_string(i) + "Lattice"; });
    }

    std::shared_ptr<Node> transform, shape;
    status = createShape(command, latticeNode::typeName, object, nullptr, MObject(), transform, shape);
    if (!status)
        return status;
    MFnDependencyNode fn{MObject(shape)};
    const char* names[3] = {"sDivisions", "tDivisions", "uDivisions"};
    for (int k = 0; k < 3; ++k) fn.findPlug(names[k]).setValue(divisions[k]);
    MStringArray made;
    made.append(MString(transform->name));
    CommandResultAccess::setStringArray(result, made);
    return MStatus::kSuccess;
}

}  // namespace host
