#ifndef HOST_BUILTINS_H
#define HOST_BUILTINS_H

#include "command/Args.h"

#include <maya/MStatus.h>

#include <string>

class MCommandResult;

namespace host {

// A built-in command: reads its arguments, shows its errors with MGlobal::displayError (and then changes
// nothing), and stores its result.
using BuiltinCommand = MStatus (*)(const Args& args, MCommandResult& result);

// Null for a name that is not a built-in command.
BuiltinCommand findBuiltinCommand(const std::string& name);

// Plug-ins (PluginCommands.cpp).
MStatus loadPluginCommand(const Args& args, MCommandResult& result);
MStatus unloadPluginCommand(const Args& args, MCommandResult& result);
MStatus listNodeTypesCommand(const Args& args, MCommandResult& result);
// Nodes (NodeCommands.cpp).
MStatus createNodeCommand(const Args& args, MCommandResult& result);
MStatus deleteCommand(const Args& args, MCommandResult& result);
MStatus renameCommand(const Args& args, MCommandResult& result);
// Attributes (AttrCommands.cpp, AddAttrCommand.cpp).
MStatus setAttrCommand(const Args& args, MCommandResult& result);
MStatus getAttrCommand(const Args& args, MCommandResult& result);
MStatus addAttrCommand(const Args& args, MCommandResult& result);
// Connections (ConnectionCommands.cpp).
MStatus connectAttrCommand(const Args& args, MCommandResult& result);
MStatus disconnectAttrCommand(const Args& args, MCommandResult& result);
// The DAG (DagCommands.cpp).
MStatus parentCommand(const Args& args, MCommandResult& result);
MStatus moveCommand(const Args& args, MCommandResult& result);
MStatus listRelativesCommand(const Args& args, MCommandResult& result);
MStatus xformCommand(const Args& args, MCommandResult& result);
// Others (MiscCommands.cpp).
MStatus currentTimeCommand(const Args& args, MCommandResult& result);
MStatus printCommand(const Args& args, MCommandResult& result);
// Time unit and random seed (UnitCommands.cpp).
MStatus currentUnitCommand(const Args& args, MCommandResult& result);
MStatus seedCommand(const Args& args, MCommandResult& result);
// Geometry (CurveCommands.cpp).
MStatus curveCommand(const Args& args, MCommandResult& result);
// Deformers (DeformerCommands.cpp).
MStatus deformerCommand(const Args& args, MCommandResult& result);
MStatus pointPositionCommand(const Args& args, MCommandResult& result);
// NURBS surface primitives (SurfaceCommands.cpp).
MStatus nurbsPlaneCommand(const Args& args, MCommandResult& result);
MStatus sphereCommand(const Args& args, MCommandResult& result);
// Lattices (LatticeCommands.cpp).
MStatus latticeCommand(const Args& args, MCommandResult& result);
// Polygon primitives (PolyCommands.cpp).
MStatus polyPlaneCommand(const Args& args, MCommandResult& result);
MStatus polySphereCommand(const Args& args, MCommandResult& result);
MStatus polyCubeCommand(const Args& args, MCommandResult& result);
MStatus polyCreateFacetCommand(const Args& args, MCommandResult& result);
// Particles and fields (DynamicsCommands.cpp).
MStatus particleCommand(const Args& args, MCommandResult& result);
MStatus connectDynamicCommand(const Args& args, MCommandResult& result);
MStatus addDynamicCommand(const Args& args, MCommandResult& result);
MStatus emitCommand(const Args& args, MCommandResult& result);  // EmitCommand.cpp
// Queries (QueryCommands.cpp, AttributeQueryCommands.cpp).
MStatus objExistsCommand(const Args& args, MCommandResult& result);
MStatus nodeTypeCommand(const Args& args, MCommandResult& result);
MStatus lsCommand(const Args& args, MCommandResult& result);
MStatus listConnectionsCommand(const Args& args, MCommandResult& result);
MStatus isConnectedCommand(const Args& args, MCommandResult& result);
MStatus listAttrCommand(const Args& args, MCommandResult& result);
MStatus attributeQueryCommand(const Args& args, MCommandResult& result);
// Menus (MenuCommands.cpp).
MStatus menuCommand(const Args& args, MCommandResult& result);
MStatus menuItemCommand(const Args& args, MCommandResult& result);
MStatus deleteUICommand(const Args& args, MCommandResult& result);
MStatus setParentCommand(const Args& args, MCommandResult& result);
MStatus aboutCommand(const Args& args, MCommandResult& result);  // AboutCommand.cpp
// Scene driving and reports (DemoCommands.cpp).
MStatus playFramesCommand(const Args& args, MCommandResult& result);
MStatus particleStatsCommand(const Args& args, MCommandResult& result);
MStatus writeParticlesCommand(const Args& args, MCommandResult& result);
// Pictures (PlayblastCommand.cpp, ViewCommands.cpp).
MStatus playblastCommand(const Args& args, MCommandResult& result);
MStatus lookThruCommand(const Args& args, MCommandResult& result);
MStatus viewPlaceCommand(const Args& args, MCommandResult& result);
MStatus viewFitCommand(const Args& args, MCommandResult& result);

}  // namespace host

#endif
