#ifndef HOST_PLUGINCOMMANDRUNNER_H
#define HOST_PLUGINCOMMANDRUNNER_H

#include "command/Args.h"
#include "plugin/CommandRegistry.h"

class MCommandResult;

namespace host {

// Runs a registered plug-in command: a new object from its creator, doIt with the arguments as an
// MArgList, and the object deleted afterwards. What the command sets with MPxCommand::setResult lands in
// result; the status is doIt's.
MStatus runPluginCommand(const PluginCommand& command, const Args& args, MCommandResult& result);

}  // namespace host

#endif
