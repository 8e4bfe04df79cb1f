#ifndef HOST_LOADER_H
#define HOST_LOADER_H

#include <memory>
#include <string>
#include <vector>

namespace host {

// A plug-in library the host has opened. Its node types carry path as their owner.
//
// vendor, version and apiVersion are those given to MFnPlugin during initializePlugin; function sets
// built later (uninitializePlugin builds one with "Unknown") do not change them. A plug-in whose
// initializePlugin failed stays in the list with initialized = false: its library stays open and what
// it registered stays registered, so that unloadPlugin can still run its uninitializePlugin.
struct LoadedPlugin {
    std::string path;  // absolute, symbolic links resolved
    std::string name;  // file name without directory and extension
    void* handle = nullptr;
    std::string vendor = "Unknown";
    std::string version = "Unknown";
    std::string apiVersion = "Any";
    bool initializing = false;
    bool initialized = false;
};

// Plug-ins in load order.
const std::vector<std::shared_ptr<LoadedPlugin>>& loadedPlugins();
// By path (as given or resolved) or by name; null when not loaded.
std::shared_ptr<LoadedPlugin> findPlugin(const std::string& pathOrName);
// "dir/libFoo.so" -> "libFoo".
std::string pluginNameOf(const std::string& path);

}  // namespace host

#endif
