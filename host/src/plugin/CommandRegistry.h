#ifndef HOST_COMMANDREGISTRY_H
#define HOST_COMMANDREGISTRY_H

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <string>
#include <vector>

namespace host {

// A command registered by a plug-in through MFnPlugin::registerCommand.
struct PluginCommand {
    std::string name;
    MCreatorFunction creator = nullptr;
    MCreateSyntaxFunction syntax = nullptr;
    std::string owner;  // the plug-in's library path
};

// Fails (kFailure) when the name is taken by a built-in or registered command, kInvalidParameter for an
// empty name or a null creator.
MStatus addPluginCommand(const PluginCommand& command);
// Fails (kFailure) for a name that is not registered, or registered by another plug-in.
MStatus removePluginCommand(const std::string& name, const std::string& owner);
const PluginCommand* findPluginCommand(const std::string& name);
std::vector<std::string> pluginCommandNames(const std::string& owner);

}  // namespace host

#endif
