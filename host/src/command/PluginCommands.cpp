#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "graph/Scene.h"
#include "plugin/Loader.h"

#include <host/Host.h>
#include <maya/MCommandResult.h>
#include <maya/MStringArray.h>

#include <cstdio>
#include <iostream>

namespace host {

namespace {

// Attributes a node of the type has, children of compounds included.
unsigned countAttributes(const std::vector<std::shared_ptr<Attribute>>& attributes) {
    unsigned count = 0;
    for (const std::shared_ptr<Attribute>& a : attributes)
        count += 1 + countAttributes(a->children);
    return count;
}

// "plug-in <name>: vendor "<vendor>", version "<version>"", then one line per node type.
void listPlugin(const LoadedPlugin& plugin, MStringArray& names) {
    std::cout << "plug-in " << plugin.name << ": vendor \"" << plugin.vendor << "\", version \"" << plugin.version
              << "\"\n";
    for (const std::shared_ptr<NodeType>& type : nodeTypes()) {
        if (type->owner != plugin.path)
            continue;
        char id[32];
        std::snprintf(id, sizeof id, "0x%06x", type->id.id());
        std::cout << type->name << ' ' << id << ' ' << countAttributes(type->attributes) << " attributes\n";
        names.append(MString(type->name));
    }
}

}  // namespace

MStatus loadPluginCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs("loadPlugin", args, {}, parsed);
    if (status)
        status = expectCount("loadPlugin", parsed, 1, 1, "loadPlugin <library path>");
    if (!status)
        return status;
    status = loadPlugin(parsed.positional[0].text);
    if (status) {
        std::shared_ptr<LoadedPlugin> plugin = findPlugin(parsed.positional[0].text);
        MStringArray names;
        names.append(MString(plugin ? plugin->name : pluginNameOf(parsed.positional[0].text)));
        CommandResultAccess::setStringArray(result, names);
    }
    return status;
}

MStatus unloadPluginCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs("unloadPlugin", args, {}, parsed);
    if (status)
        status = expectCount("unloadPlugin", parsed, 1, 1, "unloadPlugin <plug-in name or path>");
    if (!status)
        return status;
    return unloadPlugin(parsed.positional[0].text);
}

MStatus listNodeTypesCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs("listNodeTypes", args, {}, parsed);
    if (status)
        status = expectCount("listNodeTypes", parsed, 0, 1, "listNodeTypes [plug-in name or path]");
    if (!status)
        return status;
    MStringArray names;
    if (parsed.positional.empty()) {
        for (const std::shared_ptr<LoadedPlugin>& plugin : loadedPlugins())
            listPlugin(*plugin, names);
    } else {
        std::shared_ptr<LoadedPlugin> plugin = findPlugin(parsed.positional[0].text);
        if (!plugin)
            return commandError("listNodeTypes", "plug-in " + quoted(parsed.positional[0].text) + " is not loaded.");
        listPlugin(*plugin, names);
    }
    std::cout.flush();
    CommandResultAccess::setStringArray(result, names);
    return MStatus::kSuccess;
}

}  // namespace host
