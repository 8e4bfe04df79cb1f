#ifndef HOST_SHADING_COMMANDS_H
#define HOST_SHADING_COMMANDS_H

#include "command/Args.h"

#include <maya/MStatus.h>

class MCommandResult;

namespace host {

// shadingNode -asTexture|-asShader|-asUtility|-asLight|-asPostProcess|-asRendering <type> [-n <name>]
//             [-shared] [-skipSelect] [-isColorManaged]
// Creates a node of the type, as createNode does; the result is its name. Exactly one -as flag. With
// -shared and -n, an existing node of that name and type is used instead of making a new one.
MStatus shadingNodeCommand(const Args& args, MCommandResult& result);

// sets -renderable true [-noSurfaceShader <bool>] [-empty] [-name|-n <name>] [-text <text>] [-noWarnings]
// Creates a shading group (a "shadingEngine" node); the result is its name (the given name made unique,
// else "set1"-style). The host has no other kind of set and no membership: without -renderable true, or
// with members named, the command fails. No shader is connected either way.
MStatus setsCommand(const Args& args, MCommandResult& result);

}  // namespace host

#endif
