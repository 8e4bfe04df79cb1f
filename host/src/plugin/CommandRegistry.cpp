#include "plugin/CommandRegistry.h"

#include "command/Builtins.h"

#include <algorithm>

namespace host {

namespace {

std::vector<PluginCommand>& commands() {
    static std::vector<PluginCommand> table;
    return table;
}

}  // namespace

MStatus addPluginCommand(const PluginCommand& command) {
    if (command.name.empty() || !command.creator)
        return MStatus::kInvalidParameter;
    if (findBuiltinCommand(command.name) || findPluginCommand(command.name))
        return MStatus::kFailure;
    commands().push_back(command);
    return MStatus::kSuccess;
}

MStatus removePluginCommand(const std::string& name, const std::string& owner) {
    std::vector<PluginCommand>& table = commands();
    auto it = std::find_if(table.begin(), table.end(), [&](const PluginCommand& c) { return c.name == name; });
    if (it == table.end() || it->owner != owner)
        return MStatus::kFailure;
    table.erase(it);
    return MStatus::kSuccess;
}

const PluginCommand* findPluginCommand(const std::string& name) {
    for (const PluginCommand& c : commands())
        if (c.name == name)
            return &c;
    return nullptr;
}

std::vector<std::string> pluginCommandNames(const std::string& owner) {
    std::vector<std::string> names;
    for (const PluginCommand& c : commands())
        if (c.owner == owner)
            names.push_back(c.name);
    return names;
}

}  // namespace host
