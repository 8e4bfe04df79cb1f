#include "command/Builtins.h"

#include "command/ShadingCommands.h"

#include <map>

namespace host {

namespace {

const std::map<std::string, BuiltinCommand>& table() {
    static const std::map<std::string, BuiltinCommand> commands = {
        {"loadPlugin", loadPluginCommand},
        {"unloadPlugin", unloadPluginCommand},
        {"listNodeTypes", listNodeTypesCommand},
        {"createNode", createNodeCommand},
        {"delete", deleteCommand},
        {"rename", renameCommand},
        {"setAttr", setAttrCommand},
        {"getAttr", getAttrCommand},
        {"addAttr", addAttrCommand},
        {"connectAttr", connectAttrCommand},
        {"disconnectAttr", disconnectAttrCommand},
        {"currentTime", currentTimeCommand},
        {"print", printCommand},
        {"shadingNode", shadingNodeCommand},
        {"sets", setsCommand},
        {"curve", curveCommand},
        {"deformer", deformerCommand},
        {"pointPosition", pointPositionCommand},
        {"nurbsPlane", nurbsPlaneCommand},
        {"polyPlane", polyPlaneCommand},
        {"polySphere", polySphereCommand},
        {"polyCube", polyCubeCommand},
        {"polyCreateFacet", polyCreateFacetCommand},
        {"sphere", sphereCommand},
        {"lattice", latticeCommand},
        {"particle", particleCommand},
        {"connectDynamic", connectDynamicCommand},
        {"addDynamic", addDynamicCommand},
        {"currentUnit", currentUnitCommand},
        {"seed", seedCommand},
        {"playFrames", playFramesCommand},
        {"particleStats", particleStatsCommand},
        {"writeParticles", writeParticlesCommand},
        {"playblast", playblastCommand},
        {"lookThru", lookThruCommand},
        {"viewPlace", viewPlaceCommand},
        {"viewFit", viewFitCommand},
        {"parent", parentCommand},
        {"move", moveCommand},
        {"listRelatives", listRelativesCommand},
        {"xform", xformCommand},
        {"emit", emitCommand},
        {"objExists", objExistsCommand},
        {"nodeType", nodeTypeCommand},
        {"ls", lsCommand},
        {"listConnections", listConnectionsCommand},
        {"isConnected", isConnectedCommand},
        {"listAttr", listAttrCommand},
        {"attributeQuery", attributeQueryCommand},
        {"menu", menuCommand},
        {"menuItem", menuItemCommand},
        {"deleteUI", deleteUICommand},
        {"setParent", setParentCommand},
        {"about", aboutCommand},
    };
    return commands;
}

}  // namespace

BuiltinCommand findBuiltinCommand(const std::string& name) {
    auto it = table().find(name);
    return it == table().end() ? nullptr : it->second;
}

}  // namespace host
